#pragma once
// Plain operations on the skin sheet: reading and writing colour slots,
// cutting a picture out and writing one back. They know nothing of windows,
// so the editor, the tests and the tools share them. (A sheet's profile is
// decided by its width alone: profileIndexByWidth in profiles.h.)

#include "imaging/placement.h"

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

// Places `source` into picture `picture` (0..8) of the sheet of `profile`;
// nothing outside the picture's rectangle changes. False for profile 0, a
// picture out of range or a null source.
bool placePicture(QImage &sheet, int profile, int picture, const QImage &source, const Placement &placement);

// The sheet as the editor keeps it: 24-bit RGB, so a colour written reads back exactly.
QImage normalisedSheet(const QImage &loaded);

} // namespace zelkor
