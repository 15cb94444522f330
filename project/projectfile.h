#pragma once
// The project file (.zskin): a ZIP archive holding
// - `mimetype` first and stored, so the desktop knows the file by its first bytes;
// - `project.json` (project.h);
// - `pictures/<SHA-256>`: each picture file byte for byte, stored once;
// - `sheets/<WxH>.png`: the imported sheets;
// - `thumbnail.png`: the contact list of the project's size.
// Written whole or not at all, through the same writer as skins.

#include "project.h"

#include "skin/filewrite.h"

#include <QImage>
#include <QString>
#include <QStringList>

namespace zelkor {

// Reads the project at `path`. A project whose picture or sheet is missing
// or unreadable still opens: that picture comes from the template, and
// `notices` says which and why.
Status readProjectFile(const QString &path, SkinProject &out, QStringList &notices);
// The same from the file's bytes; `path` names it in messages.
Status readProjectBytes(const QByteArray &bytes, const QString &path, SkinProject &out, QStringList &notices);

// The file's bytes; `thumbnail` may be null (then there is none).
Status projectFileBytes(const SkinProject &project, const QImage &thumbnail, const QString &path, QByteArray &out);
Status writeProjectFile(const QString &path, const SkinProject &project, const QImage &thumbnail, IfExists ifExists);

// The file begins as a project file does (its first entry the stored mimetype).
bool isProjectFile(const QString &path);
// The file is read as a project: it begins as one, or it is named .zskin and
// does not begin as a skin file, so that a .zskin that is no project is told
// so rather than refused in the skin converter's words.
bool readsAsProject(const QString &path);

// The largest project file read at all, in bytes.
inline constexpr qint64 kMaxProjectFileBytes = qint64(1) << 30;

} // namespace zelkor
