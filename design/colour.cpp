#include "colour.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zelkor::design {

namespace {

// The 256 linearised sRGB channel values, shared by luminance and CIELAB.
const std::array<double, 256> &linearTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[size_t(i)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return table;
}

double linear(int channel)
{
    return linearTable()[size_t(channel & 0xff)];
}

int encode(double linearValue, bool &clamped)
{
    if (linearValue < 0 || linearValue > 1)
        clamped = true;
    const double l = std::clamp(linearValue, 0.0, 1.0);
    const double c = l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
    return int(std::lround(std::clamp(c, 0.0, 1.0) * 255));
}

// D65 reference white of sRGB, Y = 1.
constexpr double kXn = 0.95047, kYn = 1.0, kZn = 1.08883;
constexpr double kEpsilon = 216.0 / 24389.0;
constexpr double kKappa = 24389.0 / 27.0;

double labF(double t)
{
    return t > kEpsilon ? std::cbrt(t) : (kKappa * t + 16) / 116;
}

double labFInverse(double f)
{
    const double t = f * f * f;
    return t > kEpsilon ? t : (116 * f - 16) / kKappa;
}

} // namespace

double relativeLuminance(QRgb colour)
{
    return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) + 0.0722 * linear(qBlue(colour));
}

double contrastRatio(QRgb a, QRgb b)
{
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Lab toLab(QRgb colour)
{
    const double r = linear(qRed(colour)), g = linear(qGreen(colour)), b = linear(qBlue(colour));
    const double x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
    const double fx = labF(x / kXn), fy = labF(y / kYn), fz = labF(z / kZn);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

QRgb fromLab(const Lab &lab, bool *inGamut)
{
    const double fy = (lab.L + 16) / 116;
    const double fx = fy + lab.a / 500;
    const double fz = fy - lab.b / 200;
    const double x = kXn * labFInverse(fx), y = kYn * labFInverse(fy), z = kZn * labFInverse(fz);
    const double r = 3.2404542 * x - 1.5371385 * y - 0.4985314 * z;
    const double g = -0.9692660 * x + 1.8760108 * y + 0.0415560 * z;
    const double b = 0.0556434 * x - 0.2040259 * y + 1.0572252 * z;
    // A colour that rounds back into range is in the gamut: allow the
    // arithmetic's last digits.
    constexpr double slack = 1e-6;
    bool clamped = false;
    const auto channel = [&](double v) {
        bool c = false;
        const int out = encode(v, c);
        if (c && (v < -slack || v > 1 + slack))
            clamped = true;
        return out;
    };
    const QRgb out = qRgb(channel(r), channel(g), channel(b));
    if (inGamut)
        *inGamut = !clamped;
    return out;
}

double chroma(const Lab &lab)
{
    return std::hypot(lab.a, lab.b);
}

double deltaE(const Lab &x, const Lab &y)
{
    return std::sqrt((x.L - y.L) * (x.L - y.L) + (x.a - y.a) * (x.a - y.a) + (x.b - y.b) * (x.b - y.b));
}

} // namespace zelkor::design
