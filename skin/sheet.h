#pragma once
// Plain operations on the skin sheet: reading and writing colour slots,
// cutting a picture out and writing one back. They know nothing of windows,
// so the editor, the tests and the tools share them. (A sheet's profile is
// decided by its width alone: profileIndexByWidth in profiles.h.)

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <array>

class QIODevice;

namespace zelkor {

using ColourSlots = std::array<QRgb, 13>;

// Colour slot `slot` of `profile`; black for a profile 0 or a pixel outside the sheet.
QRgb readColourSlot(const QImage &sheet, int profile, int slot);
ColourSlots readColourSlots(const QImage &sheet, int profile);
// Writes one pixel of the colour row; returns false (and writes nothing) for
// profile 0 or a pixel that lies outside the sheet.
bool writeColourSlot(QImage &sheet, int profile, int slot, QRgb colour);

// A new image of the picture rectangle's size holding the sheet's pixels; rows
// below the end of a short sheet stay white. Null for profile 0.
QImage cutOutPicture(const QImage &sheet, int profile, int picture);
// Copies `picture` from its top-left corner into the picture rectangle, clipped
// to it and never scaled; nothing outside the rectangle changes. False for profile 0.
bool writeBackPicture(QImage &sheet, int profile, int picture, const QImage &replacement);

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

// The sheet as the editor keeps it: 24-bit RGB, so a colour written reads back exactly.
QImage normalisedSheet(const QImage &loaded);

} // namespace zelkor
