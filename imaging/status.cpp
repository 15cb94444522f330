#include "status.h"

#include <cerrno>
#include <cstring>

namespace zelkor {

namespace {

struct SystemError {
    int errnum;
    const char *russian;
};

const SystemError kSystemErrors[] = {
    {ENOSPC, "нет места на диске"},
    {EDQUOT, "превышена дисковая квота"},
    {EACCES, "нет прав доступа"},
    {EPERM, "нет прав доступа"},
    {EROFS, "файловая система доступна только для чтения"},
    {ENOENT, "папка или файл не существует"},
    {EEXIST, "файл уже существует"},
    {ENOTDIR, "часть пути не является папкой"},
    {EISDIR, "это папка"},
    {ENAMETOOLONG, "слишком длинное имя"},
    {EIO, "ошибка ввода-вывода"},
    {EPIPE, "тот, кто читал вывод, закрыл его (канал закрыт)"},
    {ENXIO, "на другом конце канала никого нет"},
};

} // namespace

QString describeSystemError(int errnum)
{
    for (const SystemError &e : kSystemErrors)
        if (e.errnum == errnum)
            return QString::fromUtf8(e.russian);
    return QString::fromLocal8Bit(std::strerror(errnum));
}

QString describeSystemWords(const QString &words)
{
    for (const SystemError &e : kSystemErrors)
        if (words.contains(QString::fromLocal8Bit(std::strerror(e.errnum)), Qt::CaseInsensitive))
            return QString::fromUtf8(e.russian);
    return words.isEmpty() ? QStringLiteral("неизвестная ошибка") : words;
}

} // namespace zelkor
