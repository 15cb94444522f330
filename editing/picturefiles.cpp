#include "picturefiles.h"

#include "skin/filewrite.h"
#include "skin/profiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QStandardPaths>

namespace zelkor {

QString workingFilePath(const QString &workFolder, int picture)
{
    return QDir(workFolder).absoluteFilePath(QString::fromUtf8(pictureInfo(picture).workingFile));
}

namespace {

// Through a temporary file beside it, so a failed write never leaves half a
// picture and a link at the name is replaced, never followed.
bool writeImage(const QImage &image, const QString &path, const QByteArray &format, QString &error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        error = QStringLiteral("Не удаётся записать файл «%1»: %2")
                    .arg(QDir::toNativeSeparators(path), writer.errorString());
        return false;
    }
    // The image editor may have put a link or anything else at this name:
    // the name is replaced, never written through.
    const Status s = writeFileWhole(path, bytes, IfExists::Replace);
    error = s.message;
    return s.ok();
}

} // namespace

QString notPlainWorkingFile(const QString &path)
{
    return QStringLiteral("Рабочий файл «%1» подменён: это ссылка, канал или не обычный файл. Он не прочитан; "
                          "картинка в скине не изменена.")
        .arg(QDir::toNativeSeparators(path));
}

bool writeWorkingFile(const QImage &image, const QString &path, QString &error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeImage(image, path, "bmp", error);
}

bool writePictureFile(const QImage &image, const QString &path, QString &error)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QByteArray format = suffix == QLatin1String("bmp")                                    ? "bmp"
                              : suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg") ? "jpeg"
                              : suffix == QLatin1String("png")                                  ? "png"
                                                                                                : QByteArray();
    if (format.isEmpty()) {
        error = QStringLiteral("Файл «%1» не записан: картинку можно сохранить как PNG, BMP или JPEG (.png, .bmp, .jpg).")
                    .arg(QDir::toNativeSeparators(path));
        return false;
    }
    return writeImage(image, path, format, error);
}

QString defaultEditorPath()
{
    const QString chosen = qEnvironmentVariable("ZELKOR_IMAGE_EDITOR");
    if (!chosen.isEmpty())
        return chosen;
    for (const char *name : {"kolourpaint", "pinta", "mtpaint", "gimp", "krita"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    return opener.isEmpty() ? QStringLiteral("xdg-open") : opener;
}

} // namespace zelkor
