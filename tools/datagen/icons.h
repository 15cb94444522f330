#pragma once
// The two icon sheets: "icons.bmp" (16 x 16 cells) and "icons32.bmp" (32 x 32).

#include <QImage>

namespace zelkor::datagen {

constexpr int kIconRows = 96;

// An icon sheet of kIconRows cell rows: image column at x = 0, mask column at
// x = cellSize. Masks are black where the icon is opaque and white
// where it is transparent; the image is black wherever the mask is white.
// Both sheets hold the same icons, drawn for their cell size.
QImage drawIconSheet(int cellSize);

// What cell row `row` shows, e.g. "online" (for messages and the README).
const char *iconName(int row);

} // namespace zelkor::datagen
