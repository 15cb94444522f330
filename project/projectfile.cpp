#include "projectfile.h"

#include "ziparchive.h"

#include "imaging/picturefile.h"
#include "skin/profiles.h"
#include "skin/userfile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

namespace zelkor {

namespace {

const QString kMimetypeEntry = QStringLiteral("mimetype");
const QString kJsonEntry = QStringLiteral("project.json");
const QString kThumbnailEntry = QStringLiteral("thumbnail.png");

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    return writer.write(image) ? bytes : QByteArray();
}

} // namespace

Status readProjectBytes(const QByteArray &bytes, const QString &path, SkinProject &out, QStringList &notices)
{
    UnzippedArchive archive;
    if (Status s = unzipArchive(bytes, path, ZipLimits{}, archive); !s)
        return s;
    const auto mimetype = archive.entries.find(kMimetypeEntry);
    const auto json = archive.entries.find(kJsonEntry);
    if (json == archive.entries.end()
        || (mimetype != archive.entries.end() && mimetype->second != QByteArray(kProjectMimeType)))
        return Status::failure(
            QStringLiteral("Файл «%1» — не проект скина (.zskin): в этом архиве ZIP нет проекта.").arg(native(path)));
    SkinProject project;
    std::map<int, QString> sheetEntries;
    if (Status s = parseProjectJson(json->second, path, project, sheetEntries); !s)
        return s;
    QStringList said;
    // A sheet that cannot be read is left out; pictures taken from it fall back below.
    std::erase_if(project.sheets, [&](ImportedSheet &sheet) {
        const auto entry = archive.entries.find(sheetEntries[sheet.profile]);
        QString why;
        if (entry != archive.entries.end())
            sheet.sheet = normalisedSheet(readImageData(entry->second, sheetEntries[sheet.profile], why));
        const Profile *p = profileByIndex(sheet.profile);
        if (!sheet.sheet.isNull() && sheet.sheet.width() == p->screenWidth)
            return false;
        said << QStringLiteral("В проекте «%1» нет читаемого листа скина %2 (%3); картинки из него взяты из шаблона.")
                    .arg(native(path), p->labelText(), sheetEntries[sheet.profile]);
        return true;
    });
    // A source whose file is missing or altered, or whose sheet is gone, falls back to the template.
    // A size's own source names that size: the picture of every other size is still whole.
    auto keep = [&](SizeSource &source, int picture, int size) {
        if (source.kind == PictureSourceKind::File) {
            const auto entry = archive.entries.find(pictureEntryName(source.file));
            if (entry != archive.entries.end() && sha256Hex(entry->second) == source.file) {
                project.pictureFiles.emplace(source.file, entry->second);
                return;
            }
            const QString which = QStringLiteral("«%1» (%2)").arg(QString::fromUtf8(pictureInfo(picture).caption),
                                                               QLatin1String(pictureInfo(picture).name));
            said << QStringLiteral("В проекте «%1» нет картинки %2 или она повреждена; %3 взята из шаблона.")
                        .arg(native(path), pictureEntryName(source.file),
                             size ? which + QStringLiteral(" для ") + profileByIndex(size)->labelText() : which);
        } else if (source.kind != PictureSourceKind::Sheet || !project.sheets.empty()) {
            return;
        }
        source = SizeSource{};
    };
    for (int i = 0; i < kPictureCount; ++i) {
        keep(project.pictures[size_t(i)], i, 0);
        for (auto &[size, source] : project.pictures[size_t(i)].overrides)
            keep(source, i, size);
    }
    if (const QString hash = generatorPictureHash(project); !hash.isEmpty())
        if (const auto entry = archive.entries.find(pictureEntryName(hash)); entry != archive.entries.end())
            project.pictureFiles.emplace(hash, entry->second);
    out = std::move(project);
    notices = said;
    return Status::success();
}

Status readProjectFile(const QString &path, SkinProject &out, QStringList &notices)
{
    if (!leadsToRegularFile(path))
        return Status::failure(QStringLiteral("Файл «%1» не найден или это не обычный файл.").arg(native(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("Не удаётся прочитать файл «%1».").arg(native(path)),
                               describeSystemWords(file.errorString()));
    if (file.size() > kMaxProjectFileBytes)
        return Status::failure(QStringLiteral("Файл «%1» слишком велик для проекта.").arg(native(path)));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Status::failure(QStringLiteral("Не удаётся прочитать файл «%1».").arg(native(path)),
                               describeSystemWords(file.errorString()));
    return readProjectBytes(bytes, path, out, notices);
}

Status projectFileBytes(const SkinProject &project, const QImage &thumbnail, const QString &path, QByteArray &out)
{
    std::vector<ZipEntry> entries;
    entries.push_back({kMimetypeEntry, QByteArray(kProjectMimeType), false});
    entries.push_back({kJsonEntry, projectJson(project), true});
    for (const ImportedSheet &sheet : project.sheets)
        entries.push_back({sheetEntryName(sheet.profile), png(sheet.sheet), false});
    // Each file once, however many pictures use it; compressed formats are stored as they are.
    for (const auto &[hash, bytes] : project.pictureFiles)
        entries.push_back({pictureEntryName(hash), bytes, false});
    if (!thumbnail.isNull())
        entries.push_back({kThumbnailEntry, png(thumbnail), false});
    return zipArchive(entries, path, out);
}

Status writeProjectFile(const QString &path, const SkinProject &project, const QImage &thumbnail, IfExists ifExists)
{
    QByteArray bytes;
    if (Status s = projectFileBytes(project, thumbnail, path, bytes); !s)
        return s;
    return writeFileWhole(path, bytes, ifExists);
}

bool isProjectFile(const QString &path)
{
    if (!leadsToRegularFile(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // A local file header, "mimetype" as its name, the type as its stored data.
    const QByteArray head = file.read(38 + qsizetype(qstrlen(kProjectMimeType)));
    return head.startsWith("PK\x03\x04") && head.mid(30, 8) == "mimetype" && head.mid(38) == kProjectMimeType;
}

bool readsAsProject(const QString &path)
{
    return isProjectFile(path)
           || (QFileInfo(path).suffix().compare(QLatin1String(kProjectSuffix), Qt::CaseInsensitive) == 0
               && !startsLikeSkin(path));
}

} // namespace zelkor
