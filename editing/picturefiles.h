#pragma once
// File side of picture editing, without widgets: the working file of a
// picture and finding an image editor. Pictures are read with readImageFile.

#include <QImage>
#include <QString>

namespace zelkor {

// Full path of the working file of `picture` ("temp/contacts.bmp") below the
// document's work folder.
QString workingFilePath(const QString &workFolder, int picture);

// Writes `image` as a Windows bitmap to `path`, replacing any file of that
// name and making its folder when missing. On failure returns false and sets
// `error` to a message naming the file.
bool writeWorkingFile(const QImage &image, const QString &path, QString &error);
// Writes `image` to the user's `path` as PNG, BMP or JPEG, chosen by the
// suffix; the same guarantees, and no other suffix is taken.
bool writePictureFile(const QImage &image, const QString &path, QString &error);

// The image editor proposed when the author has not chosen one: the program
// named by ZELKOR_IMAGE_EDITOR when set, else the first of the usual Linux
// paint programs found on the PATH, else the desktop's opener.
QString defaultEditorPath();

// Kept in the user's settings between runs: the editor the author last
// started or chose (defaultEditorPath() until there is one), and whether
// saves of the editor are taken into the sheet (on until turned off).
QString rememberedEditorPath();
void rememberEditorPath(const QString &program);
bool followEditorChanges();
void setFollowEditorChanges(bool on);
// The folder pictures were last loaded from or saved to (the user's pictures
// folder, else home, until there is one that still exists).
QString rememberedPictureFolder();
void rememberPictureFolder(const QString &folder);

} // namespace zelkor
