// zelkor-skin set-picture: pictures of any size put into a skin's pictures,
// placed by a fit mode as the editor's placement step places them.
#include "imaging/picturefile.h"
#include "command.h"
#include "edit.h"

#include "design/frompicture.h"
#include "design/scrim.h"
#include "imaging/nametable.h"
#include "imaging/placement.h"
#include "project/projectfile.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <QFile>

#include <cmath>
#include <vector>

namespace zelkor::cli {

namespace {

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Заменяет картинки скина картинками любого размера (PNG, JPEG, BMP и другие), по порядку.\n"
        "Картинки скина: menuline, contacts, select1, select2, settings_top, settings_el,\n"
        "settings_select, chat, account_sel.\n"
        "--fit, --focus и --zoom указываются один раз для всех картинок или по разу для каждой, по порядку.\n"
        "В проект (.zskin) картинка ложится как источник со своим размещением для всех размеров\n"
        "(с --size — только для этого размера), и каждый размер делается из неё заново."));
    parser.addOption({QStringLiteral("fit"),
                      QStringLiteral("as-is (как есть, от левого верхнего угла), cover (заполнить, по умолчанию), "
                                     "contain (вписать), stretch (растянуть)"),
                      QStringLiteral("РЕЖИМ")});
    parser.addOption({QStringLiteral("focus"),
                      QStringLiteral("для cover: точка картинки X,Y, которая окажется в середине: в её пикселях "
                                     "или доли от 0 до 1 с точкой (0.5,0.3)"),
                      QStringLiteral("X,Y")});
    parser.addOption({QStringLiteral("zoom"),
                      QStringLiteral("для cover: увеличение от 1 (вся картинка) — 2 показывает половину её ширины"),
                      QStringLiteral("Z")});
    parser.addOption({QStringLiteral("scrim"),
                      QStringLiteral("подложка под текстами на этих картинках: смягчить их только под текстами, "
                                     "к чёрному или белому, с силой S от 0 до 1; в проекте хранится с размещением, "
                                     "и та же картинка, размещённая заново без --scrim, её сохраняет"),
                      QStringLiteral("S")});
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

struct Focus {
    QPointF at;
    bool relative = false;  // fractions of the picture's width and height
};

// "900,400" in pixels; "0.5,0.25" (both within 0..1, written with a point) relative.
std::optional<Focus> parseFocus(const QString &text)
{
    const QStringList parts = text.split(u',');
    bool okX = false, okY = false;
    const double x = parts.size() == 2 ? parts[0].trimmed().toDouble(&okX) : 0;
    const double y = parts.size() == 2 ? parts[1].trimmed().toDouble(&okY) : 0;
    if (!okX || !okY || !std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    const bool relative = text.contains(u'.') && x >= 0 && x <= 1 && y >= 0 && y <= 1;
    return Focus{QPointF(x, y), relative};
}

struct Edit {
    int picture;
    QString file;
    FitMode mode = FitMode::Cover;
    std::optional<Focus> focus;
    double zoom = 1.0;

    // The focus in the pixels of a `size`d picture.
    std::optional<QPointF> focusIn(const QSize &size) const
    {
        if (!focus)
            return std::nullopt;
        return focus->relative ? QPointF(focus->at.x() * size.width(), focus->at.y() * size.height()) : focus->at;
    }
};

// The picture file's bytes and its picture; false after reporting why not.
bool readPictureFile(Session &session, const QString &path, QByteArray &bytes, QImage &image)
{
    QString error;
    image = readImageFile(path, error, ImageReadBounds{kMaxPicturePixels});
    QFile file(path);
    if (!image.isNull() && file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (image.isNull() || bytes.isEmpty()) {
        session.problem(image.isNull() ? error : QStringLiteral("Не удаётся прочитать файл «%1».").arg(native(path)));
        return false;
    }
    return true;
}

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
    const QStringList zooms = parser.values(QStringLiteral("zoom"));
    for (const QStringList *values : {&fits, &focuses, &zooms})
        if (values->size() > 1 && values->size() != qsizetype(edits.size()))
            return session.usageError(
                QStringLiteral("--fit, --focus и --zoom указываются один раз или по разу для каждой картинки."));
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
        if (!zooms.isEmpty()) {
            const QString &text = zooms.size() == 1 ? zooms.first() : zooms[qsizetype(i)];
            bool ok = false;
            edits[i].zoom = text.toDouble(&ok);
            if (!ok || !(edits[i].zoom >= 1.0) || !std::isfinite(edits[i].zoom))
                return session.usageError(QStringLiteral("--zoom ждёт число не меньше 1, а не «%1».").arg(text));
            if (edits[i].mode != FitMode::Cover)
                return session.usageError(QStringLiteral("--zoom бывает только с --fit cover."));
        }
    }
    double scrim = 0;
    const bool scrimGiven = parser.isSet(QStringLiteral("scrim"));
    if (scrimGiven) {
        bool isNumber = false;
        scrim = parser.value(QStringLiteral("scrim")).toDouble(&isNumber);
        if (!isNumber || !(scrim >= 0 && scrim <= 1))
            return session.usageError(
                QStringLiteral("сила подложки «%1» — не число от 0 до 1.").arg(parser.value(QStringLiteral("scrim"))));
    }
    if (readsAsProject(args.first()))
        return runProjectEdit(parser, session, args.first(), [&](SkinProject &project, int size) {
            for (const Edit &e : edits) {
                QByteArray bytes;
                QImage image;
                if (!readPictureFile(session, e.file, bytes, image))
                    return false;
                SourcePlacement placement{e.mode, {}, e.zoom, {}, scrim, {}};
                if (const auto at = e.focusIn(image.size()))
                    placement.focus = relativeFocus(*at, image.size());
                // The same picture framed again keeps its scrim unless one is given.
                const PictureSource &source = project.pictures[size_t(e.picture)];
                const SizeSource &before = size ? source.at(size) : static_cast<const SizeSource &>(source);
                if (!scrimGiven && before.kind == PictureSourceKind::File && before.file == sha256Hex(bytes))
                    placement.scrim = before.placement.scrim;
                project.setPictureFile(e.picture, bytes, placement, size);
            }
            return true;
        });
    return runEdit(parser, session, args.first(), [&](SkinImage &skin) {
        for (const Edit &e : edits) {
            QString error;
            // Bounded as from-picture bounds a picture: a huge one is said to be so.
            const QImage image = readImageFile(e.file, error, ImageReadBounds{kMaxPicturePixels});
            if (image.isNull()) {
                session.problem(error);
                return false;
            }
            const QSize place = pictureRect(e.picture, skin.profile)->rect().size();
            const QRect crop = e.focus || e.zoom != 1.0 ? coverCrop(image.size(), place, e.focusIn(image.size()), e.zoom)
                                                        : QRect();
            placePicture(skin.sheet, skin.profile, e.picture, image, {e.mode, crop});
        }
        if (scrim > 0) {
            const IconSheets *icons = session.iconSheets();
            if (!icons)
                return false;
            for (const Edit &e : edits)
                skin.sheet = design::scrimUnderTexts(skin.sheet, skin.profile, *icons, e.picture, scrim);
        }
        return true;
    });
}

} // namespace

const Command setPictureCommand{"set-picture", "картинка любого размера в картинку скина", declare, run};

} // namespace zelkor::cli
