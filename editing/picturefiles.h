#pragma once
// File side of picture editing, without widgets: the working file of a
// picture and finding an image editor. Pictures are read with readImageFile.

#include <QImage>
#include <QString>

namespace zelkor {

// Full path of the working file of `picture` ("temp/contacts.bmp") below the
// document's work folder.
QString workingFilePath(const QString &workFolder, int picture);

// Writes `image` as a Windows bitmap to `path`, replacing whatever stands at
// that name (a link is replaced, never followed) and making its folder when
// missing. On failure returns false and sets `error` to a message naming the file.
bool writeWorkingFile(const QImage &image, const QString &path, QString &error);
// Writes `image` to the user's `path` as PNG, BMP or JPEG, chosen by the
// suffix; the same guarantees, and no other suffix is taken.
bool writePictureFile(const QImage &image, const QString &path, QString &error);
// The message for a working file that is not a plain file (isPlainFile):
// such a file is never read.
QString notPlainWorkingFile(const QString &path);

// The image editor proposed when the author has not chosen one: the program
// named by ZELKOR_IMAGE_EDITOR when set, else the first of the usual Linux
// paint programs found on the PATH, else the desktop's opener.
QString defaultEditorPath();

} // namespace zelkor
