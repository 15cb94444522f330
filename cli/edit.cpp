#include "edit.h"

#include "skin/filedepth.h"
#include "skin/savename.h"

namespace zelkor::cli {

namespace {

const OutputOption kOutput{"файл скина, который записать", "ФАЙЛ", "не указано, куда писать (-o ФАЙЛ)."};

} // namespace

void declareEditOutput(QCommandLineParser &parser)
{
    declareOutput(parser, kOutput);
    declareDepth(parser, {"глубина цвета: %1 (по умолчанию та, с которой записан СКИН)"});
    declareForce(parser);
}

int runEdit(const QCommandLineParser &parser, Session &session, const QString &skinPath,
            const std::function<bool(SkinImage &skin)> &edit)
{
    const std::optional<QString> output = session.output(parser, kOutput);
    if (!output)
        return UsageError;
    std::optional<QString> depth = session.depth(parser);
    if (!depth)
        return UsageError;
    if (!session.mayWrite({*output}))
        return SkinProblem;
    SkinImage skin;
    if (!session.readSkin(skinPath, skin) || !edit(skin))
        return SkinProblem;
    if (depth->isEmpty())
        depth = storedDepthOption(skinPath);
    if (depth->isEmpty())  // a depth no save offers: the editor's usual one
        depth = QString::fromLatin1(kColourDepths[kDefaultColourDepth].option);
    return session.writeSkin(skin.sheet, *depth, *output) ? Success : SkinProblem;
}

} // namespace zelkor::cli
