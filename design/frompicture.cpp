#include "frompicture.h"

#include "interest.h"
#include "legibility.h"
#include "lightnessfix.h"
#include "roles.h"
#include "scrim.h"
#include "tonesolver.h"
#include "skinparts.h"

#include "imaging/nametable.h"
#include "preview/paintrecord.h"
#include "imaging/picturefile.h"
#include "skin/depthpreview.h"
#include "imaging/placement.h"
#include "skin/port.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>

namespace zelkor::design {

namespace {

// One row per variant: the lightness (L*) of every tone the skin is made of.
struct Scheme {
    double base, baseChroma;                        // the tone the backgrounds are softened toward
    double barTop, barBottom, barChroma;            // menuline, settings_top: key tones
    double selectTop, selectBottom, selectChroma;   // the four selection bars: accent tones
    double menuFill, menuSelection, menuRing;       // slots 3, 4, 5
    double keyText, accentText, textChroma;         // where the texts start
    double toward;                                  // where a text goes that needs more contrast
};
constexpr Scheme kLight{95, 8, 90, 80, 30, 78, 68, 45, 97, 80, 45, 16, 24, 60, 0};
constexpr Scheme kDark{14, 10, 32, 20, 40, 38, 28, 50, 20, 40, 65, 96, 90, 60, 100};

// "Как на фото": the bars run from this many L* above the key's lightness to as many below.
constexpr double kFidelitySpread = 5;

// Every text slot and the palette colour its tone comes from.
struct TextTone {
    int slot;
    bool accent;
};
constexpr TextTone kTextTones[] = {{0, false}, {1, true},  {2, true},  {6, false}, {7, true},
                                   {8, false}, {9, false}, {10, false}, {11, false}, {12, true}};
// The menu's fills: slot 3 in a key tone, 4 and 5 in accent tones.
constexpr int kFillSlots[] = {3, 4, 5};
constexpr int kMaxRounds = 200;
// A text pulled back between the text over it and its background that still
// falls short tries these chromas.
constexpr double kPulledChroma[] = {60, 40, 20, 0};

// The pictures made from the photograph, softened by one veil each, and the
// bars shaded from the palette.
constexpr std::array<int, 3> kBackgrounds{Contacts, Chat, SettingsEl};
// The bars: menuline and settings_top in key tones, the selection bars in accent tones.
struct BarTone {
    int picture;
    bool accent;
};
constexpr BarTone kBars[] = {{Menuline, false}, {SettingsTop, false},    {Select1, true},
                             {Select2, true},   {SettingsSelect, true}, {AccountSel, true}};

const std::array<VariantName, 3> kVariantNames{{
    {Variant::Light, "light", "светлая"},
    {Variant::Dark, "dark", "тёмная"},
    {Variant::Auto, "auto", "авто"},
}};

// Relative luminance by channel: WCAG's luminance is a sum of one term per
// linearised channel, so three tables of the measure's own values give it.
class Luminance {
public:
    Luminance()
    {
        for (int v = 0; v < 256; ++v) {
            m_r[size_t(v)] = relativeLuminance(qRgb(v, 0, 0));
            m_g[size_t(v)] = relativeLuminance(qRgb(0, v, 0));
            m_b[size_t(v)] = relativeLuminance(qRgb(0, 0, v));
        }
    }
    double operator()(QRgb c) const { return m_r[size_t(qRed(c))] + m_g[size_t(qGreen(c))] + m_b[size_t(qBlue(c))]; }

private:
    std::array<double, 256> m_r{}, m_g{}, m_b{};
};

const Luminance &luminance()
{
    static const Luminance table;
    return table;
}

double ratio(double a, double b)
{
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The tones of one skin: the variant's scheme where it serves, moved where a
// text needs more contrast than it gives.
struct Tones {
    double base = 0;                               // L* the backgrounds are softened toward
    std::array<double, kPictureCount> barShift{};  // L* added to both ends of a bar
    std::array<double, 13> lightness{};            // every text and fill slot
    // How far toward white (dark variant) or black (light variant) a text
    // may go: all the way, or where it was pulled back from a text it lies under.
    std::array<double, 13> limit{};
    std::array<double, 13> chroma{};   // of every text
    std::array<int, 13> pulledBy{};    // the text drawn over it that pulled it back, or -1
    std::array<double, 13> least{};    // the lightness each text needs at least (toward its limit)
};

// Where a text's ink pixel lies: on a photograph (softened by its veil), on
// a colour slot's pixels (another text or a menu fill), on a bar, or on
// something no tone changes (an icon, the template).
struct Origin {
    enum Kind : quint8 { Background, Slot, Bar, Fixed } kind = Fixed;
    quint8 index = 0;
    bool operator==(const Origin &o) const { return kind == o.kind && index == o.index; }
};

// One text of one screen: the colour under each of its ink pixels as the
// photograph and the bars give them, and where that colour came from.
struct TextInk {
    QString screen;
    QString text;
    int slot;
    QRgb colour;  // for a text in a fixed colour
    std::vector<QRgb> under;
    std::vector<Origin> from;
    std::array<QRect, 3> box{};  // its ink's box on each background, in the sheet's pixels
    // Each ink pixel's sheet pixel where the sheet itself lies under it, else (-1, -1).
    std::vector<QPoint> sheetAt;
};

// Where the texts lie: every text's ink from one drawing, and whether that
// drawing tells what any other sheet of the same profile shows under the
// ink. The layout does not follow the colours, so it does unless a text lies
// on an icon (drawn through its mask over what was beneath) or on a fill in
// a colour other than its slot's.
struct TextRecord {
    std::vector<TextInk> texts;
    bool retells = true;
};

// What an ink pixel lies on, from the step the record names under it;
// `pictures` are the sheet's picture rectangles.
Origin originOf(const PaintRecord &record, const InkPixel &p, const std::array<QRect, kPictureCount> &pictures,
               QPoint &sheetPixel)
{
    if (p.underOp < 0)
        return {};
    const PaintOp &op = record.ops()[size_t(p.underOp)];
    if ((op.kind == PaintOp::Fill || op.kind == PaintOp::Text) && op.slot >= 0)
        return {Origin::Slot, quint8(op.slot)};
    if (op.kind != PaintOp::SheetBlock)
        return {};
    const QPoint at = sheetPixel = QPoint(p.x, p.y) + op.sourceOffset;
    const auto picture = std::find_if(pictures.begin(), pictures.end(), [&](const QRect &r) {
        return at.x() >= r.left() && at.x() <= r.right() && at.y() >= r.top() && at.y() <= r.bottom();
    });
    if (picture == pictures.end())
        return {};
    const int index = int(picture - pictures.begin());
    const auto b = std::find(kBackgrounds.begin(), kBackgrounds.end(), index);
    if (b != kBackgrounds.end())
        return {Origin::Background, quint8(b - kBackgrounds.begin())};
    if (std::any_of(std::begin(kBars), std::end(kBars), [&](const BarTone &t) { return t.picture == index; }))
        return {Origin::Bar, quint8(index)};
    return {};
}

// The texts of every named screen of `raw`, each ink pixel with what lies under it.
TextRecord collectTexts(const QImage &raw, int profile, const IconSheets &icons)
{
    TextRecord out;
    std::array<QRect, kPictureCount> pictures;
    for (int i = 0; i < kPictureCount; ++i)
        pictures[size_t(i)] = pictureRect(i, profile)->rect();
    PaintRecord record;
    for (const NamedScreen &shot : namedScreens()) {
        PreviewInput in = skinPreviewInput(raw, profile, icons, shot.columns);
        in.record = &record;
        paintBoxPicture(shot, in);
        for (size_t op = 0; op < record.ops().size(); ++op) {
            const PaintOp &step = record.ops()[op];
            if (step.kind != PaintOp::Text)
                continue;
            const std::vector<InkPixel> ink = record.ink(int(op));
            if (ink.empty())
                continue;
            TextInk text{shot.nameText(), step.text, step.slot, step.colour | 0xff000000u, {}, {}, {}, {}};
            for (const InkPixel &p : ink) {
                QPoint at(-1, -1);
                const Origin o = originOf(record, p, pictures, at);
                text.under.push_back(p.under);
                text.from.push_back(o);
                text.sheetAt.push_back(at);
                if (o.kind == Origin::Background)
                    text.box[o.index] |= QRect(at, QSize(1, 1));
                if (p.underOp < 0)
                    continue;
                const PaintOp &under = record.ops()[size_t(p.underOp)];
                if (under.kind == PaintOp::IconBlock || under.kind == PaintOp::OtherBlock
                    || ((under.kind == PaintOp::Fill || under.kind == PaintOp::Text) && under.slot >= 0
                        && (under.colour | 0xff000000u) != in.colours[size_t(under.slot)]))
                    out.retells = false;
            }
            if (step.slot >= 0 && text.colour != in.colours[size_t(step.slot)])
                out.retells = false;
            out.texts.push_back(std::move(text));
        }
    }
    return out;
}

QRgb veiledColour(QRgb p, QRgb base, double strength)
{
    return qRgb(veiledChannel(qRed(p), qRed(base), strength), veiledChannel(qGreen(p), qGreen(base), strength),
                veiledChannel(qBlue(p), qBlue(base), strength));
}

// The measure's rule: of a text's ink pixels, the contrast that only one in
// twenty falls below.
double percentileContrast(std::vector<double> ratios)
{
    const size_t at = size_t(std::floor(0.05 * double(ratios.size())));
    std::nth_element(ratios.begin(), ratios.begin() + std::ptrdiff_t(at), ratios.end());
    return ratios[at];
}

// What lies under a failing text's pixels and which way it would have to go
// for them to read: darker when it is darker than the text.
struct Blame {
    int slot;
    Origin origin;
    bool darker;
    bool operator==(const Blame &o) const { return slot == o.slot && origin == o.origin && darker == o.darker; }
};

// What a text must reach: its role's target, the threshold for a text in a
// fixed colour.
double textTarget(const TextInk &t, double threshold)
{
    return t.slot >= 0 ? roleTarget(t.slot, threshold) : threshold;
}

// Does every text of `texts`, found by a drawing that retells (TextRecord),
// reach its role's target on `sheet`, at 24 bits and at `depth`, by the
// measure's own rule (inkContrast) on the pixels that drawing `sheet` would
// put under its ink: the sheet's pixel where the sheet
// lies under it, its slot's colour where a fill or text does, and what the
// record saw elsewhere (white, a fixed colour), which no save changes.
bool readsFromRecord(const std::vector<TextInk> &texts, const QImage &sheet, int profile, const DepthMap &depth,
                     double threshold)
{
    const ColourSlots colours = readColourSlots(sheet, profile);
    std::vector<QRgb> under, saved;
    for (const TextInk &t : texts) {
        const QRgb colour = t.slot >= 0 ? colours[size_t(t.slot)] : t.colour;
        under.clear();
        saved.clear();
        for (size_t i = 0; i < t.under.size(); ++i) {
            const QPoint at = t.sheetAt[i];
            const QRgb pixel = at.x() >= 0 && sheet.valid(at) ? sheet.pixel(at) | 0xff000000u
                               : t.from[i].kind == Origin::Slot ? colours[t.from[i].index]
                                                                : t.under[i];
            under.push_back(pixel);
        }
        const double target = textTarget(t, threshold);
        if (inkContrast(colour, under) < target)
            return false;
        if (!depth.active())
            continue;
        saved = under;
        depth.apply(saved);
        for (size_t i = 0; i < t.under.size(); ++i)
            if (!(t.sheetAt[i].x() >= 0 || t.from[i].kind == Origin::Slot))
                saved[i] = under[i];
        if (inkContrast(t.slot >= 0 ? depth(colour) | 0xff000000u : colour, saved) < target)
            return false;
    }
    return true;
}

// The luminance of a photograph's pixel once veiled toward the base tone, at
// 24 bits and as the depth gives it back, channel by channel: WCAG's
// luminance is a sum of one term per channel, and the veil and a depth that
// packs channels apart treat each channel on its own, so three tables of 256
// give what veiledColour, the depth and the luminance would pixel by pixel.
struct VeiledLuminance {
    std::array<std::array<double, 256>, 3> plain{}, saved{};

    VeiledLuminance(QRgb base, double strength, const DepthMap &depth)
    {
        const Luminance &lum = luminance();
        const int ends[3] = {qRed(base), qGreen(base), qBlue(base)};
        for (int v = 0; v < 256; ++v) {
            const QRgb c = qRgb(veiledChannel(v, ends[0], strength), veiledChannel(v, ends[1], strength),
                                veiledChannel(v, ends[2], strength));
            const QRgb d = depth(c);
            plain[0][size_t(v)] = lum(c & 0xffff0000u);
            plain[1][size_t(v)] = lum(c & 0xff00ff00u);
            plain[2][size_t(v)] = lum(c & 0xff0000ffu);
            saved[0][size_t(v)] = lum(d & 0xffff0000u);
            saved[1][size_t(v)] = lum(d & 0xff00ff00u);
            saved[2][size_t(v)] = lum(d & 0xff0000ffu);
        }
    }
    double at24(QRgb p) const
    {
        return plain[0][size_t(qRed(p))] + plain[1][size_t(qGreen(p))] + plain[2][size_t(qBlue(p))];
    }
    double atDepth(QRgb p) const
    {
        return saved[0][size_t(qRed(p))] + saved[1][size_t(qGreen(p))] + saved[2][size_t(qBlue(p))];
    }
};

// Predicts the measure for veils `veils`: the slots of the texts that fall
// below their target (plus `margin`) at 24 bits or at `depth`, what their failing pixels lie on,
// and whether a text in a fixed colour falls below. Every pixel counts, those
// over another text too.
struct Verdict {
    std::vector<int> failing;
    std::vector<double> contrast;  // of each text judged, the lower of 24 bits and the depth
    std::vector<Blame> blame;
    bool fixedFails = false;
    bool ok() const { return failing.empty() && !fixedFails; }
};

Verdict judge(const std::vector<TextInk> &texts, const ColourSlots &colours, const std::array<double, 3> &veils,
              QRgb base, const DepthMap &depth, double threshold, double margin = 0)
{
    const Luminance &lum = luminance();
    ColourSlots saved = colours;
    for (QRgb &c : saved)
        c = depth(c);
    // The luminance under every ink pixel, text after text, at 24 bits and
    // at the depth: the photographs veiled, the slots in their colours, the
    // rest as drawn.
    std::vector<double> y24, ySaved;
    if (!depth.active() || depth.separable()) {
        const std::array<VeiledLuminance, 3> veiled{VeiledLuminance(base, veils[0], depth),
                                                    VeiledLuminance(base, veils[1], depth),
                                                    VeiledLuminance(base, veils[2], depth)};
        for (const TextInk &t : texts)
            for (size_t i = 0; i < t.under.size(); ++i) {
                const Origin &o = t.from[i];
                if (o.kind == Origin::Background) {
                    y24.push_back(veiled[o.index].at24(t.under[i]));
                    ySaved.push_back(veiled[o.index].atDepth(t.under[i]));
                } else if (o.kind == Origin::Slot) {
                    y24.push_back(lum(colours[o.index]));
                    ySaved.push_back(lum(saved[o.index]));
                } else {
                    y24.push_back(lum(t.under[i]));
                    ySaved.push_back(lum(depth(t.under[i])));
                }
            }
    } else {
        // A depth that mixes the channels (a palette) takes all the pixels at once.
        std::vector<QRgb> under;
        for (const TextInk &t : texts)
            for (size_t i = 0; i < t.under.size(); ++i)
                under.push_back(t.from[i].kind == Origin::Background
                                    ? veiledColour(t.under[i], base, veils[t.from[i].index])
                                    : t.under[i]);
        std::vector<QRgb> atDepth = under;
        depth.apply(atDepth);
        size_t next = 0;
        for (const TextInk &t : texts)
            for (size_t i = 0; i < t.under.size(); ++i, ++next) {
                const bool slot = t.from[i].kind == Origin::Slot;
                y24.push_back(lum(slot ? colours[t.from[i].index] : under[next]));
                ySaved.push_back(lum(slot ? saved[t.from[i].index] : atDepth[next]));
            }
    }
    Verdict verdict;
    verdict.contrast.assign(texts.size(), 21.0);
    auto check = [&](const std::vector<double> &backs, const ColourSlots &inks) {
        size_t next = 0;
        std::vector<double> ratios;
        for (size_t index = 0; index < texts.size(); ++index) {
            const TextInk &t = texts[index];
            const double target = textTarget(t, threshold) + margin;
            const double ink = lum(t.slot >= 0 ? inks[size_t(t.slot)] : t.colour);
            const size_t first = next;
            ratios.clear();
            for (size_t i = 0; i < t.under.size(); ++i)
                ratios.push_back(ratio(ink, backs[next++]));
            const double contrast = percentileContrast(ratios);
            verdict.contrast[index] = std::min(verdict.contrast[index], contrast);
            if (contrast >= target)
                continue;
            if (t.slot < 0) {
                verdict.fixedFails = true;
                continue;
            }
            if (std::find(verdict.failing.begin(), verdict.failing.end(), t.slot) == verdict.failing.end())
                verdict.failing.push_back(t.slot);
            for (size_t i = 0; i < t.under.size(); ++i) {
                if (ratio(ink, backs[first + i]) >= target || t.from[i].kind == Origin::Fixed)
                    continue;
                const Blame b{t.slot, t.from[i], backs[first + i] < ink};
                if (std::find(verdict.blame.begin(), verdict.blame.end(), b) == verdict.blame.end())
                    verdict.blame.push_back(b);
            }
        }
    };
    check(y24, colours);
    if (depth.active())
        check(ySaved, saved);
    std::sort(verdict.failing.begin(), verdict.failing.end());
    return verdict;
}

// The lightness of a bar's first and last row, moved by `shift`.
std::pair<double, double> barEnds(const Scheme &s, const BarTone &bar, double shift)
{
    return {std::clamp((bar.accent ? s.selectTop : s.barTop) + shift, 0.0, 100.0),
            std::clamp((bar.accent ? s.selectBottom : s.barBottom) + shift, 0.0, 100.0)};
}

const BarTone &barOf(int picture)
{
    return *std::find_if(std::begin(kBars), std::end(kBars), [&](const BarTone &t) { return t.picture == picture; });
}

struct Parts {
    QImage sheet;   // the template with bars, and the photographs as cut, before any scrim
};

QImage background(const QImage &picture, const QSize &size, const QPointF &focus)
{
    const QRect crop = coverCrop(picture.size(), size, focus);
    return placeImage(picture, size, {FitMode::Cover, crop, {}});
}

// The photographs cut out; they do not change as the tones do.
std::array<QImage, 3> cutBackgrounds(const QImage &picture, int profile)
{
    std::array<QImage, 3> out;
    for (size_t b = 0; b < kBackgrounds.size(); ++b) {
        const QSize size = pictureRect(kBackgrounds[b], profile)->rect().size();
        out[b] = kBackgrounds[b] == SettingsEl ? seamlessStrip(background(picture, size, centreOfCalm(picture, size)))
                                               : background(picture, size, centreOfInterest(picture, size));
    }
    return out;
}

Parts makeParts(const std::array<QImage, 3> &backgrounds, int profile, const QImage &templateSheet,
                const Palette &palette, const Scheme &s, const Tones &tones)
{
    Parts parts;
    parts.sheet = templateCanvas(templateSheet, profile);
    for (size_t b = 0; b < kBackgrounds.size(); ++b)
        writeBackPicture(parts.sheet, profile, kBackgrounds[b], backgrounds[b]);
    for (const BarTone &bar : kBars) {
        const QSize size = pictureRect(bar.picture, profile)->rect().size();
        const auto [top, bottom] = barEnds(s, bar, tones.barShift[size_t(bar.picture)]);
        writeBackPicture(parts.sheet, profile, bar.picture,
                         toneGradient(size, bar.accent ? palette.accent : palette.key, top, bottom,
                                      bar.accent ? s.selectChroma : s.barChroma));
    }

    return parts;
}

// The bands under the texts on each background: every text's ink box grown
// as a scrim's is (scrim.h), inside the background.
using Bands = std::array<std::vector<TextBand>, 3>;
Bands textBandsOf(const std::vector<TextInk> &texts, int profile)
{
    Bands bands;
    for (size_t b = 0; b < bands.size(); ++b) {
        const QRect picture = pictureRect(kBackgrounds[b], profile)->rect();
        for (const TextInk &t : texts)
            if (!t.box[b].isNull())
                bands[b].push_back({kBackgrounds[b], t.box[b].adjusted(-kBandGrowth, -kBandGrowth, kBandGrowth,
                                                                       kBandGrowth) & picture});
    }
    return bands;
}

// The photographs softened toward the base tone only in the bands under the
// texts, each by its own strength; the rest of each photograph as it is.
QImage veiledSheet(const Parts &parts, int profile, QRgb base, const std::array<double, 3> &veils, const Bands &bands)
{
    QImage sheet = parts.sheet;
    for (size_t b = 0; b < bands.size(); ++b)
        applyScrim(sheet, bands[b], base, veils[b]);
    return sheet;
}

// The colours: every text and fill a tone of the key or the accent at its
// current lightness.
ColourSlots schemeColours(const Palette &palette, const Scheme &s, const Tones &tones)
{
    ColourSlots colours{};
    colours[3] = tone(palette.key, tones.lightness[3], s.barChroma);
    colours[4] = tone(palette.accent, tones.lightness[4], s.selectChroma);
    colours[5] = tone(palette.accent, tones.lightness[5], s.selectChroma);
    for (const TextTone &t : kTextTones)
        colours[size_t(t.slot)] = tone(t.accent ? palette.accent : palette.key, tones.lightness[size_t(t.slot)],
                                       tones.chroma[size_t(t.slot)]);
    return colours;
}

void writeColours(QImage &sheet, int profile, const ColourSlots &colours)
{
    for (int slot = 0; slot < kColourSlotCount; ++slot)
        writeColourSlot(sheet, profile, slot, colours[size_t(slot)]);
}

bool isTextSlot(int slot)
{
    return std::any_of(std::begin(kTextTones), std::end(kTextTones),
                       [slot](const TextTone &t) { return t.slot == slot; });
}

// What the moves ask of the skin being made: the flat-base verdict for other
// tones, to try them before taking them, and the tones in closed form
// (tonesolver.h) of what lies under a failing text: a text it is drawn
// across, pulled back, or the tone at a chroma between that text and what it
// lies on; the base; a menu fill; a bar.
struct Solver {
    std::function<Verdict(const Tones &)> verdictOf;
    std::function<std::optional<double>(int under, int over, bool darker, const Tones &)> pulled;
    std::function<std::optional<double>(int under, int over, double chroma, const Tones &)> between;
    // The base tone that parts text `slot` by its target, darker or lighter.
    std::function<std::optional<double>(int slot, bool darker, const Tones &)> base;
    // The same for a menu fill under text `slot`.
    std::function<std::optional<double>(int fill, int slot, bool darker, const Tones &)> fill;
    // The shift of a bar that parts every row under the texts of `slot`.
    std::function<std::optional<double>(int slot, int picture, bool darker, const Tones &)> bar;
};

bool blames(const Verdict &verdict, int slot, const Origin &origin)
{
    return std::any_of(verdict.blame.begin(), verdict.blame.end(),
                       [&](const Blame &b) { return b.slot == slot && b.origin == origin; });
}

// Moves what lies under a text's failing pixels away from the text: false
// when it cannot go further that way (or is an icon or the template).
bool pushAway(const Blame &b, const Scheme &s, Tones &tones, bool &barsMoved, const Solver &solver)
{
    const double end = b.darker ? 0.0 : 100.0;
    switch (b.origin.kind) {
    case Origin::Background: {
        // The flat base goes where the text needs it, in closed form. Where
        // it already stood beyond that tone, only its rounding (8 bits, the
        // depth) can have taken contrast: back to the tone found, which reaches.
        const std::optional<double> needed = solver.base(b.slot, b.darker, tones);
        double next = !needed ? end : b.darker ? std::min(tones.base, *needed) : std::max(tones.base, *needed);
        if (next == tones.base && needed)
            next = *needed;
        if (next == tones.base)
            return false;
        tones.base = next;
        return true;
    }
    case Origin::Bar: {
        // The bar moves once, where the rows under the text part from it.
        double &shift = tones.barShift[b.origin.index];
        const std::optional<double> needed = solver.bar(b.slot, b.origin.index, b.darker, tones);
        const double next = !needed ? shift : b.darker ? std::min(shift, *needed) : std::max(shift, *needed);
        const BarTone &bar = barOf(b.origin.index);
        if (barEnds(s, bar, next) == barEnds(s, bar, shift))
            return false;
        shift = next;
        barsMoved = true;
        return true;
    }
    case Origin::Slot: {
        double &l = tones.lightness[b.origin.index];
        double next = l;
        if (isTextSlot(b.origin.index)) {
            if (l == end)
                return false;
            tones.pulledBy[b.origin.index] = b.slot;
            // Another text is pulled back toward the middle just as far as
            // the text over it needs, and kept there: the tones that part
            // both from each other and from the background lie close together.
            const std::optional<double> pulled = solver.pulled(b.origin.index, b.slot, b.darker, tones);
            next = !pulled ? end : b.darker ? std::min(l, *pulled) : std::max(l, *pulled);
        } else {
            // A menu fill goes where the text over it needs it.
            const std::optional<double> needed = solver.fill(b.origin.index, b.slot, b.darker, tones);
            next = !needed ? end : b.darker ? std::min(l, *needed) : std::max(l, *needed);
        }
        if (next == l)
            return false;
        l = tones.limit[b.origin.index] = next;
        return true;
    }
    case Origin::Fixed:
        break;
    }
    return false;
}

// The last move, when no other is left: a text pulled back between the text
// drawn over it and the background may find no tone of its own hue that parts
// it from both once the depth has rounded it, so the tones between them of
// less chroma are taken, the most colourful first.
bool refinePulled(const Verdict &verdict, Tones &tones, const Solver &solver)
{
    for (const int slot : verdict.failing) {
        const int over = tones.pulledBy[size_t(slot)];
        if (over < 0)
            continue;
        Tones trial = tones;
        for (const double chroma : kPulledChroma) {
            trial.chroma[size_t(slot)] = std::min(chroma, tones.chroma[size_t(slot)]);
            const std::optional<double> l = solver.between(slot, over, trial.chroma[size_t(slot)], tones);
            if (!l)
                continue;
            trial.lightness[size_t(slot)] = trial.limit[size_t(slot)] = *l;
            const Verdict v = solver.verdictOf(trial);
            if (std::find(v.failing.begin(), v.failing.end(), slot) == v.failing.end()
                && !blames(v, over, {Origin::Slot, quint8(slot)})) {
                tones = trial;
                return true;
            }
        }
    }
    return false;
}

// One round of moves for texts that fall short even on the flat base tone.
// A text short of its limit stands, after solveTexts, at or beyond the tone
// found for it on the flat base by the measure's own rule (keepApart moves it
// only further, or back to that tone), so it falls short only where a tone a
// hair beyond rounds (8 bits, the depth) to less contrast: it goes back to
// the tone found, or from there to its limit. One at its limit pushes away
// what lies under its failing pixels: the base tone, a bar, a fill, or, when
// it is another text, that text is pulled back toward the middle and kept
// there; so the three of them (text, text under it, background) end up in
// the only order that parts them all. False when nothing can move any more.
// `barsMoved` says the bars must be made again.
bool moveTones(const Verdict &verdict, const Scheme &s, Tones &tones, bool &barsMoved, const Solver &solver)
{
    bool moved = false;
    std::vector<Origin> done;
    for (const int slot : verdict.failing) {
        double &l = tones.lightness[size_t(slot)];
        if (l != tones.limit[size_t(slot)]) {
            l = l != tones.least[size_t(slot)] ? tones.least[size_t(slot)] : tones.limit[size_t(slot)];
            moved = true;
            continue;
        }
        for (const Blame &b : verdict.blame) {
            if (b.slot != slot || std::find(done.begin(), done.end(), b.origin) != done.end())
                continue;
            done.push_back(b.origin);
            moved = pushAway(b, s, tones, barsMoved, solver) || moved;
        }
    }
    return moved || refinePulled(verdict, tones, solver);
}

// Whether every text reaches its `need` with veils `veils`, at 24 bits and at
// the depth: the measure's rule (one ink pixel in twenty may fall short)
// counted rather than sorted, stopping at the first text that does not.
bool allReach(const std::vector<TextInk> &texts, const std::vector<double> &need, const ColourSlots &colours,
              const std::array<double, 3> &veils, QRgb base, const DepthMap &depth)
{
    const Luminance &lum = luminance();
    std::array<double, 13> slot24{}, slotSaved{};
    for (size_t s = 0; s < colours.size(); ++s) {
        slot24[s] = lum(colours[s]);
        slotSaved[s] = lum(depth(colours[s]));
    }
    // A depth that mixes the channels (a palette) is asked pixel by pixel.
    std::optional<std::array<VeiledLuminance, 3>> tables;
    if (!depth.active() || depth.separable())
        tables.emplace(std::array<VeiledLuminance, 3>{VeiledLuminance(base, veils[0], depth),
                                                      VeiledLuminance(base, veils[1], depth),
                                                      VeiledLuminance(base, veils[2], depth)});
    for (size_t index = 0; index < texts.size(); ++index) {
        const TextInk &t = texts[index];
        const QRgb colour = t.slot >= 0 ? colours[size_t(t.slot)] : t.colour;
        const double ink = lum(colour), inkSaved = lum(depth(colour));
        const size_t allowed = t.under.size() / 20;
        size_t short24 = 0, shortSaved = 0;
        for (size_t i = 0; i < t.under.size(); ++i) {
            const Origin &o = t.from[i];
            double y24, ySaved;
            if (o.kind == Origin::Slot) {
                y24 = slot24[o.index];
                ySaved = slotSaved[o.index];
            } else if (o.kind == Origin::Background && tables) {
                y24 = (*tables)[o.index].at24(t.under[i]);
                ySaved = (*tables)[o.index].atDepth(t.under[i]);
            } else {
                const QRgb under =
                    o.kind == Origin::Background ? veiledColour(t.under[i], base, veils[o.index]) : t.under[i];
                y24 = lum(under);
                ySaved = lum(depth(under));
            }
            short24 += ratio(ink, y24) < need[index];
            if (depth.active())
                shortSaved += ratio(inkSaved, ySaved) < need[index];
        }
        if (short24 > allowed || shortSaved > allowed)
            return false;
    }
    return true;
}

// The weakest veils that keep every text at `target`, or where the flat base
// tone gives it less, at `threshold`: each background in turn, the others as
// they stand (all start at full strength).
std::array<double, 3> weakestVeils(const std::vector<TextInk> &texts, const ColourSlots &colours, QRgb base,
                                   const DepthMap &depth, double threshold, double margin)
{
    std::array<double, 3> veils{1.0, 1.0, 1.0};
    const std::vector<double> flat = judge(texts, colours, veils, base, depth, threshold, margin).contrast;
    std::vector<double> need(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        const double target = textTarget(texts[i], threshold);
        need[i] = flat[i] < target + margin ? target : target + margin;
    }
    // Only the texts over a background change with its veil: each search
    // judges those alone.
    for (size_t b = 0; b < veils.size(); ++b) {
        std::vector<TextInk> over;
        std::vector<double> overNeed;
        for (size_t i = 0; i < texts.size(); ++i)
            if (std::any_of(texts[i].from.begin(), texts[i].from.end(),
                            [&](const Origin &o) { return o == Origin{Origin::Background, quint8(b)}; })) {
                over.push_back(texts[i]);
                overNeed.push_back(need[i]);
            }
        auto enough = [&]() { return allReach(over, overNeed, colours, veils, base, depth); };
        veils[b] = 0.0;
        if (enough())
            continue;
        double lo = 0.0, hi = 1.0;
        for (int i = 0; i < 10; ++i) {
            veils[b] = (lo + hi) / 2;
            (enough() ? hi : lo) = veils[b];
        }
        veils[b] = hi;
    }
    return veils;
}

// One skin being made. makeSkinFromPicture runs these stages in order:
// the picture's colours, the cut-out backgrounds, one drawing that tells what
// every text lies on, the texts' tones in closed form on the flat base tone
// (pushing away what lies under a text that no tone of its own can save), and
// the scrims over the photographs, found by the measure.
struct Generator {
    int profile;
    const QImage &templateSheet;
    const IconSheets &icons;
    const FromPictureSettings &settings;
    DepthMap depth{settings.depthOption};
    SkinFromPicture result;
    Scheme scheme = kDark;
    Tones tones;
    std::array<QImage, 3> backgrounds;
    Parts parts;
    std::vector<TextInk> texts;
    bool retells = false;  // the drawing that found `texts` tells what any finished sheet shows under them
    Bands bands;
    bool barsMoved = true;
    Verdict last;

    ColourSlots colours() const { return schemeColours(result.palette, scheme, tones); }
    QRgb base() const { return tone(result.palette.key, tones.base, scheme.baseChroma); }
    Verdict flatVerdict(const Tones &trial) const
    {
        return judge(texts, schemeColours(result.palette, scheme, trial), {1.0, 1.0, 1.0}, base(), depth,
                     settings.threshold);
    }

    // The palette, the variant and the scheme's tones to start from.
    void readColours(const QImage &picture)
    {
        result.profile = profile;
        result.palette = extractPalette(picture);
        Palette &palette = result.palette;
        if (settings.key) {
            palette.key = toLab(*settings.key);
            palette.neutral = chroma(palette.key) < kRealChroma;
        }
        if (settings.accent)
            palette.accent = toLab(*settings.accent);
        result.variant = resolvedVariant(settings.variant, palette);
        scheme = result.variant == Variant::Light ? kLight : kDark;
        switch (settings.scheme) {
        case ColourScheme::Tonal:
            break;
        case ColourScheme::Mono:
            palette.key = {palette.key.L, 0, 0};
            palette.accent = {palette.accent.L, 0, 0};
            break;
        case ColourScheme::Fidelity:
            // The bars at the key's and the accent's own lightness; texts
            // that cannot read over them push them away as far as needed.
            scheme.barTop = std::min(100.0, palette.key.L + kFidelitySpread);
            scheme.barBottom = std::max(0.0, palette.key.L - kFidelitySpread);
            scheme.selectTop = std::min(100.0, palette.accent.L + kFidelitySpread);
            scheme.selectBottom = std::max(0.0, palette.accent.L - kFidelitySpread);
            [[fallthrough]];
        case ColourScheme::Vivid:
            scheme.barChroma = std::max(scheme.barChroma, chroma(palette.key));
            scheme.selectChroma = std::max(scheme.selectChroma, chroma(palette.accent));
            break;
        }
        tones.base = scheme.base;
        tones.lightness[3] = scheme.menuFill;
        tones.lightness[4] = scheme.menuSelection;
        tones.lightness[5] = scheme.menuRing;
        tones.pulledBy.fill(-1);
        for (const TextTone &t : kTextTones) {
            tones.lightness[size_t(t.slot)] = tones.least[size_t(t.slot)] =
                t.accent ? scheme.accentText : scheme.keyText;
            tones.limit[size_t(t.slot)] = scheme.toward;
            tones.chroma[size_t(t.slot)] = scheme.textChroma;
        }
        for (const int slot : kFillSlots)
            tones.limit[size_t(slot)] = tones.lightness[size_t(slot)];
    }

    void cutPictures(const QImage &picture) { backgrounds = cutBackgrounds(picture, profile); }

    // The bars shaded, and one drawing of every screen: each text's ink and
    // what lies under each of its pixels.
    void recordTexts()
    {
        parts = makeParts(backgrounds, profile, templateSheet, result.palette, scheme, tones);
        writeColours(parts.sheet, profile, colours());
        TextRecord record = collectTexts(parts.sheet, profile, icons);
        texts = std::move(record.texts);
        retells = record.retells;
        bands = textBandsOf(texts, profile);
        barsMoved = false;
    }

    // Every text slot at the tone its role's target needs on the flat base
    // tone, at 24 bits and at the depth, found in closed form: the luminance
    // that one text in twenty of its ink pixels may fall short of, and the
    // tone of the slot's colour at that luminance. A slot that no tone its way
    // can save goes to its limit, and the rounds push away what lies under it.
    void solveTexts()
    {
        for (const TextTone &t : kTextTones) {
            const size_t slot = size_t(t.slot);
            const double l = tones.lightness[slot], limit = tones.limit[slot];
            if (l == limit)
                continue;
            const ToneDirection direction = limit > l ? ToneDirection::Lighter : ToneDirection::Darker;
            const bool lighter = direction == ToneDirection::Lighter;
            const std::optional<std::pair<Flat, Flat>> flats = flatsUnder(t.slot, lighter, tones);
            if (!flats)
                continue;
            const auto &[at24, atDepth] = *flats;
            const Lab &colour = tintOf(t.slot);
            const double target = roleTarget(t.slot, settings.threshold);
            const auto plain = toneReaching(colour, tones.chroma[slot], at24, target, direction);
            const auto saved = depth.active()
                                   ? toneReaching(colour, tones.chroma[slot], atDepth, target, direction,
                                                  [this](QRgb c) { return depth(c); })
                                   : plain;
            double needed = limit;
            if (plain && saved)
                needed = lighter ? std::min(limit, std::max(*plain, *saved)) : std::max(limit, std::min(*plain, *saved));
            tones.least[slot] = needed;
            tones.lightness[slot] = lighter ? std::max(l, needed) : std::min(l, needed);
        }
    }

    const Lab &tintOf(int slot) const
    {
        const auto t = std::find_if(std::begin(kTextTones), std::end(kTextTones),
                                    [slot](const TextTone &row) { return row.slot == slot; });
        return t != std::end(kTextTones) && t->accent ? result.palette.accent : result.palette.key;
    }

    // What the texts of `slot` lie on with tones `trial` and the base flat, at
    // 24 bits and at the depth: for a text going lighter the lightest
    // luminance, for one going darker the darkest, that one ink pixel in
    // twenty may fall short of (the measure's rule); nullopt when no screen
    // draws the slot.
    std::optional<std::pair<Flat, Flat>> flatsUnder(int slot, bool lighter, const Tones &trial) const
    {
        const ColourSlots inks = schemeColours(result.palette, scheme, trial);
        const QRgb flatBase = tone(result.palette.key, trial.base, scheme.baseChroma);
        const Luminance &lum = luminance();
        Flat at24{1.0, 0.0}, atDepth{1.0, 0.0};
        bool any = false;
        std::vector<double> y24, yDepth;
        for (const TextInk &text : texts) {
            if (text.slot != slot)
                continue;
            any = true;
            y24.clear();
            yDepth.clear();
            for (size_t i = 0; i < text.under.size(); ++i) {
                const Origin &o = text.from[i];
                const QRgb under = o.kind == Origin::Background ? flatBase
                                   : o.kind == Origin::Slot   ? inks[o.index]
                                                              : text.under[i];
                y24.push_back(lum(under));
                yDepth.push_back(lum(depth(under)));
            }
            for (auto [ys, flat] : {std::pair{&y24, &at24}, std::pair{&yDepth, &atDepth}}) {
                const auto k = ys->begin() + std::ptrdiff_t(ys->size() / 20);
                if (lighter) {
                    std::nth_element(ys->begin(), k, ys->end(), std::greater<>());
                    flat->lightest = std::max(flat->lightest, *k);
                } else {
                    std::nth_element(ys->begin(), k, ys->end());
                    flat->darkest = std::min(flat->darkest, *k);
                }
            }
        }
        if (!any)
            return std::nullopt;
        return std::pair{at24, atDepth};
    }

    // The lightness of a flat tone of `tint` (chroma capped at `chroma`)
    // nearest the ink of text `slot` that parts it from that ink by the
    // text's target, darker or lighter, at 24 bits and at the depth; nullopt
    // when no tone that way does. What lies under a text (another text, the
    // base, a fill, a bar's row) goes there.
    std::optional<double> partingTone(const Lab &tint, double chroma, int slot, bool darker, const Tones &trial) const
    {
        const QRgb ink = schemeColours(result.palette, scheme, trial)[size_t(slot)];
        const double y24 = relativeLuminance(ink), yDepth = relativeLuminance(depth(ink));
        const ToneDirection direction = darker ? ToneDirection::Darker : ToneDirection::Lighter;
        const double target = roleTarget(slot, settings.threshold);
        const auto plain = toneReaching(tint, chroma, {y24, y24}, target, direction);
        const auto saved = depth.active() ? toneReaching(tint, chroma, {yDepth, yDepth}, target, direction,
                                                         [this](QRgb c) { return depth(c); })
                                          : plain;
        if (!plain || !saved)
            return std::nullopt;
        return darker ? std::min(*plain, *saved) : std::max(*plain, *saved);
    }

    // The shift of bar `picture` that parts every row under the texts of
    // `slot` from their ink by the text's target, darker or lighter, at 24
    // bits and at the depth: the row nearest the ink goes to the parting
    // tone (a row's lightness is linear in the shift between the clamps),
    // and where a row between the grid's tones rounds the other way, the
    // tone a step further. Nullopt when no text of `slot` lies on the bar.
    std::optional<double> barShiftFor(int slot, int picture, bool darker, const Tones &trial) const
    {
        const QRect rect = pictureRect(picture, profile)->rect();
        int first = rect.bottom() + 1, last = rect.top() - 1;
        for (const TextInk &t : texts)
            if (t.slot == slot)
                for (size_t i = 0; i < t.from.size(); ++i)
                    if (t.from[i] == Origin{Origin::Bar, quint8(picture)}) {
                        first = std::min(first, t.sheetAt[i].y());
                        last = std::max(last, t.sheetAt[i].y());
                    }
        if (first > last)
            return std::nullopt;
        const BarTone &bar = barOf(picture);
        const Lab &tint = bar.accent ? result.palette.accent : result.palette.key;
        const double chroma = bar.accent ? scheme.selectChroma : scheme.barChroma;
        const auto [top, bottom] = barEnds(scheme, bar, 0);
        const auto fraction = [&](int y) {
            return rect.height() > 1 ? double(y - rect.top()) / (rect.height() - 1) : 0.0;
        };
        const Luminance &lum = luminance();
        const QRgb ink = schemeColours(result.palette, scheme, trial)[size_t(slot)];
        const double target = roleTarget(slot, settings.threshold);
        const double end = darker ? 0.0 : 100.0;
        const ToneDirection way = darker ? ToneDirection::Darker : ToneDirection::Lighter;
        double l = partingTone(tint, chroma, slot, darker, trial).value_or(end);
        for (;;) {
            const double shift = darker ? std::min(gradientShift(top, bottom, fraction(first), l, way),
                                                   gradientShift(top, bottom, fraction(last), l, way))
                                        : std::max(gradientShift(top, bottom, fraction(first), l, way),
                                                   gradientShift(top, bottom, fraction(last), l, way));
            // Every row under the texts as drawn, by the measure's arithmetic.
            const auto [from, to] = barEnds(scheme, bar, shift);
            bool parts = true;
            for (int y = first; y <= last && parts; ++y) {
                const QRgb row = tone(tint, from + fraction(y) * (to - from), chroma);
                parts = ratio(lum(ink), lum(row)) >= target
                        && (!depth.active() || ratio(lum(depth(ink)), lum(depth(row))) >= target);
            }
            if (parts || l == end)
                return shift;
            l = darker ? std::max(end, l - 0.05) : std::min(end, l + 0.05);
        }
    }

    // The lightness at `chroma` of text `under`, pulled back by text `over`,
    // that parts it both from `over` and from what it lies on, at 24 bits and
    // at the depth, nearest `over`; nullopt when the two leave no room.
    std::optional<double> betweenTone(int under, int over, double chroma, const Tones &trial) const
    {
        const QRgb ink = schemeColours(result.palette, scheme, trial)[size_t(over)];
        const bool darker = trial.lightness[size_t(under)] < trial.lightness[size_t(over)];
        const std::optional<std::pair<Flat, Flat>> flats = flatsUnder(under, !darker, trial);
        if (!flats)
            return std::nullopt;
        const double y24 = relativeLuminance(ink), yDepth = relativeLuminance(depth(ink));
        const Flat near{std::min(y24, yDepth), std::max(y24, yDepth)};
        const Flat far{std::min(flats->first.darkest, flats->second.darkest),
                       std::max(flats->first.lightest, flats->second.lightest)};
        return toneBetween(tintOf(under), chroma, near, roleTarget(over, settings.threshold), far,
                           roleTarget(under, settings.threshold),
                           darker ? ToneDirection::Darker : ToneDirection::Lighter, drawings());
    }

    // Every drawing a colour is judged in: as it is, and as the depth saves it.
    std::vector<AsDrawn> drawings() const
    {
        std::vector<AsDrawn> out{AsDrawn()};
        if (depth.active())
            out.push_back([this](QRgb c) { return depth(c); });
        return out;
    }

    // Pairs of texts that must be told apart (who said what in the chat), as
    // they are and as saved: the one further out goes as far as the distance
    // needs while it can, else to its limit and the other comes back toward
    // the base, never past what its target needs.
    void keepApart()
    {
        const std::vector<AsDrawn> drawn = drawings();
        for (const Apart &pair : apartPairs()) {
            if (pair.slotA < 0)
                continue;
            const size_t a = size_t(pair.slotA), b = size_t(pair.slotB);
            const auto apart = [&] {
                const ColourSlots inks = colours();
                return std::all_of(drawn.begin(), drawn.end(), [&](const AsDrawn &d) {
                    return deltaE(toLab(drawnAs(d, inks[a])), toLab(drawnAs(d, inks[b]))) >= pair.deltaE;
                });
            };
            if (apart())
                continue;
            const double direction = tones.limit[a] >= tones.lightness[a] ? 1.0 : -1.0;
            const bool aOuter = direction * (tones.lightness[a] - tones.lightness[b]) >= 0;
            const size_t outer = aOuter ? a : b, inner = aOuter ? b : a;
            // The tone of `slot` from where it stands toward `to` that lies
            // far enough from the other; `to` itself when none does.
            const auto away = [&](size_t slot, size_t other, double to) {
                double &l = tones.lightness[slot];
                if (direction * (to - l) * (slot == outer ? 1 : -1) <= 0)
                    return false;
                const std::optional<double> apartAt = toneApart(tintOf(int(slot)), tones.chroma[slot],
                                                                colours()[other], pair.deltaE, l, to, drawn);
                l = apartAt.value_or(to);
                return apartAt.has_value();
            };
            if (!away(outer, inner, tones.limit[outer]))
                away(inner, outer, tones.least[inner]);
        }
    }

    // Do all texts reach their targets on the flat base tone?
    bool flatBaseReads()
    {
        last = flatVerdict(tones);
        return last.ok();
    }

    // Even the flat base tone is not enough: move what lies under the texts.
    bool moveTones()
    {
        if (last.fixedFails)
            return false;
        const Solver solver{
            [this](const Tones &trial) { return flatVerdict(trial); },
            [this](int under, int over, bool darker, const Tones &trial) {
                return partingTone(tintOf(under), trial.chroma[size_t(under)], over, darker, trial);
            },
            [this](int under, int over, double chroma, const Tones &trial) {
                return betweenTone(under, over, chroma, trial);
            },
            [this](int slot, bool darker, const Tones &trial) {
                return partingTone(result.palette.key, scheme.baseChroma, slot, darker, trial);
            },
            [this](int fill, int slot, bool darker, const Tones &trial) {
                return partingTone(fill == 3 ? result.palette.key : result.palette.accent,
                                   fill == 3 ? scheme.barChroma : scheme.selectChroma, slot, darker, trial);
            },
            [this](int slot, int picture, bool darker, const Tones &trial) {
                return barShiftFor(slot, picture, darker, trial);
            }};
        return zelkor::design::moveTones(last, scheme, tones, barsMoved, solver);
    }

    // The finished sheet with these veils, when the measure finds every text
    // at its target at 24 bits and at the depth.
    std::optional<QImage> finished(const Parts &withBars, const std::array<double, 3> &veils) const
    {
        QImage sheet = veiledSheet(withBars, profile, base(), veils, bands);
        writeColours(sheet, profile, colours());
        const bool reads = retells ? readsFromRecord(texts, sheet, profile, depth, settings.threshold)
                                   : readsAtRoleTargets(sheet, profile, icons, settings.depthOption, settings.threshold);
        if (reads)
            return sheet;
        return std::nullopt;
    }

    // The weakest scrims over the photographs that the texts need, checked by the measure.
    std::optional<QImage> soften(double margin)
    {
        const std::array<double, 3> veils =
            weakestVeils(texts, colours(), base(), depth, settings.threshold, margin);
        std::optional<QImage> sheet = finished(parts, veils);
        if (sheet)
            result.veils = veils;
        return sheet;
    }

    // A selection bar that does not stand out from the background it moves
    // over (1.5 : 1 or a CIELAB distance of 15) goes to the far end when the
    // texts over it read there too.
    void standOut(QImage &sheet)
    {
        for (const BarTone &bar : kBars) {
            if (!bar.accent)
                continue;
            const auto pair = std::find_if(apartPairs().begin(), apartPairs().end(),
                                           [&](const Apart &a) { return a.pictureA == bar.picture; });
            if (pair == apartPairs().end())
                continue;
            const auto [top, bottom] = barEnds(scheme, bar, tones.barShift[size_t(bar.picture)]);
            const QRgb mid = tone(result.palette.accent, (top + bottom) / 2, scheme.selectChroma);
            if (contrastRatio(mid, base()) >= pair->ratio || deltaE(toLab(mid), toLab(base())) >= pair->deltaE)
                continue;
            Tones flipped = tones;
            flipped.barShift[size_t(bar.picture)] = tones.base < 50 ? 100 : -100;
            if (const std::optional<QImage> distinct = finished(
                    makeParts(backgrounds, profile, templateSheet, result.palette, scheme, flipped), result.veils)) {
                tones = flipped;
                sheet = *distinct;
            }
        }
    }

    // The text that stayed furthest below in the last attempt, so the author sees how far.
    Status failure(const Profile &p) const
    {
        const QLocale russian(QLocale::Russian);
        QString worst;
        const auto lowest = std::min_element(last.contrast.begin(), last.contrast.end());
        if (lowest != last.contrast.end() && *lowest < settings.threshold) {
            const TextInk &t = texts[size_t(lowest - last.contrast.begin())];
            worst = QStringLiteral(" Хуже всего читается «%1» на экране %2: %3 : 1.")
                        .arg(t.text, t.screen, russian.toString(*lowest, 'f', 2));
        }
        return Status::failure(QStringLiteral("Из этой картинки не получается скин %1, в котором все надписи "
                                              "читаются (контраст не меньше %2 : 1).%3")
                                   .arg(p.labelText(), russian.toString(settings.threshold, 'f', 1), worst));
    }
};

Status makeSkin(const QImage &picture, int profile, const QImage &templateSheet, const IconSheets &icons,
                const FromPictureSettings &settings, SkinFromPicture &out)
{
    Generator g{profile, templateSheet, icons, settings};
    g.readColours(picture);
    g.cutPictures(picture);
    // A little above the targets: the prediction rounds as the veil does,
    // but the measure has the last word.
    double margin = 0.02;
    for (int round = 0; round < kMaxRounds; ++round) {
        if (g.barsMoved)
            g.recordTexts();
        g.solveTexts();
        g.keepApart();
        if (!g.flatBaseReads()) {
            if (!g.moveTones())
                break;
            continue;
        }
        if (std::optional<QImage> sheet = g.soften(margin)) {
            g.standOut(*sheet);
            g.result.sheet = *sheet;
            out = g.result;
            return Status::success();
        }
        margin += 0.1;
    }
    return g.failure(*profileByIndex(profile));
}

} // namespace

const std::array<ColourSchemeName, 4> &colourSchemeNames()
{
    static const std::array<ColourSchemeName, 4> names{{
        {ColourScheme::Tonal, "tonal", "тональная"},
        {ColourScheme::Vivid, "vivid", "яркая"},
        {ColourScheme::Fidelity, "fidelity", "как на фото"},
        {ColourScheme::Mono, "mono", "монохромная"},
    }};
    return names;
}

std::optional<ColourScheme> colourSchemeByKey(const QString &key)
{
    if (const ColourSchemeName *n = rowByKey(colourSchemeNames(), &ColourSchemeName::key, key))
        return n->scheme;
    return std::nullopt;
}

const std::array<VariantName, 3> &variantNames()
{
    return kVariantNames;
}

std::optional<Variant> variantByKey(const QString &key)
{
    if (const VariantName *v = rowByKey(kVariantNames, &VariantName::key, key))
        return v->variant;
    return std::nullopt;
}

QString variantCaption(Variant variant)
{
    const VariantName *v = rowOf(kVariantNames, &VariantName::variant, variant);
    return v ? QString::fromUtf8(v->caption) : QString();
}

Variant resolvedVariant(Variant variant, const Palette &palette)
{
    if (variant != Variant::Auto)
        return variant;
    return palette.meanLightness >= 50.0 ? Variant::Light : Variant::Dark;
}

Status makeSkinFromPicture(const QImage &picture, int profile, const QImage &templateSheet,
                           const IconSheets &icons, const FromPictureSettings &settings, SkinFromPicture &out)
{
    const Profile *p = profileByIndex(profile);
    if (!p)
        return Status::failure(QStringLiteral("Нет такого разрешения экрана."));
    if (picture.isNull())
        return Status::failure(QStringLiteral("Картинки нет: скин не из чего делать."));
    if (templateSheet.width() != p->screenWidth)
        return Status::failure(QStringLiteral("Шаблон сделан не для экрана %1.").arg(p->labelText()));

    // "Как на фото" where the bars at the key's own lightness leave no tones
    // that read (208 x 176 dark, say) becomes "яркая": chroma kept, tones moved.
    Status status = makeSkin(picture, profile, templateSheet, icons, settings, out);
    if (!status && settings.scheme == ColourScheme::Fidelity) {
        FromPictureSettings vivid = settings;
        vivid.scheme = ColourScheme::Vivid;
        if (makeSkin(picture, profile, templateSheet, icons, vivid, out))
            return Status::success();
    }
    return status;
}

QSize pictureSizeNeeded(int profile)
{
    QSize needed(1, 1);
    for (const Profile &p : allProfiles()) {
        if (profile != 0 && p.index != profile)
            continue;
        for (const int b : kBackgrounds)
            needed = needed.expandedTo(pictureRect(b, p.index)->rect().size());
    }
    return needed;
}

Status readPicture(const QString &path, int profile, QImage &out)
{
    return zelkor::readPicture(path, pictureSizeNeeded(profile), out);
}

QString skinNameForPicture(const QString &picturePath, int profile)
{
    return portedName(QFileInfo(picturePath).completeBaseName(), profile);
}

} // namespace zelkor::design
