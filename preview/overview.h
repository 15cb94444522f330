#pragma once
// The overview of a skin: every named screen side by side on one picture, each
// under its name, with the skin's file name and profile label above them all.

#include "screenimage.h"

#include <QImage>
#include <QString>

#include <array>

namespace zelkor {

// `screens` are the pictures of namedScreens(), in that order, all of the
// profile's screen size.
QImage composeOverview(const QString &skinName, int profile,
                       const std::array<QImage, kNamedScreenCount> &screens);

// The overview of a sheet of `profile` as a New or Load would show it: every
// named screen drawn with the sheet's own colour row.
QImage sheetOverview(const QString &skinName, const QImage &sheet, int profile, const IconSheets &icons);

} // namespace zelkor
