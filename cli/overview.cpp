// zelkor-skin overview: every screen of one skin side by side on one picture.
#include "command.h"
#include "projectinput.h"
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
    declareProjectSizes(parser);
    parser.addPositionalArgument(QStringLiteral("СКИН.mbm"),
                                 QStringLiteral("файл скина или проекта (.zskin); у проекта с несколькими размерами —\n"
                                                "картинка на размер, ФАЙЛ-WxH.png"));
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

    ProjectReader projects(session);
    const auto inputs = projects.inputs({*skinFile}, parser);
    if (!inputs)
        return UsageError;
    // One size, or one picture per size beside the name given.
    QStringList outputs;
    const QFileInfo given(*output);
    for (const SkinInput &input : *inputs)
        outputs << (inputs->size() == 1 ? *output
                                        : given.dir().filePath(QStringLiteral("%1-%2.png")
                                                                   .arg(given.completeBaseName(),
                                                                        profileByIndex(input.profile)->labelText())));
    if (!session.mayWrite(outputs))
        return SkinProblem;
    for (size_t i = 0; i < inputs->size(); ++i) {
        const SkinInput &input = (*inputs)[i];
        SkinImage skin;
        const IconSheets *icons = projects.readToDraw(input, skin);
        if (!icons)
            return SkinProblem;
        const QString title = QFileInfo(input.path).fileName()
                              + (input.profile ? u' ' + profileByIndex(input.profile)->labelText() : QString());
        const QImage picture = sheetOverview(title, skin.sheet, skin.profile, *icons);
        if (!session.writePng(enlargedByWholePixels(picture, *scale), outputs[qsizetype(i)]))
            return SkinProblem;
    }
    return Success;
}

} // namespace

const Command overviewCommand{"overview", "все экраны скина рядом на одной картинке", declare, run};

} // namespace zelkor::cli
