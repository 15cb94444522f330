#include "interest.h"

#include "imaging/placement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

} // namespace

QPointF centreOfInterest(const QImage &picture, const QSize &target)
{
    const QPointF centre(picture.width() / 2.0, picture.height() / 2.0);
    if (picture.isNull() || target.isEmpty())
        return centre;
    const int longer = std::max(picture.width(), picture.height());
    const double f = std::min(1.0, double(kDetailSide) / longer);
    const QSize smallSize(std::max(1, int(std::lround(picture.width() * f))),
                          std::max(1, int(std::lround(picture.height() * f))));
    const QRect crop = zelkor::coverCrop(smallSize, target);
    const bool alongX = crop.width() < smallSize.width();
    const int span = alongX ? crop.width() : crop.height();
    const int room = (alongX ? smallSize.width() : smallSize.height()) - span;
    if (room <= 0)
        return centre;

    const QImage grey = (f < 1.0 ? zelkor::smoothScaled(picture, smallSize) : picture)
                            .convertToFormat(QImage::Format_Grayscale8);
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
    const double back = alongX ? double(picture.width()) / smallSize.width()
                               : double(picture.height()) / smallSize.height();
    const double middle = (best + span / 2.0) * back;
    return alongX ? QPointF(middle, centre.y()) : QPointF(centre.x(), middle);
}

} // namespace zelkor::design
