#include "picturefiles.h"

#include "skin/filewrite.h"
#include "skin/profiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSettings>
#include <QStandardPaths>

namespace zelkor {

QString workingFilePath(const QString &workFolder, int picture)
{
    return QDir(workFolder).absoluteFilePath(QString::fromUtf8(pictureInfo(picture).workingFile));
}

bool writeWorkingFile(const QImage &image, const QString &path, QString &error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
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

QString notPlainWorkingFile(const QString &path)
{
    return QStringLiteral("Рабочий файл «%1» подменён: это ссылка, канал или не обычный файл. Он не прочитан; "
                          "картинка в скине не изменена.")
        .arg(QDir::toNativeSeparators(path));
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
