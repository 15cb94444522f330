#include "edit.h"
#include "projectinput.h"

#include "project/projectfile.h"

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
    parser.addOption({QStringLiteral("size"),
                      QStringLiteral("для проекта (.zskin): изменить только этот размер, например 240x320 "
                                     "(по умолчанию — все размеры)"),
                      QStringLiteral("WxH")});
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
    if (parser.isSet(QStringLiteral("size")))
        return session.usageError(QStringLiteral("--size бывает только у проекта (.zskin)."));
    SkinImage skin;
    if (!session.readSkin(skinPath, skin) || !edit(skin))
        return SkinProblem;
    if (depth->isEmpty())
        depth = storedDepthOption(skinPath);
    if (depth->isEmpty())  // a depth no save offers: the editor's usual one
        depth = QString::fromLatin1(kColourDepths[kDefaultColourDepth].option);
    return session.writeSkin(skin.sheet, *depth, *output) ? Success : SkinProblem;
}

int runProjectEdit(const QCommandLineParser &parser, Session &session, const QString &projectPath,
                   const std::function<bool(SkinProject &project, int size)> &edit)
{
    const std::optional<QString> output = session.output(parser, kOutput);
    const std::optional<QString> depth = output ? session.depth(parser) : std::nullopt;
    if (!depth)
        return UsageError;
    int size = 0;
    if (parser.isSet(QStringLiteral("size"))) {
        size = profileIndexByLabel(parser.value(QStringLiteral("size")));
        if (!size)
            return session.usageError(QStringLiteral("нет размера «%1»; есть 176x208, 208x176, 240x320, 320x240, "
                                                     "352x416 и 416x352.")
                                          .arg(parser.value(QStringLiteral("size"))));
    }
    if (!session.mayWrite({*output}))
        return SkinProblem;
    ProjectReader projects(session);
    const SkinProject *read = projects.open(projectPath);
    if (!read)
        return SkinProblem;
    SkinProject project = *read;
    if (!edit(project, size))
        return SkinProblem;
    if (!depth->isEmpty())
        project.exporting.depthOption = *depth;
    return projects.write(project, *output) ? Success : SkinProblem;
}

} // namespace zelkor::cli
