#pragma once
// Follows the working files an image editor was started on: each time the
// editor saves one, its picture is written back into the skin document's
// sheet (one undo step; another size only as the placer places it), whether
// the picture editing dialog is still open or not, and without waiting for
// the editor to end.
//
// Editors save in place, through a new file renamed over the old one, or in
// several writes. So both the file and its folder are watched, a change is
// looked at only once the file has been quiet for a moment, and a file is
// taken only when it reads as a complete image; one that stays incomplete is
// given up with one message and the sheet keeps what it had.
//
// The watcher also remembers, per working file, the content the sheet
// already has (written from it, or taken into it), so the dialog can tell an
// editor's work not yet taken from a file it may overwrite, and the window can
// count such work as a change of the skin.
//
// A save whose size is not its place's is never clipped into the sheet: the
// placer (the window's placement step) decides what goes in, or that nothing does.

#include "skin/profiles.h"
#include "imaging/status.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QFileSystemWatcher;
class QImage;

namespace zelkor {

class SkinDocument;

class WorkingFileWatcher : public QObject {
    Q_OBJECT
public:
    explicit WorkingFileWatcher(SkinDocument &document, QObject *parent = nullptr);

    // Off: saves are noticed but not taken. Turning it on takes what was saved meanwhile.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool on);

    // Follows `picture`'s working file from now until the skin is replaced.
    void follow(int picture);
    bool isFollowing(int picture) const;

    // The working file of `picture` now holds what the sheet holds (the
    // dialog wrote it, or loaded it into the sheet).
    void markInSheet(int picture);
    // True when the working file exists and changed since it was last
    // written from the sheet or taken into it.
    bool hasUntakenChange(int picture) const;

    // Pictures whose working file holds a plain file the sheet does not
    // have (a link or a pipe is never read, so it is nothing to take), in order.
    std::vector<int> untakenPictures() const;
    // Takes what `picture`'s working file holds into the sheet now, following
    // or not: one undo step, through the placer when its size is not the
    // place's. Cancelled when the placer declined; a failure names the file.
    Status takeNow(int picture);

    // Gives the picture to write for a save of `image` from `path` whose
    // size differs from `picture`'s place, or nothing when it is not to be
    // taken. Without a placer such a save is not taken.
    using Placer = std::function<std::optional<QImage>(int picture, const QImage &image, const QString &path)>;
    void setPlacer(Placer placer) { m_placer = std::move(placer); }

    // How long a file that does not read as a complete image is tried again
    // before it is given up.
    void setPatience(int milliseconds) { m_patience = milliseconds; }

signals:
    // `image` went into the sheet as `picture`.
    void pictureTaken(int picture, const QImage &image);
    // A save that could not be taken, with the file named; shown by the window.
    void failed(const QString &message);
    // untakenPictures() may have changed.
    void untakenChanged();

private:
    // A file's content, by its hash: a time stamp could miss a save in the
    // same millisecond or of the same size.
    using Stamp = QByteArray;
    struct Entry {
        bool followed = false;
        std::optional<Stamp> inSheet;  // the file as the sheet has it
        std::optional<Stamp> givenUp;  // a content that never read as complete
        std::optional<Stamp> declined; // a content of another size the placer did not take
        qint64 unreadableSince = -1;   // m_clock time of the first failed read since the last take
    };
    enum class Outcome { Nothing, Taken, TryAgain };

    QString pathOf(int picture) const;
    std::optional<Stamp> stampOf(int picture) const;
    void changed();
    void takeSaves();
    Outcome take(int picture);
    // Writes `image`, read from the working file whose content is `stamp`, into the sheet.
    Status takeImage(int picture, const Stamp &stamp, QImage image);
    void refreshUntaken();
    void forgetAll();

    SkinDocument &m_doc;
    QFileSystemWatcher *m_fs;
    QTimer m_settle;
    QElapsedTimer m_clock;
    std::array<Entry, kPictureCount> m_files{};
    bool m_enabled = true;
    bool m_placing = false;        // the placer's dialog is open
    std::vector<int> m_untaken;    // as last said by untakenChanged
    Placer m_placer;
    int m_patience = 3000;
};

} // namespace zelkor
