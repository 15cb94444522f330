#include "picturefiles.h"

#include "skin/profiles.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace zelkor {

QString workingFilePath(const QString &workFolder, int picture)
{
    return QDir(workFolder).absoluteFilePath(QString::fromUtf8(pictureInfo(picture).workingFile));
}

namespace {

// Through a temporary file beside it, so a failed write never leaves half a picture.
bool writeImage(const QImage &image, const QString &path, const QByteArray &format, QString &error)
{
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("Не удаётся записать файл «%1»: %2").arg(shown, file.errorString());
        return false;
    }
    QImageWriter writer(&file, format);
    if (!writer.write(image)) {
        error = QStringLiteral("Не удаётся записать файл «%1»: %2").arg(shown, writer.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = QStringLiteral("Не удаётся записать файл «%1»: %2").arg(shown, file.errorString());
        return false;
    }
    return true;
}

} // namespace

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

namespace {
const QString kEditorKey = QStringLiteral("editing/editor");
const QString kFollowKey = QStringLiteral("editing/followEditor");
const QString kPictureFolderKey = QStringLiteral("editing/pictureFolder");
} // namespace

QString rememberedEditorPath()
{
    const QString program = QSettings().value(kEditorKey).toString();
    return program.isEmpty() ? defaultEditorPath() : program;
}

void rememberEditorPath(const QString &program)
{
    QSettings().setValue(kEditorKey, program);
}

bool followEditorChanges()
{
    return QSettings().value(kFollowKey, true).toBool();
}

void setFollowEditorChanges(bool on)
{
    QSettings().setValue(kFollowKey, on);
}

QString rememberedPictureFolder()
{
    const QString folder = QSettings().value(kPictureFolderKey).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

void rememberPictureFolder(const QString &folder)
{
    QSettings().setValue(kPictureFolderKey, folder);
}

} // namespace zelkor
