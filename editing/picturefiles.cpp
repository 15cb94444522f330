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

bool writeWorkingFile(const QImage &image, const QString &path, QString &error)
{
    const QString shown = QDir::toNativeSeparators(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Through a temporary file beside it, so a failed write never leaves half a bitmap.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("Не удаётся записать файл «%1»: %2").arg(shown, file.errorString());
        return false;
    }
    QImageWriter writer(&file, "bmp");
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

} // namespace zelkor
