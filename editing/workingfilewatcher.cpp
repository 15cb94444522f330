#include "workingfilewatcher.h"

#include "imaging/picturefile.h"
#include "picturefiles.h"
#include "skin/filewrite.h"
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "skin/skindocument.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QImage>

namespace zelkor {

namespace {
// A save is looked at once the file has been quiet this long, so the steps
// of one save are taken as one.
constexpr int kQuietMs = 100;
// An incomplete file is read again this often.
constexpr int kRetryMs = 150;

bool isPicture(int picture)
{
    return picture >= 0 && picture < kPictureCount;
}
} // namespace

WorkingFileWatcher::WorkingFileWatcher(SkinDocument &document, QObject *parent)
    : QObject(parent), m_doc(document), m_fs(new QFileSystemWatcher(this))
{
    m_clock.start();
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &WorkingFileWatcher::takeSaves);
    connect(m_fs, &QFileSystemWatcher::fileChanged, this, &WorkingFileWatcher::changed);
    connect(m_fs, &QFileSystemWatcher::directoryChanged, this, &WorkingFileWatcher::changed);
    // The working files of another skin's pictures must not go into this one.
    connect(&m_doc, &SkinDocument::skinReplaced, this, &WorkingFileWatcher::forgetAll);
}

void WorkingFileWatcher::setEnabled(bool on)
{
    m_enabled = on;
    m_settle.start(kQuietMs);
}

QString WorkingFileWatcher::pathOf(int picture) const
{
    return workingFilePath(m_doc.workFolder(), picture);
}

std::optional<WorkingFileWatcher::Stamp> WorkingFileWatcher::stampOf(int picture) const
{
    const QString path = pathOf(picture);
    // Never opened unless a plain file: a pipe would block us for good.
    if (!isPlainFile(path))
        return pathTaken(path) ? std::optional<Stamp>(QByteArrayLiteral("not a plain file")) : std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&file);
    return hash.result();
}

void WorkingFileWatcher::follow(int picture)
{
    if (!isPicture(picture))
        return;
    m_files[picture].followed = true;
    // The folder too: an editor that renames a new file over the old one
    // replaces the file that was watched.
    const QString folder = QFileInfo(pathOf(picture)).absolutePath();
    QDir().mkpath(folder);
    if (!m_fs->directories().contains(folder))
        m_fs->addPath(folder);
    changed();
}

bool WorkingFileWatcher::isFollowing(int picture) const
{
    return isPicture(picture) && m_files[picture].followed;
}

void WorkingFileWatcher::markInSheet(int picture)
{
    if (!isPicture(picture))
        return;
    Entry &e = m_files[picture];
    e.inSheet = stampOf(picture);
    e.givenUp.reset();
    e.declined.reset();
    e.unreadableSince = -1;
    refreshUntaken();
}

bool WorkingFileWatcher::hasUntakenChange(int picture) const
{
    if (!isPicture(picture))
        return false;
    const auto now = stampOf(picture);
    const Entry &e = m_files[picture];
    return now && e.inSheet && *now != *e.inSheet;
}

std::vector<int> WorkingFileWatcher::untakenPictures() const
{
    std::vector<int> pictures;
    for (int p = 0; p < kPictureCount; ++p)
        if (hasUntakenChange(p) && isPlainFile(pathOf(p)))
            pictures.push_back(p);
    return pictures;
}

void WorkingFileWatcher::refreshUntaken()
{
    std::vector<int> now = untakenPictures();
    if (now == m_untaken)
        return;
    m_untaken = std::move(now);
    emit untakenChanged();
}

Status WorkingFileWatcher::takeNow(int picture)
{
    if (!isPicture(picture))
        return Status::failure(QStringLiteral("Нет картинки номер %1.").arg(picture));
    const QString path = pathOf(picture);
    if (pathTaken(path) && !isPlainFile(path))
        return Status::failure(notPlainWorkingFile(path));
    const auto stamp = stampOf(picture);
    QString error;
    const QImage image = readImageFile(path, error);
    if (!stamp || image.isNull())
        return Status::failure(error);
    return takeImage(picture, *stamp, image);
}

Status WorkingFileWatcher::takeImage(int picture, const Stamp &stamp, QImage image)
{
    Entry &e = m_files[picture];
    const QString path = pathOf(picture);
    if (const auto r = pictureRect(picture, m_doc.profile()); r && image.size() != r->rect().size()) {
        std::optional<QImage> placed;
        if (m_placer) {
            // The placer's dialog runs the event loop: no save is looked at meanwhile.
            m_placing = true;
            placed = m_placer(picture, image, path);
            m_placing = false;
            m_settle.start(kQuietMs);
        }
        if (!placed || placed->isNull()) {
            e.declined = stamp;
            refreshUntaken();
            return Status::cancelled();
        }
        image = *placed;
    }
    e.inSheet = stamp;
    e.givenUp.reset();
    e.declined.reset();
    e.unreadableSince = -1;
    const Status status = m_doc.writeBackPicture(picture, image, path);
    if (status)
        emit pictureTaken(picture, image);
    refreshUntaken();
    return status;
}

void WorkingFileWatcher::changed()
{
    const QStringList watched = m_fs->files();
    for (int p = 0; p < kPictureCount; ++p) {
        const QString path = pathOf(p);
        if (m_files[p].followed && QFileInfo::exists(path) && !watched.contains(path))
            m_fs->addPath(path);
    }
    m_settle.start(kQuietMs);
}

void WorkingFileWatcher::takeSaves()
{
    if (m_placing)
        return;
    if (!m_enabled) {
        // Not taken, but the window counts it as a change of the skin.
        refreshUntaken();
        return;
    }
    bool again = false;
    for (int p = 0; p < kPictureCount; ++p)
        if (m_files[p].followed && take(p) == Outcome::TryAgain)
            again = true;
    if (again)
        m_settle.start(kRetryMs);
}

WorkingFileWatcher::Outcome WorkingFileWatcher::take(int picture)
{
    Entry &e = m_files[picture];
    // A missing file is an editor between writing a new one and renaming it
    // over: the folder's change brings us back.
    const auto before = stampOf(picture);
    if (!before || before == e.inSheet || before == e.givenUp || before == e.declined) {
        e.unreadableSince = -1;
        return Outcome::Nothing;
    }
    const QString path = pathOf(picture);
    if (!isPlainFile(path)) {
        e.givenUp = before;
        e.unreadableSince = -1;
        emit failed(notPlainWorkingFile(path));
        return Outcome::Nothing;
    }
    QString error;
    const QImage image = readImageFile(path, error);
    if (stampOf(picture) != before)
        return Outcome::TryAgain;  // still being written
    if (image.isNull()) {
        if (e.unreadableSince < 0)
            e.unreadableSince = m_clock.elapsed();
        if (m_clock.elapsed() - e.unreadableSince < m_patience)
            return Outcome::TryAgain;
        // The state is settled before the message, whose box runs the event
        // loop and may bring us back here.
        e.givenUp = before;
        e.unreadableSince = -1;
        emit failed(error);
        return Outcome::Nothing;
    }
    const Status status = takeImage(picture, *before, image);
    if (status.isCancelled())
        return Outcome::Nothing;
    if (!status) {
        emit failed(status.message);
        return Outcome::Nothing;
    }
    return Outcome::Taken;
}

void WorkingFileWatcher::forgetAll()
{
    m_settle.stop();
    m_files = {};
    const QStringList watched = m_fs->files() + m_fs->directories();
    if (!watched.isEmpty())
        m_fs->removePaths(watched);
    refreshUntaken();
}

} // namespace zelkor
