#include "frompicture.h"

#include "interest.h"
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
constexpr double kPushStep = 4.0;

// The pictures made from the photograph, softened by one veil each.
constexpr std::array<int, 3> kBackgrounds{Contacts, Chat, SettingsEl};
constexpr std::array<int, 4> kSelectionBars{Select1, Select2, SettingsSelect, AccountSel};

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

// One text of one screen: the colour under each of its ink pixels with the
// backgrounds as the photograph gives them, and where that colour came from:
// a background (an index into kBackgrounds), another text, or anything else.
enum : qint8 { kFixed = -1, kOverText = -2 };
struct TextInk {
    QString screen;
    QString text;
    int slot;
    QRgb colour;  // for a text in a fixed colour
    std::vector<QRgb> under;
    std::vector<qint8> from;
};

// The colours the backgrounds and the texts are drawn in to tell their pixels apart.
constexpr std::array<QRgb, 3> kMarkers{0xff010203u, 0xff040506u, 0xff070809u};
constexpr QRgb kTextMarker = 0xff0a0b0cu;

qint8 origin(QRgb plain, QRgb marked)
{
    if (marked == plain)
        return kFixed;
    if (marked == kTextMarker)
        return kOverText;
    for (size_t b = 0; b < kMarkers.size(); ++b)
        if (marked == kMarkers[b])
            return qint8(b);
    return kFixed;
}

// The texts of every named screen of `raw`; `marked` is the same sheet with
// the backgrounds in kMarkers and the text slots in kTextMarker.
std::vector<TextInk> collectTexts(const QImage &raw, const QImage &marked, int profile, const IconSheets &icons)
{
    std::vector<TextInk> texts;
    for (const NamedScreen &shot : namedScreens()) {
        PaintRecord plain, probe;
        PreviewInput in = skinPreviewInput(raw, profile, icons, shot.columns);
        in.record = &plain;
        paintBoxPicture(shot, in);
        PreviewInput markedIn = skinPreviewInput(marked, profile, icons, shot.columns);
        markedIn.record = &probe;
        paintBoxPicture(shot, markedIn);
        for (size_t op = 0; op < plain.ops().size() && op < probe.ops().size(); ++op) {
            const PaintOp &step = plain.ops()[op];
            if (step.kind != PaintOp::Text)
                continue;
            const std::vector<InkPixel> ink = plain.ink(int(op));
            const std::vector<InkPixel> inkMarked = probe.ink(int(op));
            if (ink.empty() || inkMarked.size() != ink.size())
                continue;
            TextInk text{shot.nameText(), step.text, step.slot, step.colour, {}, {}};
            for (size_t i = 0; i < ink.size(); ++i) {
                text.under.push_back(ink[i].under);
                text.from.push_back(origin(ink[i].under, inkMarked[i].under));
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
double percentileContrast(std::vector<double> &ratios)
{
    const size_t at = size_t(std::floor(0.05 * double(ratios.size())));
    std::nth_element(ratios.begin(), ratios.begin() + std::ptrdiff_t(at), ratios.end());
    return ratios[at];
}

// Predicts the measure for veils `veils`: the slots of the texts that fall
// below `target` at 24 bits or at `depth`, and whether a text in a fixed
// colour does. Empty and false: every text reaches it.
struct Verdict {
    std::vector<int> failing;
    bool fixedFails = false;
    bool ok() const { return failing.empty() && !fixedFails; }
};

Verdict judge(const std::vector<TextInk> &texts, const ColourSlots &colours, const std::array<double, 3> &veils,
              QRgb base, const QString &depth, double target)
{
    // The pixels over another text are left out: see legibleEverywhere.
    std::vector<QRgb> under;
    for (const TextInk &t : texts)
        for (size_t i = 0; i < t.under.size(); ++i)
            if (t.from[i] >= 0)
                under.push_back(veiledColour(t.under[i], base, veils[size_t(t.from[i])]));
            else if (t.from[i] == kFixed)
                under.push_back(t.under[i]);
    Verdict verdict;
    auto check = [&](const std::vector<QRgb> &pixels, const ColourSlots &inks) {
        size_t next = 0;
        std::vector<double> ratios;
        for (const TextInk &t : texts) {
            const double ink = luminance()(t.slot >= 0 ? inks[size_t(t.slot)] : t.colour);
            ratios.clear();
            for (size_t i = 0; i < t.under.size(); ++i) {
                if (t.from[i] == kOverText)
                    continue;
                const double back = luminance()(pixels[next++]);
                ratios.push_back((std::max(ink, back) + 0.05) / (std::min(ink, back) + 0.05));
            }
            if (ratios.empty() || percentileContrast(ratios) >= target)
                continue;
            if (t.slot < 0)
                verdict.fixedFails = true;
            else if (std::find(verdict.failing.begin(), verdict.failing.end(), t.slot) == verdict.failing.end())
                verdict.failing.push_back(t.slot);
        }
    };
    check(under, colours);
    if (isPreviewDepth(depth)) {
        QImage row(int(under.size()), 1, QImage::Format_RGB32);
        std::copy(under.begin(), under.end(), reinterpret_cast<QRgb *>(row.scanLine(0)));
        const QImage back = sheetAtDepth(row, depth);
        const QRgb *line = reinterpret_cast<const QRgb *>(back.constScanLine(0));
        check(std::vector<QRgb>(line, line + under.size()), coloursAtDepth(colours, depth));
    }
    std::sort(verdict.failing.begin(), verdict.failing.end());
    return verdict;
}

// The measure itself, on the finished sheet: every text of every screen at
// 24 bits and at the depth. A text that the layout draws over another text
// (at 208 x 176 the status line runs over the last contact's name) is judged
// on its pixels over everything else: a text over a text and both over a
// background cannot all differ by 4.5 : 1 unless the background is pure
// black or white.
bool legibleEverywhere(const QImage &sheet, int profile, const IconSheets &icons, const QString &depth,
                       double threshold)
{
    QImage marked = sheet;
    for (const TextTone &t : kTextTones)
        writeColourSlot(marked, profile, t.slot, kTextMarker);
    const std::vector<TextInk> texts = collectTexts(sheet, marked, profile, icons);
    return judge(texts, readColourSlots(sheet, profile), {}, 0, depth, threshold).ok();
}

struct Parts {
    QImage sheet;  // the template with bars and fills, backgrounds not yet written
    std::array<QImage, 3> backgrounds;
    QRgb base = 0;
};

QImage background(const QImage &picture, const QSize &size)
{
    const QRect crop = coverCrop(picture.size(), size, centreOfInterest(picture, size));
    return placeImage(picture, size, {FitMode::Cover, crop, {}});
}

Parts makeParts(const QImage &picture, int profile, const QImage &templateSheet, const Palette &palette,
                const Scheme &s)
{
    Parts parts;
    parts.sheet = templateCanvas(templateSheet, profile);
    parts.base = tone(palette.key, s.base, s.baseChroma);
    for (size_t b = 0; b < kBackgrounds.size(); ++b) {
        const QSize size = pictureRect(kBackgrounds[b], profile)->rect().size();
        parts.backgrounds[b] = kBackgrounds[b] == SettingsEl ? seamlessStrip(background(picture, size))
                                                             : background(picture, size);
    }
    auto bar = [&](int picture, const Lab &colour, double top, double bottom, double maxChroma) {
        const QSize size = pictureRect(picture, profile)->rect().size();
        writeBackPicture(parts.sheet, profile, picture, toneGradient(size, colour, top, bottom, maxChroma));
    };
    bar(Menuline, palette.key, s.barTop, s.barBottom, s.barChroma);
    bar(SettingsTop, palette.key, s.barTop, s.barBottom, s.barChroma);
    for (const int picture : kSelectionBars)
        bar(picture, palette.accent, s.selectTop, s.selectBottom, s.selectChroma);
    return parts;
}

QImage withBackgrounds(const Parts &parts, int profile, const std::array<QImage, 3> &pictures)
{
    QImage sheet = parts.sheet;
    for (size_t b = 0; b < kBackgrounds.size(); ++b)
        writeBackPicture(sheet, profile, kBackgrounds[b], pictures[b]);
    return sheet;
}

QImage veiledSheet(const Parts &parts, int profile, const std::array<double, 3> &veils)
{
    std::array<QImage, 3> pictures;
    for (size_t b = 0; b < pictures.size(); ++b)
        pictures[b] = veiled(parts.backgrounds[b], parts.base, veils[b]);
    return withBackgrounds(parts, profile, pictures);
}

// The colours: the menu's fills from the palette, each text a tone at its
// current lightness.
ColourSlots schemeColours(const Palette &palette, const Scheme &s, const std::array<double, 13> &textLightness)
{
    ColourSlots colours{};
    colours[3] = tone(palette.key, s.menuFill, s.barChroma);
    colours[4] = tone(palette.accent, s.menuSelection, s.selectChroma);
    colours[5] = tone(palette.accent, s.menuRing, s.selectChroma);
    for (const TextTone &t : kTextTones)
        colours[size_t(t.slot)] =
            tone(t.accent ? palette.accent : palette.key, textLightness[size_t(t.slot)], s.textChroma);
    return colours;
}

void writeColours(QImage &sheet, int profile, const ColourSlots &colours)
{
    for (int slot = 0; slot < kColourSlotCount; ++slot)
        writeColourSlot(sheet, profile, slot, colours[size_t(slot)]);
}

// The weakest veils that keep every text at `target`: each background in
// turn, the others as they stand (all start at full strength).
std::array<double, 3> weakestVeils(const std::vector<TextInk> &texts, const ColourSlots &colours, QRgb base,
                                   const QString &depth, double target)
{
    std::array<double, 3> veils{1.0, 1.0, 1.0};
    for (size_t b = 0; b < veils.size(); ++b) {
        veils[b] = 0.0;
        if (judge(texts, colours, veils, base, depth, target).ok())
            continue;
        double lo = 0.0, hi = 1.0;
        for (int i = 0; i < 10; ++i) {
            veils[b] = (lo + hi) / 2;
            (judge(texts, colours, veils, base, depth, target).ok() ? hi : lo) = veils[b];
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
    const Parts parts = makeParts(picture, profile, templateSheet, result.palette, scheme);

    std::array<double, 13> lightness{};
    for (const TextTone &t : kTextTones)
        lightness[size_t(t.slot)] = t.accent ? scheme.accentText : scheme.keyText;
    ColourSlots colours = schemeColours(result.palette, scheme, lightness);

    QImage raw = withBackgrounds(parts, profile, parts.backgrounds);
    std::array<QImage, 3> markers;
    for (size_t b = 0; b < markers.size(); ++b) {
        markers[b] = QImage(parts.backgrounds[b].size(), QImage::Format_RGB32);
        markers[b].fill(kMarkers[b]);
    }
    QImage marked = withBackgrounds(parts, profile, markers);
    writeColours(raw, profile, colours);
    writeColours(marked, profile, colours);
    for (const TextTone &t : kTextTones)
        writeColourSlot(marked, profile, t.slot, kTextMarker);
    const std::vector<TextInk> texts = collectTexts(raw, marked, profile, icons);

    // A little above the threshold: the prediction rounds as the veil does,
    // but the measure has the last word.
    double target = settings.threshold + 0.02;
    for (int round = 0; round < 64; ++round) {
        colours = schemeColours(result.palette, scheme, lightness);
        const Verdict flat = judge(texts, colours, {1.0, 1.0, 1.0}, parts.base, settings.depthOption, target);
        if (!flat.ok()) {
            // Even a flat base tone is not enough: those texts move toward
            // white or black, as far as they can.
            bool moved = false;
            for (const int slot : flat.failing) {
                double &l = lightness[size_t(slot)];
                const double next = scheme.toward > l ? std::min(scheme.toward, l + kPushStep)
                                                      : std::max(scheme.toward, l - kPushStep);
                moved = moved || next != l;
                l = next;
            }
            if (!moved)
                break;
            continue;
        }
        const std::array<double, 3> veils = weakestVeils(texts, colours, parts.base, settings.depthOption, target);
        QImage sheet = veiledSheet(parts, profile, veils);
        writeColours(sheet, profile, colours);
        if (legibleEverywhere(sheet, profile, icons, QString(), settings.threshold)
            && legibleEverywhere(sheet, profile, icons, settings.depthOption, settings.threshold)) {
            result.sheet = sheet;
            result.veils = veils;
            out = result;
            return Status::success();
        }
        target += 0.1;
    }
    return Status::failure(QStringLiteral("Из этой картинки не получается скин, в котором все надписи читаются "
                                          "(контраст не меньше %1 : 1).")
                               .arg(QLocale(QLocale::Russian).toString(settings.threshold, 'f', 1)));
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
