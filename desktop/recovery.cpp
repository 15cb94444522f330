#include "recovery.h"

#include "skin/filedepth.h"
#include "skin/filewrite.h"
#include "skin/profiles.h"
#include "skin/savename.h"
#include "skin/sheet.h"
#include "skin/skindocument.h"
#include "skin/userfile.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>
#include <QUndoStack>

#include <algorithm>

namespace zelkor {

namespace {

const QString kSuffix = QStringLiteral(".png");
const QString kLockSuffix = QStringLiteral(".lock");
// The copy's text fields.
const QString kProfileKey = QStringLiteral("zelkor-profile");
const QString kFileKey = QStringLiteral("zelkor-file");
const QString kNameKey = QStringLiteral("zelkor-unsaved-name");
const QString kOwnKey = QStringLiteral("zelkor-own-file");
const QString kDepthKey = QStringLiteral("zelkor-depth");
const QString kSmoothKey = QStringLiteral("zelkor-smoothed");

QString lockPathOf(const QString &copy)
{
    return copy.left(copy.size() - kSuffix.size()) + kLockSuffix;
}

// A lock that counts as stale as soon as its process is gone.
std::unique_ptr<QLockFile> takeLock(const QString &path, QLockFile::LockError *error = nullptr)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (error)
            *error = lock->error();
        return nullptr;
    }
    return lock;
}

void removeCopyAndLock(const QString &copy, std::unique_ptr<QLockFile> &lock)
{
    QFile::remove(copy);
    if (lock) {
        lock->unlock();  // removes the lock file
        lock.reset();
    }
}

} // namespace

RecoveredSkin recoveredSkinOf(const SkinDocument &doc)
{
    return {doc.m_sheet,  doc.m_profile, doc.m_filePath, doc.m_unsavedName, doc.m_ownFile,
            doc.m_fileDepth, doc.m_fileSmoothed};
}

Status adoptRecoveredSkin(SkinDocument &doc, const RecoveredSkin &skin)
{
    const Profile *p = profileByIndex(skin.profile);
    if (skin.sheet.isNull() || !p || p->screenWidth != skin.sheet.width())
        return Status::failure(QStringLiteral("Копия скина повреждена."));
    doc.replaceSkin(normalisedSheet(skin.sheet), skin.profile, skin.filePath, true, skin.unsavedName,
                    skin.ownFile, skin.fileDepth);
    doc.m_fileSmoothed = skin.fileSmoothed;
    return Status::success();
}

Status writeRecoveryFile(const QString &path, const RecoveredSkin &skin)
{
    QImage image = skin.sheet.convertToFormat(QImage::Format_RGB32);
    image.setText(kProfileKey, QString::number(skin.profile));
    image.setText(kFileKey, skin.filePath);
    image.setText(kNameKey, skin.unsavedName);
    image.setText(kOwnKey, skin.ownFile ? QStringLiteral("1") : QStringLiteral("0"));
    image.setText(kDepthKey, skin.fileDepth);
    image.setText(kSmoothKey, skin.fileSmoothed ? QStringLiteral("1") : QStringLiteral("0"));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return Status::failure(QStringLiteral("Не удаётся записать копию скина «%1».").arg(native(path)),
                               writer.errorString());
    return writeFileWhole(path, bytes, IfExists::Replace);
}

Status readRecoveryFile(const QString &path, RecoveredSkin &out)
{
    const auto damaged = [&](const QString &why) {
        return Status::failure(QStringLiteral("Не удаётся прочитать копию скина «%1».").arg(native(path)), why);
    };
    if (!isPlainFile(path))
        return damaged(QStringLiteral("Это не обычный файл."));
    // Every field is someone's say-so: a copy may have been planted or
    // damaged. The sheet is bounded as Load bounds it, the profile and the
    // depth come from their tables, and a file is the skin's own only when it
    // is still a regular skin file.
    QImageReader reader(path, "png");
    if (const QSize size = reader.size(); size.isValid() && qint64(size.width()) * size.height() > maxSheetPixels())
        return damaged(QStringLiteral("Картинка скина слишком велика: %1 x %2 точек.").arg(size.width()).arg(size.height()));
    const QImage image = reader.read();
    if (image.isNull())
        return damaged(reader.errorString());
    RecoveredSkin skin;
    skin.sheet = normalisedSheet(image);
    skin.profile = image.text(kProfileKey).toInt();
    const Profile *p = profileByIndex(skin.profile);
    if (!p || p->screenWidth != skin.sheet.width())
        return damaged(QStringLiteral("Ширина картинки не подходит к её разрешению."));
    const QString file = image.text(kFileKey);
    skin.recordedFile = file;
    QByteArray bytes;
    const bool isSkinFile = QDir::isAbsolutePath(file) && isPlainFile(file) &&
                            readUserFile(file, maxSkinFileBytes(), bytes) && !bareSkinFile(bytes).isEmpty();
    skin.filePath = isSkinFile ? QDir::cleanPath(file) : QString();
    skin.ownFile = isSkinFile && image.text(kOwnKey) == QLatin1String("1");
    skin.fileDepth = depthItem(image.text(kDepthKey)) >= 0 ? image.text(kDepthKey) : QString();
    skin.fileSmoothed = image.text(kSmoothKey) == QLatin1String("1");
    // A bare name, never a path.
    skin.unsavedName = QFileInfo(image.text(kNameKey)).fileName();
    // A skin file gone since keeps its name; anything else that stands
    // there lends the skin no name of its own.
    if (skin.filePath.isEmpty() && skin.unsavedName.isEmpty())
        skin.unsavedName = !pathTaken(file) && !QFileInfo(file).fileName().isEmpty() ? QFileInfo(file).fileName()
                                                                                      : QStringLiteral("восстановленный.mbm");
    out = skin;
    return Status::success();
}

RecoveryKeeper::RecoveryKeeper(SkinDocument &doc, const QString &folder, const QString &instance, int delay,
                               QObject *parent)
    : QObject(parent), m_doc(doc), m_folder(folder), m_copy(QDir(folder).filePath(instance + kSuffix))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(delay);
    connect(&m_timer, &QTimer::timeout, this, [this] { writeNow(); });
    if (!QDir().mkpath(folder)) {
        m_error = QStringLiteral("Не удаётся создать папку «%1».").arg(native(folder));
        return;
    }
    QLockFile::LockError lockError = QLockFile::NoError;
    m_lock = takeLock(lockPathOf(m_copy), &lockError);
    if (!m_lock) {
        m_error = lockError != QLockFile::PermissionError
                      ? QStringLiteral("Не удаётся занять «%1».").arg(native(lockPathOf(m_copy)))
                      : QStringLiteral("В папку копий «%1» нельзя писать; дайте право записи в неё.")
                            .arg(native(folder));
        return;
    }
    removeStaleLocks();
    connect(&doc, &SkinDocument::sheetChanged, this, &RecoveryKeeper::documentChanged);
    connect(&doc, &SkinDocument::skinReplaced, this, &RecoveryKeeper::documentChanged);
    connect(&doc, &SkinDocument::fileNameChanged, this, &RecoveryKeeper::documentChanged);
    connect(&doc, &SkinDocument::modifiedChanged, this, &RecoveryKeeper::documentChanged);
    documentChanged();
}

RecoveryKeeper::~RecoveryKeeper()
{
    releaseClaimed();
    if (!m_lock)
        return;
    // The document may be gone by now: a copy kept was written by the quit itself.
    if (!m_keep)
        removeCopy();
    m_lock->unlock();
}

QString RecoveryKeeper::defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("recovery"));
}

void RecoveryKeeper::documentChanged()
{
    if (!m_doc.isModified()) {
        m_timer.stop();
        removeCopy();
    } else {
        m_timer.start();
    }
}

void RecoveryKeeper::removeCopy()
{
    if (!m_lock)
        return;
    QFile::remove(m_copy);
    if (!m_companionSuffix.isEmpty())
        QFile::remove(companionOf(m_copy));
}

QString RecoveryKeeper::companionOf(const QString &copy) const
{
    return copy.chopped(kSuffix.size()) + m_companionSuffix;
}

void RecoveryKeeper::setCompanion(const QString &suffix, CompanionWriter write)
{
    if (m_lock && !m_companionSuffix.isEmpty() && (!write || suffix != m_companionSuffix))
        QFile::remove(companionOf(m_copy));
    if (m_lock && !suffix.isEmpty() && suffix != m_companionSuffix) {
        // An editor that ended between writing a companion and its copy left
        // a companion nothing will offer; one whose editor lives is its own.
        for (const QFileInfo &companion :
             QDir(m_folder).entryInfoList({QStringLiteral("*") + suffix}, QDir::Files | QDir::System | QDir::Hidden)) {
            const QString copy = companion.absoluteFilePath().chopped(suffix.size()) + kSuffix;
            if (companion.isSymLink() || pathTaken(copy))
                continue;
            if (auto lock = takeLock(lockPathOf(copy))) {
                QFile::remove(companion.absoluteFilePath());
                lock->unlock();
            }
        }
    }
    m_companionSuffix = suffix;
    m_writeCompanion = std::move(write);
}

QString RecoveryKeeper::claimedCompanion() const
{
    if (m_claimed.isEmpty() || m_companionSuffix.isEmpty())
        return {};
    const QString companion = companionOf(m_claimed);
    return isPlainFile(companion) ? companion : QString();
}

Status RecoveryKeeper::writeNow()
{
    m_timer.stop();
    if (!m_lock || !m_doc.isModified())
        return Status::success();
    // The companion first: a copy is only offered with its companion already beside it.
    Status written = m_writeCompanion ? m_writeCompanion(companionOf(m_copy)) : Status::success();
    if (written.ok())
        written = writeRecoveryFile(m_copy, recoveredSkinOf(m_doc));
    if (!written.ok() && !m_failing)
        emit writeFailed(written.message);
    m_failing = !written.ok();
    return written;
}

void RecoveryKeeper::removeStaleLocks()
{
    // An editor killed before its skin changed leaves a lock and no copy.
    const QDir dir(m_folder);
    for (const QFileInfo &lock : dir.entryInfoList({QStringLiteral("*") + kLockSuffix}, QDir::Files | QDir::Hidden)) {
        const QString copy = lock.absoluteFilePath().chopped(kLockSuffix.size()) + kSuffix;
        if (lock.isSymLink() || pathTaken(copy))
            continue;  // a copy's lock is taken with the copy
        if (auto taken = takeLock(lock.absoluteFilePath()))
            taken->unlock();  // its owner is gone: unlocking removes it
    }
}

QString RecoveryKeeper::claimOrphan()
{
    if (!m_lock)
        return {};
    releaseClaimed();
    QFileInfoList copies = QDir(m_folder).entryInfoList({QStringLiteral("*") + kSuffix}, QDir::Files | QDir::System);
    std::sort(copies.begin(), copies.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return a.lastModified() > b.lastModified();
    });
    for (const QFileInfo &copy : copies) {
        // Our copies are plain files: a link or a pipe put there is none of
        // them, and reading it could block or reach anywhere.
        if (copy.absoluteFilePath() == QFileInfo(m_copy).absoluteFilePath() || copy.isSymLink() || !copy.isFile())
            continue;
        // A live editor holds the lock of its own copy.
        if (auto lock = takeLock(lockPathOf(copy.absoluteFilePath()))) {
            m_claimed = copy.absoluteFilePath();
            m_claimedLock = std::move(lock);
            return m_claimed;
        }
    }
    return {};
}

Status RecoveryKeeper::restoreClaimed()
{
    RecoveredSkin skin;
    if (Status s = readRecoveryFile(m_claimed, skin); !s) {
        // Left, it would be offered again at every start.
        discardClaimed();
        s.message += QStringLiteral(" Эту копию не прочитать, и она удалена.");
        return s;
    }
    if (Status s = adoptRecoveredSkin(m_doc, skin); !s)
        return s;
    // The skin is ours now: our own copy first, then the old one goes.
    if (Status s = writeNow(); !s)
        return s;
    discardClaimed();
    return Status::success();
}

void RecoveryKeeper::discardClaimed()
{
    if (!m_claimed.isEmpty() && !m_companionSuffix.isEmpty())
        QFile::remove(companionOf(m_claimed));
    if (!m_claimed.isEmpty())
        removeCopyAndLock(m_claimed, m_claimedLock);
    m_claimed.clear();
}

void RecoveryKeeper::releaseClaimed()
{
    m_claimedLock.reset();  // unlocks, so the next start may offer it
    m_claimed.clear();
}

} // namespace zelkor
