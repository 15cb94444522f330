#include "palette.h"

#include "imaging/placement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace zelkor::design {

namespace {

constexpr int kSampleSide = 64;
constexpr int kRefinements = 4;

using Vec = std::array<double, 3>;

Vec vec(const Lab &l) { return {l.L, l.a, l.b}; }

double distance2(const Vec &p, const Vec &q)
{
    const double d0 = p[0] - q[0], d1 = p[1] - q[1], d2 = p[2] - q[2];
    return d0 * d0 + d1 * d1 + d2 * d2;
}

QImage sample(const QImage &picture)
{
    const int longer = std::max(picture.width(), picture.height());
    if (longer <= kSampleSide)
        return picture.convertToFormat(QImage::Format_RGB32);
    const double f = double(kSampleSide) / longer;
    const QSize size(std::max(1, int(std::lround(picture.width() * f))),
                     std::max(1, int(std::lround(picture.height() * f))));
    return zelkor::smoothScaled(picture, size).convertToFormat(QImage::Format_RGB32);
}

struct Box {
    size_t begin, end;  // into the pixel list
    int axis = 0;
    double range = 0;
};

void measure(const std::vector<Vec> &pixels, Box &box)
{
    Vec lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
    for (size_t i = box.begin; i < box.end; ++i)
        for (int c = 0; c < 3; ++c) {
            lo[c] = std::min(lo[c], pixels[i][c]);
            hi[c] = std::max(hi[c], pixels[i][c]);
        }
    box.range = -1;
    for (int c = 0; c < 3; ++c)
        if (hi[c] - lo[c] > box.range) {
            box.range = hi[c] - lo[c];
            box.axis = c;
        }
}

// Median cut: the box with the most pixels times spread is halved along its
// widest axis until there are `count` boxes or none is worth cutting.
std::vector<Vec> medianCut(std::vector<Vec> pixels, int count)
{
    std::vector<Box> boxes{{0, pixels.size()}};
    measure(pixels, boxes[0]);
    while (int(boxes.size()) < count) {
        size_t best = boxes.size();
        double bestScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            const double score = double(boxes[i].end - boxes[i].begin) * boxes[i].range;
            if (boxes[i].end - boxes[i].begin >= 2 && boxes[i].range >= 1.0 && score > bestScore) {
                best = i;
                bestScore = score;
            }
        }
        if (best == boxes.size())
            break;
        Box &box = boxes[best];
        const int axis = box.axis;
        std::stable_sort(pixels.begin() + std::ptrdiff_t(box.begin), pixels.begin() + std::ptrdiff_t(box.end),
                         [axis](const Vec &p, const Vec &q) { return p[axis] < q[axis]; });
        Box upper{box.begin + (box.end - box.begin) / 2, box.end};
        box.end = upper.begin;
        measure(pixels, box);
        measure(pixels, upper);
        boxes.push_back(upper);
    }
    std::vector<Vec> centres;
    for (const Box &b : boxes) {
        Vec sum{0, 0, 0};
        for (size_t i = b.begin; i < b.end; ++i)
            for (int c = 0; c < 3; ++c)
                sum[c] += pixels[i][c];
        const double n = double(b.end - b.begin);
        centres.push_back({sum[0] / n, sum[1] / n, sum[2] / n});
    }
    return centres;
}

double hueDistance(const Lab &p, const Lab &q)
{
    const double d = std::abs(std::atan2(p.b, p.a) - std::atan2(q.b, q.a)) * 180.0 / M_PI;
    return std::min(d, 360.0 - d);
}

} // namespace

Palette extractPalette(const QImage &picture, int maxColours)
{
    Palette palette;
    if (picture.isNull())
        return palette;
    maxColours = std::clamp(maxColours, 1, 32);
    const QImage small = sample(picture);
    std::vector<Vec> pixels;
    pixels.reserve(size_t(small.width()) * size_t(small.height()));
    double lightness = 0;
    for (int y = 0; y < small.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(small.constScanLine(y));
        for (int x = 0; x < small.width(); ++x) {
            pixels.push_back(vec(toLab(line[x])));
            lightness += pixels.back()[0];
        }
    }
    palette.meanLightness = lightness / double(pixels.size());

    // k-means from the median cut's boxes; each pixel goes to the nearest
    // centre, the lower index on a tie.
    std::vector<Vec> centres = medianCut(pixels, maxColours);
    std::vector<size_t> counts;
    for (int round = 0; round <= kRefinements; ++round) {
        std::vector<Vec> sums(centres.size(), Vec{0, 0, 0});
        counts.assign(centres.size(), 0);
        for (const Vec &p : pixels) {
            size_t nearest = 0;
            for (size_t c = 1; c < centres.size(); ++c)
                if (distance2(p, centres[c]) < distance2(p, centres[nearest]))
                    nearest = c;
            ++counts[nearest];
            for (int k = 0; k < 3; ++k)
                sums[nearest][k] += p[k];
        }
        if (round == kRefinements)
            break;
        for (size_t c = 0; c < centres.size(); ++c)
            if (counts[c])
                centres[c] = {sums[c][0] / double(counts[c]), sums[c][1] / double(counts[c]),
                              sums[c][2] / double(counts[c])};
    }
    for (size_t c = 0; c < centres.size(); ++c) {
        if (!counts[c])
            continue;
        const Lab lab{centres[c][0], centres[c][1], centres[c][2]};
        palette.colours.push_back({fromLab(lab), lab, double(counts[c]) / double(pixels.size())});
    }
    std::stable_sort(palette.colours.begin(), palette.colours.end(),
                     [](const PaletteColour &p, const PaletteColour &q) { return p.share > q.share; });

    const PaletteColour *key = nullptr;
    const PaletteColour *accent = nullptr;
    for (const PaletteColour &c : palette.colours) {
        if (chroma(c.lab) < kRealChroma || c.share < kColourShare)
            continue;
        if (!key)
            key = &c;
        else if (!accent && hueDistance(c.lab, key->lab) >= 30.0)
            accent = &c;
    }
    palette.neutral = key == nullptr;
    palette.key = key ? key->lab : Lab{palette.meanLightness, 0, 0};
    palette.accent = accent ? accent->lab : palette.key;
    return palette;
}

QRgb tone(const Lab &colour, double lightness, double maxChroma)
{
    const double c = chroma(colour);
    double scale = c > maxChroma ? maxChroma / c : 1.0;
    lightness = std::clamp(lightness, 0.0, 100.0);
    // Halving the step keeps the hue and finds the most chroma sRGB holds.
    bool inGamut = false;
    QRgb rgb = fromLab({lightness, colour.a * scale, colour.b * scale}, &inGamut);
    if (inGamut)
        return rgb;
    double lo = 0, hi = scale;
    rgb = fromLab({lightness, 0, 0});
    for (int i = 0; i < 12; ++i) {
        const double mid = (lo + hi) / 2;
        const QRgb candidate = fromLab({lightness, colour.a * mid, colour.b * mid}, &inGamut);
        if (inGamut) {
            lo = mid;
            rgb = candidate;
        } else {
            hi = mid;
        }
    }
    return rgb;
}

} // namespace zelkor::design
