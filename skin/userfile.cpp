#include "userfile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelkor {

namespace {

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("папка");
    if (S_ISFIFO(mode))
        return QStringLiteral("именованный канал (FIFO)");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("устройство");
    if (S_ISSOCK(mode))
        return QStringLiteral("сокет");
    if (S_ISLNK(mode))
        return QStringLiteral("символическая ссылка");
    return S_ISREG(mode) ? QString() : QStringLiteral("не обычный файл");
}

} // namespace

QString specialFileKind(const QString &path, bool followLinks)
{
    struct stat st;
    const QByteArray name = QFile::encodeName(path);
    if ((followLinks ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st)) != 0)
        return {};
    return kindOf(st.st_mode);
}

QString notAFileMessage(const QString &path, const QString &kind)
{
    return QStringLiteral("«%1» — не файл, а %2: его нельзя ни прочитать, ни заменить как файл.")
        .arg(native(path), kind);
}

namespace {

Status readRegular(const QString &path, qint64 maxBytes, bool whole, QByteArray &out)
{
    const QString shown = native(path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            // A link that leads nowhere is there, yet holds nothing.
            if (!specialFileKind(path, false).isEmpty())
                return Status::failure(
                    QStringLiteral("Файл «%1» — ссылка на файл, которого нет.").arg(shown));
            // Bytes that are not UTF-8 in a name come back as another name.
            if (path.contains(QChar::ReplacementCharacter))
                return Status::failure(QStringLiteral("Имя файла «%1» не в кодировке UTF-8: программа не может "
                                                      "открыть такой файл. Переименуйте его.")
                                           .arg(shown));
            return Status::failure(QStringLiteral("Файл «%1» не найден.").arg(shown));
        }
        if (error == EACCES || error == EPERM)
            return Status::failure(
                QStringLiteral("Файл «%1» есть, но прочитать его нельзя: нет прав на чтение.").arg(shown));
        return Status::failure(
            QStringLiteral("Не удаётся прочитать файл «%1»: %2.").arg(shown, describeSystemError(error)));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return Status::failure(
            QStringLiteral("Не удаётся прочитать файл «%1»: %2.").arg(shown, describeSystemError(errno)));
    if (!S_ISREG(st.st_mode))
        return Status::failure(notAFileMessage(path, kindOf(st.st_mode)));
    if (whole && st.st_size > maxBytes)
        return Status::failure(QStringLiteral("Файл «%1» слишком велик: %2 байт, а прочитать можно не больше %3.")
                                   .arg(shown)
                                   .arg(qint64(st.st_size))
                                   .arg(maxBytes));
    // The file may grow while it is read: never more than the bound.
    QByteArray bytes(whole ? qsizetype(st.st_size) + 1 : qsizetype(maxBytes), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Status::failure(
                QStringLiteral("Не удаётся прочитать файл «%1»: %2.").arg(shown, describeSystemError(errno)));
        if (n == 0)
            break;
        done += n;
        if (whole && done == bytes.size() && done <= maxBytes)
            bytes.resize(std::min<qint64>(maxBytes + 1, done * 2));
    }
    if (whole && done > maxBytes)
        return Status::failure(QStringLiteral("Файл «%1» слишком велик: больше %2 байт.").arg(shown).arg(maxBytes));
    bytes.resize(done);
    out = std::move(bytes);
    return Status::success();
}

} // namespace

Status readUserFile(const QString &path, qint64 maxBytes, QByteArray &out)
{
    return readRegular(path, maxBytes, true, out);
}

Status readUserFileStart(const QString &path, qint64 count, QByteArray &out)
{
    return readRegular(path, count, false, out);
}

bool startsLikeSkin(const QString &path)
{
    QByteArray first;
    return readUserFileStart(path, 4, first) && first == QByteArrayView("\x37\x00\x00\x10", 4);
}

} // namespace zelkor
