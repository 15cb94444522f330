#pragma once
// Tones in closed form for a contrast against flat backgrounds.
//
// WCAG's ratio is (Y1 + 0.05) / (Y2 + 0.05) for relative luminances Y1 >= Y2,
// so the luminance a text needs against a flat background is one line of
// arithmetic, lighter or darker; and CIELAB's L* depends on Y alone, so the
// tone of a colour (its hue, its chroma as far as sRGB holds it) at that
// luminance is one more. What remains is the rounding to 8 bits per channel
// and a save depth's quantisation, which a few small steps away from the
// background make good.

#include "colour.h"
#include "lightnessfix.h"

#include <optional>
#include <vector>

namespace zelkor::design {

enum class ToneDirection { Lighter, Darker };

// L* (0..100) of a luminance Y (0..1) and back; exact inverses.
double lightnessOfLuminance(double y);
double luminanceOfLightness(double lightness);

// The least luminance reaching `ratio` (>= 1) above `against`, and the
// greatest reaching it below; nullopt when white (1) or black (0) does not.
std::optional<double> lighterLuminance(double against, double ratio);
std::optional<double> darkerLuminance(double against, double ratio);

// The luminances a text lies on: it must beat the lightest when it goes
// lighter and the darkest when it goes darker.
struct Flat {
    double darkest = 0;
    double lightest = 0;
};

// The tone of `colour` (chroma capped at `maxChroma`, see tone()) nearest to
// the backgrounds in `direction` whose colour as drawn (`asDrawn`, empty for
// "as it is") reaches `ratio` against every luminance of `against`; its L*
// to 0.05, or nullopt when no tone that way reaches it ("cannot").
std::optional<double> toneReaching(const Lab &colour, double maxChroma, Flat against, double ratio,
                                   ToneDirection direction, const AsDrawn &asDrawn = {});

// A tone between two: `colour`'s tone that lies `away` from the luminances
// `near` by `ratioNear` and still on the near side of the luminances `far`
// by `ratioFar` (a text drawn between the text across it and its own
// background), reaching both in every drawing of `drawings` (an empty entry
// is "as it is"). The one nearest `near`, its L* to 0.05; nullopt when the two
// bounds leave no tone of that chroma between them.
std::optional<double> toneBetween(const Lab &colour, double maxChroma, Flat near, double ratioNear, Flat far,
                                  double ratioFar, ToneDirection away, const std::vector<AsDrawn> &drawings);

// The tone of `colour` (chroma capped at `maxChroma`) from `from` toward
// `limit` nearest `from` that lies `distance` (CIE76) or more from `other` in
// every drawing of `drawings` (an empty entry is "as it is"), its L* to 0.05;
// nullopt when no tone up to `limit` does. At a fixed a*, b* the distance is
// sqrt(dL² + dab²), so the lightness is other's L* plus sqrt(distance² - dab²)
// that way; sRGB may take chroma at that lightness, and a save rounds, which
// a look again at the new a*, b* and a few small steps make good.
std::optional<double> toneApart(const Lab &colour, double maxChroma, QRgb other, double distance, double from,
                                double limit, const std::vector<AsDrawn> &drawings);

// The shift of a gradient running from lightness `top` to `bottom` (both
// moved by the shift and clamped to 0..100) that puts its row at `fraction`
// (0 the top, 1 the bottom) at `lightness`: the greatest shift leaving that
// row no lighter (Darker), or the least leaving it no darker (Lighter).
double gradientShift(double top, double bottom, double fraction, double lightness, ToneDirection direction);

} // namespace zelkor::design
