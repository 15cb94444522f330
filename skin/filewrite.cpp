#include "filewrite.h"

#include "userfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelkor {

Status writeFileWhole(const QString &path, const QByteArray &bytes, IfExists ifExists)
{
    const QString shown = QDir::toNativeSeparators(path);
    auto failure = [&](const QString &cause, const QString &details = {}) {
        return Status::failure(QStringLiteral("Не удаётся записать файл «%1»: %2.").arg(shown, cause), details);
    };
    // Qt says "Unknown error" for a failed write; the system's errno knows.
    auto systemFailure = [&](int errnum) {
        return failure(describeSystemError(errnum), QString::fromLocal8Bit(std::strerror(errnum)));
    };
    auto exists = [&] { return Status::failure(QStringLiteral("Файл «%1» уже существует.").arg(shown)); };
    // Only a regular file or a link may give up its name: a device, a pipe or
    // a folder there is someone else's, with or without leave to replace.
    if (const QString kind = specialFileKind(path, false);
        !kind.isEmpty() && !QFileInfo(path).isSymLink())
        return Status::failure(notAFileMessage(path, kind));
    if (ifExists == IfExists::Refuse && pathTaken(path))
        return exists();
    const QFileInfo info(path);
    // A short name of its own, whatever the target's: a name near the file
    // system's limit leaves no room for a longer one beside it.
    QTemporaryFile part(info.dir().filePath(QStringLiteral(".part-XXXXXX")));
    if (!part.open())
        return failure(describeSystemWords(part.errorString()), part.errorString());
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(part.handle(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return systemFailure(n < 0 ? errno : ENOSPC);
        done += n;
    }
    // A temporary file is private to its owner; ours are ordinary files, or
    // have the permissions of the file they replace. The mask is read once:
    // reading it means setting it, and two threads doing that at once could
    // leave the process with a mask of 0.
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    struct stat old;
    if (ifExists == IfExists::Replace && ::lstat(QFile::encodeName(path).constData(), &old) == 0 &&
        S_ISREG(old.st_mode))
        ::fchmod(part.handle(), old.st_mode & 07777);
    else
        ::fchmod(part.handle(), 0666 & ~mask);
    // A full disk may only show when the data reaches it.
    if (::fsync(part.handle()) != 0)
        return systemFailure(errno);
    if (ifExists == IfExists::Refuse) {
        // Qt's rename of a temporary file never replaces an existing name.
        if (pathTaken(path))
            return exists();
        if (!part.rename(path))
            return pathTaken(path) ? exists() : failure(describeSystemWords(part.errorString()), part.errorString());
    } else {
        part.close();
        // rename(2) replaces the name itself: a link there is not followed.
        if (::rename(QFile::encodeName(part.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
            return systemFailure(errno);
    }
    part.setAutoRemove(false);
    // The new name is on the disk only once its folder is.
    if (const int dir = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return Status::success();
}

QString singleEntryName(const QString &name)
{
    QString safe = name;
    safe.replace(u'/', u'_');
    safe.replace(QChar(u'\0'), u'_');
    if (safe.isEmpty() || safe == QLatin1String(".") || safe == QLatin1String(".."))
        safe.prepend(u'_');
    return safe;
}

} // namespace zelkor
