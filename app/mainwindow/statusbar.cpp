// What makes the window a desktop editor: the status bar's fields, a tooltip
// on every control, and commands disabled while there is no skin.
#include "tform1.h"
#include "tform1private.h"

#include "editing/workingfilewatcher.h"
#include "skin/colourslots.h"
#include "skin/profiles.h"

#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

namespace zelkor {

namespace {

const QString kNeedsSkin = QStringLiteral(" Сначала создайте или загрузите скин.");

} // namespace

void TForm1::createStatusBar()
{
    // Every control says what it does.
    const struct {
        QAction *action;
        const char *tip;
    } actions[] = {
        {d->N2, "Создать скин из шаблона для выбранного разрешения экрана."},
        {d->N3, "Открыть файл скина (.mbm)."},
        {d->N6, "Записать скин в его файл с прежней глубиной цвета; у нового скина — спросить имя."},
        {d->N8, "Сделать скин из одной картинки."},
        {d->N10, "Записать скин в новый файл: выбрать имя, папку и глубину цвета."},
        {d->N7, "Сделать из скина скин для другого разрешения экрана."},
        {d->N4, "Закрыть редактор."},
        {d->undoAction, "Отменить последнее изменение скина."},
        {d->redoAction, "Вернуть отменённое изменение скина."},
        {d->N9, "Открыть руководство пользователя."},
        {d->N5, "Версия программы и сайты проекта."},
    };
    for (const auto &a : actions) {
        a.action->setToolTip(QString::fromUtf8(a.tip));
        a.action->setStatusTip(QString::fromUtf8(a.tip));
    }
    for (QAction *top : menuBar()->actions())
        if (top->menu())
            top->menu()->setToolTipsVisible(true);

    d->RadioGroup1->setToolTip(QStringLiteral("Какой экран клиента показывает предпросмотр."));
    d->RadioGroup2->setToolTip(QStringLiteral("Список контактов в одну или в две колонки."));
    d->RadioGroup3->setToolTip(
        QStringLiteral("Предпросмотр таким, каким скин вернётся из файла с этой глубиной цвета."));
    d->Button1->setToolTip(QStringLiteral("Заменить или дорисовать одну из девяти картинок скина."));
    d->PaintBox1->setToolTip(QStringLiteral("Экран телефона с этим скином."));
    d->phone->setToolTip(QStringLiteral("Телефон с экраном выбранного разрешения."));
    for (int i = 0; i < 13; ++i)
        d->dx[i]->setToolTip(QStringLiteral("Выбрать цвет: %1.").arg(colourSlotLabel(i).trimmed()));

    d->fileField = new QLabel(this);
    d->fileField->setTextFormat(Qt::PlainText);  // a skin's name is never markup
    d->profileField = new QLabel(this);
    d->depthField = new QLabel(this);
    d->modifiedField = new QLabel(this);
    d->fileField->setToolTip(QStringLiteral("Файл скина."));
    d->profileField->setToolTip(QStringLiteral("Разрешение экрана скина."));
    d->depthField->setToolTip(QStringLiteral("Глубина цвета файла скина."));
    d->modifiedField->setToolTip(QStringLiteral("Есть ли несохранённые изменения."));
    // No stretch: the messages of the moment (what the mouse points at) need the room at the left.
    statusBar()->addPermanentWidget(d->fileField);
    for (QLabel *field : {d->profileField, d->depthField, d->modifiedField})
        statusBar()->addPermanentWidget(field);

    for (auto signal : {&SkinDocument::skinReplaced, &SkinDocument::fileNameChanged})
        connect(d->doc, signal, this, [this] { updateStatusBar(); });
    connect(d->doc, &SkinDocument::modifiedChanged, this, [this] { updateStatusBar(); });
    connect(d->watcher, &WorkingFileWatcher::untakenChanged, this, [this] { updateStatusBar(); });
    updateStatusBar();
}

void TForm1::updateStatusBar()
{
    const bool skin = d->doc->hasSkin();
    for (QAction *a : {d->N6, d->N10, d->N7}) {
        a->setEnabled(skin);
        a->setToolTip(a->statusTip() + (skin ? QString() : kNeedsSkin));
    }
    d->Button1->setEnabled(skin);

    const Profile *p = profileByIndex(d->doc->profile());
    d->fileField->setText(!skin ? QStringLiteral("Нет скина")
                       : d->doc->hasOwnFile() ? QDir::toNativeSeparators(d->doc->filePath())
                                             : d->doc->displayName());
    d->profileField->setText(p ? p->labelText() : QString());
    const QString depth = d->doc->hasOwnFile() ? d->doc->fileDepth() : QString();
    d->depthField->setText(depth.isEmpty() ? QString()
                                        : depth.mid(2) + QStringLiteral(" bpp") +
                                              (d->doc->fileSmoothed() ? QStringLiteral(", сглажен") : QString()));
    // One state: a skin that has no file of its own is unsaved however it
    // came to be; one with a file is changed or as saved.
    d->modifiedField->setText(!skin                   ? QString()
                              : !d->doc->hasOwnFile() ? QStringLiteral("Не сохранён в файл")
                              : isModified()          ? QStringLiteral("Изменён")
                                                      : QStringLiteral("Сохранён"));
}

} // namespace zelkor
