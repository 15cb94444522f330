#include "gallerystages.h"

#include "session.h"

#include "project/projectfile.h"
#include "skin/filewrite.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "skin/userfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <set>

#include <dirent.h>

namespace zelkor::cli {

namespace {

// A failure already reported where it happened (the work folder, the icon
// sheets): the run ends without saying it twice.
Status reported()
{
    return Status::failure({});
}

bool hasSkinSuffix(const QString &name)
{
    return name.endsWith(QLatin1String(".mbm"), Qt::CaseInsensitive);
}

bool hasProjectSuffix(const QString &name)
{
    return name.endsWith(QLatin1String(".zskin"), Qt::CaseInsensitive);
}

// A name given in bytes that are not UTF-8: it reads back as another name,
// which is not there.
bool unreadableName(const QString &path)
{
    return path.contains(QChar::ReplacementCharacter) && !pathTaken(path);
}

// The names in `folder` whose bytes are not UTF-8, as well as they can be
// shown. Qt's own listing leaves them out without a word.
QStringList unreadableNames(const QString &folder)
{
    QStringList names;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray bytes(entry->d_name);
        if (QFile::encodeName(QFile::decodeName(bytes)) != bytes)
            names << QFile::decodeName(bytes);
    }
    ::closedir(dir);
    names.sort();
    return names;
}

const QString kUnreadableName = QStringLiteral("имя файла не в кодировке UTF-8, его не показать и не прочитать; "
                                               "переименуйте файл");

// A file that is no skin: said on stderr and listed on the pages by its bare name.
void reject(GalleryRun &run, const Status &status, const QString &path)
{
    run.session.problem(status);
    const QString name = QFileInfo(path).fileName();
    run.problems.push_back({name, oneLine(status).replace(native(path), name).replace(path, name)});
    run.failed = true;
}

// A file of a folder that is not taken, and why.
void skip(GalleryRun &run, const QString &path, const QString &why)
{
    run.session.problem(QStringLiteral("Файл «%1» пропущен: %2.").arg(native(path), why));
    run.problems.push_back({QFileInfo(path).fileName(), QStringLiteral("пропущен: %1.").arg(why)});
    run.failed = true;
}

// The skin files of a folder: regular files (or links to them) named .mbm or
// .zskin or starting as a skin or project file does. What looks like a skin and is not taken is
// listed with the reason: hidden files, names that cannot be read, and
// pipes, devices or links to nothing named .mbm.
QStringList folderFiles(GalleryRun &run, const QString &folder)
{
    QStringList files;
    for (const QString &name : unreadableNames(folder))
        skip(run, QDir(folder).filePath(name), kUnreadableName);
    for (const QFileInfo &entry :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString path = entry.filePath();
        if (entry.isDir())
            continue;
        const bool regular = leadsToRegularFile(path);
        const bool candidate = hasSkinSuffix(entry.fileName()) || hasProjectSuffix(entry.fileName()) ||
                               (regular && (startsLikeSkin(path) || isProjectFile(path)));
        if (!candidate)
            continue;
        if (entry.fileName().startsWith(u'.'))
            skip(run, path, QStringLiteral("скрытый файл (имя начинается с точки); чтобы взять его, укажите его "
                                           "в командной строке"));
        else
            files << path;  // a pipe or device named .mbm is refused by name when read
    }
    return files;
}

// A file's bytes, read once, and its key. Only a regular file of at most
// the largest skin (or project) file's size is read.
Status readInput(const QString &path, GalleryFile &file)
{
    file.project = readsAsProject(path);
    if (const Status s = readUserFile(path, file.project ? kMaxProjectFileBytes : maxSkinFileBytes(), file.bytes); !s)
        return s;
    file.path = path;
    file.fileName = QFileInfo(path).fileName();
    file.key = galleryKey(file.fileName, file.bytes);
    return Status::success();
}

std::optional<QByteArray> siteRecord(GallerySite &site, const QString &key)
{
    QFile record(site.path(recordPath(key)));
    if (!site.hasFile(recordPath(key)) || !record.open(QIODevice::ReadOnly))
        return std::nullopt;
    return record.readAll();
}

// The skin of `key` as an earlier run left it, when its record and all its
// files are still there.
std::optional<GallerySkin> drawnBefore(GallerySite &site, const QString &key)
{
    const std::optional<QByteArray> record = siteRecord(site, key);
    std::optional<GallerySkin> known = record ? skinFromRecord(*record, key) : std::nullopt;
    if (!known)
        return std::nullopt;
    const QStringList files = skinSiteFiles(*known) << recordPath(key);
    if (!std::all_of(files.begin(), files.end(), [&](const QString &f) { return site.hasFile(f); }))
        return std::nullopt;
    return known;
}

// Keeps the files of a reused skin in the site.
void keepSkin(GallerySite &site, const GallerySkin &skin)
{
    const QStringList files = skinSiteFiles(skin) << recordPath(skin.key);
    for (const QString &f : files)
        site.keep(f);
}

std::optional<GallerySkin> reusable(GallerySite &site, const QString &key)
{
    std::optional<GallerySkin> known = drawnBefore(site, key);
    if (known)
        keepSkin(site, *known);
    return known;
}

// A project's sizes as an earlier run left them, when all of them are still there.
std::optional<std::vector<GallerySkin>> reusableProject(GallerySite &site, const GalleryFile &file)
{
    const std::optional<QByteArray> record = siteRecord(site, file.key);
    const std::optional<ProjectRecord> project = record ? projectFromRecord(*record) : std::nullopt;
    if (!project)
        return std::nullopt;
    std::vector<GallerySkin> skins;
    for (int profile : project->profiles) {
        std::optional<GallerySkin> known = drawnBefore(site, projectSizeKey(file, profile));
        if (!known)
            return std::nullopt;
        known->notices = project->notices;
        skins.push_back(std::move(*known));
    }
    for (const GallerySkin &skin : skins)
        keepSkin(site, skin);
    site.keep(recordPath(file.key));
    return skins;
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
    if (drawing.workFolder.isEmpty() || !drawing.icons)
        return reported();
    for (int p = 1; p <= kProfileCount; ++p)
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
        for (const QString &notice : d.notices)
            session.problem(notice);
        if (!d.skins.empty()) {
            run.skins.insert(run.skins.end(), d.skins.begin(), d.skins.end());
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
    const auto add = [&](const QString &path) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (seen.insert(canonical.isEmpty() ? path : canonical).second)
            paths << path;
    };
    bool missing = false;
    for (const QString &argument : arguments) {
        if (QFileInfo(argument).isDir()) {
            for (const QString &path : folderFiles(run, argument))
                add(path);
        } else if (pathTaken(argument)) {
            add(argument);  // whatever it is: reading it says what is wrong
        } else {
            run.session.problem(unreadableName(argument)
                                    ? QStringLiteral("«%1»: %2.").arg(native(argument), kUnreadableName)
                                    : QStringLiteral("Нет ни папки, ни файла «%1».").arg(native(argument)));
            missing = true;
        }
    }
    // A folder or file that is not there is a slip in the command: nothing is written.
    if (missing)
        return reported();

    std::set<QString> keys;
    for (const QString &path : paths) {
        GalleryFile file;
        if (const Status s = readInput(path, file); !s)
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
        if (file.project) {
            if (std::optional<std::vector<GallerySkin>> known = reusableProject(run.site, file))
                run.skins.insert(run.skins.end(), known->begin(), known->end());
            else
                toDraw.push_back(std::move(file));
        } else if (std::optional<GallerySkin> known = reusable(run.site, file.key))
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
