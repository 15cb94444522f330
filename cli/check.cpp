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
#include "design/slotfixes.h"
#include "skin/colourslots.h"
#include "skin/filedepth.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <QColor>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
    std::vector<int> failing;
    for (const SlotLegibility &s : result.measure.failingSlots(request.minContrast))
        failing.push_back(s.slot);
    SlotFixes made = fixSlots(skin.sheet, skin.profile, *icons, result.measure, failing, request.minContrast, depth,
                              request.scrim);
    skin.sheet = std::move(made.sheet);
    result.fixes = std::move(made.fixes);
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
