// zelkor-skin info: what the editor would show of each skin -- its profile,
// its sheet, and the thirteen colours as the colour panel lists them.
#include "command.h"
#include "projectinput.h"
#include "session.h"

#include "design/legibility.h"
#include "design/legibilitytext.h"
#include "skin/colourslots.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <QColor>

namespace zelkor::cli {

namespace {

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Показывает для каждого скина его профиль, размер листа, строки, которые занимает раскладка,\n"
        "тринадцать цветов в виде #rrggbb с подписями из панели цветов редактора и одной строкой\n"
        "читаемость: наименьший контраст текстов и цвета ниже 4,5 : 1 (подробно — zelkor-skin check).\n"
        "Код выхода 0, когда все скины читаются, 1, когда хотя бы один нет."));
    declareProjectSizes(parser);
    parser.addPositionalArgument(QStringLiteral("СКИН.mbm"), QStringLiteral("файлы скинов или проектов (.zskin)"),
                                 QStringLiteral("СКИН.mbm…"));
}

QString describe(const SkinImage &skin, const IconSheets *icons)
{
    const Profile &p = *profileByIndex(skin.profile);
    const QSize size = skin.sheet.size();
    QString text = QStringLiteral("  профиль: %1\n").arg(p.labelText());
    text += QStringLiteral("  лист: %1 x %2 точек; раскладка занимает строки 0–%3")
                .arg(size.width())
                .arg(size.height())
                .arg(p.layoutRows - 1);
    const ColourRowOrigin row = *colourRow(skin.profile);
    if (size.height() <= row.row) {
        // Thirteen colours read from beyond the sheet would be invented.
        text += QStringLiteral("\n  цвета: нет строки цветов (строка %1)\n").arg(row.row);
    } else {
        text += QStringLiteral("\n  цвета (строка %1, столбцы %2–%3):\n")
                    .arg(row.row)
                    .arg(row.firstColumn)
                    .arg(row.firstColumn + kColourSlotCount - 1);
        const ColourSlots colours = readColourSlots(skin.sheet, skin.profile);
        for (int slot = 0; slot < kColourSlotCount; ++slot)
            text += QStringLiteral("    %1  %2  %3\n")
                        .arg(slot, 2)
                        .arg(QColor(colours[slot]).name(), colourSlotLabel(slot).trimmed());
        if (icons)
            text += QStringLiteral("  читаемость: %1\n")
                        .arg(design::legibilitySummaryText(
                            design::measureSkinLegibility(skin.sheet, skin.profile, *icons), design::kDefaultMinContrast));
    }
    // A sheet shorter than its layout, several bitmaps in the file.
    for (const QString &line : skin.notice.split(u'\n', Qt::SkipEmptyParts))
        text += QStringLiteral("  внимание: ") + line + u'\n';
    return text;
}

int run(const QCommandLineParser &parser, Session &session)
{
    const QStringList skins = parser.positionalArguments();
    if (skins.isEmpty())
        return session.usageError(QStringLiteral("не указан ни один файл скина."));
    ProjectReader projects(session);
    const auto inputs = projects.inputs(skins, parser);
    if (!inputs)
        return UsageError;
    int code = Success;
    for (size_t i = 0; i < inputs->size(); ++i) {
        const SkinInput &input = (*inputs)[i];
        if (i > 0)
            session.print(QStringLiteral("\n"));
        session.print((input.profile ? input.shown() : input.path) + u'\n');
        SkinImage skin;
        if (input.profile) {
            if (projects.read(input, skin))
                session.print(describe(skin, session.iconSheets()));
            else
                code = SkinProblem;
            continue;
        }
        const Status read = session.readSkin(input.path, skin);
        if (read)
            session.print(describe(skin, session.iconSheets()));
        else {
            session.print(QStringLiteral("  профиль: нет — ") + oneLine(read) + u'\n');
            code = SkinProblem;
        }
    }
    return code;
}

} // namespace

const Command infoCommand{"info", "профиль, лист и цвета каждого скина", declare, run};

} // namespace zelkor::cli
