// zelkor-skin from-picture: a whole skin made from one picture, for one
// screen size or for all six, written as Save would name it.
#include "command.h"
#include "session.h"

#include "design/frompicture.h"
#include "skin/profiles.h"
#include "skin/savename.h"

#include <vector>

namespace zelkor::cli {

namespace {

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Делает скин из одной картинки: фоны контактов, чата и настроек — из картинки, полосы и цвета —\n"
        "из её палитры; каждая надпись на каждом экране читается (контраст не меньше 4,5 : 1) и в 24 битах,\n"
        "и на глубине сохранения. С --size all пишет все шесть разрешений в папку -o под именами,\n"
        "которые дало бы «Сохранить»."));
    parser.addOption({QStringLiteral("size"), QStringLiteral("разрешение (например 240x320) или all"),
                      QStringLiteral("РАЗРЕШЕНИЕ")});
    parser.addOption({QStringLiteral("variant"), QStringLiteral("light, dark или auto (по умолчанию auto)"),
                      QStringLiteral("ВАРИАНТ"), QStringLiteral("auto")});
    parser.addOption({QStringLiteral("depth"),
                      QStringLiteral("глубина цвета: c4, c8, c12, c16 или c24 (по умолчанию c16)"),
                      QStringLiteral("ГЛУБИНА"), QStringLiteral("c16")});
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("файл скина, а с --size all — папка"), QStringLiteral("ПУТЬ")});
    declareForce(parser);
    parser.addPositionalArgument(QStringLiteral("КАРТИНКА"), QStringLiteral("картинка (JPEG, PNG, BMP, …)"));
}

int run(const QCommandLineParser &parser, Session &session)
{
    const QStringList pictures = parser.positionalArguments();
    if (pictures.size() != 1)
        return session.usageError(QStringLiteral("нужна ровно одна картинка, указано: %1.").arg(pictures.size()));
    const QString size = parser.value(QStringLiteral("size"));
    const QString output = parser.value(QStringLiteral("output"));
    const QString depth = depthOptionByName(parser.value(QStringLiteral("depth")));
    const auto variant = design::variantByKey(parser.value(QStringLiteral("variant")));
    if (output.isEmpty())
        return session.usageError(QStringLiteral("не указано, куда писать (-o ПУТЬ)."));
    if (depth.isEmpty())
        return session.usageError(QStringLiteral("нет глубины цвета «%1»; есть c4, c8, c12, c16, c24.")
                                      .arg(parser.value(QStringLiteral("depth"))));
    if (!variant)
        return session.usageError(QStringLiteral("нет варианта «%1»; есть light, dark и auto.")
                                      .arg(parser.value(QStringLiteral("variant"))));
    const bool all = size == QLatin1String("all");
    const int single = profileByLabel(size);
    if (!all && !single)
        return session.usageError(QStringLiteral("нет разрешения «%1»; есть 176x208, 208x176, 240x320, 320x240, "
                                                 "352x416, 416x352 и all.")
                                      .arg(size));

    std::vector<int> profiles;
    QStringList targets;
    for (const Profile &p : allProfiles())
        if (all || p.index == single) {
            profiles.push_back(p.index);
            targets << (all ? Session::entryPath(output, design::skinNameForPicture(pictures.first(), p.index))
                            : output);
        }
    // Nothing is read or written when anything would be refused.
    if (!session.mayWrite(targets))
        return SkinProblem;
    QImage picture;
    if (const Status s = design::readPicture(pictures.first(), single, picture); !s) {
        session.problem(s);
        return SkinProblem;
    }
    const IconSheets *icons = session.iconSheets();
    if (!icons || (all && !session.makeFolder(output)))
        return SkinProblem;

    const design::FromPictureSettings settings{*variant, depth};
    int result = Success;
    for (size_t i = 0; i < profiles.size(); ++i) {
        const Profile &p = *profileByIndex(profiles[i]);
        SkinImage base;
        design::SkinFromPicture made;
        if (!session.readSkin(session.files().dataPath(QString::fromUtf8(p.templateName)), base)) {
            result = SkinProblem;
            continue;
        }
        const Status status = design::makeSkinFromPicture(picture, p.index, base.sheet, *icons, settings, made);
        if (!status)
            session.problem(status);
        if (!status || !session.writeSkin(made.sheet, depth, targets[i]))
            result = SkinProblem;
    }
    return result;
}

} // namespace

const Command fromPictureCommand{"from-picture", "скин из одной картинки", declare, run};

} // namespace zelkor::cli
