#pragma once
// Writing a file whole or not at all. The bytes go to a temporary file beside
// the target, reach the disk, and only then take the target's name by a
// rename: a failure leaves nothing behind and never half a file, and a
// symbolic link standing at the name is replaced itself, never written
// through (its target stays untouched).

#include "imaging/filekind.h"
#include "imaging/status.h"

#include <QByteArray>
#include <QString>

namespace zelkor {

enum class IfExists { Refuse, Replace };

// Writes `bytes` to `path`. With IfExists::Refuse anything at that name
// (a dangling link included) is left alone and reported. The file gets the
// usual permissions of the user's umask, or with IfExists::Replace those of
// the ordinary file it replaces.
Status writeFileWhole(const QString &path, const QByteArray &bytes, IfExists ifExists);

// A name made from a file name that stays one entry of its folder: separators
// become '_', and "", "." and ".." get a '_' in front.
QString singleEntryName(const QString &name);

} // namespace zelkor
