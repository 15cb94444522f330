#pragma once
// Reading any picture file the user gives: the format decided by the content,
// only from regular files, refused before decoding when it claims too many
// pixels, and decoded at a reduced size where the reader can scale.

#include "status.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QSize>
#include <QString>

namespace zelkor {

// Decodes an image file in memory, deciding the format by the content rather
// than the suffix ("photo.JPG", "photo.jpeg" and bitmaps all load). A null
// image, with `error` naming the file and the cause, on failure. A JPEG or
// bitmap that ends before its picture does (cut short, or still being
// written) is a failure too.
QImage readImageFile(const QString &path, QString &error);

// How much of an image file a reader may decode.
struct ImageReadBounds {
    // A file claiming more pixels than this is refused before it is decoded (0: no bound).
    qint64 maxPixels = 0;
    // The picture is needed at this size or larger: where the format's reader
    // can scale, it reads the smallest of 1/2, 1/4 and 1/8 of the picture
    // that still holds it (a JPEG is decoded at that size, in libjpeg's DCT;
    // other readers scale after decoding). Invalid: the whole picture.
    QSize atLeast;
};
// readImageFile within `bounds`.
QImage readImageFile(const QString &path, QString &error, const ImageReadBounds &bounds);
// The same for a file's bytes held in memory (a picture inside an archive),
// named `shownName` in messages; the same bytes give the same pixels as the file.
QImage readImageData(const QByteArray &bytes, const QString &shownName, QString &error,
                     const ImageReadBounds &bounds = {});
// The same from an open, seekable device.
QImage readImage(QIODevice &device, const QString &shownName, QString &error, const ImageReadBounds &bounds);


// The most pixels a user's picture may claim before it is decoded.
inline constexpr qint64 kMaxPicturePixels = 100'000'000;

// A user's picture as opaque RGB32 (what is transparent shows white, as on a
// page), read within kMaxPicturePixels and decoded no smaller than `atLeast`
// (invalid: the whole picture).
Status readPicture(const QString &path, const QSize &atLeast, QImage &out);

} // namespace zelkor
