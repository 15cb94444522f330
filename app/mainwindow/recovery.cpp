// Recovery copies in the window: a modified skin is copied by the keeper
// (desktop/recovery.h); a project's copy has the whole project beside it (a
// .zskin companion), so that a restore brings back every size and source.
#include "tform1.h"
#include "tform1private.h"

#include "editing/workingfilewatcher.h"
#include "app/busycursor.h"
#include "app/seams.h"
#include "desktop/recovery.h"
#include "desktop/settingscheck.h"
#include "imaging/filekind.h"
#include "project/projectfile.h"
#include "project/projectsession.h"
#include "skin/skindocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QUndoStack>

namespace zelkor {

namespace {
constexpr int kRecoveryDelayMs = 3000;  // after the last change
const QString kProjectCompanion = QStringLiteral(".") + QLatin1String(kProjectSuffix);
const QString kUnreadable = QStringLiteral(" Эту копию не прочитать, и она удалена.");
} // namespace

void TForm1::keepRecoveryCopies(const QString &folder, const QString &instance)
{
    delete d->recovery;
    d->recovery = new RecoveryKeeper(*d->doc, folder, instance, kRecoveryDelayMs, this);
    if (!d->recovery->isValid()) {
        seams().warning(this, d->recovery->error() +
                                  QStringLiteral(" Копия несохранённого скина на случай сбоя вестись не будет."));
        return;
    }
    connect(d->recovery, &RecoveryKeeper::writeFailed, this, [this](const QString &message) {
        seams().warning(this, message + QStringLiteral(" Сохраните скин, чтобы не потерять изменения."));
    });
    keepProjectInRecovery();
}

void TForm1::keepProjectInRecovery()
{
    if (!d->recovery)
        return;
    if (!d->project) {
        d->recovery->setCompanion(kProjectCompanion, {});
        return;
    }
    d->recovery->setCompanion(kProjectCompanion, [this](const QString &path) {
        SkinProject copy = d->project->project();
        copy.dropUnusedFiles();
        return writeProjectFile(path, copy,
                                projectThumbnail(d->doc->sheet(), d->doc->profile(), {d->smallIcons, d->largeIcons}),
                                IfExists::Replace);
    });
}

Status TForm1::restoreProjectCopy(const QString &companion)
{
    RecoveredSkin skin;
    SkinProject project;
    QStringList notices;
    Status status = readRecoveryFile(d->recovery->claimedCopy(), skin);
    if (status)
        status = readProjectFile(companion, project, notices);
    if (!status) {
        d->recovery->discardClaimed();
        status.message += kUnreadable;
        return status;
    }
    // The project's own file, where it still is one: Save writes there again.
    const QString file = skin.recordedFile;
    const QString own = QDir::isAbsolutePath(file) && isPlainFile(file) && isProjectFile(file) ? QDir::cleanPath(file)
                                                                                            : QString();
    auto session = std::make_unique<ProjectSession>(std::move(project), templateReader(), own);
    QImage sheet;
    {
        const BusyCursor busy;
        status = session->sheet(session->project().profile, sheet);
    }
    if (!status)
        return status;
    ProjectSession *restored = session.get();
    std::unique_ptr<ProjectSession> previous = std::move(d->project);
    d->project = std::move(session);
    d->projectGeneration = d->doc->skinGeneration() + 1;
    const RecoveredSkin shown{sheet, restored->project().profile, own, own.isEmpty() ? skin.unsavedName : QString(),
                              !own.isEmpty()};
    if (status = adoptRecoveredSkin(*d->doc, shown); !status) {
        d->project = std::move(previous);
        return status;
    }
    restored->follow(d->doc->undoStack()->index(), d->doc->sheet(), d->doc->profile());
    // The project is ours now: our own copy first, then the old one goes.
    if (status = d->recovery->writeNow(); !status)
        return status;
    d->recovery->discardClaimed();
    if (!notices.isEmpty())
        seams().warning(this, notices.join(u'\n'));
    return Status::success();
}

bool TForm1::offerRecovery()
{
    if (!d->recovery || d->recovery->claimOrphan().isEmpty())
        return false;
    const QString companion = d->recovery->claimedCompanion();
    const int answer = seams().ask(this,
                                   companion.isEmpty() ? QStringLiteral("Восстановить несохранённый скин?")
                                                       : QStringLiteral("Восстановить несохранённый проект?"),
                                   {QStringLiteral("Да"), QStringLiteral("Нет")});
    if (answer == 0) {
        const Status restored = companion.isEmpty() ? d->recovery->restoreClaimed() : restoreProjectCopy(companion);
        d->recovery->releaseClaimed();
        report(this, restored);
        return restored.ok();
    }
    // No answer at all (the editor was told to quit meanwhile): the copy waits for the next start.
    if (answer == 1)
        d->recovery->discardClaimed();
    else
        d->recovery->releaseClaimed();
    return false;
}

void TForm1::quitWithoutAsking()
{
    if (d->quitting)
        return;
    d->quitting = true;
    // Ends every event loop, a modal dialog's too; a dialog opened from here
    // on returns at once, so nothing below waits for an answer.
    QCoreApplication::exit(0);
    // An image editor's save not yet taken would go with the work folder: it
    // goes into the skin, and so into the copy (one that needs the placement
    // step cannot be placed now and stays out).
    if (d->doc->hasSkin())
        for (const int picture : d->watcher->untakenPictures())
            d->watcher->takeNow(picture);
    if (d->recovery && d->doc->isModified()) {
        d->recovery->writeNow();
        d->recovery->keep();
    }
    close();
    // A close under way (its prompt open) returns at once without closing.
    if (isVisible() && d->remembersState)
        saveWindowState();
}

void TForm1::reportUnwritableSettings()
{
    if (d->settingsReported)
        return;
    if (const QString problem = settingsWriteProblem(); !problem.isEmpty()) {
        d->settingsReported = true;
        seams().warning(this, problem);
    }
}

} // namespace zelkor
