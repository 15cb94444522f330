#pragma once
// The default skin: one template sheet per resolution profile.

#include <QImage>

namespace zelkor::datagen {

// The template sheet of `profile` (1..6): as wide as the profile's screen and
// exactly as high as the rows its layout reaches, with the nine
// pictures drawn at their rectangles, the default colours in the colour row
// and every other pixel (gap rows, the columns right of `select2`) in the
// neutral colour. Null for an unknown profile.
QImage drawTemplateSheet(int profile);

} // namespace zelkor::datagen
