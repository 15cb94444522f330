#include "scrim.h"

#include "colour.h"
#include "legibility.h"
#include "skinparts.h"

#include "preview/paintrecord.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <QLocale>

#include <algorithm>

namespace zelkor::design {

namespace {

// Strengths are tried in hundredths: what the author reads is what was measured.
constexpr int kSteps = 100;

bool reachesAll(const Legibility &measured, int slot, double minContrast, const std::vector<bool> &readBefore)
{
    for (size_t i = 0; i < measured.texts.size(); ++i) {
        const TextLegibility &t = measured.texts[i];
        if (t.contrast >= minContrast)
            continue;
        if (t.slot == slot || (i < readBefore.size() && readBefore[i]))
            return false;
    }
    return true;
}

} // namespace

void forEachTextOnPictures(const QImage &sheet, int profile, const IconSheets &icons,
                           const std::function<void(QRgb, int, const std::vector<QPoint> &)> &visit)
{
    if (!profileByIndex(profile) || sheet.isNull())
        return;
    PaintRecord record;
    std::vector<QPoint> pixels;
    for (const NamedScreen &shot : namedScreens()) {
        PreviewInput in = skinPreviewInput(sheet, profile, icons, shot.columns);
        in.record = &record;
        paintBoxPicture(shot, in);
        for (int op = 0; op < int(record.ops().size()); ++op) {
            const PaintOp &step = record.ops()[size_t(op)];
            if (step.kind != PaintOp::Text)
                continue;
            pixels.clear();
            for (const InkPixel &p : record.ink(op))
                if (p.underOp >= 0 && record.ops()[size_t(p.underOp)].kind == PaintOp::SheetBlock)
                    pixels.push_back(QPoint(p.x, p.y) + record.ops()[size_t(p.underOp)].sourceOffset);
            visit(step.colour, step.slot, pixels);
        }
    }
}

std::vector<TextBand> textBands(const QImage &sheet, int profile, const IconSheets &icons, int slot)
{
    std::vector<TextBand> bands;
    if (!profileByIndex(profile))
        return bands;
    std::array<QRect, kPictureCount> pictures;
    for (int i = 0; i < kPictureCount; ++i)
        pictures[size_t(i)] = pictureRect(i, profile)->rect();
    forEachTextOnPictures(sheet, profile, icons, [&](QRgb colour, int textSlot, const std::vector<QPoint> &ink) {
        if (slot != kEveryText && textSlot != slot)
            return;
        // The ink's box on each picture it lies on.
        std::array<QRect, kPictureCount> boxes{};
        std::array<int, kPictureCount> counts{};
        for (const QPoint &at : ink)
            for (int i = 0; i < kPictureCount; ++i)
                if (pictures[size_t(i)].contains(at)) {
                    boxes[size_t(i)] |= QRect(at, QSize(1, 1));
                    ++counts[size_t(i)];
                }
        for (int i = 0; i < kPictureCount; ++i)
            if (!boxes[size_t(i)].isNull())
                bands.push_back({i,
                                 boxes[size_t(i)].adjusted(-kBandGrowth, -kBandGrowth, kBandGrowth, kBandGrowth)
                                     & pictures[size_t(i)],
                                 colour, counts[size_t(i)]});
    });
    return bands;
}

namespace {

// The bands of `sheet` veiled in place, each toward `toneOf(band)`; a pixel
// under several bands is veiled once, by the first.
template <typename ToneOf>
void veilBands(QImage &sheet, const std::vector<TextBand> &bands, ToneOf toneOf, double strength)
{
    if (bands.empty() || strength <= 0)
        return;
    strength = std::min(strength, 1.0);
    QRect all;
    for (const TextBand &band : bands)
        all |= band.rect & sheet.rect();
    if (all.isEmpty())
        return;
    std::vector<bool> done(size_t(all.width()) * size_t(all.height()), false);
    uchar *bits = sheet.bits();
    const qsizetype stride = sheet.bytesPerLine();
    for (const TextBand &band : bands) {
        const QRgb tone = toneOf(band);
        const QRect r = band.rect & sheet.rect();
        for (int y = r.top(); y <= r.bottom(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(bits + y * stride);
            for (int x = r.left(); x <= r.right(); ++x) {
                const size_t at = size_t(y - all.top()) * size_t(all.width()) + size_t(x - all.left());
                if (done[at])
                    continue;
                done[at] = true;
                const QRgb p = line[x];
                line[x] = qRgb(veiledChannel(qRed(p), qRed(tone), strength),
                               veiledChannel(qGreen(p), qGreen(tone), strength),
                               veiledChannel(qBlue(p), qBlue(tone), strength));
            }
        }
    }
}

template <typename ToneOf>
QImage veiledBands(const QImage &sheet, const std::vector<TextBand> &bands, ToneOf toneOf, double strength)
{
    QImage out = sheet.convertToFormat(QImage::Format_RGB32);
    veilBands(out, bands, toneOf, strength);
    return out;
}

} // namespace

QImage withScrim(const QImage &sheet, const std::vector<TextBand> &bands, QRgb tone, double strength)
{
    return veiledBands(sheet, bands, [tone](const TextBand &) { return tone; }, strength);
}

void applyScrim(QImage &sheet, const std::vector<TextBand> &bands, QRgb tone, double strength)
{
    if (sheet.format() != QImage::Format_RGB32)
        sheet.convertTo(QImage::Format_RGB32);
    veilBands(sheet, bands, [tone](const TextBand &) { return tone; }, strength);
}

QImage scrimUnderTexts(const QImage &sheet, int profile, const IconSheets &icons, int picture, double strength)
{
    std::vector<TextBand> bands = textBands(sheet, profile, icons, kEveryText);
    bands.erase(std::remove_if(bands.begin(), bands.end(), [&](const TextBand &b) { return b.picture != picture; }),
                bands.end());
    // Each band toward the end of the scale its own text parts from more: a
    // light clock and dark names on one picture each get what they need.
    return veiledBands(sheet, bands,
                       [](const TextBand &b) {
                           return contrastRatio(b.ink, qRgb(0, 0, 0)) >= contrastRatio(b.ink, qRgb(255, 255, 255))
                                      ? qRgb(0, 0, 0)
                                      : qRgb(255, 255, 255);
                       },
                       strength);
}

ScrimFix fixSlotWithScrim(const QImage &sheet, int profile, const IconSheets &icons, int slot, double minContrast,
                          const QString &depthOption)
{
    ScrimFix fix;
    const std::vector<TextBand> bands = textBands(sheet, profile, icons, slot);
    if (bands.empty())
        return fix;
    const QRgb colour = readColourSlot(sheet, profile, slot);
    const Legibility before = measureSkinLegibility(sheet, profile, icons, depthOption);
    std::vector<bool> readBefore;
    for (const TextLegibility &t : before.texts)
        readBefore.push_back(t.contrast >= minContrast);
    // The end of the scale that parts from the text the more first; the
    // other when that one costs another text its contrast.
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    const bool darkFirst = contrastRatio(colour, black) >= contrastRatio(colour, white);
    for (const QRgb tone : {darkFirst ? black : white, darkFirst ? white : black}) {
        auto attempt = [&](int hundredths, QImage &made, Legibility &measured) {
            made = withScrim(sheet, bands, tone, hundredths / double(kSteps));
            measured = measureSkinLegibility(made, profile, icons, depthOption);
            return measured.texts.size() == before.texts.size()
                   && reachesAll(measured, slot, minContrast, readBefore);
        };
        QImage made;
        Legibility measured;
        if (!attempt(kSteps, made, measured))
            continue;
        QImage best = made;
        Legibility bestMeasure = measured;
        const int least = leastScrimHundredths([&](int hundredths) {
            if (!attempt(hundredths, made, measured))
                return false;
            best = made;
            bestMeasure = measured;
            return true;
        });
        fix.found = true;
        fix.tone = tone;
        fix.strength = least / double(kSteps);
        fix.sheet = best;
        fix.contrast = bestMeasure.slot(slot) ? bestMeasure.slot(slot)->worst : 21.0;
        return fix;
    }
    return fix;
}

int leastScrimHundredths(const std::function<bool(int)> &enough)
{
    int lo = 0, hi = kSteps;  // lo is not enough, hi is
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        (enough(mid) ? hi : lo) = mid;
    }
    return hi;
}

QString scrimFixText(double strength)
{
    return QStringLiteral("поставить подложку под тексты (сила %1)").arg(QLocale(QLocale::Russian).toString(strength, 'f', 2));
}

} // namespace zelkor::design
