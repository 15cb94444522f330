#pragma once
// Colour science for judging and making skins, as plain functions on QRgb.
//
// Relative luminance and contrast ratio are WCAG 2.x's: the sRGB channels
// linearised, weighted 0.2126 R + 0.7152 G + 0.0722 B, and the ratio of the
// lighter to the darker luminance, each plus 0.05 — 1 for a colour against
// itself, 21 for black against white. CIELAB is taken against the D65 white
// of sRGB: L* (0 black .. 100 white) is the lightness people see, a* and b*
// the opponent axes; chroma is their length.

#include <QRgb>

namespace zelkor::design {

// 0 (black) .. 1 (white). The alpha byte is ignored.
double relativeLuminance(QRgb colour);
// 1 .. 21, the same whichever colour comes first.
double contrastRatio(QRgb a, QRgb b);

struct Lab {
    double L = 0;  // 0 .. 100
    double a = 0;
    double b = 0;
};

Lab toLab(QRgb colour);
// The sRGB colour nearest to `lab`, each channel clamped into 0..255 and
// rounded; `inGamut`, when given, says whether no clamping was needed.
QRgb fromLab(const Lab &lab, bool *inGamut = nullptr);
// sqrt(a*² + b*²): 0 for greys.
double chroma(const Lab &lab);
// Euclidean distance in CIELAB (CIE76).
double deltaE(const Lab &x, const Lab &y);

} // namespace zelkor::design
