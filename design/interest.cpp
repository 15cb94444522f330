#include "interest.h"

#include "imaging/placement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

namespace zelkor::design {

namespace {

constexpr int kDetailSide = 96;

// Per column (or row) of a small grey copy, the sum of the lightness steps to
// the right and below neighbours of its pixels.
std::vector<double> detailProfile(const QImage &grey, bool alongX)
{
    std::vector<double> sums(size_t(alongX ? grey.width() : grey.height()), 0.0);
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *line = grey.constScanLine(y);
        const uchar *below = y + 1 < grey.height() ? grey.constScanLine(y + 1) : nullptr;
        for (int x = 0; x < grey.width(); ++x) {
            int step = 0;
            if (x + 1 < grey.width())
                step += std::abs(line[x + 1] - line[x]);
            if (below)
                step += std::abs(below[x] - line[x]);
            sums[size_t(alongX ? x : y)] += step;
        }
    }
    return sums;
}

// Where a crop of `target`'s proportions can slide over `picture`, on a small
// grey copy: along which side, its span and room there, and the way back to
// the picture's pixels. Nothing to choose when the crop fills the copy.
struct Slide {
    QImage grey;
    bool alongX = false;
    int span = 0;
    int room = 0;
    double back = 1;

    // The picture's point at the middle of the window starting at `start`.
    QPointF middle(const QImage &picture, int start) const
    {
        const double at = (start + span / 2.0) * back;
        return alongX ? QPointF(at, picture.height() / 2.0) : QPointF(picture.width() / 2.0, at);
    }
};

std::optional<Slide> slideOf(const QImage &picture, const QSize &target)
{
    if (picture.isNull() || target.isEmpty())
        return std::nullopt;
    const int longer = std::max(picture.width(), picture.height());
    const double f = std::min(1.0, double(kDetailSide) / longer);
    const QSize smallSize(std::max(1, int(std::lround(picture.width() * f))),
                          std::max(1, int(std::lround(picture.height() * f))));
    const QRect crop = zelkor::coverCrop(smallSize, target);
    Slide s;
    s.alongX = crop.width() < smallSize.width();
    s.span = s.alongX ? crop.width() : crop.height();
    s.room = (s.alongX ? smallSize.width() : smallSize.height()) - s.span;
    if (s.room <= 0)
        return std::nullopt;
    s.grey = (f < 1.0 ? zelkor::smoothScaled(picture, smallSize) : picture).convertToFormat(QImage::Format_Grayscale8);
    s.back = s.alongX ? double(picture.width()) / smallSize.width() : double(picture.height()) / smallSize.height();
    return s;
}

} // namespace

QPointF centreOfInterest(const QImage &picture, const QSize &target)
{
    const QPointF centre(picture.width() / 2.0, picture.height() / 2.0);
    const std::optional<Slide> slide = slideOf(picture, target);
    if (!slide)
        return centre;
    const auto &[grey, alongX, span, room, back] = *slide;
    const std::vector<double> profile = detailProfile(grey, alongX);
    double window = 0;
    for (int i = 0; i < span; ++i)
        window += profile[size_t(i)];
    // Integer sums of integer steps: equal windows compare equal exactly.
    int best = 0;
    double bestDetail = window;
    auto distance = [room](int start) { return std::abs(2 * start - room); };
    for (int start = 1; start <= room; ++start) {
        window += profile[size_t(start + span - 1)] - profile[size_t(start - 1)];
        if (window > bestDetail || (window == bestDetail && distance(start) < distance(best))) {
            best = start;
            bestDetail = window;
        }
    }
    return slide->middle(picture, best);
}

QPointF centreOfCalm(const QImage &picture, const QSize &target)
{
    const QPointF centre(picture.width() / 2.0, picture.height() / 2.0);
    const std::optional<Slide> slide = slideOf(picture, target);
    if (!slide || slide->alongX)  // a strip repeats down the screen: only its rows matter
        return centre;
    const QImage &grey = slide->grey;
    const int span = slide->span, room = slide->room;
    // Per row, the lightness steps to the row below; and between two rows.
    const auto rowStep = [&grey](int a, int b) {
        const uchar *p = grey.constScanLine(a), *q = grey.constScanLine(b);
        double sum = 0;
        for (int x = 0; x < grey.width(); ++x)
            sum += std::abs(p[x] - q[x]);
        return sum;
    };
    // A window's change down its rows, and the seam from its last row back to its first.
    const auto change = [&](int start) {
        double sum = rowStep(start + span - 1, start);
        for (int y = start; y + 1 < start + span; ++y)
            sum += rowStep(y, y + 1);
        return sum;
    };
    int best = 0;
    double least = change(0);
    auto distance = [room](int start) { return std::abs(2 * start - room); };
    for (int start = 1; start <= room; ++start) {
        const double c = change(start);
        if (c < least || (c == least && distance(start) < distance(best))) {
            best = start;
            least = c;
        }
    }
    return slide->middle(picture, best);
}

} // namespace zelkor::design
