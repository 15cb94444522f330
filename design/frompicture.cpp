#include "frompicture.h"

#include "interest.h"
#include "legibility.h"
#include "skinparts.h"

#include "preview/paintrecord.h"
#include "skin/depthpreview.h"
#include "skin/placement.h"
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

// Every text slot and the palette colour its tone comes from.
struct TextTone {
    int slot;
    bool accent;
};
constexpr TextTone kTextTones[] = {{0, false}, {1, true},  {2, true},  {6, false}, {7, true},
                                   {8, false}, {9, false}, {10, false}, {11, false}, {12, true}};
// The menu's fills: slot 3 in a key tone, 4 and 5 in accent tones.
constexpr int kFillSlots[] = {3, 4, 5};
// Tones move toward white or black in these steps; a text that must stay
// apart from the text drawn over it is pulled back to within 100 / 2^12 L*.
constexpr double kPushStep = 4.0;
constexpr int kPullBisections = 12;
constexpr int kMaxRounds = 200;
// A pulled-back text that still falls short tries these chromas, each at
// lightnesses up to kRefineSteps * kRefineStep further from the text over it.
constexpr double kPulledChroma[] = {60, 40, 20, 0};
constexpr int kRefineSteps = 30;
constexpr double kRefineStep = 0.1;
// A selection bar whose mean lightness lies this close to the base tone's (L*)
// does not stand out from the background.
constexpr double kDistinctFromBase = 12;

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
};

// What an ink pixel lies on, from the step the record names under it.
Origin originOf(const PaintRecord &record, const InkPixel &p)
{
    const PixelSource source = record.sourceOf(p.underOp, p.x, p.y);
    switch (source.kind) {
    case PixelSource::Slot:
        return {Origin::Slot, quint8(source.slot)};
    case PixelSource::Picture: {
        const auto b = std::find(kBackgrounds.begin(), kBackgrounds.end(), source.picture);
        if (b != kBackgrounds.end())
            return {Origin::Background, quint8(b - kBackgrounds.begin())};
        if (std::any_of(std::begin(kBars), std::end(kBars), [&](const BarTone &t) { return t.picture == source.picture; }))
            return {Origin::Bar, quint8(source.picture)};
        return {};
    }
    default:
        return {};
    }
}

// The texts of every named screen of `raw`, each ink pixel with what lies under it.
std::vector<TextInk> collectTexts(const QImage &raw, int profile, const IconSheets &icons)
{
    std::vector<TextInk> texts;
    for (const NamedScreen &shot : namedScreens()) {
        PaintRecord record;
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
            TextInk text{shot.nameText(), step.text, step.slot, step.colour, {}, {}};
            for (const InkPixel &p : ink) {
                text.under.push_back(p.under);
                text.from.push_back(originOf(record, p));
            }
            texts.push_back(std::move(text));
        }
    }
    return texts;
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

// Predicts the measure for veils `veils`: the slots of the texts that fall
// below `target` at 24 bits or at `depth`, what their failing pixels lie on,
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
              QRgb base, const QString &depth, double target)
{
    // The pixels no slot gives, as the photographs and bars make them; the
    // others are the colour of their slot, looked up at each depth.
    std::vector<QRgb> under;
    for (const TextInk &t : texts)
        for (size_t i = 0; i < t.under.size(); ++i)
            if (t.from[i].kind == Origin::Background)
                under.push_back(veiledColour(t.under[i], base, veils[t.from[i].index]));
            else if (t.from[i].kind != Origin::Slot)
                under.push_back(t.under[i]);
    Verdict verdict;
    verdict.contrast.assign(texts.size(), 21.0);
    auto check = [&](const std::vector<QRgb> &pixels, const ColourSlots &inks) {
        size_t next = 0;
        std::vector<double> ratios, backs;
        for (size_t index = 0; index < texts.size(); ++index) {
            const TextInk &t = texts[index];
            const double ink = luminance()(t.slot >= 0 ? inks[size_t(t.slot)] : t.colour);
            ratios.clear();
            backs.clear();
            for (size_t i = 0; i < t.under.size(); ++i) {
                backs.push_back(luminance()(t.from[i].kind == Origin::Slot ? inks[t.from[i].index] : pixels[next++]));
                ratios.push_back(ratio(ink, backs.back()));
            }
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
                if (ratios[i] >= target || t.from[i].kind == Origin::Fixed)
                    continue;
                const Blame b{t.slot, t.from[i], backs[i] < ink};
                if (std::find(verdict.blame.begin(), verdict.blame.end(), b) == verdict.blame.end())
                    verdict.blame.push_back(b);
            }
        }
    };
    check(under, colours);
    if (isPreviewDepth(depth)) {
        QImage row(int(std::max<size_t>(under.size(), 1)), 1, QImage::Format_RGB32);
        std::copy(under.begin(), under.end(), reinterpret_cast<QRgb *>(row.scanLine(0)));
        const QImage back = sheetAtDepth(row, depth);
        const QRgb *line = reinterpret_cast<const QRgb *>(back.constScanLine(0));
        check(std::vector<QRgb>(line, line + under.size()), coloursAtDepth(colours, depth));
    }
    std::sort(verdict.failing.begin(), verdict.failing.end());
    return verdict;
}

// The measure itself, on the finished sheet: every text of every screen at
// 24 bits and at the depth, none below the threshold.
bool legibleEverywhere(const QImage &sheet, int profile, const IconSheets &icons, const QString &depth,
                       double threshold)
{
    return measureSkinLegibility(sheet, profile, icons, depth).failingTexts(threshold).empty();
}

double towardBy(double from, double to, double step)
{
    return to > from ? std::min(to, from + step) : std::max(to, from - step);
}

// The lightness of a bar's first and last row, moved by `shift`.
std::pair<double, double> barEnds(const Scheme &s, const BarTone &bar, double shift)
{
    return {std::clamp((bar.accent ? s.selectTop : s.barTop) + shift, 0.0, 100.0),
            std::clamp((bar.accent ? s.selectBottom : s.barBottom) + shift, 0.0, 100.0)};
}

struct Parts {
    QImage sheet;   // the template with bars and fills, backgrounds not yet written
    std::array<QImage, 3> backgrounds;
};

QImage background(const QImage &picture, const QSize &size)
{
    const QRect crop = coverCrop(picture.size(), size, centreOfInterest(picture, size));
    return placeImage(picture, size, {FitMode::Cover, crop, {}});
}

QImage withBackgrounds(QImage sheet, int profile, const std::array<QImage, 3> &pictures)
{
    for (size_t b = 0; b < kBackgrounds.size(); ++b)
        writeBackPicture(sheet, profile, kBackgrounds[b], pictures[b]);
    return sheet;
}

// The photographs cut out; they do not change as the tones do.
std::array<QImage, 3> cutBackgrounds(const QImage &picture, int profile)
{
    std::array<QImage, 3> out;
    for (size_t b = 0; b < kBackgrounds.size(); ++b) {
        const QSize size = pictureRect(kBackgrounds[b], profile)->rect().size();
        out[b] = kBackgrounds[b] == SettingsEl ? seamlessStrip(background(picture, size))
                                               : background(picture, size);
    }
    return out;
}

Parts makeParts(const std::array<QImage, 3> &backgrounds, int profile, const QImage &templateSheet,
                const Palette &palette, const Scheme &s, const Tones &tones)
{
    Parts parts;
    parts.sheet = templateCanvas(templateSheet, profile);
    parts.backgrounds = backgrounds;
    for (const BarTone &bar : kBars) {
        const QSize size = pictureRect(bar.picture, profile)->rect().size();
        const auto [top, bottom] = barEnds(s, bar, tones.barShift[size_t(bar.picture)]);
        writeBackPicture(parts.sheet, profile, bar.picture,
                         toneGradient(size, bar.accent ? palette.accent : palette.key, top, bottom,
                                      bar.accent ? s.selectChroma : s.barChroma));
    }

    return parts;
}

QImage veiledSheet(const Parts &parts, int profile, QRgb base, const std::array<double, 3> &veils)
{
    std::array<QImage, 3> pictures;
    for (size_t b = 0; b < pictures.size(); ++b)
        pictures[b] = veiled(parts.backgrounds[b], base, veils[b]);
    return withBackgrounds(parts.sheet, profile, pictures);
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

// The flat-base verdict for other tones, to try them before taking them.
using VerdictOf = std::function<Verdict(const Tones &)>;

bool blames(const Verdict &verdict, int slot, const Origin &origin)
{
    return std::any_of(verdict.blame.begin(), verdict.blame.end(),
                       [&](const Blame &b) { return b.slot == slot && b.origin == origin; });
}

// Moves what lies under a text's failing pixels away from the text: false
// when it cannot go further that way (or is an icon or the template).
bool pushAway(const Blame &b, const Scheme &s, Tones &tones, bool &barsMoved, const VerdictOf &verdictOf)
{
    const double end = b.darker ? 0.0 : 100.0;
    switch (b.origin.kind) {
    case Origin::Background: {
        const double next = towardBy(tones.base, end, kPushStep);
        if (next == tones.base)
            return false;
        tones.base = next;
        return true;
    }
    case Origin::Bar: {
        double &shift = tones.barShift[b.origin.index];
        const double next = shift + (b.darker ? -kPushStep : kPushStep);
        const BarTone &bar = *std::find_if(std::begin(kBars), std::end(kBars),
                                           [&](const BarTone &t) { return t.picture == b.origin.index; });
        if (barEnds(s, bar, next) == barEnds(s, bar, shift))
            return false;
        shift = next;
        barsMoved = true;
        return true;
    }
    case Origin::Slot: {
        double &l = tones.lightness[b.origin.index];
        double next = towardBy(l, end, kPushStep);
        if (isTextSlot(b.origin.index) && next != l) {
            tones.pulledBy[b.origin.index] = b.slot;
            // Another text is pulled back toward the middle just as far as
            // the text over it needs, and kept there: the tones that part
            // both from each other and from the background lie close together.
            Tones trial = tones;
            double lo = l, hi = end;
            for (int i = 0; i < kPullBisections; ++i) {
                trial.lightness[b.origin.index] = (lo + hi) / 2;
                (blames(verdictOf(trial), b.slot, b.origin) ? lo : hi) = trial.lightness[b.origin.index];
            }
            next = hi;
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
// it from both once the depth has rounded it, so nearby tones of less chroma
// are tried, nearest first.
bool refinePulled(const Verdict &verdict, Tones &tones, const VerdictOf &verdictOf)
{
    for (const int slot : verdict.failing) {
        const int over = tones.pulledBy[size_t(slot)];
        if (over < 0)
            continue;
        const double from = tones.lightness[size_t(slot)];
        const double direction = from < tones.lightness[size_t(over)] ? -1.0 : 1.0;
        Tones trial = tones;
        for (const double chroma : kPulledChroma) {
            trial.chroma[size_t(slot)] = std::min(chroma, tones.chroma[size_t(slot)]);
            for (int step = 0; step <= kRefineSteps; ++step) {
                trial.lightness[size_t(slot)] = trial.limit[size_t(slot)] =
                    std::clamp(from + direction * kRefineStep * step, 0.0, 100.0);
                const Verdict v = verdictOf(trial);
                if (std::find(v.failing.begin(), v.failing.end(), slot) == v.failing.end()
                    && !blames(v, over, {Origin::Slot, quint8(slot)})) {
                    tones = trial;
                    return true;
                }
            }
        }
    }
    return false;
}

// One round of moves for texts that fall short even on the flat base tone.
// A text that can still go toward white or black does. One that cannot
// pushes away what lies under its failing pixels: the base tone, a bar, a
// fill, or, when it is another text, that text is pulled back toward the
// middle and kept there; so the three of them (text, text under it,
// background) end up in the only order that parts them all. False when
// nothing can move any more. `barsMoved` says the bars must be made again.
bool moveTones(const Verdict &verdict, const Scheme &s, Tones &tones, bool &barsMoved, const VerdictOf &verdictOf)
{
    bool moved = false;
    std::vector<Origin> done;
    for (const int slot : verdict.failing) {
        double &l = tones.lightness[size_t(slot)];
        if (l != tones.limit[size_t(slot)]) {
            l = towardBy(l, tones.limit[size_t(slot)], kPushStep);
            moved = true;
            continue;
        }
        for (const Blame &b : verdict.blame) {
            if (b.slot != slot || std::find(done.begin(), done.end(), b.origin) != done.end())
                continue;
            done.push_back(b.origin);
            moved = pushAway(b, s, tones, barsMoved, verdictOf) || moved;
        }
    }
    return moved || refinePulled(verdict, tones, verdictOf);
}

// The weakest veils that keep every text at `target`, or where the flat base
// tone gives it less, at `threshold`: each background in turn, the others as
// they stand (all start at full strength).
std::array<double, 3> weakestVeils(const std::vector<TextInk> &texts, const ColourSlots &colours, QRgb base,
                                   const QString &depth, double target, double threshold)
{
    std::array<double, 3> veils{1.0, 1.0, 1.0};
    const std::vector<double> flat = judge(texts, colours, veils, base, depth, target).contrast;
    auto enough = [&]() {
        const std::vector<double> now = judge(texts, colours, veils, base, depth, target).contrast;
        for (size_t i = 0; i < now.size(); ++i)
            if (now[i] < (flat[i] < target ? threshold : target))
                return false;
        return true;
    };
    for (size_t b = 0; b < veils.size(); ++b) {
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

} // namespace

const std::array<VariantName, 3> &variantNames()
{
    return kVariantNames;
}

std::optional<Variant> variantByKey(const QString &key)
{
    for (const VariantName &v : kVariantNames)
        if (key == QLatin1String(v.key))
            return v.variant;
    return std::nullopt;
}

QString variantCaption(Variant variant)
{
    for (const VariantName &v : kVariantNames)
        if (v.variant == variant)
            return QString::fromUtf8(v.caption);
    return {};
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

    SkinFromPicture result;
    result.profile = profile;
    result.palette = extractPalette(picture);
    result.variant = resolvedVariant(settings.variant, result.palette);
    const Scheme &scheme = result.variant == Variant::Light ? kLight : kDark;

    Tones tones;
    tones.base = scheme.base;
    tones.lightness[3] = scheme.menuFill;
    tones.lightness[4] = scheme.menuSelection;
    tones.lightness[5] = scheme.menuRing;
    tones.pulledBy.fill(-1);
    for (const TextTone &t : kTextTones) {
        tones.lightness[size_t(t.slot)] = t.accent ? scheme.accentText : scheme.keyText;
        tones.limit[size_t(t.slot)] = scheme.toward;
        tones.chroma[size_t(t.slot)] = scheme.textChroma;
    }
    for (const int slot : kFillSlots)
        tones.limit[size_t(slot)] = tones.lightness[size_t(slot)];

    const std::array<QImage, 3> backgrounds = cutBackgrounds(picture, profile);
    Parts parts;
    std::vector<TextInk> texts;
    bool barsMoved = true;
    // A little above the threshold: the prediction rounds as the veil does,
    // but the measure has the last word.
    double target = settings.threshold + 0.02;
    Verdict last;
    for (int round = 0; round < kMaxRounds; ++round) {
        const ColourSlots colours = schemeColours(result.palette, scheme, tones);
        if (barsMoved) {
            parts = makeParts(backgrounds, profile, templateSheet, result.palette, scheme, tones);
            QImage raw = withBackgrounds(parts.sheet, profile, backgrounds);
            writeColours(raw, profile, colours);
            texts = collectTexts(raw, profile, icons);
            barsMoved = false;
        }
        const QRgb base = tone(result.palette.key, tones.base, scheme.baseChroma);
        // A flat base tone is predicted exactly: no margin.
        const Verdict flatVerdict =
            judge(texts, colours, {1.0, 1.0, 1.0}, base, settings.depthOption, settings.threshold);
        last = flatVerdict;
        if (!flatVerdict.ok()) {
            // Even a flat base tone is not enough: move the tones.
            const VerdictOf verdictOf = [&](const Tones &trial) {
                return judge(texts, schemeColours(result.palette, scheme, trial), {1.0, 1.0, 1.0}, base,
                             settings.depthOption, settings.threshold);
            };
            if (flatVerdict.fixedFails || !moveTones(flatVerdict, scheme, tones, barsMoved, verdictOf))
                break;
            continue;
        }
        const std::array<double, 3> veils =
            weakestVeils(texts, colours, base, settings.depthOption, target, settings.threshold);
        auto finished = [&](const Parts &withBars) {
            QImage sheet = veiledSheet(withBars, profile, base, veils);
            writeColours(sheet, profile, colours);
            return legibleEverywhere(sheet, profile, icons, QString(), settings.threshold)
                           && legibleEverywhere(sheet, profile, icons, settings.depthOption, settings.threshold)
                       ? sheet
                       : QImage();
        };
        QImage sheet = finished(parts);
        if (!sheet.isNull()) {
            // A selection bar pushed to the background's own end no longer
            // shows which row is chosen: at the far end the texts over it may
            // read as well (a mid-grey one does), and then it stays there.
            for (const BarTone &bar : kBars) {
                const auto [top, bottom] = barEnds(scheme, bar, tones.barShift[size_t(bar.picture)]);
                if (!bar.accent || std::abs((top + bottom) / 2 - tones.base) >= kDistinctFromBase)
                    continue;
                Tones flipped = tones;
                flipped.barShift[size_t(bar.picture)] = tones.base < 50 ? 100 : -100;
                const QImage distinct =
                    finished(makeParts(backgrounds, profile, templateSheet, result.palette, scheme, flipped));
                if (!distinct.isNull()) {
                    tones = flipped;
                    sheet = distinct;
                }
            }
            result.sheet = sheet;
            result.veils = veils;
            out = result;
            return Status::success();
        }
        target += 0.1;
    }
    // The text that stayed furthest below in the last attempt, so the author sees how far.
    const QLocale russian(QLocale::Russian);
    QString worst;
    const auto lowest = std::min_element(last.contrast.begin(), last.contrast.end());
    if (lowest != last.contrast.end() && *lowest < settings.threshold) {
        const TextInk &t = texts[size_t(lowest - last.contrast.begin())];
        worst = QStringLiteral(" Хуже всего читается «%1» на экране %2: %3 : 1.")
                    .arg(t.text, t.screen, russian.toString(*lowest, 'f', 2));
    }
    return Status::failure(QStringLiteral("Из этой картинки не получается скин %1, в котором все надписи читаются "
                                          "(контраст не меньше %2 : 1).%3")
                               .arg(p->labelText(), russian.toString(settings.threshold, 'f', 1), worst));
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
    QString error;
    const QImage image = readImageFile(path, error, {kMaxPicturePixels, pictureSizeNeeded(profile)});
    if (image.isNull())
        return Status::failure(error);
    if (image.hasAlphaChannel()) {
        // What is transparent shows white, as on a page.
        QImage opaque(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter(&opaque).drawImage(0, 0, image);
        out = opaque;
    } else {
        out = image.convertToFormat(QImage::Format_RGB32);
    }
    return Status::success();
}

QString skinNameForPicture(const QString &picturePath, int profile)
{
    return portedName(QFileInfo(picturePath).completeBaseName(), profile);
}

} // namespace zelkor::design
