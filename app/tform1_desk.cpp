// What makes the window a desktop editor: recent files, the window's state
// between runs, the status bar, tooltips and disabled commands, and the
// manual.
#include "tform1.h"

#include "seams.h"
#include "skin/colourslots.h"
#include "skin/desktoprecent.h"
#include "skin/profiles.h"
#include "skin/savename.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QUrl>

#include <algorithm>

namespace zelkor {

namespace {

const QString kRecentKey = QStringLiteral("recentFiles");
constexpr int kRecentCount = 10;
const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kMaximizedKey = QStringLiteral("window/maximized");
const QString kScreenKey = QStringLiteral("window/screenName");
const QString kStateKey = QStringLiteral("window/docks");
const QString kScreenChoiceKey = QStringLiteral("window/screen");
const QString kColumnsKey = QStringLiteral("window/columns");
const QString kDepthKey = QStringLiteral("window/previewDepth");

const QString kNeedsSkin = QStringLiteral(" Сначала создайте или загрузите скин.");

void restoreChoice(RadioGroup *group, const QSettings &settings, const QString &key)
{
    const int index = settings.value(key, group->itemIndex()).toInt();
    if (index >= 0 && index < group->count())
        group->setItemIndex(index);
}

} // namespace

void TForm1::createDesk()
{
    // Every control says what it does.
    const struct {
        QAction *action;
        const char *tip;
    } actions[] = {
        {N2, "Создать скин из шаблона для выбранного разрешения экрана."},
        {N3, "Открыть файл скина (.mbm)."},
        {N6, "Записать скин в его файл с прежней глубиной цвета; у нового скина — спросить имя."},
        {N8, "Сделать скин из одной картинки."},
        {N10, "Записать скин в новый файл: выбрать имя, папку и глубину цвета."},
        {N7, "Сделать из скина скин для другого разрешения экрана."},
        {N4, "Закрыть редактор."},
        {undoAction, "Отменить последнее изменение скина."},
        {redoAction, "Вернуть отменённое изменение скина."},
        {N9, "Открыть руководство пользователя."},
        {N5, "Версия программы и сайты проекта."},
    };
    for (const auto &a : actions) {
        a.action->setToolTip(QString::fromUtf8(a.tip));
        a.action->setStatusTip(QString::fromUtf8(a.tip));
    }
    for (QAction *top : menuBar()->actions())
        if (top->menu())
            top->menu()->setToolTipsVisible(true);
    recentMenu->setToolTipsVisible(true);
    recentMenu->menuAction()->setToolTip(QStringLiteral("Открыть один из последних открытых или сохранённых скинов."));
    connect(recentMenu, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });

    RadioGroup1->setToolTip(QStringLiteral("Какой экран клиента показывает предпросмотр."));
    RadioGroup2->setToolTip(QStringLiteral("Список контактов в одну или в две колонки."));
    RadioGroup3->setToolTip(
        QStringLiteral("Предпросмотр таким, каким скин вернётся из файла с этой глубиной цвета."));
    Button1->setToolTip(QStringLiteral("Заменить или дорисовать одну из девяти картинок скина."));
    PaintBox1->setToolTip(QStringLiteral("Экран телефона с этим скином."));
    phone->setToolTip(QStringLiteral("Телефон с экраном выбранного разрешения."));
    for (int i = 0; i < 13; ++i)
        dx[i]->setToolTip(QStringLiteral("Выбрать цвет: %1.").arg(colourSlotLabel(i).trimmed()));

    fileField = new QLabel(this);
    profileField = new QLabel(this);
    depthField = new QLabel(this);
    modifiedField = new QLabel(this);
    fileField->setToolTip(QStringLiteral("Файл скина."));
    profileField->setToolTip(QStringLiteral("Разрешение экрана скина."));
    depthField->setToolTip(QStringLiteral("Глубина цвета файла скина."));
    modifiedField->setToolTip(QStringLiteral("Есть ли несохранённые изменения."));
    statusBar()->addPermanentWidget(fileField, 1);
    for (QLabel *field : {profileField, depthField, modifiedField})
        statusBar()->addPermanentWidget(field);

    for (auto signal : {&SkinDocument::skinReplaced, &SkinDocument::fileNameChanged})
        connect(m_doc, signal, this, [this] {
            if (m_doc->hasOwnFile())
                addRecentFile(m_doc->filePath());
            updateDesk();
        });
    connect(m_doc, &SkinDocument::modifiedChanged, this, [this] { updateDesk(); });
    updateDesk();
}

void TForm1::updateDesk()
{
    const bool skin = m_doc->hasSkin();
    for (QAction *a : {N6, N10, N7}) {
        a->setEnabled(skin);
        a->setToolTip(a->statusTip() + (skin ? QString() : kNeedsSkin));
    }
    Button1->setEnabled(skin);

    const Profile *p = profileByIndex(m_doc->profile());
    fileField->setText(!skin ? QStringLiteral("Нет скина")
                       : m_doc->hasOwnFile() ? QDir::toNativeSeparators(m_doc->filePath())
                                             : m_doc->displayName() + QStringLiteral(" (не сохранён в файл)"));
    profileField->setText(p ? p->labelText() : QString());
    const QString depth = m_doc->hasOwnFile() ? m_doc->fileDepth() : QString();
    depthField->setText(depth.isEmpty() ? QString()
                                        : depth.mid(2) + QStringLiteral(" bpp") +
                                              (m_doc->fileSmoothed() ? QStringLiteral(", сглажен") : QString()));
    modifiedField->setText(!skin ? QString() : isModified() ? QStringLiteral("Изменён") : QStringLiteral("Сохранён"));
}

// ---------------------------------------------------------------- recent files

QStringList TForm1::recentFiles()
{
    return QSettings().value(kRecentKey).toStringList();
}

void TForm1::addRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files.removeAll(absolute);
    files.prepend(absolute);
    QSettings().setValue(kRecentKey, files.mid(0, kRecentCount));
    // The desktop's list is a courtesy to other programs: when it cannot be
    // written the author's save or load still succeeded, so no message box.
    if (!m_desktopRecentList.isEmpty())
        if (const Status s = addToDesktopRecentList(m_desktopRecentList, absolute); !s)
            qWarning("%s %s", qPrintable(s.message), qPrintable(s.details));
}

void TForm1::fillRecentMenu()
{
    recentMenu->clear();
    const QStringList files = recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        // "&1" .. "&9", then "1&0": a digit key picks each.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QAction *a = recentMenu->addAction(number + u' ' + QFileInfo(files[i]).fileName().replace(u'&', QStringLiteral("&&")));
        a->setToolTip(QDir::toNativeSeparators(files[i]));
        const QString path = files[i];
        connect(a, &QAction::triggered, this, [this, path] { openRecentFile(path); });
    }
    if (files.isEmpty())
        recentMenu->addAction(QStringLiteral("(пусто)"))->setEnabled(false);
}

void TForm1::openRecentFile(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        QStringList files = recentFiles();
        files.removeAll(path);
        QSettings().setValue(kRecentKey, files);
        reportError(QStringLiteral("Файл «%1» не найден. Он убран из списка недавних файлов.")
                        .arg(QDir::toNativeSeparators(path)));
        return;
    }
    loadSkinFile(path);
}

// ---------------------------------------------------------------- window state

void TForm1::restoreWindowState()
{
    m_remembersState = true;
    const QSettings settings;
    const QString screenName = settings.value(kScreenKey).toString();
    for (QScreen *s : QGuiApplication::screens())
        if (s->name() == screenName)
            setScreen(s);
    if (settings.contains(kGeometryKey))
        m_keptGeometry = settings.value(kGeometryKey).toRect();
    restoreChoice(RadioGroup1, settings, kScreenChoiceKey);
    restoreChoice(RadioGroup2, settings, kColumnsKey);
    restoreChoice(RadioGroup3, settings, kDepthKey);
    RadioGroup2->setVisible(RadioGroup1->isVisibleTo(this) && RadioGroup1->itemIndex() == ContactListScreen);
    restoreState(settings.value(kStateKey).toByteArray());
    fitToScreen();
    if (settings.value(kMaximizedKey, false).toBool())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TForm1::saveWindowState() const
{
    QSettings settings;
    // The frame's corner and the size inside it, as they were before maximising.
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    settings.setValue(kGeometryKey, QRect(normal.topLeft() - (geometry().topLeft() - frameGeometry().topLeft()), normal.size()));
    settings.setValue(kMaximizedKey, isMaximized());
    if (screen())
        settings.setValue(kScreenKey, screen()->name());
    settings.setValue(kScreenChoiceKey, RadioGroup1->itemIndex());
    settings.setValue(kColumnsKey, RadioGroup2->itemIndex());
    settings.setValue(kDepthKey, RadioGroup3->itemIndex());
    settings.setValue(kStateKey, saveState());
}

// ---------------------------------------------------------------- the manual

void TForm1::N9Click()
{
    // The installed manual page in the desktop's help viewer; else the README
    // installed beside it, in whatever shows text.
    const QDir share(QDir(m_doc->programFiles().dataFolder).filePath(QStringLiteral("..")));
    for (const char *page : {"man/man1/zelkor-skin-editor.1.gz", "man/man1/zelkor-skin-editor.1"})
        if (QFileInfo::exists(share.filePath(QString::fromLatin1(page))) &&
            seams().openUrl(QUrl(QStringLiteral("man:zelkor-skin-editor(1)"))))
            return;
    const QString readme = share.filePath(QStringLiteral("doc/zelkor-skin-editor/README.md"));
    if (QFileInfo::exists(readme) && seams().openUrl(QUrl::fromLocalFile(QDir::cleanPath(readme))))
        return;
    reportError(QStringLiteral("Руководство не найдено: нет ни страницы руководства zelkor-skin-editor(1), "
                               "которую мог бы показать рабочий стол, ни файла «%1».")
                    .arg(QDir::toNativeSeparators(QDir::cleanPath(readme))));
}

} // namespace zelkor
