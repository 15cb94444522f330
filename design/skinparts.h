#pragma once
// The pieces a skin is made of when it is made from one picture: a picture
// softened toward a base tone, a strip that repeats down the screen without a
// seam, and bars shaded in tones of one colour.

#include "colour.h"

#include <QImage>
#include <QSize>

#include <cmath>

namespace zelkor::design {

// `picture` (RGB32) with every channel moved toward `base` by `strength`:
// p + strength * (base - p), rounded to the nearest integer (halves up). 0 leaves the
// picture as it is, 1 makes it flat `base`; strength is clamped to 0..1.
QImage veiled(const QImage &picture, QRgb base, double strength);
// One channel of the same blend, for whoever predicts the veiled pixels.
inline int veiledChannel(int p, int base, double strength)
{
    // Never below 0, so truncating after adding a half rounds halves up.
    return int(double(p) + strength * double(base - p) + 0.5);
}

// `strip` made to repeat down the screen without a seam: each row is a mix
// of its own row and the row half a strip away, the latter weighing all at
// the top and bottom rows and nothing in the middle, so the last row runs on
// into the first as two neighbouring rows of the strip do.
QImage seamlessStrip(const QImage &strip);

// A bar of `size` shaded from the tone of `colour` at `topLightness` in its
// first row to `bottomLightness` in its last (L*), chroma capped at `maxChroma`.
QImage toneGradient(const QSize &size, const Lab &colour, double topLightness, double bottomLightness,
                    double maxChroma);

} // namespace zelkor::design
