// zelkor-skin overview: every screen of one skin side by side on one picture.
#include "command.h"
#include "scale.h"
#include "session.h"

#include "preview/overview.h"

#include <QFileInfo>

namespace zelkor::cli {

namespace {

const OutputOption kOutput{"файл картинки", "ФАЙЛ.png", "не указан файл картинки (-o ФАЙЛ.png)."};

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Рисует все экраны скина (список контактов и меню — с одной и с двумя колонками) рядом\n"
                       "на одной картинке PNG, с названием каждого экрана, именем файла скина и профилем."));
    declareOutput(parser, kOutput);
    declareScale(parser);
    declareForce(parser);
    parser.addPositionalArgument(QStringLiteral("СКИН.mbm"), QStringLiteral("файл скина"));
}

int run(const QCommandLineParser &parser, Session &session)
{
    const std::optional<QString> skinFile = session.oneInput(parser.positionalArguments(), OneInput::Skin);
    if (!skinFile)
        return UsageError;
    const std::optional<QString> output = session.output(parser, kOutput);
    if (!output)
        return UsageError;
    const std::optional<int> scale = readScale(parser, session);
    if (!scale)
        return UsageError;

    if (!session.mayWrite({*output}))
        return SkinProblem;
    SkinImage skin;
    const IconSheets *icons = session.readSkinToDraw(*skinFile, skin);
    if (!icons)
        return SkinProblem;
    const QImage picture = sheetOverview(QFileInfo(*skinFile).fileName(), skin.sheet, skin.profile, *icons);
    return session.writePng(enlargedByWholePixels(picture, *scale), *output) ? Success : SkinProblem;
}

} // namespace

const Command overviewCommand{"overview", "все экраны скина рядом на одной картинке", declare, run};

} // namespace zelkor::cli
