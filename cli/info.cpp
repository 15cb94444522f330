// zelkor-skin info: what the editor would show of each skin -- its profile,
// its sheet, and the thirteen colours as the colour panel lists them.
#include "command.h"
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
    parser.addPositionalArgument(QStringLiteral("СКИН.mbm"), QStringLiteral("файлы скинов"),
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
    if (size.height() < p.layoutRows)
        text += QStringLiteral(", строк %1–%2 в листе нет: эти части картинок будут белыми")
                    .arg(size.height())
                    .arg(p.layoutRows - 1);
    const ColourRowOrigin row = *colourRow(skin.profile);
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
                    .arg(design::legibilitySummaryText(design::measureSkinLegibility(skin.sheet, skin.profile, *icons),
                                                       design::kDefaultMinContrast));
    return text;
}

int run(const QCommandLineParser &parser, Session &session)
{
    const QStringList skins = parser.positionalArguments();
    if (skins.isEmpty())
        return session.usageError(QStringLiteral("не указан ни один файл скина."));
    int code = Success;
    for (qsizetype i = 0; i < skins.size(); ++i) {
        if (i > 0)
            session.print(QStringLiteral("\n"));
        session.print(skins[i] + u'\n');
        SkinImage skin;
        const Status read = session.readSkin(skins[i], skin);
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
