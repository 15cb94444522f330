#pragma once
// What stands at a path, asked of the file system without opening it: a file
// we did not make may be a pipe or a device, and opening those can block.

#include <QString>

namespace zelkor {

// Anything stands at `path`: a file, a folder, or a link, dangling or not.
bool pathTaken(const QString &path);
// `path` itself is a regular file: not a link, a pipe, a device or a folder.
// Files we made and hand to other programs are read only when this holds.
bool isPlainFile(const QString &path);
// `path` leads to a regular file, through links if need be: opening it
// cannot block (a pipe would until someone writes to it).
bool leadsToRegularFile(const QString &path);

} // namespace zelkor
