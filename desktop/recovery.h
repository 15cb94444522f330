#pragma once
// Recovery copies: a modified skin is copied into the user's data folder a
// few seconds after every change, so that an editor that is killed or
// crashes never costs the author a skin. A copy belongs to the editor that
// wrote it (a lock held while it lives); the next editor to start offers a
// copy whose owner is gone. A copy is one PNG of the sheet, lossless, with
// what else makes the document in its text fields; it is written atomically.
// What the sheet of one size cannot hold (a project's every size and its
// sources) goes into a companion file beside it, written by whoever knows it.

#include "imaging/status.h"

#include <QImage>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

namespace zelkor {

class SkinDocument;

// What a recovery copy holds: everything the document needs to be as it was,
// but the history.
struct RecoveredSkin {
    QImage sheet;
    int profile = 0;
    QString filePath;     // the file it came from or was saved to (the template after New)
    QString unsavedName;  // the name of a skin never saved (a port)
    bool ownFile = false; // Save may replace filePath
    QString fileDepth;    // the depth option filePath was written at
    bool fileSmoothed = false;
    // The file field as written, unchecked (readRecoveryFile keeps filePath
    // only for a skin file): for a companion's reader to judge.
    QString recordedFile;
};

// The document as a recovery copy holds it, and back: the document becomes
// the copy, modified, with a fresh history.
RecoveredSkin recoveredSkinOf(const SkinDocument &doc);
Status adoptRecoveredSkin(SkinDocument &doc, const RecoveredSkin &skin);

// Writes `skin` to `path` (replacing the name, never writing through a link
// there) and reads it back. Reading takes a regular file only, so a pipe or a
// link planted under the name never blocks or leads elsewhere.
Status writeRecoveryFile(const QString &path, const RecoveredSkin &skin);
Status readRecoveryFile(const QString &path, RecoveredSkin &out);

// Keeps the recovery copy of one document in `folder`, under `instance` (a
// name no other running editor uses, such as its work folder's): written
// `delay` ms after the last change while the document is modified, removed as
// soon as it is not (a save, an undo back to the saved state, New or Load
// after the author discarded) and when the keeper ends -- unless keep() was
// called, as on a quit the author was not asked about.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    RecoveryKeeper(SkinDocument &doc, const QString &folder, const QString &instance, int delay = 3000,
                   QObject *parent = nullptr);
    ~RecoveryKeeper() override;

    // The folder below the user's data location where copies are kept.
    static QString defaultFolder();

    bool isValid() const { return m_lock != nullptr; }
    QString error() const { return m_error; }
    QString copyPath() const { return m_copy; }

    // Writes the copy now when the document is modified; the last failure
    // is reported once until a write succeeds again.
    Status writeNow();
    // The copy outlives this keeper: the next start offers it. Call
    // writeNow() first; the keeper's end writes nothing.
    void keep() { m_keep = true; }

    // Writes a companion file beside every copy with `write` (its path
    // ending in `suffix` instead of ".png"); without `write`, none, and the
    // copy's companion left from before goes.
    using CompanionWriter = std::function<Status(const QString &path)>;
    void setCompanion(const QString &suffix, CompanionWriter write);
    // The claimed copy's companion, a regular file; empty for none.
    QString claimedCompanion() const;
    QString claimedCopy() const { return m_claimed; }

    // The newest copy whose editor is gone, taken over (its lock held) so no
    // other starting editor offers it too; empty when there is none.
    QString claimOrphan();
    // The claimed copy made the document (modified, with its old file name),
    // then copied under this keeper and removed; or removed unread; or left
    // for the next start. A copy that cannot be read is removed and reported.
    Status restoreClaimed();
    void discardClaimed();
    void releaseClaimed();

signals:
    // A write failed; the copy on disk may be older than the document.
    void writeFailed(const QString &message);

private:
    void documentChanged();
    void removeCopy();
    void removeStaleLocks();
    QString companionOf(const QString &copy) const;

    SkinDocument &m_doc;
    QString m_folder;
    QString m_copy;
    QString m_error;
    QTimer m_timer;
    bool m_keep = false;
    bool m_failing = false;
    std::unique_ptr<QLockFile> m_lock;
    QString m_claimed;
    std::unique_ptr<QLockFile> m_claimedLock;
    QString m_companionSuffix;
    CompanionWriter m_writeCompanion;
};

} // namespace zelkor
