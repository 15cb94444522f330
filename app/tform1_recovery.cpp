#include "tform1.h"

#include "editing/workingfilewatcher.h"
#include "seams.h"
#include "skin/recovery.h"
#include "skin/settingscheck.h"

#include <QCoreApplication>

namespace zelkor {

namespace {
constexpr int kRecoveryDelayMs = 3000;  // after the last change
}

void TForm1::keepRecoveryCopies(const QString &folder, const QString &instance)
{
    delete m_recovery;
    m_recovery = new RecoveryKeeper(*m_doc, folder, instance, kRecoveryDelayMs, this);
    if (!m_recovery->isValid()) {
        seams().warning(this, m_recovery->error() +
                                  QStringLiteral(" Копия несохранённого скина на случай сбоя вестись не будет."));
        return;
    }
    connect(m_recovery, &RecoveryKeeper::writeFailed, this, [this](const QString &message) {
        seams().warning(this, message + QStringLiteral(" Сохраните скин, чтобы не потерять изменения."));
    });
}

bool TForm1::offerRecovery()
{
    if (!m_recovery || m_recovery->claimOrphan().isEmpty())
        return false;
    const int answer = seams().ask(this, QStringLiteral("Восстановить несохранённый скин?"),
                                   {QStringLiteral("Да"), QStringLiteral("Нет")});
    if (answer == 0) {
        const Status restored = m_recovery->restoreClaimed();
        m_recovery->releaseClaimed();
        report(this, restored);
        return restored.ok();
    }
    // No answer at all (the editor was told to quit meanwhile): the copy waits for the next start.
    if (answer == 1)
        m_recovery->discardClaimed();
    else
        m_recovery->releaseClaimed();
    return false;
}

void TForm1::quitWithoutAsking()
{
    if (m_quitting)
        return;
    m_quitting = true;
    // Ends every event loop, a modal dialog's too; a dialog opened from here
    // on returns at once, so nothing below waits for an answer.
    QCoreApplication::exit(0);
    // An image editor's save not yet taken would go with the work folder: it
    // goes into the skin, and so into the copy (one that needs the placement
    // step cannot be placed now and stays out).
    if (m_doc->hasSkin())
        for (const int picture : m_watcher->untakenPictures())
            m_watcher->takeNow(picture);
    if (m_recovery && m_doc->isModified()) {
        m_recovery->writeNow();
        m_recovery->keep();
    }
    close();
    // A close under way (its prompt open) returns at once without closing.
    if (isVisible() && m_remembersState)
        saveWindowState();
}

void TForm1::reportUnwritableSettings()
{
    if (m_settingsReported)
        return;
    if (const QString problem = settingsWriteProblem(); !problem.isEmpty()) {
        m_settingsReported = true;
        seams().warning(this, problem);
    }
}

} // namespace zelkor
