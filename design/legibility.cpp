#include "legibility.h"

#include "colour.h"
#include "lightnessfix.h"
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

// What a save at a depth makes of the colours one drawing of the true sheet
// shows, gathered while the texts are added: the pixels a save changes are the
// sheet's own and the slots' colours, each quantised as a pixel alone; a
// fixed colour, the fresh bitmap's white and an icon stay as they are. An ink
// pixel on an icon (ANDed and ORed over what lay beneath) or a step whose
// colour is not its slot's would need the depth drawn on its own: `exact`
// turns false.
struct DepthInk {
    bool exact = true;
    std::vector<QRgb> colours;  // per text: its colour, then the pixels under its ink
    std::vector<bool> changes;  // per entry of `colours`: does the depth change it?
};

bool slotColourChanges(const PaintOp &op, const ColourSlots &slotColours, bool &exact)
{
    if (op.slot < 0)
        return false;
    if (op.slot >= kColourSlotCount || (op.colour | 0xff000000u) != (slotColours[size_t(op.slot)] | 0xff000000u))
        exact = false;
    return true;
}

void addDepthInk(const PaintRecord &record, const PaintOp &text, const std::vector<InkPixel> &ink,
                 const ColourSlots &slotColours, DepthInk &out)
{
    out.colours.push_back(text.colour | 0xff000000u);
    out.changes.push_back(slotColourChanges(text, slotColours, out.exact));
    for (const InkPixel &p : ink) {
        bool changes = false;
        if (p.underOp >= 0) {
            const PaintOp &under = record.ops()[size_t(p.underOp)];
            switch (under.kind) {
            case PaintOp::SheetBlock: changes = true; break;
            case PaintOp::Fill:
            case PaintOp::Text: changes = slotColourChanges(under, slotColours, out.exact); break;
            case PaintOp::IconBlock:
            case PaintOp::OtherBlock: out.exact = false; break;
            }
        }
        out.colours.push_back(p.under);
        out.changes.push_back(changes);
    }
}

void addTexts(const PaintRecord &record, const QString &screen, Legibility &out, const ColourSlots *slotColours = nullptr,
              DepthInk *depth = nullptr)
{
    const std::vector<PaintOp> &ops = record.ops();
    for (int i = 0; i < int(ops.size()); ++i) {
        const PaintOp &op = ops[size_t(i)];
        if (op.kind != PaintOp::Text)
            continue;
        const std::vector<InkPixel> ink = record.ink(i);
        if (ink.empty())
            continue;
        if (depth)
            addDepthInk(record, op, ink, *slotColours, *depth);
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

namespace {

void rankSlots(Legibility &out)
{
    out.perSlot.clear();
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
}

// Every named screen of `in` drawn once, its texts measured; with `depth`,
// what a save would change gathered too.
Legibility measureDrawn(PreviewInput in, DepthInk *depth = nullptr)
{
    Legibility out;
    if (!profileByIndex(in.profile) || !in.sheet || in.sheet->isNull())
        return out;
    out.profile = in.profile;
    PaintRecord record;
    in.record = &record;
    for (const NamedScreen &screen : namedScreens()) {
        paintBoxPicture(screen, in);
        addTexts(record, screen.nameText(), out, &in.colours, depth);
    }
    rankSlots(out);
    return out;
}

} // namespace

Legibility measureLegibility(PreviewInput in)
{
    return measureDrawn(in);
}

Legibility measureSkinLegibility(const QImage &sheet, int profile, const IconSheets &icons,
                                 const QString &depthOption)
{
    const QImage drawn = depthOption.isEmpty() ? sheet : sheetAtDepth(sheet, depthOption);
    if (drawn.isNull())
        return {};
    return measureLegibility(skinPreviewInput(drawn, profile, icons, 0));
}

LegibilityAtDepth measureSkinLegibilityAtDepth(const QImage &sheet, int profile, const IconSheets &icons,
                                               const QString &depthOption)
{
    LegibilityAtDepth out;
    const DepthMap depth(depthOption);
    if (!depth.active()) {
        out.asIs = measureSkinLegibility(sheet, profile, icons);
        out.atDepth = depthOption.isEmpty() ? out.asIs : measureSkinLegibility(sheet, profile, icons, depthOption);
        return out;
    }
    DepthInk ink;
    out.asIs = measureDrawn(skinPreviewInput(sheet, profile, icons, 0), &ink);
    if (!ink.exact) {
        out.atDepth = measureSkinLegibility(sheet, profile, icons, depthOption);
        return out;
    }
    std::vector<QRgb> saved;
    for (size_t i = 0; i < ink.colours.size(); ++i)
        if (ink.changes[i])
            saved.push_back(ink.colours[i]);
    depth.apply(saved);
    auto next = saved.begin();
    for (size_t i = 0; i < ink.colours.size(); ++i)
        if (ink.changes[i])
            ink.colours[i] = *next++ | 0xff000000u;
    out.atDepth = out.asIs;
    auto colour = ink.colours.begin();
    for (TextLegibility &t : out.atDepth.texts) {
        t.colour = *colour++;
        std::copy(colour, colour + std::ptrdiff_t(t.under.size()), t.under.begin());
        colour += std::ptrdiff_t(t.under.size());
        t.contrast = inkContrast(t.colour, t.under);
    }
    rankSlots(out.atDepth);
    return out;
}

} // namespace zelkor::design
