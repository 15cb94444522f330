// zelkor-skin set-picture: pictures of any size put into a skin's pictures,
// placed by a fit mode as the editor's placement step places them.
#include "command.h"
#include "edit.h"

#include "imaging/nametable.h"
#include "skin/placement.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <vector>

namespace zelkor::cli {

namespace {

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Заменяет картинки скина картинками любого размера (PNG, JPEG, BMP и другие), по порядку.\n"
        "Картинки скина: menuline, contacts, select1, select2, settings_top, settings_el,\n"
        "settings_select, chat, account_sel.\n"
        "--fit и --focus указываются один раз для всех картинок или по разу для каждой, по порядку."));
    parser.addOption({QStringLiteral("fit"),
                      QStringLiteral("as-is (как есть, от левого верхнего угла), cover (заполнить, по умолчанию), "
                                     "contain (вписать), stretch (растянуть)"),
                      QStringLiteral("РЕЖИМ")});
    parser.addOption({QStringLiteral("focus"),
                      QStringLiteral("для cover: точка картинки X,Y (в её пикселях), которая окажется в середине"),
                      QStringLiteral("X,Y")});
    declareEditOutput(parser);
    parser.addPositionalArgument(QStringLiteral("СКИН.mbm"), QStringLiteral("файл скина"));
    parser.addPositionalArgument(QStringLiteral("КАРТИНКА ФАЙЛ"), QStringLiteral("какую картинку чем заменить; пар может быть несколько"),
                                 QStringLiteral("КАРТИНКА ФАЙЛ [КАРТИНКА ФАЙЛ…]"));
}

QString pictureNames()
{
    QStringList names;
    for (int i = 0; i < kPictureCount; ++i)
        names << QString::fromLatin1(pictureInfo(i).name);
    return names.join(QStringLiteral(", "));
}

int pictureByName(const QString &name)
{
    for (int i = 0; i < kPictureCount; ++i)
        if (name == QLatin1String(pictureInfo(i).name))
            return i;
    return -1;
}

std::optional<QPointF> parseFocus(const QString &text)
{
    const QStringList parts = text.split(u',');
    bool okX = false, okY = false;
    const double x = parts.size() == 2 ? parts[0].trimmed().toDouble(&okX) : 0;
    const double y = parts.size() == 2 ? parts[1].trimmed().toDouble(&okY) : 0;
    if (!okX || !okY || !std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return QPointF(x, y);
}

struct Edit {
    int picture;
    QString file;
    FitMode mode = FitMode::Cover;
    std::optional<QPointF> focus;
};

int run(const QCommandLineParser &parser, Session &session)
{
    const QStringList args = parser.positionalArguments();
    if (args.size() < 3 || args.size() % 2 == 0)
        return session.usageError(QStringLiteral("нужны файл скина и пары КАРТИНКА ФАЙЛ."));
    std::vector<Edit> edits;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const int picture = pictureByName(args[i]);
        if (picture < 0)
            return session.usageError(QStringLiteral("нет картинки «%1»; есть %2.").arg(args[i], pictureNames()));
        edits.push_back({picture, args[i + 1]});
    }
    // One value for every picture, or one each in order.
    const QStringList fits = parser.values(QStringLiteral("fit"));
    const QStringList focuses = parser.values(QStringLiteral("focus"));
    for (const QStringList *values : {&fits, &focuses})
        if (values->size() > 1 && values->size() != qsizetype(edits.size()))
            return session.usageError(QStringLiteral("--fit и --focus указываются один раз или по разу для каждой картинки."));
    for (size_t i = 0; i < edits.size(); ++i) {
        if (!fits.isEmpty()) {
            const QString &key = fits.size() == 1 ? fits.first() : fits[qsizetype(i)];
            const auto mode = fitModeByKey(key);
            if (!mode)
                return session.usageError(
                    QStringLiteral("нет режима «%1»; есть %2.")
                        .arg(key, namesText(fitModeNames(), [](const FitModeName &m) { return m.key; },
                                            QStringLiteral(", "))));
            edits[i].mode = *mode;
        }
        if (!focuses.isEmpty()) {
            const QString &text = focuses.size() == 1 ? focuses.first() : focuses[qsizetype(i)];
            edits[i].focus = parseFocus(text);
            if (!edits[i].focus)
                return session.usageError(QStringLiteral("--focus ждёт два числа X,Y, а не «%1».").arg(text));
            if (edits[i].mode != FitMode::Cover)
                return session.usageError(QStringLiteral("--focus бывает только с --fit cover."));
        }
    }
    return runEdit(parser, session, args.first(), [&](SkinImage &skin) {
        for (const Edit &e : edits) {
            QString error;
            const QImage image = readImageFile(e.file, error);
            if (image.isNull()) {
                session.problem(error);
                return false;
            }
            const QSize place = pictureRect(e.picture, skin.profile)->rect().size();
            const QRect crop = e.focus ? coverCrop(image.size(), place, e.focus) : QRect();
            placePicture(skin.sheet, skin.profile, e.picture, image, {e.mode, crop});
        }
        return true;
    });
}

} // namespace

const Command setPictureCommand{"set-picture", "картинка любого размера в картинку скина", declare, run};

} // namespace zelkor::cli
