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

WriteOutcome writeFileIfChanged(const QString &path, const QByteArray &bytes, QString &why)
{
    const QFileInfo info(path);
    if (!info.isSymLink() && info.isFile() && info.size() == bytes.size()) {
        QFile old(path);
        if (old.open(QIODevice::ReadOnly) && old.readAll() == bytes)
            return WriteOutcome::Unchanged;
    }
    if (const Status s = writeFileWhole(path, bytes, IfExists::Replace); !s) {
        why = oneLine(s);
        return WriteOutcome::Failed;
    }
    return WriteOutcome::Written;
}

GallerySite::GallerySite(QString root) : m_root(QDir::cleanPath(std::move(root))) {}

QString GallerySite::path(const QString &relative) const
{
    return QDir(m_root).filePath(relative);
}

bool GallerySite::open(bool force, QString &why)
{
    const QFileInfo info(m_root);
    if (info.exists() && !info.isDir()) {
        why = QStringLiteral("«%1» — не папка.").arg(native(m_root));
        return false;
    }
    if (!info.exists() && !QDir().mkpath(m_root)) {
        why = QStringLiteral("Не удаётся создать папку «%1».").arg(native(m_root));
        return false;
    }
    if (hasFile(QString::fromLatin1(kGalleryManifest))) {
        QFile list(path(QString::fromLatin1(kGalleryManifest)));
        if (!list.open(QIODevice::ReadOnly)) {
            why = QStringLiteral("Не удаётся прочитать файл «%1»: %2").arg(native(list.fileName()), list.errorString());
            return false;
        }
        for (const QByteArray &line : list.readAll().split('\n'))
            if (const QString name = QString::fromUtf8(line); isOurName(name))
                m_previous.insert(name);
        return true;
    }
    if (!force && !QDir(m_root).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        why = QStringLiteral("Папка «%1» не пуста, и её сделала не команда gallery; чтобы писать в неё, "
                             "укажите --force.")
                  .arg(native(m_root));
        return false;
    }
    return true;
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

bool GallerySite::makeFolder(const QString &relative, QString &why) const
{
    QString at = m_root;
    for (const QString &part : relative.split(u'/')) {
        at = QDir(at).filePath(part);
        const QFileInfo info(at);
        if (info.isSymLink() && !QFile::remove(at)) {
            why = QStringLiteral("Не удаётся убрать ссылку «%1».").arg(native(at));
            return false;
        }
        if (!QFileInfo(at).isDir() && !QDir().mkdir(at)) {
            why = QStringLiteral("Не удаётся создать папку «%1».").arg(native(at));
            return false;
        }
    }
    return true;
}

bool GallerySite::finish(QString &why)
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
    if (!makeFolder(QString::fromLatin1(kGalleryManifest).section(u'/', 0, 0), why))
        return false;
    return writeFileIfChanged(path(QString::fromLatin1(kGalleryManifest)), list.toUtf8(), why) !=
           WriteOutcome::Failed;
}

} // namespace zelkor::cli
