#include "skinparts.h"

#include "palette.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zelkor::design {

QImage veiled(const QImage &picture, QRgb base, double strength)
{
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    strength = std::clamp(strength, 0.0, 1.0);
    if (strength == 0.0)
        return out;
    // 256 entries per channel: the blend of every possible value.
    int table[3][256];
    const int baseChannels[3] = {qRed(base), qGreen(base), qBlue(base)};
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v)
            table[c][v] = veiledChannel(v, baseChannels[c], strength);
    for (int y = 0; y < out.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = qRgb(table[0][qRed(line[x])], table[1][qGreen(line[x])], table[2][qBlue(line[x])]);
    }
    return out;
}

QImage seamlessStrip(const QImage &strip)
{
    const QImage in = strip.convertToFormat(QImage::Format_RGB32);
    const int h = in.height();
    if (h < 2)
        return in;
    QImage out(in.size(), QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        // Weight of the row itself: 0 at both ends, 1 in the middle.
        const double own = 1.0 - std::abs(double(2 * y + 1) / h - 1.0);
        const QRgb *a = reinterpret_cast<const QRgb *>(in.constScanLine(y));
        const QRgb *b = reinterpret_cast<const QRgb *>(in.constScanLine((y + h / 2) % h));
        QRgb *o = reinterpret_cast<QRgb *>(out.scanLine(y));
        auto mix = [own](int p, int q) { return int(std::lround(own * p + (1.0 - own) * q)); };
        for (int x = 0; x < in.width(); ++x)
            o[x] = qRgb(mix(qRed(a[x]), qRed(b[x])), mix(qGreen(a[x]), qGreen(b[x])), mix(qBlue(a[x]), qBlue(b[x])));
    }
    return out;
}

QImage toneGradient(const QSize &size, const Lab &colour, double topLightness, double bottomLightness,
                    double maxChroma)
{
    QImage out(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const double f = size.height() > 1 ? double(y) / (size.height() - 1) : 0.0;
        const QRgb row = tone(colour, topLightness + f * (bottomLightness - topLightness), maxChroma);
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        std::fill(line, line + size.width(), row);
    }
    return out;
}

} // namespace zelkor::design
