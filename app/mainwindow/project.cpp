// Skin projects (.zskin) in the window: one design for every screen size.
// The document shows one size; the project (project/projectsession.h) makes
// that size's sheet, takes back every edit made in it, and writes the file.
// "Размер" shows the same design at another size as one undo step, so the
// project keeps one history. A skin file loaded on its own never has a project.
#include "tform1.h"
#include "tform1private.h"

#include "app/busycursor.h"
#include "app/converterprogress.h"
#include "app/exportdialog.h"
#include "app/projectedit.h"
#include "app/legibilitydock.h"
#include "app/newfrompicture.h"
#include "app/seams.h"
#include "app/tform2.h"
#include "desktop/preferences.h"
#include "project/projectfile.h"
#include "project/projectsession.h"
#include "skin/profiles.h"
#include "skin/savedepth.h"
#include "skin/userfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QUndoStack>
#include <QVBoxLayout>

namespace zelkor {

namespace {

QString projectFilter()
{
    return QStringLiteral("Проекты скинов (*.zskin);;Все файлы (*)");
}

// The screen choice gives up its lowest room to "Размер" while a project is open.
constexpr int kScreenChoiceHeight = 241;
constexpr int kSizeBoxHeight = 50;

} // namespace

TemplateReader TForm1::templateReader() const
{
    SkinDocument *doc = d->doc;
    return [doc](int profile, QImage &sheet) {
        const QString path = doc->programFiles().dataPath(QString::fromUtf8(profileByIndex(profile)->templateName));
        SkinImage skin;
        Status s = readSkinFile(doc->programFiles(), doc->workFolder(), path, skin);
        sheet = skin.sheet;
        return s;
    };
}

std::unique_ptr<ProjectSession> TForm1::newSession(SkinProject project, const QString &path) const
{
    auto session = std::make_unique<ProjectSession>(std::move(project), templateReader(), path);
    // Pictures placed with a scrim draw the texts over them.
    if (!d->smallIcons.isNull())
        session->setIcons({d->smallIcons, d->largeIcons});
    return session;
}

void TForm1::createProjectControls()
{
    d->sizeBox = new QGroupBox(QStringLiteral("Размер"), d->RadioGroup1->parentWidget());
    d->sizeBox->setGeometry(0, kScreenChoiceHeight - kSizeBoxHeight, 161, kSizeBoxHeight);
    auto *column = new QVBoxLayout(d->sizeBox);
    column->setContentsMargins(8, 2, 8, 4);
    d->sizeChoice = new QComboBox(d->sizeBox);
    for (const Profile &p : allProfiles())
        d->sizeChoice->addItem(p.labelText());
    column->addWidget(d->sizeChoice);
    d->sizeBox->hide();
    d->sizeBox->setToolTip(QStringLiteral("Тот же проект на экране другого размера."));
    connect(d->sizeChoice, &QComboBox::activated, this, [this](int index) { sizeChoiceClick(index + 1); });

    const struct {
        QAction *action;
        const char *tip;
    } tips[] = {
        {d->newProject, "Создать проект скина — один дизайн для всех шести размеров — из шаблона."},
        {d->saveAsProject, "Записать скин как проект (.zskin): один дизайн для всех размеров."},
        {d->exportSkins, "Записать скины выбранных размеров проекта в папку."},
    };
    for (const auto &t : tips) {
        t.action->setToolTip(QString::fromUtf8(t.tip));
        t.action->setStatusTip(QString::fromUtf8(t.tip));
    }

    // A skin replaced by anything but the project (New, Load, a port...)
    // ends the project; a size shown, or undone, keeps it.
    connect(d->doc, &SkinDocument::skinReplaced, this, [this] {
        if (d->project && d->doc->skinGeneration() != d->projectGeneration)
            d->project.reset();
        showProjectControls();
    });
    // Every step of the history, done or undone, goes into the project.
    connect(d->doc->undoStack(), &QUndoStack::indexChanged, this, [this](int step) {
        if (d->project && d->doc->skinGeneration() == d->projectGeneration) {
            d->project->follow(step, d->doc->sheet(), d->doc->profile());
            showColourMarks();
        }
    });
    showProjectControls();
}

void TForm1::showProjectControls()
{
    const bool project = d->project != nullptr;
    d->RadioGroup1->resize(d->RadioGroup1->width(), kScreenChoiceHeight - (project ? kSizeBoxHeight + 4 : 0));
    d->sizeBox->setVisible(project && d->doc->hasSkin());
    d->legibilityDock->offerAllSizes(project && d->doc->hasSkin());
    keepProjectInRecovery();
    if (project)
        d->sizeChoice->setCurrentIndex(d->doc->profile() - 1);
    d->saveAsProject->setEnabled(d->doc->hasSkin());
    d->exportSkins->setEnabled(project);
    d->exportSkins->setToolTip(d->exportSkins->statusTip()
                               + (project ? QString() : QStringLiteral(" Сначала создайте или загрузите проект.")));
    showColourMarks();
}

bool TForm1::adoptProject(std::unique_ptr<ProjectSession> session, const QImage &sheet, const QString &ownFile,
                          const QString &name)
{
    ProjectSession *shown = session.get();
    std::unique_ptr<ProjectSession> previous = std::move(d->project);
    d->project = std::move(session);
    d->projectGeneration = d->doc->skinGeneration() + 1;
    if (Status s = d->doc->adoptMade(sheet, ownFile, name); !s) {
        d->project = std::move(previous);
        report(this, s);
        return false;
    }
    shown->follow(d->doc->undoStack()->index(), d->doc->sheet(), d->doc->profile());
    return true;
}

bool TForm1::openProject(const QString &path)
{
    SkinProject project;
    QStringList notices;
    Status status;
    QImage sheet;
    std::unique_ptr<ProjectSession> session;
    {
        const BusyCursor busy;
        status = readProjectFile(path, project, notices);
        if (status) {
            session = newSession(std::move(project), QFileInfo(path).absoluteFilePath());
            status = session->sheet(session->project().profile, sheet);
        }
    }
    if (!status) {
        report(this, status);
        return false;
    }
    if (!adoptProject(std::move(session), sheet, path, {}))
        return false;
    if (!notices.isEmpty())
        seams().warning(this, notices.join(u'\n'));
    return true;
}

bool TForm1::saveProject(bool choose)
{
    QString target = d->project->path();
    IfExists existing = IfExists::Replace;
    if (choose || target.isEmpty() || !d->doc->hasOwnFile()) {
        const QString folder = target.isEmpty() ? prefs::saveFolder.get() : QFileInfo(target).absolutePath();
        const QString name = QFileInfo(d->doc->displayName()).completeBaseName();
        const QString start = QDir(folder).filePath(name + u'.' + QLatin1String(kProjectSuffix));
        const QString chosen =
            seams().saveFile(this, QStringLiteral("Сохранить проект как"), start, projectFilter());
        if (chosen.isEmpty())
            return false;
        target = QFileInfo(chosen).absoluteFilePath();
        if (QFileInfo(target).suffix().isEmpty())
            target += u'.' + QLatin1String(kProjectSuffix);
        if (const QString kind = specialFileKind(target, false); !kind.isEmpty() && !QFileInfo(target).isSymLink()) {
            reportError(notAFileMessage(target, kind) + QStringLiteral(" Проект не сохранён; выберите другое имя."));
            return false;
        }
        existing = IfExists::Refuse;
        if (QFileInfo::exists(target)) {
            if (seams().ask(this,
                            QStringLiteral("Файл «%1» уже существует. Заменить?").arg(QDir::toNativeSeparators(target)),
                            {QStringLiteral("Заменить"), QStringLiteral("Отмена")})
                != 0)
                return false;
            existing = IfExists::Replace;
        }
    }
    Status status;
    {
        const BusyCursor busy;
        status = d->project->write(target, {d->smallIcons, d->largeIcons}, existing);
    }
    report(this, status);
    if (!status)
        return false;
    d->doc->markSaved(target);
    prefs::saveFolder.set(QFileInfo(target).absolutePath());
    return true;
}

void TForm1::newProjectClick()
{
    if (!maybeSave())
        return;
    const int from = seams().ask(this, QStringLiteral("Из чего сделать новый проект?"),
                                 {QStringLiteral("Из шаблона…"), QStringLiteral("Из картинки…"), QStringLiteral("Отмена")});
    if (from == 1)
        newProjectFromPicture();
    if (from != 0)
        return;
    TForm2 dialog(this);
    if (d->doc->hasSkin())
        dialog.RadioGroup1->setItemIndex(d->doc->profile() - 1);
    if (seams().execDialog(&dialog) != QDialog::Accepted)
        return;
    const int profile = dialog.chosenProfile();
    std::unique_ptr<ProjectSession> session;
    QImage base;
    Status status;
    {
        const BusyCursor busy;
        ProjectSheets templates(templateReader());
        status = templates.templateSheet(profile, base);
        if (status) {
            session = newSession(projectFromTemplate(profile, base, QString()));
            status = session->sheet(profile, base);
        }
    }
    if (!status) {
        report(this, status);
        return;
    }
    adoptProject(std::move(session), base, {}, QStringLiteral("Новый проект"));
}

void TForm1::newProjectFromPicture()
{
    // The dialog of "Новый из картинки…" shows the chosen size; every size is
    // then made from the picture, which the project keeps.
    NewFromPictureDialog dialog(d->doc->programFiles(), d->doc->workFolder(), {d->smallIcons, d->largeIcons}, this);
    if (d->doc->hasSkin())
        dialog.setProfile(d->doc->profile());
    if (seams().execDialog(&dialog) != QDialog::Accepted || !dialog.result())
        return;
    const QString path = dialog.pictureFile();
    SkinProject made;
    std::vector<PortedSize> ported;
    QImage sheet;
    std::unique_ptr<ProjectSession> session;
    Status status;
    {
        const BusyCursor busy;
        QImage picture;
        status = design::readPicture(path, 0, picture);
        QFile file(path);
        if (status && !file.open(QIODevice::ReadOnly))
            status = Status::failure(QStringLiteral("Не удаётся прочитать файл «%1».").arg(QDir::toNativeSeparators(path)),
                                     file.errorString());
        if (status) {
            ProjectSheets templates(templateReader());
            design::FromPictureSettings settings;
            settings.variant = dialog.variant();
            status = projectFromPicture(picture, file.readAll(), templates, {d->smallIcons, d->largeIcons}, settings,
                                        QFileInfo(path).completeBaseName(), dialog.profile(), made, ported);
        }
        if (status) {
            session = newSession(std::move(made));
            status = session->sheet(session->project().profile, sheet);
        }
    }
    if (!status) {
        report(this, status);
        return;
    }
    const QString name = session->project().name;
    if (!adoptProject(std::move(session), sheet, {}, name) || ported.empty())
        return;
    QStringList notices;
    for (const PortedSize &size : ported)
        notices << portedSizeNotice(size, QStringLiteral("«Размер» %1, «Читаемость».")
                                              .arg(profileByIndex(size.profile)->labelText()));
    seams().warning(this, notices.join(u'\n'));
}

bool TForm1::saveAsProjectClick()
{
    if (!d->doc->hasSkin()) {
        reportError(QStringLiteral("Скин не создан и не загружен: сохранять нечего."));
        return false;
    }
    if (d->project)
        return saveProject(true);
    // The skin's pixels become the project's sheet at its size; the other
    // sizes are ported from it until the author gives them sources.
    const int profile = d->doc->profile();
    SkinProject made = projectFromSheet(profile, d->doc->sheet(), skinNameOf(d->doc->displayName(), profile));
    if (!d->doc->fileDepth().isEmpty())
        made.exporting.depthOption = d->doc->fileDepth();
    d->project = newSession(std::move(made));
    d->projectGeneration = d->doc->skinGeneration();
    d->project->follow(d->doc->undoStack()->index(), d->doc->sheet(), profile);
    if (!saveProject(true)) {
        // Not written: the skin stays a skin file.
        d->project.reset();
        return false;
    }
    showProjectControls();
    updateStatusBar();
    return true;
}

void TForm1::sizeChoiceClick(int profile)
{
    if (!d->project || profile == d->doc->profile())
        return;
    QImage sheet;
    Status status;
    {
        const BusyCursor busy;
        status = d->project->sheet(profile, sheet);
        if (status)
            status = d->doc->switchSheet(sheet, QStringLiteral("размер %1").arg(profileByIndex(profile)->labelText()));
    }
    report(this, status);
    showProjectControls();
}

void TForm1::exportSkinsClick()
{
    if (!d->project)
        return;
    const SkinProject &project = d->project->project();
    ExportDialog dialog(this);
    dialog.setProfiles(project.exporting.profiles);
    dialog.setDepthOption(project.exporting.depthOption);
    dialog.smooth->setChecked(project.exporting.smooth);
    dialog.folder->setText(QDir::toNativeSeparators(
        d->project->path().isEmpty() ? prefs::saveFolder.get() : QFileInfo(d->project->path()).absolutePath()));
    if (seams().execDialog(&dialog) != QDialog::Accepted || dialog.profiles().empty())
        return;
    const QString folder = QFileInfo(QDir::fromNativeSeparators(dialog.folder->text().trimmed())).absoluteFilePath();
    const QString name = !project.name.isEmpty()  ? project.name
                         : d->project->path().isEmpty() ? QString()
                                                        : QFileInfo(d->project->path()).completeBaseName();
    const std::vector<int> profiles = dialog.profiles();
    const QStringList targets = exportTargets(folder, name, profiles);
    QStringList taken;
    for (const QString &target : targets) {
        if (const QString kind = specialFileKind(target, false); !kind.isEmpty() && !QFileInfo(target).isSymLink()) {
            reportError(notAFileMessage(target, kind) + QStringLiteral(" Скины не записаны."));
            return;
        }
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            taken << QDir::toNativeSeparators(target);
    }
    // One question for all the files that would be replaced.
    if (!taken.isEmpty()
        && seams().ask(this, QStringLiteral("Эти файлы уже существуют:\n%1\nЗаменить?").arg(taken.join(u'\n')),
                       {QStringLiteral("Заменить"), QStringLiteral("Отмена")})
               != 0)
        return;
    if (!QDir().mkpath(folder)) {
        reportError(QStringLiteral("Не удаётся создать папку «%1». Скины не записаны.").arg(QDir::toNativeSeparators(folder)));
        return;
    }
    const QString depth = dialog.depthOption();
    const bool smooth = dialog.smooth->isChecked();
    // The choices become the project's export settings (one undo step), so
    // that Save keeps them and the next export starts from them.
    ExportSettings chosen = project.exporting;
    chosen.profiles = profiles;
    chosen.depthOption = depth;
    chosen.smooth = smooth;
    if (chosen != project.exporting)
        report(this, editProject(
                         *d->doc, d->project.get(),
                         [chosen](SkinProject &edited, int) { edited.exporting = chosen; },
                         [] { return Status::success(); }, QStringLiteral("настройки экспорта")));
    Status status;
    {
        const BusyCursor busy;
        for (size_t i = 0; i < profiles.size() && status; ++i) {
            QImage sheet;
            status = d->project->exportSheet(profiles[i], sheet);
            if (status && smooth)
                sheet = smoothedSheet(sheet, profiles[i], depth);
            if (status)
                status = writeSkinFile(d->doc->programFiles(), d->doc->workFolder(), sheet, depth,
                                       targets[qsizetype(i)], d->progress.get(),
                                       taken.isEmpty() ? IfExists::Refuse : IfExists::Replace);
        }
    }
    report(this, status);
    if (status)
        statusBar()->showMessage(
            QStringLiteral("Записано скинов: %1 в папку «%2».").arg(targets.size()).arg(QDir::toNativeSeparators(folder)),
            10000);
}

} // namespace zelkor
