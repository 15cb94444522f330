#include "gallerystages.h"

#include "session.h"

#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <set>

namespace zelkor::cli {

namespace {

// A failure already reported where it happened (the work folder, the icon
// sheets): the run ends without saying it twice.
Status reported()
{
    return Status::failure({});
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

// A file's bytes and key. Nothing larger than the largest sheet the converter
// would take, uncompressed, can be a skin: such a file is refused unread.
Status readInput(const QString &path, bool phone, GalleryFile &file)
{
    QFile in(path);
    const QString shown = native(path);
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

// A file that is no skin: said on stderr and listed on the pages by its bare name.
void reject(GalleryRun &run, const Status &status, const QString &path)
{
    run.session.problem(status);
    const QString name = QFileInfo(path).fileName();
    run.problems.push_back({name, oneLine(status).replace(native(path), name).replace(path, name)});
    run.failed = true;
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

Status openSite(GalleryRun &run)
{
    if (const Status s = run.site.open(run.session.replaceExisting()); !s)
        return s;
    for (const char *folder : {"pictures", "skins", ".gallery"})
        if (const Status s = run.site.makeFolder(QString::fromLatin1(folder)); !s)
            return s;
    return Status::success();
}

Status draw(GalleryRun &run, const std::vector<GalleryFile> &toDraw)
{
    Session &session = run.session;
    GalleryDrawing drawing;
    drawing.files = session.files();
    drawing.workFolder = session.workFolder();
    drawing.icons = session.iconSheets();
    drawing.phone = run.phone;
    if (drawing.workFolder.isEmpty() || !drawing.icons)
        return reported();
    for (int p = 1; run.phone && p <= kProfileCount; ++p)
        if (const Status s = readPhonePicture(session.files(), p, drawing.phones[size_t(p)]); !s)
            return s;
    // Each skin on its own thread: the converter runs as a process of its
    // own, and the screens draw with fonts cached per thread.
    const std::vector<DrawnSkin> drawn = QtConcurrent::blockingMapped<std::vector<DrawnSkin>>(
        toDraw, [&](const GalleryFile &f) { return drawGallerySkin(drawing, run.site, f); });
    for (size_t i = 0; i < drawn.size(); ++i) {
        const DrawnSkin &d = drawn[i];
        for (const QString &f : d.files)
            run.site.keep(f);
        run.written << d.written;
        if (d.skin) {
            run.skins.push_back(*d.skin);
        } else if (d.unreadable) {
            reject(run, d.status, toDraw[i].path);
        } else {
            session.problem(d.status);
            run.failed = true;
        }
    }
    return Status::success();
}

} // namespace

Status collectInputs(GalleryRun &run, const QStringList &arguments)
{
    QStringList paths;
    std::set<QString> seen;
    const auto add = [&](const QFileInfo &info) {
        if (seen.insert(info.canonicalFilePath()).second)
            paths << info.filePath();
    };
    bool missing = false;
    for (const QString &argument : arguments) {
        const QFileInfo info(argument);
        if (info.isDir()) {
            for (const QFileInfo &entry : QDir(argument).entryInfoList(QDir::Files, QDir::Name))
                if (isSkinCandidate(entry))
                    add(entry);
        } else if (info.isFile()) {
            add(info);
        } else {
            run.session.problem(QStringLiteral("Нет ни папки, ни файла «%1».").arg(native(argument)));
            missing = true;
        }
    }
    // A folder or file that is not there is a slip in the command: nothing is written.
    if (missing)
        return reported();

    std::set<QString> keys;
    for (const QString &path : paths) {
        GalleryFile file;
        if (const Status s = readInput(path, run.phone, file); !s)
            reject(run, s, path);
        else if (keys.insert(file.key).second)
            run.inputs.push_back(std::move(file));
    }
    return Status::success();
}

Status reuseOrDraw(GalleryRun &run)
{
    if (const Status s = openSite(run); !s)
        return s;
    std::vector<GalleryFile> toDraw;
    for (GalleryFile &file : run.inputs) {
        if (std::optional<GallerySkin> known = reusable(run.site, file.key, run.phone))
            run.skins.push_back(std::move(*known));
        else
            toDraw.push_back(std::move(file));
    }
    run.inputs.clear();
    return toDraw.empty() ? Status::success() : draw(run, toDraw);
}

Status writePages(GalleryRun &run)
{
    std::sort(run.problems.begin(), run.problems.end(), [](const GalleryProblem &a, const GalleryProblem &b) {
        return std::tie(a.fileName, a.reason) < std::tie(b.fileName, b.reason);
    });
    for (const GalleryPage &page : galleryPages(groupFamilies(run.skins), run.problems, run.options)) {
        bool written = false;
        if (const Status s = writeFileIfChanged(run.site.path(page.fileName), page.html, &written); !s)
            return s;
        run.site.keep(page.fileName);
        if (written)
            run.written << page.fileName;
    }
    return Status::success();
}

Status finishSite(GalleryRun &run)
{
    return run.site.finish();
}

} // namespace zelkor::cli
