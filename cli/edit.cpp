#include "edit.h"

#include "skin/filedepth.h"
#include "skin/savename.h"

namespace zelkor::cli {

void declareEditOutput(QCommandLineParser &parser)
{
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("файл скина, который записать"),
                      QStringLiteral("ФАЙЛ")});
    parser.addOption({QStringLiteral("depth"),
                      QStringLiteral("глубина цвета: c4, c8, c12, c16 или c24 (по умолчанию та, с которой записан СКИН)"),
                      QStringLiteral("ГЛУБИНА")});
    declareForce(parser);
}

int runEdit(const QCommandLineParser &parser, Session &session, const QString &skinPath,
            const std::function<bool(SkinImage &skin)> &edit)
{
    const QString output = parser.value(QStringLiteral("output"));
    if (output.isEmpty())
        return session.usageError(QStringLiteral("не указано, куда писать (-o ФАЙЛ)."));
    QString depth;
    if (parser.isSet(QStringLiteral("depth"))) {
        depth = depthOptionByName(parser.value(QStringLiteral("depth")));
        if (depth.isEmpty())
            return session.usageError(QStringLiteral("нет глубины цвета «%1»; есть c4, c8, c12, c16, c24.")
                                          .arg(parser.value(QStringLiteral("depth"))));
    }
    if (!session.mayWrite({output}))
        return SkinProblem;
    SkinImage skin;
    if (!session.readSkin(skinPath, skin) || !edit(skin))
        return SkinProblem;
    if (depth.isEmpty())
        depth = storedDepthOption(skinPath);
    if (depth.isEmpty())  // a depth no save offers: the editor's usual one
        depth = QString::fromLatin1(kColourDepths[kDefaultColourDepth].option);
    return session.writeSkin(skin.sheet, depth, output) ? Success : SkinProblem;
}

} // namespace zelkor::cli
