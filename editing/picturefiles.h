#pragma once
// File side of picture editing, without widgets: the working file of a
// picture, reading a replacement picture and finding an image editor.

#include <QImage>
#include <QString>

namespace zelkor {

// Full path of the working file of `picture` ("temp/contacts.bmp") below the program folder.
QString workingFilePath(const QString &programFolder, int picture);

// Writes `image` as a Windows bitmap to `path`, replacing any file of that
// name. On failure returns false and sets `error` to a message naming the file.
bool writeWorkingFile(const QImage &image, const QString &path, QString &error);

// Decodes a picture file in memory. The format is decided by the content, not
// by the suffix, so "photo.JPG", "photo.jpeg" and a bitmap all load, and no
// file is written anywhere. A null image with `error` naming the file on failure.
QImage readPictureFile(const QString &path, QString &error);

// The image editor proposed when the dialog opens: the first of the usual
// Linux paint programs found on the PATH, else the desktop's opener.
QString defaultEditorPath();

} // namespace zelkor
