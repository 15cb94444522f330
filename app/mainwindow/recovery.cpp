#include "tform1.h"
#include "tform1private.h"

#include "editing/workingfilewatcher.h"
#include "app/seams.h"
#include "desktop/recovery.h"
#include "desktop/settingscheck.h"

#include <QCoreApplication>

namespace zelkor {

namespace {
constexpr int kRecoveryDelayMs = 3000;  // after the last change
}

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
}

bool TForm1::offerRecovery()
{
    if (!d->recovery || d->recovery->claimOrphan().isEmpty())
        return false;
    const int answer = seams().ask(this, QStringLiteral("Восстановить несохранённый скин?"),
                                   {QStringLiteral("Да"), QStringLiteral("Нет")});
    if (answer == 0) {
        const Status restored = d->recovery->restoreClaimed();
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
