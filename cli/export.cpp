// zelkor-skin export: the skins of a project, one file per size, named as
// Save names them, in one folder.
#include "command.h"
#include "projectinput.h"

#include "project/projectfile.h"
#include "skin/profiles.h"
#include "skin/savedepth.h"

namespace zelkor::cli {

namespace {

const OutputOption kOutput{"папка для скинов (создаётся, если её нет)", "ПАПКА", "не указана папка для скинов (-o ПАПКА)."};

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Записывает скины проекта (.zskin), по файлу на размер, под именами, которые дало бы «Сохранить»\n"
        "(extskin_240x320_ИМЯ.mbm). Картинки каждого размера делаются из своих источников для этого размера.\n"
        "Без --size — размеры из настроек экспорта проекта (обычно все шесть)."));
    declareProjectSizes(parser);
    declareDepth(parser, {"глубина цвета: %1 (по умолчанию из настроек экспорта проекта)"});
    declareOutput(parser, kOutput);
    declareForce(parser);
    parser.addPositionalArgument(QStringLiteral("ПРОЕКТ.zskin"), QStringLiteral("файл проекта"));
}

int run(const QCommandLineParser &parser, Session &session)
{
    const std::optional<QString> path = session.oneInput(parser.positionalArguments(), OneInput::Skin);
    const std::optional<QString> folder = path ? session.output(parser, kOutput) : std::nullopt;
    const std::optional<QString> depthGiven = folder ? session.depth(parser) : std::nullopt;
    if (!depthGiven)
        return UsageError;
    ProjectReader projects(session);
    const SkinProject *project = projects.open(*path);
    if (!project)
        return SkinProblem;
    const auto sizes = projectSizes(parser, session, project->exporting.profiles);
    if (!sizes)
        return UsageError;
    const QString depth = depthGiven->isEmpty() ? project->exporting.depthOption : *depthGiven;
    const QString name = project->name.isEmpty() ? QStringLiteral("skin") : project->name;
    QStringList targets;
    for (int profile : *sizes)
        targets << exportedSkinPath(*folder, name, profile);
    // Nothing is written when anything would be refused.
    if (!session.mayWrite(targets) || !session.makeFolder(*folder))
        return SkinProblem;
    for (size_t i = 0; i < sizes->size(); ++i) {
        const int profile = (*sizes)[i];
        QImage sheet;
        if (!projects.sheet(*project, profile, sheet))
            return SkinProblem;
        if (project->exporting.smooth)
            sheet = smoothedSheet(sheet, profile, depth);
        if (!session.writeSkin(sheet, depth, targets[qsizetype(i)]))
            return SkinProblem;
    }
    return Success;
}

} // namespace

const Command exportCommand{"export", "скины всех размеров из проекта (.zskin)", declare, run};

} // namespace zelkor::cli
