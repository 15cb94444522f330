// zelkor-skin check: can every text of the skin be read? Each text of the
// seven screens is measured against what lies under it (design/legibility.h),
// as the skin is or as a save depth gives it back; --fix writes the skin with
// every failing colour moved in lightness as the editor's "Исправить" does.
#include "command.h"
#include "projectinput.h"
#include "session.h"

#include "design/legibility.h"
#include "design/legibilitytext.h"
#include "design/lightnessfix.h"
#include "design/scrim.h"
#include "design/tonesolver.h"
#include "skin/colourslots.h"
#include "skin/filedepth.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <QColor>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace zelkor::cli {

namespace {

using namespace zelkor::design;

constexpr int kSomeTextFails = 3;

const OutputOption kFixOutput{"файл исправленного скина", "ФАЙЛ",
                              "--fix пишет исправленный скин: укажите файл (-o ФАЙЛ)."};

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Проверяет, читаются ли тексты скина: для каждой строки семи экранов предпросмотра — контраст\n"
        "(WCAG 2.x) её цвета с тем, что под ней; у текста берётся 5-й процентиль по его точкам.\n"
        "Для каждого цвета ниже порога — строка: подпись цвета, худший контраст, экран и текст.\n"
        "Код выхода: 0 — все тексты не ниже порога, 3 — есть ниже, 1 — ошибка файла\n(в том числе нет строки цветов), 2 — ошибка в командной строке.\n"
        "С --fix -o ФАЙЛ пишет скин, в котором каждый такой цвет исправлен, как это делает «Исправить» в редакторе,\n"
        "с глубиной цвета самого файла (или --depth); код выхода тогда говорит о записанном скине.\n"
        "Цвет, который ни светлее, ни темнее не спасти, --fix спасает подложкой: картинка под его текстами\n"
        "смягчается к чёрному или белому с наименьшей силой, при которой они читаются (--no-scrim: только цвета)."));
    parser.addOption({QStringLiteral("min-contrast"), QStringLiteral("порог контраста, от 1 до 21 (по умолчанию 4.5)"),
                      QStringLiteral("R"), QStringLiteral("4.5")});
    declareDepth(parser, {"мерить скин таким, каким его вернёт сохранение: %1"});
    parser.addOption({QStringLiteral("json"), QStringLiteral("один документ JSON на стандартный вывод")});
    parser.addOption({QStringLiteral("fix"), QStringLiteral("исправить цвета ниже порога и записать скин в -o")});
    parser.addOption({QStringLiteral("no-scrim"), QStringLiteral("с --fix: только цвета, без подложки под текстами")});
    declareOutput(parser, kFixOutput);
    declareForce(parser);
    declareProjectSizes(parser);
    parser.addPositionalArgument(QStringLiteral("СКИН.mbm"), QStringLiteral("файлы скинов или проектов (.zskin)"),
                                 QStringLiteral("СКИН.mbm…"));
}

struct Request {
    double minContrast = kDefaultMinContrast;
    QString depth;  // "/c8", empty: as the file is
    bool json = false;
    bool fix = false;
    bool scrim = true;  // --fix may soften the pictures under texts no colour can save
    QString output;
};

QString colourName(QRgb colour)
{
    return QColor(colour).name();
}

double twoDecimals(double ratio)
{
    return cutRatio(ratio, 2);
}

// One fixed slot: what it was and what it became, by its colour or by a
// scrim under its texts.
struct SlotFix {
    int slot;
    QRgb from;
    LightnessFix fix;
    ScrimFix scrim;
};

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
    auto drawn = [&](QRgb c) { return asDrawn ? asDrawn(c) : c; };
    const Legibility before = measureSkinLegibility(sheet, profile, icons, outputDepth);
    const QRgb overFrom = readColourSlot(sheet, profile, over), underFrom = readColourSlot(sheet, profile, under);
    const std::optional<Flat> overBack = backgroundOf(before, over, drawn(underFrom));
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
            const double y = relativeLuminance(drawn(overTo));
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
                const double yUnder = relativeLuminance(drawn(underTo));
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

struct FileResult {
    QString file;
    int profile = 0;
    Legibility measure;
    std::vector<SlotFix> fixes;
    QString written;    // with --fix: the skin written
    Legibility fixed;   // and its measure at the depth it was written at

    // What the exit code speaks of: the skin written, when there is one.
    const Legibility &verdict() const { return written.isEmpty() ? measure : fixed; }
};

bool failsAnywhere(const Legibility &measure, double minContrast)
{
    return measure.lowest() < minContrast;
}

QJsonObject jsonOf(const FileResult &r, const Request &request)
{
    QJsonArray slotList;
    for (const SlotLegibility &s : r.measure.perSlot) {
        const TextLegibility &t = r.measure.texts[size_t(s.text)];
        slotList.append(QJsonObject{{QStringLiteral("slot"), s.slot},
                                 {QStringLiteral("label"), colourSlotLabel(s.slot).trimmed()},
                                 {QStringLiteral("worst"), twoDecimals(s.worst)},
                                 {QStringLiteral("screen"), t.screen},
                                 {QStringLiteral("text"), t.text}});
    }
    QJsonArray texts;
    for (const TextLegibility &t : r.measure.texts)
        texts.append(QJsonObject{
            {QStringLiteral("screen"), t.screen},
            {QStringLiteral("text"), t.text},
            {QStringLiteral("slot"), t.slot < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(t.slot)},
            {QStringLiteral("colour"), colourName(t.colour)},
            {QStringLiteral("contrast"), twoDecimals(t.contrast)},
            {QStringLiteral("ink"), QJsonArray{t.ink.x(), t.ink.y(), t.ink.width(), t.ink.height()}}});
    QJsonObject file{{QStringLiteral("file"), r.file},
                     {QStringLiteral("profile"), r.profile},
                     {QStringLiteral("depth"), request.depth.isEmpty() ? QStringLiteral("as-is") : request.depth.mid(1)},
                     {QStringLiteral("min_contrast"), request.minContrast},
                     {QStringLiteral("ok"), !failsAnywhere(r.measure, request.minContrast)},
                     {QStringLiteral("slots"), slotList},
                     {QStringLiteral("texts"), texts}};
    if (request.fix) {
        QJsonArray fixes;
        for (const SlotFix &f : r.fixes) {
            QJsonObject entry{{QStringLiteral("slot"), f.slot}, {QStringLiteral("from"), colourName(f.from)}};
            if (f.fix.outcome == LightnessFix::Fixed) {
                entry.insert(QStringLiteral("to"), colourName(f.fix.colour));
                entry.insert(QStringLiteral("worst"), twoDecimals(f.scrim.found ? f.scrim.contrast : f.fix.contrast));
                if (f.scrim.found)
                    entry.insert(QStringLiteral("scrim"), f.scrim.strength);
            } else if (f.scrim.found) {
                entry.insert(QStringLiteral("to"), colourName(f.from));
                entry.insert(QStringLiteral("scrim"), f.scrim.strength);
                entry.insert(QStringLiteral("worst"), twoDecimals(f.scrim.contrast));
            } else {
                entry.insert(QStringLiteral("to"), QJsonValue(QJsonValue::Null));
            }
            fixes.append(entry);
        }
        file.insert(QStringLiteral("fixes"), fixes);
        file.insert(QStringLiteral("written"), QJsonObject{{QStringLiteral("file"), r.written},
                                                           {QStringLiteral("ok"), !failsAnywhere(r.fixed, request.minContrast)},
                                                           {QStringLiteral("lowest"), twoDecimals(r.fixed.lowest())}});
    }
    return file;
}

QString textOf(const FileResult &r, const Request &request)
{
    QString text = r.file + u'\n';
    for (const SlotLegibility &s : r.measure.failingSlots(request.minContrast)) {
        const TextLegibility &t = r.measure.texts[size_t(s.text)];
        text += QStringLiteral("  %1: %2 — «%3» %4\n")
                    .arg(colourSlotLabel(s.slot).trimmed(), ratioText(s.worst, 2), t.text, onScreenText(t.screen));
    }
    for (const SlotFix &f : r.fixes) {
        const QString label = colourSlotLabel(f.slot).trimmed();
        if (f.fix.outcome == LightnessFix::Fixed && f.scrim.found)
            text += QStringLiteral("  исправлено: %1 %2 → %3, %4 (%5)\n")
                        .arg(label, colourName(f.from), colourName(f.fix.colour), scrimFixText(f.scrim.strength),
                             ratioText(f.scrim.contrast, 2));
        else if (f.fix.outcome == LightnessFix::Fixed)
            text += QStringLiteral("  исправлено: %1 %2 → %3 (%4)\n")
                        .arg(label, colourName(f.from), colourName(f.fix.colour), ratioText(f.fix.contrast, 2));
        else if (f.scrim.found)
            text += QStringLiteral("  исправлено: %1 — %2 (%3)\n")
                        .arg(label, scrimFixText(f.scrim.strength), ratioText(f.scrim.contrast, 2));
        else
            text += QStringLiteral("  не исправить: %1 — ни светлее, ни темнее порог не достигается\n").arg(label);
    }
    text += QStringLiteral("  итог: %1\n").arg(legibilitySummaryText(r.measure, request.minContrast));
    if (!r.written.isEmpty())
        text += QStringLiteral("  записан %1: %2\n")
                    .arg(QDir::toNativeSeparators(r.written), legibilitySummaryText(r.fixed, request.minContrast));
    return text;
}

// Fixes every failing slot of `skin` in its sheet; the fixes made, in slot order.
// A slot no colour can save gets the least scrim under its texts, unless
// --no-scrim.
std::vector<SlotFix> fixSlots(SkinImage &skin, const IconSheets &icons, const Legibility &measure,
                              const Request &request, const QString &outputDepth)
{
    std::vector<SlotFix> fixes;
    const AsDrawn asDrawn = asDrawnAtDepth(outputDepth);
    // A scrim changes what lies under the texts near its bands, and its new
    // pixels change again when saved at the output depth: the colours fixed
    // after it are chosen against the sheet as it will be written.
    Legibility current = measure;
    for (const SlotLegibility &s : measure.failingSlots(request.minContrast)) {
        const QRgb from = readColourSlot(skin.sheet, skin.profile, s.slot);
        SlotFix f{s.slot, from, fixSlotLightness(current, s.slot, from, request.minContrast, asDrawn), {}};
        // Moved already with a text it crosses.
        if (f.fix.outcome == LightnessFix::AlreadyReaches)
            continue;
        if (f.fix.outcome == LightnessFix::Fixed) {
            writeColourSlot(skin.sheet, skin.profile, s.slot, f.fix.colour);
        } else if (request.scrim) {
            f.scrim = fixSlotWithScrim(skin.sheet, skin.profile, icons, s.slot, request.minContrast, outputDepth);
            if (f.scrim.found) {
                skin.sheet = f.scrim.sheet;
                current = measureSkinLegibility(skin.sheet, skin.profile, icons, outputDepth);
            }
        }
        // A text drawn across another that neither its colour nor a scrim
        // saves: the two move together.
        const std::optional<Crossing> crossing =
            f.fix.outcome == LightnessFix::Fixed || f.scrim.found ? std::nullopt : crossingOf(current, s.slot);
        if (crossing) {
            const PairFix pair = fixCrossingPair(skin.sheet, skin.profile, icons, crossing->over, crossing->under,
                                                 request.minContrast, outputDepth, request.scrim);
            if (pair.found) {
                skin.sheet = pair.sheet;
                current = measureSkinLegibility(skin.sheet, skin.profile, icons, outputDepth);
                for (SlotFix moved : {pair.over, pair.under}) {
                    if (moved.fix.colour == moved.from)
                        moved.fix.outcome = LightnessFix::AlreadyReaches;
                    if (moved.fix.outcome == LightnessFix::Fixed || moved.scrim.found)
                        fixes.push_back(moved);
                }
                continue;
            }
        }
        fixes.push_back(f);
    }
    return fixes;
}

bool checkSkin(Session &session, ProjectReader &projects, const SkinInput &input, const Request &request,
               FileResult &result)
{
    const QString &path = input.path;
    SkinImage skin;
    const IconSheets *icons = projects.readToDraw(input, skin);
    if (!icons)
        return false;
    // A sheet that ends above its colour row has no colours to measure:
    // thirteen read from beyond it would be invented.
    if (const ColourRowOrigin row = *colourRow(skin.profile); skin.sheet.height() <= row.row) {
        session.problem(QStringLiteral("В скине «%1» нет строки цветов (строка %2): тексты не измерить.")
                            .arg(QDir::toNativeSeparators(path))
                            .arg(row.row));
        return false;
    }
    result.file = input.profile ? input.shown() : path;
    result.profile = skin.profile;
    result.measure = measureSkinLegibility(skin.sheet, skin.profile, *icons, request.depth);
    if (!request.fix)
        return true;

    const QString depth = !request.depth.isEmpty() ? request.depth : storedDepthOption(path);
    if (depth.isEmpty()) {
        session.problem(QStringLiteral("Не удаётся узнать глубину цвета скина «%1»; укажите её: --depth.")
                            .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    result.fixes = fixSlots(skin, *icons, result.measure, request, depth);
    if (!session.writeSkin(skin.sheet, depth, request.output))
        return false;
    result.written = request.output;
    result.fixed = measureSkinLegibility(skin.sheet, skin.profile, *icons, depth);
    return true;
}

int run(const QCommandLineParser &parser, Session &session)
{
    Request request;
    const QStringList skins = parser.positionalArguments();
    if (skins.isEmpty())
        return session.usageError(QStringLiteral("не указан ни один файл скина."));
    if (const std::optional<double> ratio = session.minContrast(parser))
        request.minContrast = *ratio;
    else
        return UsageError;
    if (const std::optional<QString> depth = session.depth(parser))
        request.depth = *depth;
    else
        return UsageError;
    request.json = parser.isSet(QStringLiteral("json"));
    session.setListWritten(!request.json);
    request.fix = parser.isSet(QStringLiteral("fix"));
    request.scrim = !parser.isSet(QStringLiteral("no-scrim"));
    if (request.fix) {
        const std::optional<QString> output = session.output(parser, kFixOutput);
        if (!output)
            return UsageError;
        request.output = *output;
        if (!session.oneInput(skins, OneInput::SkinToFix))
            return UsageError;
    } else if (!parser.value(QStringLiteral("output")).isEmpty()) {
        return session.usageError(QStringLiteral("-o нужен только вместе с --fix."));
    }

    ProjectReader projects(session);
    const auto inputs = projects.inputs(skins, parser);
    if (!inputs)
        return UsageError;
    if (request.fix && inputs->front().profile)
        return session.usageError(QStringLiteral("--fix исправляет файл скина, а не проект."));
    int code = Success;
    QJsonArray files;
    for (const SkinInput &input : *inputs) {
        FileResult result;
        if (!checkSkin(session, projects, input, request, result)) {
            code = SkinProblem;
            if (request.json)
                files.append(QJsonObject{{QStringLiteral("file"), input.shown()}, {QStringLiteral("error"), true}});
            continue;
        }
        if (code == Success && failsAnywhere(result.verdict(), request.minContrast))
            code = kSomeTextFails;
        if (request.json)
            files.append(jsonOf(result, request));
        else
            session.print(textOf(result, request));
    }
    if (request.json)
        session.print(QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("files"), files}}).toJson()));
    return code;
}

} // namespace

const Command checkCommand{"check", "читаются ли тексты скина; исправление цветов", declare, run};

} // namespace zelkor::cli
