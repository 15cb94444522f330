// zelkor-skin from-picture: a whole skin made from one picture, for one
// screen size or for all six, written as Save would name it.
#include "command.h"
#include "session.h"

#include "design/frompicture.h"
#include "imaging/nametable.h"
#include "skin/profiles.h"

#include <QColor>

#include <vector>

namespace zelkor::cli {

namespace {

const OutputOption kOutput{"файл скина, а с --size all — папка", "ПУТЬ", "не указано, куда писать (-o ПУТЬ)."};

const char *variantKey(const design::VariantName &v)
{
    return v.key;
}

const char *schemeKey(const design::ColourSchemeName &s)
{
    return s.key;
}

// "#rrggbb" (or any name QColor knows) as a colour; nullopt for anything else.
std::optional<QRgb> colourOption(const QString &text)
{
    const QColor colour = QColor::fromString(text);
    if (!colour.isValid())
        return std::nullopt;
    return colour.rgb();
}

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Делает скин из одной картинки: фоны контактов, чата и настроек — из картинки, полосы и цвета —\n"
        "из её палитры; каждая надпись на каждом экране читается (контраст не меньше 4,5 : 1) и в 24 битах,\n"
        "и на глубине сохранения. С --size all пишет все шесть разрешений в папку -o под именами,\n"
        "которые дало бы «Сохранить»."));
    parser.addOption({QStringLiteral("size"), QStringLiteral("разрешение (например 240x320) или all"),
                      QStringLiteral("РАЗРЕШЕНИЕ")});
    parser.addOption({QStringLiteral("variant"),
                      namesText(design::variantNames(), variantKey, QStringLiteral(" или ")) +
                          QStringLiteral(" (по умолчанию auto)"),
                      QStringLiteral("ВАРИАНТ"), QStringLiteral("auto")});
    parser.addOption({QStringLiteral("scheme"),
                      namesText(design::colourSchemeNames(), schemeKey, QStringLiteral(" или ")) +
                          QStringLiteral(": тональная, яркая, как на фото, монохромная (по умолчанию tonal)"),
                      QStringLiteral("СХЕМА"), QStringLiteral("tonal")});
    parser.addOption({QStringLiteral("key"), QStringLiteral("основной цвет вместо взятого из картинки"),
                      QStringLiteral("#rrggbb")});
    parser.addOption({QStringLiteral("accent"), QStringLiteral("цвет выделения вместо взятого из картинки"),
                      QStringLiteral("#rrggbb")});
    declareDepth(parser, {"глубина цвета: %1 (по умолчанию c16)", "c16"});
    declareOutput(parser, kOutput);
    declareForce(parser);
    parser.addPositionalArgument(QStringLiteral("КАРТИНКА"), QStringLiteral("картинка (JPEG, PNG, BMP, …)"));
}

int run(const QCommandLineParser &parser, Session &session)
{
    const std::optional<QString> pictureFile = session.oneInput(parser.positionalArguments(), OneInput::Picture);
    if (!pictureFile)
        return UsageError;
    const auto variant = design::variantByKey(parser.value(QStringLiteral("variant")));
    const std::optional<QString> output = session.output(parser, kOutput);
    if (!output)
        return UsageError;
    const std::optional<QString> depth = session.depth(parser);
    if (!depth)
        return UsageError;
    if (!variant)
        return session.usageError(
            QStringLiteral("нет варианта «%1»; есть %2.")
                .arg(parser.value(QStringLiteral("variant")),
                     namesText(design::variantNames(), variantKey, QStringLiteral(" и "))));
    design::FromPictureSettings settings{*variant, *depth};
    if (const auto scheme = design::colourSchemeByKey(parser.value(QStringLiteral("scheme"))))
        settings.scheme = *scheme;
    else
        return session.usageError(
            QStringLiteral("нет схемы «%1»; есть %2.")
                .arg(parser.value(QStringLiteral("scheme")),
                     namesText(design::colourSchemeNames(), schemeKey, QStringLiteral(" и "))));
    for (const auto &[name, colour] : {std::pair{QStringLiteral("key"), &settings.key},
                                       std::pair{QStringLiteral("accent"), &settings.accent}}) {
        if (!parser.isSet(name))
            continue;
        *colour = colourOption(parser.value(name));
        if (!*colour)
            return session.usageError(
                QStringLiteral("--%1 «%2» — не цвет (нужно #rrggbb).").arg(name, parser.value(name)));
    }
    const std::optional<int> single = session.profileOrAll(parser, QStringLiteral("size"));
    if (!single)
        return UsageError;
    const bool all = *single == 0;

    std::vector<int> profiles;
    QStringList targets;
    for (const Profile &p : allProfiles())
        if (all || p.index == *single) {
            profiles.push_back(p.index);
            targets << (all ? Session::entryPath(*output, design::skinNameForPicture(*pictureFile, p.index))
                            : *output);
        }
    // Nothing is read or written when anything would be refused.
    if (!session.mayWrite(targets))
        return SkinProblem;
    QImage picture;
    if (const Status s = design::readPicture(*pictureFile, *single, picture); !s) {
        session.problem(s);
        return SkinProblem;
    }
    const IconSheets *icons = session.iconSheets();
    if (!icons || (all && !session.makeFolder(*output)))
        return SkinProblem;

    const bool written = session.writeEachSkin(targets, *depth, [&](int i, QImage &sheet) {
        const Profile &p = *profileByIndex(profiles[size_t(i)]);
        SkinImage base;
        if (!session.readSkin(session.files().dataPath(QString::fromUtf8(p.templateName)), base))
            return Status::cancelled();  // reported already
        design::SkinFromPicture made;
        const Status status = design::makeSkinFromPicture(picture, p.index, base.sheet, *icons, settings, made);
        sheet = made.sheet;
        return status;
    });
    return written ? Success : SkinProblem;
}

} // namespace

const Command fromPictureCommand{"from-picture", "скин из одной картинки", declare, run};

} // namespace zelkor::cli
