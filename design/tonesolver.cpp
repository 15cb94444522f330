#include "tonesolver.h"

#include "palette.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zelkor::design {

namespace {

constexpr double kEpsilon = 216.0 / 24389.0;
constexpr double kKappa = 24389.0 / 27.0;
// The rounding to 8 bits moves a tone's luminance by less than a step of
// this many L*; a save depth by several.
constexpr double kStep = 0.05;

bool reaches(double y, Flat against, double ratio, ToneDirection direction)
{
    return direction == ToneDirection::Lighter ? (y + 0.05) >= ratio * (against.lightest + 0.05)
                                               : ratio * (y + 0.05) <= (against.darkest + 0.05);
}

} // namespace

double lightnessOfLuminance(double y)
{
    y = std::clamp(y, 0.0, 1.0);
    return y > kEpsilon ? 116.0 * std::cbrt(y) - 16.0 : kKappa * y;
}

double luminanceOfLightness(double lightness)
{
    lightness = std::clamp(lightness, 0.0, 100.0);
    const double f = (lightness + 16.0) / 116.0;
    return lightness > kKappa * kEpsilon ? f * f * f : lightness / kKappa;
}

std::optional<double> lighterLuminance(double against, double ratio)
{
    const double y = ratio * (against + 0.05) - 0.05;
    if (y > 1.0)
        return std::nullopt;
    return std::max(y, 0.0);
}

std::optional<double> darkerLuminance(double against, double ratio)
{
    const double y = (against + 0.05) / ratio - 0.05;
    if (y < 0.0)
        return std::nullopt;
    return std::min(y, 1.0);
}

std::optional<double> toneReaching(const Lab &colour, double maxChroma, Flat against, double ratio,
                                   ToneDirection direction, const AsDrawn &asDrawn)
{
    const bool lighter = direction == ToneDirection::Lighter;
    const std::optional<double> y =
        lighter ? lighterLuminance(against.lightest, ratio) : darkerLuminance(against.darkest, ratio);
    if (!y)
        return std::nullopt;
    // The exact tone first, then away from the backgrounds until the rounded
    // (and quantised) colour reaches too; white and black are the last tries.
    const double end = lighter ? 100.0 : 0.0;
    double l = lightnessOfLuminance(*y);
    l = lighter ? std::ceil(l / kStep) * kStep : std::floor(l / kStep) * kStep;
    for (;;) {
        const QRgb rgb = tone(colour, l, maxChroma);
        if (reaches(relativeLuminance(drawnAs(asDrawn, rgb)), against, ratio, direction))
            return l;
        if (l == end)
            return std::nullopt;
        l = lighter ? std::min(end, l + kStep) : std::max(end, l - kStep);
    }
}

std::optional<double> toneBetween(const Lab &colour, double maxChroma, Flat near, double ratioNear, Flat far,
                                  double ratioFar, ToneDirection away, const std::vector<AsDrawn> &drawings)
{
    const bool lighter = away == ToneDirection::Lighter;
    const ToneDirection back = lighter ? ToneDirection::Darker : ToneDirection::Lighter;
    // Away from `near` by its ratio, and toward it from `far` by the other.
    const std::optional<double> fromNear =
        lighter ? lighterLuminance(near.lightest, ratioNear) : darkerLuminance(near.darkest, ratioNear);
    const std::optional<double> fromFar =
        lighter ? darkerLuminance(far.darkest, ratioFar) : lighterLuminance(far.lightest, ratioFar);
    if (!fromNear || !fromFar)
        return std::nullopt;
    const double start = lightnessOfLuminance(*fromNear), stop = lightnessOfLuminance(*fromFar);
    if (lighter ? start > stop : start < stop)
        return std::nullopt;
    // From the exact tone nearest `near` toward `far`, until the rounded (and
    // quantised) colour reaches both; the quantisation may take a tone a step
    // or so past the exact bound either way.
    constexpr double kSlack = 3.0;
    double l = lighter ? std::ceil(start / kStep) * kStep : std::floor(start / kStep) * kStep;
    const double last = std::clamp(lighter ? stop + kSlack : stop - kSlack, 0.0, 100.0);
    for (;;) {
        const QRgb rgb = tone(colour, l, maxChroma);
        const bool both = std::all_of(drawings.begin(), drawings.end(), [&](const AsDrawn &asDrawn) {
            const double y = relativeLuminance(drawnAs(asDrawn, rgb));
            return reaches(y, near, ratioNear, away) && reaches(y, far, ratioFar, back);
        });
        if (both)
            return l;
        if (lighter ? l >= last : l <= last)
            return std::nullopt;
        l = lighter ? std::min(last, l + kStep) : std::max(last, l - kStep);
    }
}

std::optional<double> toneApart(const Lab &colour, double maxChroma, QRgb other, double distance, double from,
                                double limit, const std::vector<AsDrawn> &drawings)
{
    const double way = limit >= from ? 1.0 : -1.0;
    const auto apart = [&](double l) {
        const QRgb rgb = tone(colour, l, maxChroma);
        return std::all_of(drawings.begin(), drawings.end(), [&](const AsDrawn &asDrawn) {
            return deltaE(toLab(drawnAs(asDrawn, rgb)), toLab(drawnAs(asDrawn, other))) >= distance;
        });
    };
    // Never short of `from`, never past `limit`, on the grid away from `from`.
    const auto onGrid = [&](double l) {
        l = way > 0 ? std::ceil(l / kStep) * kStep : std::floor(l / kStep) * kStep;
        return way > 0 ? std::clamp(l, from, limit) : std::clamp(l, limit, from);
    };
    const Lab there = toLab(other);
    if (apart(from))
        return from;
    // The closed form at the a*, b* the tone has where it stands, again at
    // those of the lightness found: sRGB's gamut holds more or less chroma there.
    double l = from;
    for (int look = 0; look < 4; ++look) {
        const Lab here = toLab(tone(colour, l, maxChroma));
        const double ab2 = (here.a - there.a) * (here.a - there.a) + (here.b - there.b) * (here.b - there.b);
        const double next = onGrid(there.L + way * std::sqrt(std::max(0.0, distance * distance - ab2)));
        if (next == l)
            break;
        l = next;
    }
    // What the rounding to 8 bits and a save's quantisation leave short.
    while (!apart(l)) {
        if (l == limit)
            return std::nullopt;
        l = way > 0 ? std::min(limit, l + kStep) : std::max(limit, l - kStep);
    }
    return l;
}

double gradientShift(double top, double bottom, double fraction, double lightness, ToneDirection direction)
{
    // The row's lightness, (1 - fraction) clamp(top + shift) + fraction
    // clamp(bottom + shift), grows with the shift and is linear between the
    // points where an end meets 0 or 100: inverted piece by piece.
    const auto row = [&](double shift) {
        return (1 - fraction) * std::clamp(top + shift, 0.0, 100.0) + fraction * std::clamp(bottom + shift, 0.0, 100.0);
    };
    std::array<double, 4> knots{-top, -bottom, 100 - top, 100 - bottom};
    std::sort(knots.begin(), knots.end());
    const auto within = [&](size_t i) {
        const double from = row(knots[i]), to = row(knots[i + 1]);
        return knots[i] + (lightness - from) / (to - from) * (knots[i + 1] - knots[i]);
    };
    if (direction == ToneDirection::Darker) {
        for (size_t i = knots.size() - 1; i > 0; --i)
            if (row(knots[i - 1]) <= lightness && lightness < row(knots[i]))
                return within(i - 1);
        return row(knots.back()) <= lightness ? knots.back() : knots.front();
    }
    for (size_t i = 1; i < knots.size(); ++i)
        if (row(knots[i - 1]) < lightness && lightness <= row(knots[i]))
            return within(i - 1);
    return row(knots.front()) >= lightness ? knots.front() : knots.back();
}

} // namespace zelkor::design
