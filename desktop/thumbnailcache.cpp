#include "thumbnailcache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace zelkor {

namespace {

QString fileUri(const QString &file)
{
    return QString::fromLatin1(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toEncoded());
}

QString modified(const QFileInfo &info)
{
    return QString::number(info.lastModified().toSecsSinceEpoch());
}

} // namespace

QString thumbnailPath(const QString &file)
{
    const QByteArray md5 = QCryptographicHash::hash(fileUri(file).toUtf8(), QCryptographicHash::Md5).toHex();
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        .filePath(QStringLiteral("thumbnails/normal/") + QString::fromLatin1(md5) + QStringLiteral(".png"));
}

QImage cachedThumbnail(const QString &file)
{
    const QFileInfo info(file);
    if (!info.isFile())
        return {};
    QImage thumbnail(thumbnailPath(file), "PNG");
    // A thumbnail of another file at that name, or of this one before it changed, is no picture of it.
    if (thumbnail.text(QStringLiteral("Thumb::URI")) != fileUri(file)
        || thumbnail.text(QStringLiteral("Thumb::MTime")) != modified(info))
        return {};
    return thumbnail;
}

bool keepThumbnail(const QString &file, const QImage &picture)
{
    const QFileInfo info(file);
    if (!info.isFile() || picture.isNull())
        return false;
    QImage thumbnail = picture.width() > kThumbnailSize || picture.height() > kThumbnailSize
                           ? picture.scaled(kThumbnailSize, kThumbnailSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                           : picture;
    thumbnail.setText(QStringLiteral("Thumb::URI"), fileUri(file));
    thumbnail.setText(QStringLiteral("Thumb::MTime"), modified(info));
    thumbnail.setText(QStringLiteral("Software"), QStringLiteral("zelkor-skin-editor"));
    const QString path = thumbnailPath(file);
    // The cache is private to the user, as the layout asks.
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile::setPermissions(QFileInfo(path).absolutePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && thumbnail.save(&out, "PNG") && out.commit();
}

} // namespace zelkor
