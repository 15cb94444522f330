// zelkor-skin project new: a skin project from a template size, from a skin
// file (its pixels kept, the other sizes ported from it) or from a picture
// (the generator's skin of every size).
#include "command.h"
#include "projectinput.h"

#include "design/frompicture.h"
#include "skin/filedepth.h"
#include "skin/profiles.h"
#include "skin/savename.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QRegularExpression>

namespace zelkor::cli {

namespace {

const OutputOption kOutput{"файл проекта, который записать", "ПРОЕКТ.zskin", "не указан файл проекта (-o ПРОЕКТ.zskin)."};

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Делает проект скина (.zskin) — один дизайн для всех шести размеров экрана:\n"
        "  --template WxH        из шаблона этого размера;\n"
        "  --from-skin СКИН.mbm  из файла скина: его картинки и цвета, другие размеры переносятся из него,\n"
        "                        пока для картинок не заданы источники (set-picture);\n"
        "  --from-picture ФАЙЛ   из картинки, как from-picture, для всех размеров.\n"
        "Скины всех размеров из проекта пишет zelkor-skin export."));
    parser.addOption({QStringLiteral("template"), QStringLiteral("размер шаблона, например 240x320"),
                      QStringLiteral("WxH")});
    parser.addOption({QStringLiteral("from-skin"), QStringLiteral("файл скина"), QStringLiteral("СКИН.mbm")});
    parser.addOption({QStringLiteral("from-picture"), QStringLiteral("картинка (JPEG, PNG, BMP, …)"),
                      QStringLiteral("КАРТИНКА")});
    parser.addOption({QStringLiteral("variant"), QStringLiteral("с --from-picture: light, dark или auto (по умолчанию auto)"),
                      QStringLiteral("ВАРИАНТ"), QStringLiteral("auto")});
    declareDepth(parser, {"глубина цвета экспорта: %1 (по умолчанию c24; с --from-skin — глубина скина, "
                          "с --from-picture — c16)"});
    declareOutput(parser, kOutput);
    declareForce(parser);
    parser.addPositionalArgument(QStringLiteral("new"), QStringLiteral("сделать новый проект"));
}

// The skin's name without the prefix Save gave it ("extskin_240x320_Море.mbm" -> "Море").
QString skinName(const QString &path, int profile)
{
    QString name = QFileInfo(path).completeBaseName();
    if (name.startsWith(savePrefix(profile)))
        name = name.mid(savePrefix(profile).size());
    return name;
}

// A path as a shell takes it back: quoted where it holds more than plain characters.
QString shellWord(const QString &path)
{
    static const QRegularExpression plain(QStringLiteral("^[\\w./+,:@%=-]+$"),
                                          QRegularExpression::UseUnicodePropertiesOption);
    if (plain.match(path).hasMatch())
        return path;
    QString quoted = path;
    quoted.replace(u'\'', QLatin1String("'\\''"));
    return u'\'' + quoted + u'\'';
}

bool fromPicture(Session &session, ProjectReader &projects, const QString &picturePath, design::Variant variant,
                 const QString &depth, const QString &name, SkinProject &out, std::vector<PortedSize> &ported)
{
    QImage picture;
    if (const Status s = design::readPicture(picturePath, 0, picture); !s) {
        session.problem(s);
        return false;
    }
    QFile file(picturePath);
    if (!file.open(QIODevice::ReadOnly)) {
        session.problem(QStringLiteral("Не удаётся прочитать файл «%1».").arg(native(picturePath)));
        return false;
    }
    const IconSheets *icons = session.iconSheets();
    if (!icons)
        return false;
    const Status s = projectFromPicture(picture, file.readAll(), projects.sheets(), *icons, {variant, depth}, name,
                                        profileIndexByLabel(QStringLiteral("240x320")), out, ported);
    if (!s)
        session.problem(s);
    return s.ok();
}

int run(const QCommandLineParser &parser, Session &session)
{
    const QStringList args = parser.positionalArguments();
    if (args != QStringList{QStringLiteral("new")})
        return session.usageError(QStringLiteral("ожидается: project new (--template WxH | --from-skin СКИН.mbm | "
                                                 "--from-picture КАРТИНКА) -o ПРОЕКТ.zskin."));
    const int sources = int(parser.isSet(QStringLiteral("template"))) + int(parser.isSet(QStringLiteral("from-skin")))
                        + int(parser.isSet(QStringLiteral("from-picture")));
    if (sources != 1)
        return session.usageError(QStringLiteral("нужно ровно одно из --template, --from-skin, --from-picture."));
    const std::optional<QString> output = session.output(parser, kOutput);
    std::optional<QString> depth = output ? session.depth(parser) : std::nullopt;
    if (!depth)
        return UsageError;
    const auto variant = design::variantByKey(parser.value(QStringLiteral("variant")));
    if (!variant)
        return session.usageError(
            QStringLiteral("нет варианта «%1»; есть light, dark и auto.").arg(parser.value(QStringLiteral("variant"))));
    const int templateSize = profileIndexByLabel(parser.value(QStringLiteral("template")));
    if (parser.isSet(QStringLiteral("template")) && !templateSize)
        return session.usageError(QStringLiteral("нет размера «%1»; есть 176x208, 208x176, 240x320, 320x240, 352x416 "
                                                 "и 416x352.")
                                      .arg(parser.value(QStringLiteral("template"))));
    if (!session.mayWrite({*output}))
        return SkinProblem;

    ProjectReader projects(session);
    const QString name = QFileInfo(*output).completeBaseName();
    SkinProject project;
    std::vector<PortedSize> ported;
    if (templateSize) {
        QImage base;
        if (!projects.templateSheet(templateSize, base))
            return SkinProblem;
        project = projectFromTemplate(templateSize, base, name);
    } else if (parser.isSet(QStringLiteral("from-skin"))) {
        const QString path = parser.value(QStringLiteral("from-skin"));
        SkinImage skin;
        if (!session.readSkin(path, skin))
            return SkinProblem;
        project = projectFromSheet(skin.profile, skin.sheet, skinName(path, skin.profile));
        // Exported at the depth the skin was saved at, the same size gives the same file.
        if (depth->isEmpty())
            depth = storedDepthOption(path);
    } else {
        if (depth->isEmpty())
            depth = QStringLiteral("/c16");
        if (!fromPicture(session, projects, parser.value(QStringLiteral("from-picture")), *variant, *depth, name,
                         project, ported))
            return SkinProblem;
    }
    if (!depth->isEmpty())
        project.exporting.depthOption = *depth;
    if (!projects.write(project, *output))
        return SkinProblem;
    // Said once the project is written, so the command to check it works.
    for (const PortedSize &size : ported)
        session.problem(portedSizeNotice(
            size, QStringLiteral("zelkor-skin check %1 --size %2")
                      .arg(shellWord(native(*output)), profileByIndex(size.profile)->labelText())));
    return Success;
}

} // namespace

const Command projectCommand{"project", "новый проект скина (.zskin): один дизайн для всех размеров", declare, run};

} // namespace zelkor::cli
