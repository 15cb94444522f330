#include "legibility.h"

#include "colour.h"
#include "preview/paintrecord.h"
#include "skin/depthpreview.h"
#include "skin/profiles.h"

#include <algorithm>

namespace zelkor::design {

namespace {

// Ratios are taken against few distinct backgrounds (a flat fill, a picture
// with runs of equal pixels), so the luminance of the last one is kept.
class LuminanceOf {
public:
    double operator()(QRgb colour)
    {
        colour |= 0xff000000u;
        if (colour != m_colour) {
            m_colour = colour;
            m_luminance = relativeLuminance(colour);
        }
        return m_luminance;
    }

private:
    QRgb m_colour = 0;  // no opaque colour is 0, so the first call computes
    double m_luminance = 0;
};

double ratio(double a, double b)
{
    return a > b ? (a + 0.05) / (b + 0.05) : (b + 0.05) / (a + 0.05);
}

void addTexts(const PaintRecord &record, const QString &screen, Legibility &out)
{
    const std::vector<PaintOp> &ops = record.ops();
    for (int i = 0; i < int(ops.size()); ++i) {
        const PaintOp &op = ops[size_t(i)];
        if (op.kind != PaintOp::Text)
            continue;
        const std::vector<InkPixel> ink = record.ink(i);
        if (ink.empty())
            continue;
        TextLegibility t;
        t.screen = screen;
        t.text = op.text;
        t.slot = op.slot;
        t.colour = op.colour | 0xff000000u;
        t.under.reserve(ink.size());
        int left = ink.front().x, right = left, top = ink.front().y, bottom = top;
        for (const InkPixel &p : ink) {
            t.under.push_back(p.under);
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
        t.ink = QRect(QPoint(left, top), QPoint(right, bottom));
        t.contrast = inkContrast(t.colour, t.under);
        out.texts.push_back(std::move(t));
    }
}

} // namespace

double inkContrast(QRgb colour, const std::vector<QRgb> &under)
{
    if (under.empty())
        return 21.0;
    const double text = relativeLuminance(colour | 0xff000000u);
    LuminanceOf luminance;
    std::vector<double> ratios;
    ratios.reserve(under.size());
    for (const QRgb background : under)
        ratios.push_back(ratio(text, luminance(background)));
    const auto at = ratios.begin() + std::ptrdiff_t(ratios.size() / 20);  // floor(0.05 n)
    std::nth_element(ratios.begin(), at, ratios.end());
    return *at;
}

double Legibility::lowest() const
{
    double low = 21.0;
    for (const TextLegibility &t : texts)
        low = std::min(low, t.contrast);
    return low;
}

const SlotLegibility *Legibility::slot(int s) const
{
    for (const SlotLegibility &entry : perSlot)
        if (entry.slot == s)
            return &entry;
    return nullptr;
}

std::vector<int> Legibility::failingTexts(double minContrast) const
{
    std::vector<int> failing;
    for (int i = 0; i < int(texts.size()); ++i)
        if (texts[size_t(i)].contrast < minContrast)
            failing.push_back(i);
    std::stable_sort(failing.begin(), failing.end(),
                     [this](int a, int b) { return texts[size_t(a)].contrast < texts[size_t(b)].contrast; });
    return failing;
}

std::vector<SlotLegibility> Legibility::failingSlots(double minContrast) const
{
    std::vector<SlotLegibility> failing;
    for (const SlotLegibility &entry : perSlot)
        if (entry.worst < minContrast)
            failing.push_back(entry);
    return failing;
}

std::vector<SlotGroup> groupBySlot(const Legibility &measure, const std::vector<int> &texts)
{
    std::vector<SlotGroup> groups;
    for (int i : texts) {
        const int slot = measure.texts[size_t(i)].slot;
        auto group = std::find_if(groups.begin(), groups.end(), [slot](const SlotGroup &g) { return g.slot == slot; });
        if (group == groups.end())
            group = groups.insert(groups.end(), SlotGroup{slot, {}});
        group->texts.push_back(i);
    }
    return groups;
}

SlotContrast slotContrast(const Legibility &measure, int slot, QRgb colour)
{
    SlotContrast out;
    for (const TextLegibility &t : measure.texts) {
        if (t.slot != slot)
            continue;
        const double ratio = inkContrast(colour, t.under);
        if (out.screens.empty() || out.screens.back().screen != t.screen)
            out.screens.push_back({t.screen, 21, 0});
        SlotContrast::Screen &screen = out.screens.back();
        screen.worst = std::min(screen.worst, ratio);
        ++screen.texts;
        out.worst = std::min(out.worst, ratio);
        ++out.texts;
    }
    return out;
}

Legibility measureLegibility(PreviewInput in)
{
    Legibility out;
    if (!profileByIndex(in.profile) || !in.sheet || in.sheet->isNull())
        return out;
    out.profile = in.profile;
    PaintRecord record;
    in.record = &record;
    for (const NamedScreen &screen : namedScreens()) {
        paintBoxPicture(screen, in);
        addTexts(record, screen.nameText(), out);
    }
    for (int i = 0; i < int(out.texts.size()); ++i) {
        const TextLegibility &t = out.texts[size_t(i)];
        if (t.slot < 0 || t.slot >= kColourSlotCount)
            continue;
        auto entry = std::find_if(out.perSlot.begin(), out.perSlot.end(),
                                  [&t](const SlotLegibility &s) { return s.slot == t.slot; });
        if (entry == out.perSlot.end())
            out.perSlot.push_back({t.slot, t.contrast, i});
        else if (t.contrast < entry->worst)
            *entry = {t.slot, t.contrast, i};
    }
    std::sort(out.perSlot.begin(), out.perSlot.end(),
              [](const SlotLegibility &a, const SlotLegibility &b) { return a.slot < b.slot; });
    return out;
}

Legibility measureSkinLegibility(const QImage &sheet, int profile, const IconSheets &icons,
                                 const QString &depthOption)
{
    const QImage drawn = depthOption.isEmpty() ? sheet : sheetAtDepth(sheet, depthOption);
    if (drawn.isNull())
        return {};
    return measureLegibility(skinPreviewInput(drawn, profile, icons, 0));
}

} // namespace zelkor::design
