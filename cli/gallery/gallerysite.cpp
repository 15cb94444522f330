#include "gallerysite.h"
#include "session.h"

#include "skin/filewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zelkor::cli {

const char *const kGalleryManifest = ".gallery/files";

namespace {

// The names a gallery writes at the top of its folder; a listed file outside
// them is not one of ours, whatever the list says.
bool isOurName(const QString &relative)
{
    if (relative.isEmpty() || QDir::isAbsolutePath(relative) || QDir::cleanPath(relative) != relative ||
        relative.startsWith(QLatin1String("../")) || relative == QLatin1String(".."))
        return false;
    const QString top = relative.section(u'/', 0, 0);
    return top == QLatin1String("index.html") || (top.startsWith(QLatin1String("size-")) && !relative.contains(u'/')) ||
           top == QLatin1String("pictures") || top == QLatin1String("skins") || top == QLatin1String(".gallery");
}

} // namespace

Status writeFileIfChanged(const QString &path, const QByteArray &bytes, bool *written)
{
    if (written)
        *written = false;
    const QFileInfo info(path);
    if (!info.isSymLink() && info.isFile() && info.size() == bytes.size()) {
        QFile old(path);
        if (old.open(QIODevice::ReadOnly) && old.readAll() == bytes)
            return Status::success();
    }
    const Status status = writeFileWhole(path, bytes, IfExists::Replace);
    if (written)
        *written = status.ok();
    return status;
}

GallerySite::GallerySite(QString root) : m_root(QDir::cleanPath(std::move(root))) {}

QString GallerySite::path(const QString &relative) const
{
    return QDir(m_root).filePath(relative);
}

Status GallerySite::open(bool force)
{
    const QFileInfo info(m_root);
    if (info.exists() && !info.isDir())
        return Status::failure(QStringLiteral("«%1» — не папка.").arg(native(m_root)));
    if (!info.exists() && !QDir().mkpath(m_root))
        return Status::failure(QStringLiteral("Не удаётся создать папку «%1».").arg(native(m_root)));
    if (hasFile(QString::fromLatin1(kGalleryManifest))) {
        QFile list(path(QString::fromLatin1(kGalleryManifest)));
        if (!list.open(QIODevice::ReadOnly))
            return Status::failure(
                QStringLiteral("Не удаётся прочитать файл «%1»: %2").arg(native(list.fileName()), list.errorString()));
        for (const QByteArray &line : list.readAll().split('\n'))
            if (const QString name = QString::fromUtf8(line); isOurName(name))
                m_previous.insert(name);
        return Status::success();
    }
    if (!force && !QDir(m_root).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        return Status::failure(QStringLiteral("Папка «%1» не пуста, и её сделала не команда gallery; чтобы писать в "
                                              "неё, укажите --force.")
                                   .arg(native(m_root)));
    return Status::success();
}

bool GallerySite::hasFile(const QString &relative) const
{
    QString at = m_root;
    for (const QString &part : relative.split(u'/')) {
        at = QDir(at).filePath(part);
        if (QFileInfo(at).isSymLink())
            return false;
    }
    return QFileInfo(at).isFile();
}

Status GallerySite::makeFolder(const QString &relative) const
{
    QString at = m_root;
    for (const QString &part : relative.split(u'/')) {
        at = QDir(at).filePath(part);
        const QFileInfo info(at);
        if (info.isSymLink() && !QFile::remove(at))
            return Status::failure(QStringLiteral("Не удаётся убрать ссылку «%1».").arg(native(at)));
        if (!QFileInfo(at).isDir() && !QDir().mkdir(at))
            return Status::failure(QStringLiteral("Не удаётся создать папку «%1».").arg(native(at)));
    }
    return Status::success();
}

Status GallerySite::finish()
{
    for (const QString &old : m_previous) {
        if (m_current.count(old) || !hasFile(old))
            continue;
        QFile::remove(path(old));
        // Folders the file leaves empty go too (rmdir refuses any other).
        for (QString folder = old.section(u'/', 0, -2); !folder.isEmpty(); folder = folder.section(u'/', 0, -2))
            if (!QDir(m_root).rmdir(folder))
                break;
    }
    QString list;
    for (const QString &name : m_current)
        list += name + u'\n';
    if (const Status s = makeFolder(QString::fromLatin1(kGalleryManifest).section(u'/', 0, 0)); !s)
        return s;
    return writeFileIfChanged(path(QString::fromLatin1(kGalleryManifest)), list.toUtf8());
}

} // namespace zelkor::cli
