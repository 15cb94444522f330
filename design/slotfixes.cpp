#include "slotfixes.h"

#include "colour.h"
#include "legibility.h"
#include "palette.h"
#include "tonesolver.h"

#include "skin/sheet.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zelkor::design {

namespace {

// A text of one slot drawn across a text of another (a later text of the
// same screen whose ink meets the earlier one's), `slot` being either.
struct Crossing {
    int over = -1;
    int under = -1;
};
std::optional<Crossing> crossingOf(const Legibility &measure, int slot)
{
    for (size_t i = 0; i < measure.texts.size(); ++i) {
        const TextLegibility &over = measure.texts[i];
        for (size_t j = 0; j < i && over.slot >= 0; ++j) {
            const TextLegibility &under = measure.texts[j];
            if (under.screen == over.screen && under.slot >= 0 && under.slot != over.slot
                && (over.slot == slot || under.slot == slot) && under.ink.intersects(over.ink))
                return Crossing{over.slot, under.slot};
        }
    }
    return std::nullopt;
}

// The darkest and lightest luminance of what lies under the texts of `slot`,
// leaving out the ink of texts in `crossed` and the 5 % at either end, as the
// measure leaves out a few ink pixels over a detail.
std::optional<Flat> backgroundOf(const Legibility &measure, int slot, QRgb crossed)
{
    std::vector<double> ys;
    for (const TextLegibility &t : measure.texts)
        if (t.slot == slot)
            for (const QRgb under : t.under)
                if ((under | 0xff000000u) != (crossed | 0xff000000u))
                    ys.push_back(relativeLuminance(under));
    if (ys.empty())
        return std::nullopt;
    std::sort(ys.begin(), ys.end());
    const size_t cut = ys.size() / 20;
    return Flat{ys[cut], ys[ys.size() - 1 - cut]};
}

// The least scrim under the texts of `slot` toward `toward`, or else the end
// of the scale that parts more from its colour, with which the slot's own texts reach
// `minContrast`; what it costs other texts is for the caller to weigh (the
// text it crosses may need its band between the two).
ScrimFix leastScrimFor(const QImage &sheet, int profile, const IconSheets &icons, int slot, double minContrast,
                       const QString &depthOption, std::optional<QRgb> toward = {})
{
    ScrimFix fix;
    const std::vector<TextBand> bands = textBands(sheet, profile, icons, slot);
    if (bands.empty())
        return fix;
    const QRgb colour = readColourSlot(sheet, profile, slot);
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    fix.tone = toward ? *toward : contrastRatio(colour, black) >= contrastRatio(colour, white) ? black : white;
    auto worstAt = [&](int hundredths) {
        fix.sheet = withScrim(sheet, bands, fix.tone, hundredths / 100.0);
        const auto measured = measureSkinLegibility(fix.sheet, profile, icons, depthOption);
        const SlotLegibility *s = measured.slot(slot);
        return s ? s->worst : 21.0;
    };
    if (worstAt(100) < minContrast)
        return fix;
    const int least = leastScrimHundredths([&](int hundredths) { return worstAt(hundredths) >= minContrast; });
    fix.contrast = worstAt(least);
    fix.strength = least / 100.0;
    fix.found = true;
    return fix;
}

struct PairFix {
    bool found = false;
    QImage sheet;
    SlotFix over, under;
    double change = 0;
};

// A text drawn across another (`over` across `under`): no colour of `over`
// alone parts it from both that text and its picture. Both move: `over` to
// the tone nearest its own that parts it from its picture, lighter or
// darker, and `under` to the tone between that `over` and its own
// background (or the end of the scale a scrim then makes of it); a scrim
// under either where its colour alone still falls short. The pair with the
// least change of lightness whose texts all reach the threshold at the
// output depth, no other text that read falling below.
PairFix fixCrossingPair(const QImage &sheet, int profile, const IconSheets &icons, int over, int under,
                        double minContrast, const QString &outputDepth, bool scrim)
{
    PairFix best;
    const AsDrawn asDrawn = asDrawnAtDepth(outputDepth);
    const Legibility before = measureSkinLegibility(sheet, profile, icons, outputDepth);
    const QRgb overFrom = readColourSlot(sheet, profile, over), underFrom = readColourSlot(sheet, profile, under);
    const std::optional<Flat> overBack = backgroundOf(before, over, drawnAs(asDrawn, underFrom));
    const std::optional<Flat> underBack = backgroundOf(before, under, 0);
    if (!overBack || !underBack)
        return best;
    const Lab overLab = toLab(overFrom), underLab = toLab(underFrom);
    for (const ToneDirection d : {ToneDirection::Lighter, ToneDirection::Darker}) {
        const bool lighter = d == ToneDirection::Lighter;
        // `over` just far enough from its picture, or at the end of the scale
        // where the band under it must part it from `under` as well.
        const double overEnd = lighter ? 100.0 : 0.0;
        const double overReach = toneReaching(overLab, 1000.0, *overBack, minContrast, d, asDrawn).value_or(overEnd);
        std::vector<double> overTones{overReach};
        if (overReach != overEnd)
            overTones.push_back(overEnd);
        for (const double overL : overTones) {
            const QRgb overTo = tone(overLab, overL, 1000.0);
            const double y = relativeLuminance(drawnAs(asDrawn, overTo));
            const ToneDirection away = lighter ? ToneDirection::Darker : ToneDirection::Lighter;
            const double end = lighter ? 0.0 : 1.0;
            // Between `over` and its background; beyond both, just so far or at
            // the end of the scale (a scrim under `over` then leaves its band
            // between them); between `over` and the end a scrim under it gives.
            std::vector<double> underTones;
            const Flat beyond{std::min(y, underBack->darkest), std::max(y, underBack->lightest)};
            for (const std::optional<double> l :
                 {toneBetween(underLab, 1000.0, {y, y}, minContrast, *underBack, minContrast, away, {asDrawn}),
                  toneReaching(underLab, 1000.0, beyond, minContrast, away, asDrawn),
                  std::optional<double>(lighter ? 0.0 : 100.0),
                  scrim ? toneBetween(underLab, 1000.0, {y, y}, minContrast, {end, end}, minContrast, away, {asDrawn})
                        : std::nullopt})
                if (l)
                    underTones.push_back(*l);
            for (const double underL : underTones) {
                const QRgb underTo = tone(underLab, underL, 1000.0);
                const double change = std::abs(overL - overLab.L) + std::abs(underL - underLab.L);
                if (best.found && change >= best.change)
                    continue;
                // Where `over` crosses `under`, its band lies under both: the end
                // of the scale, or the grey that parts equally from the two.
                const double yUnder = relativeLuminance(drawnAs(asDrawn, underTo));
                const double middle = std::sqrt((y + 0.05) * (yUnder + 0.05)) - 0.05;
                const QRgb grey = tone(Lab{}, lightnessOfLuminance(middle), 0.0);
                for (const std::optional<QRgb> overScrim : {std::optional<QRgb>(), std::optional<QRgb>(grey)}) {
                    PairFix trial;
                    trial.sheet = sheet;
                    trial.change = change;
                    writeColourSlot(trial.sheet, profile, over, overTo);
                    writeColourSlot(trial.sheet, profile, under, underTo);
                    Legibility after = measureSkinLegibility(trial.sheet, profile, icons, outputDepth);
                    trial.over = {over, overFrom, {LightnessFix::Fixed, overTo, 21}, {}};
                    trial.under = {under, underFrom, {LightnessFix::Fixed, underTo, 21}, {}};
                    // The text beneath first: the band of the one across it goes
                    // over its band.
                    for (SlotFix *f : {&trial.under, &trial.over}) {
                        const SlotLegibility *s = after.slot(f->slot);
                        if (!s || s->worst >= minContrast || !scrim)
                            continue;
                        f->scrim = leastScrimFor(trial.sheet, profile, icons, f->slot, minContrast, outputDepth,
                                                 f == &trial.over ? overScrim : std::nullopt);
                        if (f->scrim.found) {
                            trial.sheet = f->scrim.sheet;
                            after = measureSkinLegibility(trial.sheet, profile, icons, outputDepth);
                        }
                    }
                    bool reads = after.texts.size() == before.texts.size();
                    for (size_t i = 0; reads && i < after.texts.size(); ++i) {
                        const TextLegibility &t = after.texts[i];
                        const bool ours = t.slot == over || t.slot == under;
                        reads = t.contrast >= minContrast || (!ours && before.texts[i].contrast < minContrast);
                    }
                    if (!reads)
                        continue;
                    for (SlotFix *f : {&trial.over, &trial.under}) {
                        const double worst = after.slot(f->slot) ? after.slot(f->slot)->worst : 21.0;
                        (f->scrim.found ? f->scrim.contrast : f->fix.contrast) = worst;
                    }
                    trial.found = true;
                    best = trial;
                    break;
                }
            }
        }
    }
    return best;
}

// A slot fixed before it moved with a pair is listed once: from the colour
// it had at the start to the colour it ends with, with the scrim under it if
// either step laid one, and the contrast it reads at in the end. False when
// it ends where it started, with no scrim.
bool mergeMoved(SlotFix &earlier, const SlotFix &moved)
{
    SlotFix merged = moved;
    merged.from = earlier.from;
    if (moved.fix.outcome != LightnessFix::Fixed && earlier.fix.outcome == LightnessFix::Fixed)
        merged.fix = earlier.fix;
    const double worst = moved.scrim.found ? moved.scrim.contrast : moved.fix.contrast;
    if (!merged.scrim.found && earlier.scrim.found)
        merged.scrim = earlier.scrim;
    (merged.scrim.found ? merged.scrim.contrast : merged.fix.contrast) = worst;
    if (merged.fix.outcome == LightnessFix::Fixed && merged.fix.colour == merged.from) {
        merged.fix.outcome = LightnessFix::AlreadyReaches;
        if (!merged.scrim.found)
            return false;
    }
    earlier = merged;
    return true;
}

} // namespace

SlotFixes fixSlots(const QImage &sheet, int profile, const IconSheets &icons, const Legibility &measure,
                   const std::vector<int> &which, double minContrast, const QString &outputDepth, bool scrim)
{
    SlotFixes made{sheet, {}};
    std::vector<SlotFix> &fixes = made.fixes;
    const AsDrawn asDrawn = asDrawnAtDepth(outputDepth);
    // A scrim changes what lies under the texts near its bands, and its new
    // pixels change again when saved at the output depth: the colours fixed
    // after it are chosen against the sheet as it will be written.
    Legibility current = measure;
    for (const int slot : which) {
        const QRgb from = readColourSlot(made.sheet, profile, slot);
        SlotFix f{slot, from, fixSlotLightness(current, slot, from, minContrast, asDrawn), {}};
        // Moved already with a text it crosses.
        if (f.fix.outcome == LightnessFix::AlreadyReaches)
            continue;
        if (f.fix.outcome == LightnessFix::Fixed) {
            writeColourSlot(made.sheet, profile, slot, f.fix.colour);
        } else if (scrim) {
            f.scrim = fixSlotWithScrim(made.sheet, profile, icons, slot, minContrast, outputDepth);
            if (f.scrim.found) {
                made.sheet = f.scrim.sheet;
                current = measureSkinLegibility(made.sheet, profile, icons, outputDepth);
            }
        }
        // A text drawn across another that neither its colour nor a scrim
        // saves: the two move together.
        const std::optional<Crossing> crossing =
            f.fix.outcome == LightnessFix::Fixed || f.scrim.found ? std::nullopt : crossingOf(current, slot);
        if (crossing) {
            const PairFix pair = fixCrossingPair(made.sheet, profile, icons, crossing->over, crossing->under,
                                                 minContrast, outputDepth, scrim);
            if (pair.found) {
                made.sheet = pair.sheet;
                current = measureSkinLegibility(made.sheet, profile, icons, outputDepth);
                for (SlotFix moved : {pair.over, pair.under}) {
                    if (moved.fix.colour == moved.from)
                        moved.fix.outcome = LightnessFix::AlreadyReaches;
                    moved.partner = moved.slot == crossing->over ? crossing->under : crossing->over;
                    if (moved.fix.outcome != LightnessFix::Fixed && !moved.scrim.found)
                        continue;
                    const auto earlier = std::find_if(fixes.begin(), fixes.end(),
                                                      [&](const SlotFix &e) { return e.slot == moved.slot; });
                    if (earlier == fixes.end())
                        fixes.push_back(moved);
                    else if (!mergeMoved(*earlier, moved))
                        fixes.erase(earlier);
                }
                continue;
            }
        }
        fixes.push_back(f);
    }
    return made;
}

} // namespace zelkor::design
