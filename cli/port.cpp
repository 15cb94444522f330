// zelkor-skin port: one skin made for the other screen sizes. The pictures
// are scaled into the other profile's template, the colours carried over
// exactly; each result is written as Save would name it.
#include "command.h"
#include "session.h"

#include "skin/profiles.h"

#include <QFileInfo>

#include <vector>

namespace zelkor::cli {

namespace {

const OutputOption kOutput{"файл скина, а с --to all — папка", "ПУТЬ", "не указано, куда писать (-o ПУТЬ)."};

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Переносит скин на другое разрешение экрана: картинки масштабируются в прямоугольники\n"
        "шаблона того разрешения, цвета переносятся точно. С --to all пишет все пять других\n"
        "разрешений в папку -o под именами, которые дало бы «Сохранить»."));
    parser.addOption({QStringLiteral("to"), QStringLiteral("разрешение (например 240x320) или all"),
                      QStringLiteral("РАЗРЕШЕНИЕ")});
    declareOutput(parser, kOutput);
    declareDepth(parser, {"глубина цвета: %1 (по умолчанию c24)", "c24"});
    declareForce(parser);
    parser.addPositionalArgument(QStringLiteral("СКИН.mbm"), QStringLiteral("файл скина"));
}

int run(const QCommandLineParser &parser, Session &session)
{
    const std::optional<QString> skinFile = session.oneInput(parser.positionalArguments(), OneInput::Skin);
    if (!skinFile)
        return UsageError;
    const QString to = parser.value(QStringLiteral("to"));
    const std::optional<QString> output = session.output(parser, kOutput);
    if (!output)
        return UsageError;
    const std::optional<QString> depth = session.depth(parser);
    if (!depth)
        return UsageError;
    const std::optional<int> single = session.profileOrAll(parser, QStringLiteral("to"));
    if (!single)
        return UsageError;
    const bool all = *single == 0;

    SkinImage skin;
    if (!session.readSkin(*skinFile, skin))
        return SkinProblem;
    if (*single == skin.profile)
        return session.usageError(QStringLiteral("скин уже сделан для %1.").arg(to));

    std::vector<int> profiles;
    QStringList targets;
    const QString name = QFileInfo(*skinFile).fileName();
    for (const Profile &p : allProfiles())
        if (p.index != skin.profile && (all || p.index == *single)) {
            profiles.push_back(p.index);
            targets << (all ? Session::entryPath(*output, portedName(name, p.index)) : *output);
        }
    // Nothing is written when anything would be refused.
    if (!session.mayWrite(targets) || (all && !session.makeFolder(*output)))
        return SkinProblem;

    const bool written = session.writeEachSkin(targets, *depth, [&](int i, QImage &sheet) {
        SkinImage ported;
        const Status status = portSkin(session.files(), session.workFolder(), skin, profiles[size_t(i)], ported);
        sheet = ported.sheet;
        return status;
    });
    return written ? Success : SkinProblem;
}

} // namespace

const Command portCommand{"port", "скин для другого разрешения экрана", declare, run};

} // namespace zelkor::cli
