#include "galleryskin.h"

#include "gallerysite.h"
#include "session.h"

#include "design/legibility.h"
#include "skin/filedepth.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "skin/savedepth.h"
#include "skin/userfile.h"
#include "project/projectfile.h"
#include "project/projectsheet.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zelkor::cli {

namespace {

// Changes whenever what a skin's files hold changes, so an older site's
// pictures are drawn again rather than reused.
constexpr char kFormat[] = "zelkor-gallery 4";

QJsonArray sizeJson(QSize s)
{
    return {s.width(), s.height()};
}

QSize sizeFromJson(const QJsonValue &v)
{
    const QJsonArray a = v.toArray();
    return a.size() == 2 ? QSize(a[0].toInt(), a[1].toInt()) : QSize();
}

} // namespace

QString galleryKey(const QString &fileName, const QByteArray &bytes)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView(kFormat));
    hash.addData(QByteArrayView("\n", 1));
    hash.addData(fileName.toUtf8());
    hash.addData(QByteArrayView("\n", 1));
    hash.addData(bytes);
    return QString::fromLatin1(hash.result().toHex().left(20));
}

QString recordPath(const QString &key)
{
    return QStringLiteral(".gallery/%1.json").arg(key);
}

QByteArray skinRecord(const GallerySkin &skin)
{
    QJsonArray colours;
    for (QRgb c : skin.colours)
        colours.append(qint64(c & 0xffffffu));
    QJsonObject o{{QStringLiteral("format"), QString::fromLatin1(kFormat)},
                  {QStringLiteral("key"), skin.key},
                  {QStringLiteral("file"), skin.fileName},
                  {QStringLiteral("profile"), skin.profile},
                  {QStringLiteral("bytes"), skin.fileSize},
                  {QStringLiteral("colours"), colours},
                  {QStringLiteral("screen"), sizeJson(skin.screen)},
                  {QStringLiteral("phone"), sizeJson(skin.phone)}};
    if (!skin.project.isEmpty())
        o.insert(QStringLiteral("project"), skin.project);
    if (skin.legibility) {
        QJsonArray worst;
        for (double w : skin.legibility->worst)
            worst.append(w);
        o.insert(QStringLiteral("lowest"), skin.legibility->lowest);
        o.insert(QStringLiteral("worst"), worst);
    }
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<GallerySkin> skinFromRecord(const QByteArray &record, const QString &key)
{
    const QJsonObject o = QJsonDocument::fromJson(record).object();
    if (o.value(QStringLiteral("format")).toString() != QLatin1String(kFormat) ||
        o.value(QStringLiteral("key")).toString() != key)
        return std::nullopt;
    GallerySkin skin;
    skin.key = key;
    skin.fileName = o.value(QStringLiteral("file")).toString();
    skin.project = o.value(QStringLiteral("project")).toString();
    skin.profile = o.value(QStringLiteral("profile")).toInt();
    skin.fileSize = o.value(QStringLiteral("bytes")).toInteger(-1);
    skin.screen = sizeFromJson(o.value(QStringLiteral("screen")));
    skin.phone = sizeFromJson(o.value(QStringLiteral("phone")));
    const QJsonArray colours = o.value(QStringLiteral("colours")).toArray();
    if (skin.fileName.isEmpty() || !profileByIndex(skin.profile) || skin.fileSize < 0 || skin.screen.isEmpty() ||
        skin.phone.isEmpty() ||
        colours.size() != kColourSlotCount)
        return std::nullopt;
    for (int s = 0; s < kColourSlotCount; ++s)
        skin.colours[size_t(s)] = qRgb(0, 0, 0) | QRgb(colours[s].toInteger());
    if (const QJsonArray worst = o.value(QStringLiteral("worst")).toArray(); worst.size() == kColourSlotCount) {
        GalleryLegibility l;
        l.lowest = o.value(QStringLiteral("lowest")).toDouble(21);
        for (int s = 0; s < kColourSlotCount; ++s)
            l.worst[size_t(s)] = worst[s].toDouble();
        skin.legibility = l;
    }
    return skin;
}

namespace {

// Draws a skin already read: its screens, its contact list on the phone and
// its legibility; writes the pictures, `copy` for download and, last, the
// record. `project` is the key of the project it is a size of, if any. Adds
// what it wrote to `out`; false when a write failed.
bool drawReadSkin(const GalleryDrawing &drawing, const GallerySite &site, const GalleryFile &file,
                  const SkinImage &image, const QByteArray &copy, const QString &project, DrawnSkin &out)
{
    GallerySkin skin;
    skin.project = project;
    skin.fileName = file.fileName;
    skin.key = file.key;
    skin.profile = image.profile;
    skin.colours = readColourSlots(image.sheet, image.profile);
    skin.fileSize = copy.size();

    const PreviewInput in = skinPreviewInput(image.sheet, image.profile, *drawing.icons, 0);
    std::array<QImage, kNamedScreenCount> screens;
    for (int i = 0; i < kNamedScreenCount; ++i)
        screens[size_t(i)] = paintBoxPicture(namedScreens()[size_t(i)], in);
    // The sheet as read is what the phone shows: the converter gave back the
    // colours of the depth the file was saved at.
    const design::Legibility measure = design::measureSkinLegibility(image.sheet, image.profile, *drawing.icons);
    GalleryLegibility legibility;
    legibility.lowest = measure.lowest();
    for (const design::SlotLegibility &s : measure.perSlot)
        legibility.worst[size_t(s.slot)] = s.worst;
    skin.legibility = legibility;
    skin.screen = screens[0].size();
    // The contact list is among the screens just drawn.
    const size_t contacts = size_t(findNamedScreen(QStringLiteral("contacts-1")) - namedScreens().data());
    const QImage phone = onPhonePicture(drawing.phones[size_t(image.profile)], image.profile, screens[contacts]);
    skin.phone = phone.size();

    // The record goes last: a skin whose record is there has all its files.
    std::vector<std::pair<QString, QByteArray>> files{{phonePath(skin), pngBytes(phone)}};
    for (int i = 0; i < kNamedScreenCount; ++i)
        files.emplace_back(screenPath(skin, namedScreens()[size_t(i)]), pngBytes(screens[size_t(i)]));
    files.emplace_back(copyPath(skin), copy);
    files.emplace_back(recordPath(skin.key), skinRecord(skin));
    if (!writeSiteFiles(site, files, out))
        return false;
    out.skins.push_back(std::move(skin));
    return true;
}

// The skin export writes for `profile` of `project`: the same sheet, smoothing,
// depth and converter, so the same bytes.
Status exportedSkinBytes(const GalleryDrawing &drawing, ProjectSheets &sheets, const SkinProject &project,
                         int profile, QByteArray &out)
{
    QImage sheet;
    if (const Status s = sheets.sheet(project, profile, sheet); !s)
        return s;
    const QString &depth = project.exporting.depthOption;
    if (project.exporting.smooth)
        sheet = smoothedSheet(sheet, profile, depth);
    QTemporaryDir scratch(QDir(drawing.workFolder).filePath(QStringLiteral("gallery-XXXXXX")));
    if (!scratch.isValid())
        return Status::failure(QStringLiteral("Не удаётся создать временную папку в «%1».").arg(native(drawing.workFolder)));
    const QString path = exportedSkinPath(scratch.path(), project.name.isEmpty() ? QStringLiteral("skin") : project.name,
                                          profile);
    if (const Status s = writeSkinFile(drawing.files, drawing.workFolder, sheet, depth, path); !s)
        return s;
    return readUserFile(path, maxSkinFileBytes(), out);
}

} // namespace

bool writeSiteFiles(const GallerySite &site, const std::vector<std::pair<QString, QByteArray>> &files, DrawnSkin &out)
{
    for (const auto &[relative, bytes] : files) {
        bool written = false;
        out.status = site.makeFolder(relative.section(u'/', 0, -2));
        if (out.status)
            out.status = writeFileIfChanged(site.path(relative), bytes, &written);
        if (!out.status)
            return false;
        out.files << relative;
        if (written)
            out.written << relative;
    }
    return true;
}

QString projectSizeKey(const GalleryFile &project, int profile)
{
    return galleryKey(project.fileName + u'\n' + profileByIndex(profile)->labelText(), project.bytes);
}

QByteArray projectRecord(const ProjectRecord &record)
{
    QJsonArray sizes;
    for (int p : record.profiles)
        sizes.append(p);
    return QJsonDocument(QJsonObject{{QStringLiteral("format"), QString::fromLatin1(kFormat)},
                                     {QStringLiteral("sizes"), sizes},
                                     {QStringLiteral("notices"), QJsonArray::fromStringList(record.notices)}})
               .toJson(QJsonDocument::Compact) +
           '\n';
}

std::optional<ProjectRecord> projectFromRecord(const QByteArray &record)
{
    const QJsonObject o = QJsonDocument::fromJson(record).object();
    // A record without notices is from before they were kept: drawn again.
    if (o.value(QStringLiteral("format")).toString() != QLatin1String(kFormat) ||
        !o.value(QStringLiteral("notices")).isArray())
        return std::nullopt;
    ProjectRecord out;
    for (const QJsonValue &v : o.value(QStringLiteral("sizes")).toArray()) {
        if (!profileByIndex(v.toInt()))
            return std::nullopt;
        out.profiles.push_back(v.toInt());
    }
    for (const QJsonValue &v : o.value(QStringLiteral("notices")).toArray())
        out.notices << v.toString();
    if (out.profiles.empty())
        return std::nullopt;
    return out;
}

DrawnSkin drawGallerySkin(const GalleryDrawing &drawing, const GallerySite &site, const GalleryFile &file)
{
    DrawnSkin out;
    if (file.project)
        return drawGalleryProject(drawing, site, file);
    SkinImage image;
    out.status = readSkinBytes(drawing.files, drawing.workFolder, file.bytes, file.path, image);
    if (!out.status) {
        out.unreadable = true;
        return out;
    }
    // The download holds the skin and nothing else the file carried.
    drawReadSkin(drawing, site, file, image, bareSkinFile(file.bytes), {}, out);
    return out;
}

DrawnSkin drawGalleryProject(const GalleryDrawing &drawing, const GallerySite &site, const GalleryFile &file)
{
    DrawnSkin out;
    SkinProject project;
    out.status = readProjectBytes(file.bytes, file.path, project, out.notices);
    if (!out.status) {
        out.unreadable = true;
        return out;
    }
    ProjectSheets sheets([&drawing](int profile, QImage &sheet) {
        SkinImage skin;
        const Status s = readSkinFile(drawing.files, drawing.workFolder,
                                      drawing.files.dataPath(QString::fromUtf8(profileByIndex(profile)->templateName)),
                                      skin);
        sheet = skin.sheet;
        return s;
    });
    if (project.hasScrim())
        sheets.setIcons(drawing.icons);
    // Each size as export writes it, read back as the gallery reads any skin:
    // its pictures show the colours of the depth it is saved at.
    for (int profile : project.exporting.profiles) {
        QByteArray bytes;
        SkinImage image;
        GalleryFile size{file.path, QString(), {}, projectSizeKey(file, profile)};
        size.fileName = QFileInfo(exportedSkinPath({}, project.name.isEmpty() ? QStringLiteral("skin") : project.name,
                                                   profile))
                            .fileName();
        out.status = exportedSkinBytes(drawing, sheets, project, profile, bytes);
        if (out.status)
            out.status = readSkinBytes(drawing.files, drawing.workFolder, bytes, file.path, image);
        if (!out.status) {
            out.unreadable = true;  // the project cannot make this size: listed as a problem
            out.skins.clear();
            return out;
        }
        if (!drawReadSkin(drawing, site, size, image, bytes, file.key, out))
            return out;
    }
    // The page names the file, never where it lay on the machine that made the site.
    const QString name = QFileInfo(file.path).fileName();
    QStringList notices;
    for (QString notice : out.notices)
        notices << notice.replace(QDir::toNativeSeparators(file.path), name).replace(file.path, name);
    for (GallerySkin &skin : out.skins)
        skin.notices = notices;
    // Last, so that a project whose record is there has all its sizes drawn.
    if (!writeSiteFiles(site, {{recordPath(file.key), projectRecord({project.exporting.profiles, notices})}}, out))
        out.skins.clear();
    return out;
}

} // namespace zelkor::cli
