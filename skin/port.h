#pragma once
// Porting a skin to another screen size: the nine pictures of one profile's
// sheet scaled into another profile's rectangles, the thirteen colours carried
// over exactly. Every rectangle and the colour row come from the layout tables
// of profiles.h; nothing is derived from the screen size.

#include <QImage>

namespace zelkor {

// A sheet of `toProfile` made from `sheet`, a sheet of `fromProfile`:
// - it starts as a copy of `targetTemplate`, the template sheet of `toProfile`
//   (as wide as its screen), so gap rows, the columns right of `select2` and
//   anything below the layout hold what a fresh skin of that size holds; a
//   template shorter than the layout is extended with white rows;
// - each picture of the source, cut out as the picture editing dialog cuts it
//   (rows below the end of a short source sheet are white), is smooth-scaled
//   to fill the target's rectangle exactly, ignoring the aspect ratio;
// - each colour slot of the source is written into the target's colour row; a
//   slot that lies outside a short source sheet keeps the template's colour.
// The result is 24-bit RGB (Format_RGB32). Null when either profile is not
// 1..6, the sheet or the template is null, or the template is not as wide as
// the target profile's screen. `fromProfile == toProfile` is allowed.
// The sheet a skin of `profile` starts from: a copy of `targetTemplate` in
// 24-bit RGB, extended with white rows where it is shorter than the layout.
// Null when the profile is not 1..6 or the template is null or not as wide as
// the profile's screen.
QImage templateCanvas(const QImage &targetTemplate, int profile);

QImage portSheet(const QImage &sheet, int fromProfile, const QImage &targetTemplate, int toProfile);

// The transformation mode portSheet scales pictures with.
constexpr Qt::TransformationMode kPortScaling = Qt::SmoothTransformation;

} // namespace zelkor
