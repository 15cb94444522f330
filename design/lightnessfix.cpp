#include "lightnessfix.h"

#include "colour.h"
#include "skin/depthpreview.h"
#include "skin/profiles.h"

#include <algorithm>
#include <cmath>

namespace zelkor::design {

namespace {

constexpr double kCoarseStep = 0.5;   // L* steps of the first walk in each direction
constexpr double kPrecision = 0.01;   // L* to which the crossing is then narrowed
constexpr int kChromaSteps = 16;      // halvings when chroma must shrink into sRGB

// The colour of lightness `lightness` with the hue of `base` and as much of
// its chroma as sRGB can show there: a and b shrink together, so the hue
// angle stays.
QRgb withLightness(const Lab &base, double lightness)
{
    bool inGamut = false;
    QRgb colour = fromLab({lightness, base.a, base.b}, &inGamut);
    if (inGamut)
        return colour;
    double fits = 0, fails = 1;
    for (int i = 0; i < kChromaSteps; ++i) {
        const double scale = (fits + fails) / 2;
        fromLab({lightness, base.a * scale, base.b * scale}, &inGamut);
        (inGamut ? fits : fails) = scale;
    }
    return fromLab({lightness, base.a * fits, base.b * fits});
}

class Search {
public:
    Search(QRgb colour, const std::vector<const std::vector<QRgb> *> &texts, double minContrast,
           const AsDrawn &asDrawn)
        : m_base(toLab(colour)), m_texts(texts), m_min(minContrast), m_asDrawn(asDrawn)
    {
    }

    double worst(QRgb candidate) const
    {
        const QRgb drawn = drawnAs(m_asDrawn, candidate);
        double low = 21.0;
        for (const std::vector<QRgb> *under : m_texts)
            low = std::min(low, inkContrast(drawn, *under));
        return low;
    }
    bool reaches(double lightness) const { return worst(withLightness(m_base, lightness)) >= m_min; }

    // The lightness nearest to the colour's own, walking towards `end`, that
    // reaches the threshold; NaN when none does.
    double nearest(double end) const
    {
        const double start = m_base.L;
        const double step = end > start ? kCoarseStep : -kCoarseStep;
        double failing = start;
        for (double l = start + step;; l += step) {
            const bool last = step > 0 ? l >= end : l <= end;
            if (last)
                l = end;
            if (reaches(l))
                return narrowed(failing, l);
            if (last)
                return std::nan("");
            failing = l;
        }
    }

    const Lab &base() const { return m_base; }

private:
    double narrowed(double failing, double passing) const
    {
        while (std::abs(passing - failing) > kPrecision) {
            const double mid = (failing + passing) / 2;
            (reaches(mid) ? passing : failing) = mid;
        }
        return passing;
    }

    Lab m_base;
    const std::vector<const std::vector<QRgb> *> &m_texts;
    double m_min;
    const AsDrawn &m_asDrawn;
};

} // namespace

LightnessFix fixLightness(QRgb colour, const std::vector<const std::vector<QRgb> *> &texts, double minContrast,
                          const AsDrawn &asDrawn)
{
    colour |= 0xff000000u;
    const Search search(colour, texts, minContrast, asDrawn);
    const double now = search.worst(colour);
    if (now >= minContrast)
        return {LightnessFix::AlreadyReaches, colour, now};

    const double start = search.base().L;
    LightnessFix best{LightnessFix::Impossible, colour, now};
    double bestChange = 0;
    for (const double l : {search.nearest(100.0), search.nearest(0.0)}) {
        if (std::isnan(l))
            continue;
        const QRgb candidate = withLightness(search.base(), l);
        const double reached = search.worst(candidate);
        const double change = std::abs(l - start);
        // The smaller change wins; on a tie, the one that reads better.
        if (best.outcome == LightnessFix::Impossible || change < bestChange
            || (change == bestChange && reached > best.contrast)) {
            best = {LightnessFix::Fixed, candidate, reached};
            bestChange = change;
        }
    }
    return best;
}

LightnessFix fixSlotLightness(const Legibility &measure, int slot, QRgb colour, double minContrast,
                              const AsDrawn &asDrawn)
{
    std::vector<const std::vector<QRgb> *> texts;
    for (const TextLegibility &t : measure.texts)
        if (t.slot == slot)
            texts.push_back(&t.under);
    return fixLightness(colour, texts, minContrast, asDrawn);
}

AsDrawn asDrawnAtDepth(const QString &depthOption)
{
    if (depthOption.isEmpty() || !isPreviewDepth(depthOption))
        return {};
    return [map = DepthMap(depthOption)](QRgb colour) { return map(colour); };
}

DepthMap::DepthMap(const QString &depthOption)
    : m_depth(depthOption)
    , m_active(!depthOption.isEmpty() && isPreviewDepth(depthOption))
{
    if (!m_active)
        return;
    // Each channel alone, then colours that mix them: a depth that packs
    // channels apart gives back the mix as the three tables predict.
    constexpr int kMixed = 1024;
    QImage row(3 * 256 + kMixed, 1, QImage::Format_RGB32);
    QRgb *in = reinterpret_cast<QRgb *>(row.scanLine(0));
    for (int v = 0; v < 256; ++v) {
        in[v] = qRgb(v, 0, 0);
        in[256 + v] = qRgb(0, v, 0);
        in[512 + v] = qRgb(0, 0, v);
    }
    quint32 state = 7;
    for (int i = 0; i < kMixed; ++i) {
        state = state * 1664525u + 1013904223u;
        in[768 + i] = 0xff000000u | (state >> 8);
    }
    const QImage back = sheetAtDepth(row, depthOption);
    const QRgb *out = reinterpret_cast<const QRgb *>(back.constScanLine(0));
    for (int v = 0; v < 256; ++v) {
        m_red[size_t(v)] = out[v] & 0xff0000u;
        m_green[size_t(v)] = out[256 + v] & 0x00ff00u;
        m_blue[size_t(v)] = out[512 + v] & 0x0000ffu;
    }
    const QRgb black = out[0];
    m_separable = (out[256] == black) && (out[512] == black) && (black & 0xffffffu) == 0;
    for (int i = 0; m_separable && i < kMixed; ++i)
        m_separable = (*this)(in[768 + i]) == (out[768 + i] | 0xff000000u);
}

QRgb DepthMap::operator()(QRgb colour) const
{
    if (!m_active)
        return colour;
    if (m_separable)
        return 0xff000000u | m_red[size_t(qRed(colour))] | m_green[size_t(qGreen(colour))]
               | m_blue[size_t(qBlue(colour))];
    ColourSlots one{};
    one.fill(colour);
    return coloursAtDepth(one, m_depth)[0];
}

void DepthMap::apply(std::vector<QRgb> &colours) const
{
    if (!m_active || colours.empty())
        return;
    if (m_separable) {
        for (QRgb &c : colours)
            c = (*this)(c);
        return;
    }
    QImage row(int(colours.size()), 1, QImage::Format_RGB32);
    std::copy(colours.begin(), colours.end(), reinterpret_cast<QRgb *>(row.scanLine(0)));
    const QImage back = sheetAtDepth(row, m_depth);
    const QRgb *line = reinterpret_cast<const QRgb *>(back.constScanLine(0));
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = line[i] | 0xff000000u;
}

} // namespace zelkor::design
