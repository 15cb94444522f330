#pragma once
// Files the user names: what stands at a path, in the user's words, and
// reading one whole without ever blocking on a pipe or reading without end
// from a device.

#include "imaging/status.h"

#include <QByteArray>
#include <QString>

namespace zelkor {

// What stands at `path` when it is neither a regular file nor absent: "папка",
// "именованный канал (FIFO)", "устройство", "сокет". Empty for a regular file
// and for nothing at all. With `followLinks` false a link is a link
// ("символическая ссылка") and what it leads to does not matter.
QString specialFileKind(const QString &path, bool followLinks = true);

// The message for a file that cannot be taken because it is `kind`.
QString notAFileMessage(const QString &path, const QString &kind);

// Reads the regular file at `path` (a link to one is followed) whole, when it
// holds at most `maxBytes`. It is opened without blocking (a pipe put at the
// name meanwhile is refused, not waited for) and its type is checked on the
// opened file. The failure names the file and says what is wrong with it in
// the user's words: absent, not a file, not readable, too large.
Status readUserFile(const QString &path, qint64 maxBytes, QByteArray &out);
// The first `count` bytes (fewer when the file is shorter) of such a file,
// whatever its size.
Status readUserFileStart(const QString &path, qint64 count, QByteArray &out);
// The file begins as every multi-bitmap file does (its first UID,
// little-endian); read only from a regular file, without waiting on a pipe.
bool startsLikeSkin(const QString &path);

} // namespace zelkor
