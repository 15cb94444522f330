// zelkor-skin gallery: a static site of the skins in some folders, one card
// per design with a picture of every screen, the colours and a download. The
// site is the gallery's own folder: a re-run draws only the skins whose files
// changed and rewrites only the files whose bytes change.
#include "command.h"
#include "gallerypage.h"
#include "gallerysite.h"
#include "galleryskin.h"
#include "session.h"

#include "design/legibility.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <map>
#include <set>

namespace zelkor::cli {

namespace {

const QString kDefaultTitle = QStringLiteral("Скины Zelkor");

const OutputOption kOutput{"папка сайта", "ПАПКА", "не указана папка сайта (-o ПАПКА)."};

void declare(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Делает сайт из скинов в папках: index.html с карточкой на каждый скин (все экраны, цвета,\n"
        "читаемость текстов, ссылка для скачивания), скины одного оформления разных размеров — на\n"
        "одной карточке, и по странице на каждый размер экрана. Из папок берутся файлы .mbm и файлы,\n"
        "которые начинаются как файл скина; те, что не удалось прочитать, перечислены в конце\n"
        "страницы (код выхода тогда 1). Папка сайта принадлежит команде: повторный запуск рисует\n"
        "заново только изменившиеся скины и переписывает только изменившиеся файлы."));
    declareOutput(parser, kOutput);
    parser.addOption({QStringLiteral("title"), QStringLiteral("заголовок страницы (по умолчанию «%1»)").arg(kDefaultTitle),
                      QStringLiteral("ТЕКСТ"), kDefaultTitle});
    parser.addOption({QStringLiteral("phone"), QStringLiteral("показать ещё список контактов на картинке телефона")});
    parser.addOption({QStringLiteral("min-contrast"),
                      QStringLiteral("наименьший допустимый контраст текста, от 1 до 21 (по умолчанию %1)")
                          .arg(design::kDefaultMinContrast),
                      QStringLiteral("R"), QString::number(design::kDefaultMinContrast)});
    parser.addOption({QStringLiteral("date"),
                      QStringLiteral("дата внизу страницы: ГГГГ-ММ-ДД или today (без этого даты нет)"),
                      QStringLiteral("ДАТА")});
    declareForce(parser, QStringLiteral("писать и в непустую папку, сделанную не этой командой"));
    parser.addPositionalArgument(QStringLiteral("ПАПКА"), QStringLiteral("папка со скинами или файл скина"),
                                 QStringLiteral("ПАПКА..."));
}

// The first bytes of every multi-bitmap file (its first UID, little-endian).
bool startsLikeSkin(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(4) == QByteArrayView("\x37\x00\x00\x10", 4);
}

bool isSkinCandidate(const QFileInfo &info)
{
    return info.suffix().compare(QLatin1String("mbm"), Qt::CaseInsensitive) == 0 ||
           startsLikeSkin(info.filePath());
}

// The files the arguments name: a folder's skin files (by name or first
// bytes), a file as it is; each file once.
QStringList inputFiles(const QStringList &arguments, Session &session, bool &missing)
{
    QStringList files;
    std::set<QString> seen;
    const auto add = [&](const QFileInfo &info) {
        if (seen.insert(info.canonicalFilePath()).second)
            files << info.filePath();
    };
    for (const QString &argument : arguments) {
        const QFileInfo info(argument);
        if (info.isDir()) {
            for (const QFileInfo &entry : QDir(argument).entryInfoList(QDir::Files, QDir::Name))
                if (isSkinCandidate(entry))
                    add(entry);
        } else if (info.isFile()) {
            add(info);
        } else {
            session.problem(QStringLiteral("Нет ни папки, ни файла «%1».").arg(QDir::toNativeSeparators(argument)));
            missing = true;
        }
    }
    return files;
}

// A file's bytes and key. Nothing larger than the largest sheet the converter
// would take, uncompressed, can be a skin: such a file is refused unread.
Status readInput(const QString &path, bool phone, GalleryFile &file)
{
    QFile in(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!in.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("Не удаётся прочитать файл «%1».").arg(shown), in.errorString());
    if (in.size() > 4 * maxSheetPixels() + (1 << 20))
        return Status::failure(
            QStringLiteral("Файл «%1» слишком велик для файла скина: %2 байт.").arg(shown).arg(in.size()));
    file.path = path;
    file.fileName = QFileInfo(path).fileName();
    file.bytes = in.readAll();
    file.key = galleryKey(file.fileName, file.bytes, phone);
    return Status::success();
}

// The skin of `key` as an earlier run left it, when its record and all its
// files are still there; they are then kept.
std::optional<GallerySkin> reusable(GallerySite &site, const QString &key, bool phone)
{
    QFile record(site.path(recordPath(key)));
    if (!site.hasFile(recordPath(key)) || !record.open(QIODevice::ReadOnly))
        return std::nullopt;
    std::optional<GallerySkin> known = skinFromRecord(record.readAll(), key);
    if (!known)
        return std::nullopt;
    QStringList files{overviewPath(*known), copyPath(*known), recordPath(key)};
    if (phone)
        files << phonePath(*known);
    for (const QString &f : files)
        if (!site.hasFile(f))
            return std::nullopt;
    for (const QString &f : files)
        site.keep(f);
    return known;
}

bool parseDate(const QString &text, QString &iso)
{
    const QDate date = text == QLatin1String("today") ? QDate::currentDate() : QDate::fromString(text, Qt::ISODate);
    iso = date.toString(Qt::ISODate);
    return date.isValid();
}

int run(const QCommandLineParser &parser, Session &session)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty())
        return session.usageError(QStringLiteral("не указано ни одной папки со скинами."));
    const std::optional<QString> outputGiven = session.output(parser, kOutput);
    if (!outputGiven)
        return UsageError;
    const QString &output = *outputGiven;
    GalleryOptions options;
    options.title = parser.value(QStringLiteral("title"));
    bool number = false;
    options.minContrast = parser.value(QStringLiteral("min-contrast")).toDouble(&number);
    if (!number || options.minContrast < 1 || options.minContrast > 21)
        return session.usageError(QStringLiteral("контраст «%1» — не число от 1 до 21.")
                                      .arg(parser.value(QStringLiteral("min-contrast"))));
    if (parser.isSet(QStringLiteral("date")) && !parseDate(parser.value(QStringLiteral("date")), options.date))
        return session.usageError(
            QStringLiteral("дата «%1» — не ГГГГ-ММ-ДД и не today.").arg(parser.value(QStringLiteral("date"))));

    // A folder or file that is not there is a slip in the command: nothing is written.
    bool failed = false;
    const QStringList paths = inputFiles(arguments, session, failed);
    if (failed)
        return SkinProblem;
    const bool phone = parser.isSet(QStringLiteral("phone"));

    GallerySite site(output);
    QString why;
    if (!site.open(session.replaceExisting(), why)) {
        session.problem(why);
        return SkinProblem;
    }
    for (const char *folder : {"pictures", "skins", ".gallery"})
        if (!site.makeFolder(QString::fromLatin1(folder), why)) {
            session.problem(why);
            return SkinProblem;
        }


    // Each distinct content once: its record from an earlier run, else drawn now.
    std::vector<GallerySkin> skins;
    std::vector<GalleryProblem> problems;
    std::vector<GalleryFile> toDraw;
    std::set<QString> keys;
    const auto reject = [&](const Status &status, const QString &path) {
        session.problem(status);
        const QString name = QFileInfo(path).fileName();
        problems.push_back({name, oneLine(status).replace(QDir::toNativeSeparators(path), name).replace(path, name)});
        failed = true;
    };
    for (const QString &path : paths) {
        GalleryFile file;
        if (const Status s = readInput(path, phone, file); !s) {
            reject(s, path);
        } else if (keys.insert(file.key).second) {
            if (std::optional<GallerySkin> known = reusable(site, file.key, phone))
                skins.push_back(std::move(*known));
            else
                toDraw.push_back(std::move(file));
        }
    }

    QStringList written;
    if (!toDraw.empty()) {
        GalleryDrawing drawing;
        drawing.files = session.files();
        drawing.workFolder = session.workFolder();
        drawing.icons = session.iconSheets();
        drawing.phone = phone;
        if (drawing.workFolder.isEmpty() || !drawing.icons)
            return SkinProblem;
        for (int p = 1; phone && p <= kProfileCount; ++p)
            if (const Status s = readPhonePicture(session.files(), p, drawing.phones[size_t(p)]); !s) {
                session.problem(s);
                return SkinProblem;
            }
        // Each skin on its own thread: the converter runs as a process of its
        // own, and the screens draw with fonts cached per thread.
        const std::vector<DrawnSkin> drawn = QtConcurrent::blockingMapped<std::vector<DrawnSkin>>(
            toDraw, [&](const GalleryFile &f) { return drawGallerySkin(drawing, site, f); });
        for (size_t i = 0; i < drawn.size(); ++i) {
            const DrawnSkin &d = drawn[i];
            for (const QString &f : d.files)
                site.keep(f);
            written << d.written;
            if (d.skin) {
                skins.push_back(*d.skin);
                continue;
            }
            if (d.unreadable) {
                reject(d.status, toDraw[i].path);
            } else {
                session.problem(d.status);
                failed = true;
            }
        }
    }
    std::sort(problems.begin(), problems.end(), [](const GalleryProblem &a, const GalleryProblem &b) {
        return std::tie(a.fileName, a.reason) < std::tie(b.fileName, b.reason);
    });

    for (const GalleryPage &page : galleryPages(groupFamilies(skins), problems, options)) {
        const WriteOutcome outcome = writeFileIfChanged(site.path(page.fileName), page.html, why);
        if (outcome == WriteOutcome::Failed) {
            session.problem(why);
            return SkinProblem;
        }
        site.keep(page.fileName);
        if (outcome == WriteOutcome::Written)
            written << page.fileName;
    }
    if (!site.finish(why)) {
        session.problem(why);
        return SkinProblem;
    }
    written.sort();
    for (const QString &f : written)
        session.print(QDir::toNativeSeparators(site.path(f)) + u'\n');
    return failed ? SkinProblem : Success;
}

} // namespace

const Command galleryCommand{"gallery", "сайт из папок со скинами: карточки, размеры, скачивание", declare, run};

} // namespace zelkor::cli
