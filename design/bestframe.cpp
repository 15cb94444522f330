#include "bestframe.h"

#include "colour.h"
#include "scrim.h"

#include "imaging/placement.h"
#include "skin/profiles.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zelkor::design {

std::vector<InkOnPicture> textInkOnPicture(const QImage &sheet, int profile, const IconSheets &icons, int picture)
{
    std::vector<InkOnPicture> texts;
    const auto rect = pictureRect(picture, profile);
    if (!rect)
        return texts;
    const QRect on = rect->rect();
    forEachTextOnPictures(sheet, profile, icons, [&](QRgb colour, int, const std::vector<QPoint> &ink) {
        InkOnPicture text{colour, {}};
        for (const QPoint &at : ink)
            if (on.contains(at))
                text.pixels.push_back(at - on.topLeft());
        if (!text.pixels.empty())
            texts.push_back(std::move(text));
    });
    return texts;
}

namespace {

// A text's contrast as the measure takes it: the 5th percentile of its ink's ratios.
double percentile5(std::vector<double> &ratios)
{
    const auto at = ratios.begin() + std::ptrdiff_t(ratios.size() / 20);
    std::nth_element(ratios.begin(), at, ratios.end());
    return *at;
}

template <typename LuminanceAt>
FrameScore score(const std::vector<InkOnPicture> &ink, LuminanceAt luminanceAt, double minContrast)
{
    FrameScore s;
    std::vector<double> ratios;
    double sum = 0;
    for (const InkOnPicture &text : ink) {
        const double l = relativeLuminance(text.colour);
        ratios.clear();
        for (const QPoint &p : text.pixels) {
            const double b = luminanceAt(p);
            ratios.push_back(l > b ? (l + 0.05) / (b + 0.05) : (b + 0.05) / (l + 0.05));
        }
        const double c = percentile5(ratios);
        s.failing += c < minContrast;
        sum += std::min(c, minContrast);
    }
    s.calm = ink.empty() ? minContrast : sum / double(ink.size());
    return s;
}

bool better(const FrameScore &a, const FrameScore &b)
{
    return a.failing != b.failing ? a.failing < b.failing : a.calm > b.calm + 1e-9;
}

} // namespace

FrameScore scoreFrame(const std::vector<InkOnPicture> &ink, const QImage &placed, double minContrast)
{
    return score(ink, [&](const QPoint &p) { return relativeLuminance(placed.pixel(p)); }, minContrast);
}

BestFrame findBestFrame(const QImage &sheet, int profile, const IconSheets &icons, int picture, const QImage &source,
                        double minContrast, double maxZoom)
{
    BestFrame best;
    best.focus = QPointF(source.width() / 2.0, source.height() / 2.0);
    const auto rect = pictureRect(picture, profile);
    if (!rect || source.isNull())
        return best;
    const QSize target = rect->rect().size();
    // Each text judged on at most kSampled of its ink pixels, evenly spread:
    // its 5th percentile barely moves, and hundreds of framings stay quick.
    constexpr size_t kSampled = 64;
    std::vector<InkOnPicture> ink = textInkOnPicture(sheet, profile, icons, picture);
    for (InkOnPicture &text : ink)
        if (text.pixels.size() > kSampled) {
            std::vector<QPoint> kept;
            for (size_t i = 0; i < kSampled; ++i)
                kept.push_back(text.pixels[i * text.pixels.size() / kSampled]);
            text.pixels = std::move(kept);
        }
    // Candidates read a copy as fine as the picture shows at the largest
    // zoom: enough to tell calm from busy, small to sample.
    const QRect whole = coverCrop(source.size(), target);
    const double shrink = std::min(1.0, maxZoom * target.width() / std::max(1, whole.width()));
    const QImage small = shrink < 1.0 ? smoothScaled(source, QSize(std::max(1, int(source.width() * shrink)),
                                                                   std::max(1, int(source.height() * shrink))))
                                      : source.convertToFormat(QImage::Format_RGB32);
    std::vector<float> lum(size_t(small.width()) * size_t(small.height()));
    for (int y = 0; y < small.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(small.constScanLine(y));
        for (int x = 0; x < small.width(); ++x)
            lum[size_t(y) * size_t(small.width()) + size_t(x)] = float(relativeLuminance(line[x]));
    }
    const double sx = double(small.width()) / source.width(), sy = double(small.height()) / source.height();
    constexpr int kGrid = 9;
    const std::array<double, 4> zooms{1.0, 1.0 + (maxZoom - 1) / 3, 1.0 + 2 * (maxZoom - 1) / 3, maxZoom};
    // The unzoomed centre first: a framing replaces it only by doing better.
    std::vector<std::pair<QPointF, double>> candidates{{best.focus, 1.0}};
    for (const double zoom : zooms)
        for (int gy = 0; gy < kGrid; ++gy)
            for (int gx = 0; gx < kGrid; ++gx)
                candidates.emplace_back(QPointF((gx + 0.5) * source.width() / kGrid, (gy + 0.5) * source.height() / kGrid),
                                        zoom);
    for (size_t i = 0; i < candidates.size(); ++i) {
        const auto &[focus, zoom] = candidates[i];
        const QRect crop = coverCrop(source.size(), target, focus, zoom);
        const double kx = crop.width() * sx / target.width(), ky = crop.height() * sy / target.height();
        const double ox = crop.x() * sx, oy = crop.y() * sy;
        const FrameScore s = score(
            ink,
            [&](const QPoint &p) {
                const int x = std::clamp(int(ox + (p.x() + 0.5) * kx), 0, small.width() - 1);
                const int y = std::clamp(int(oy + (p.y() + 0.5) * ky), 0, small.height() - 1);
                return double(lum[size_t(y) * size_t(small.width()) + size_t(x)]);
            },
            minContrast);
        if (i == 0 || better(s, best.score))
            best = {QRectF(crop).center(), zoom, s};
    }
    return best;
}

} // namespace zelkor::design
