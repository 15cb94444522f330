// zelkor-skin overview: every screen of one skin side by side on one picture.
#include "command.h"
#include "scale.h"
#include "session.h"

#include "preview/overview.h"

#include <QFileInfo>

namespace zelkor::cli {

namespace {

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Рисует все экраны скина (список контактов и меню — с одной и с двумя колонками) рядом\n"
                       "на одной картинке PNG, с названием каждого экрана, именем файла скина и профилем."));
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("файл картинки"),
                      QStringLiteral("ФАЙЛ.png")});
    declareScale(parser);
    declareForce(parser);
    parser.addPositionalArgument(QStringLiteral("СКИН.mbm"), QStringLiteral("файл скина"));
}

int run(const QCommandLineParser &parser, Session &session)
{
    const QStringList skins = parser.positionalArguments();
    if (skins.size() != 1)
        return session.usageError(QStringLiteral("нужен ровно один файл скина, указано: %1.").arg(skins.size()));
    const QString output = parser.value(QStringLiteral("output"));
    if (output.isEmpty())
        return session.usageError(QStringLiteral("не указан файл картинки (-o ФАЙЛ.png)."));
    const std::optional<int> scale = readScale(parser, session);
    if (!scale)
        return UsageError;

    if (!session.mayWrite({output}))
        return SkinProblem;
    SkinImage skin;
    const IconSheets *icons = session.readSkinToDraw(skins.first(), skin);
    if (!icons)
        return SkinProblem;
    const QImage picture = sheetOverview(QFileInfo(skins.first()).fileName(), skin.sheet, skin.profile, *icons);
    return session.writePng(enlargedByWholePixels(picture, *scale), output) ? Success : SkinProblem;
}

} // namespace

const Command overviewCommand{"overview", "все экраны скина рядом на одной картинке", declare, run};

} // namespace zelkor::cli
