// zelkor-datagen: draws the data that ships beside the editor.
//
//   zelkor-datagen [--program-dir DIR] [--sheet-dir DIR] [--icon-dir DIR --icon-name NAME]
//
// --program-dir writes the two icon sheets (icons.bmp, icons32.bmp) and the six
// phone pictures (devices/<label>.jpg) into the program folder DIR.
// --sheet-dir writes the six template sheets as 24-bit Windows bitmaps
// (<label>.bmp) into DIR; the build packs them into skn/<label>.mbm with bmconv.
// --icon-dir writes the editor's own icon as an icon theme folder below DIR:
// hicolor/scalable/apps/NAME.svg and hicolor/<N>x<N>/apps/NAME.png.
// Needs a Qt platform; the build runs it with QT_QPA_PLATFORM=offscreen.

#include "appicon.h"
#include "icons.h"
#include "phones.h"
#include "skintemplate.h"

#include "skin/profiles.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

namespace {

using namespace zelkor;

// Opens `path` for writing through a temporary file, so a failed run never
// leaves half a file; its folder is created first.
bool openForWriting(QSaveFile &file)
{
    const QString path = file.fileName();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        std::fprintf(stderr, "zelkor-datagen: %s: cannot create the folder\n", qPrintable(path));
        return false;
    }
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "zelkor-datagen: %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

bool save(const QImage &image, const QString &path, const char *format, int quality = -1)
{
    if (image.isNull()) {
        std::fprintf(stderr, "zelkor-datagen: %s: nothing drawn\n", qPrintable(path));
        return false;
    }
    QSaveFile file(path);
    if (!openForWriting(file))
        return false;
    // A Windows bitmap of an RGB32 image is written at 24 bits per pixel; a PNG keeps its transparency.
    const bool png = qstrcmp(format, "PNG") == 0;
    const QImage out = png ? image : image.convertToFormat(QImage::Format_RGB32);
    if (!out.save(&file, format, quality) || !file.commit()) {
        std::fprintf(stderr, "zelkor-datagen: %s: cannot write the %s file\n", qPrintable(path), format);
        return false;
    }
    return true;
}

bool saveText(const QString &text, const QString &path)
{
    QSaveFile file(path);
    if (!openForWriting(file))
        return false;
    if (file.write(text.toUtf8()) < 0 || !file.commit()) {
        std::fprintf(stderr, "zelkor-datagen: %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

bool writeProgramData(const QDir &dir)
{
    bool ok = save(datagen::drawIconSheet(16), dir.filePath(QStringLiteral("icons.bmp")), "BMP");
    ok = save(datagen::drawIconSheet(32), dir.filePath(QStringLiteral("icons32.bmp")), "BMP") && ok;
    for (const Profile &pr : allProfiles())
        ok = save(datagen::drawPhonePicture(pr.index), dir.filePath(QString::fromUtf8(pr.photoName)), "JPG", 92) && ok;
    return ok;
}

bool writeSheets(const QDir &dir)
{
    bool ok = true;
    for (const Profile &pr : allProfiles())
        ok = save(datagen::drawTemplateSheet(pr.index), dir.filePath(pr.labelText() + QStringLiteral(".bmp")), "BMP") && ok;
    return ok;
}

bool writeAppIcon(const QDir &dir, const QString &name)
{
    bool ok = saveText(datagen::appIconSvg(), dir.filePath(QStringLiteral("hicolor/scalable/apps/%1.svg").arg(name)));
    for (int size : datagen::kAppIconSizes)
        ok = save(datagen::drawAppIcon(size), dir.filePath(QStringLiteral("hicolor/%1x%1/apps/%2.png").arg(size).arg(name)),
                  "PNG") && ok;
    return ok;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: zelkor-datagen [--program-dir DIR] [--sheet-dir DIR] [--icon-dir DIR --icon-name NAME]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments().mid(1);
    QString programDir, sheetDir, iconDir, iconName;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (i + 1 >= args.size())
            return usage();
        if (args[i] == QLatin1String("--program-dir"))
            programDir = args[++i];
        else if (args[i] == QLatin1String("--sheet-dir"))
            sheetDir = args[++i];
        else if (args[i] == QLatin1String("--icon-dir"))
            iconDir = args[++i];
        else if (args[i] == QLatin1String("--icon-name"))
            iconName = args[++i];
        else
            return usage();
    }
    if ((programDir.isEmpty() && sheetDir.isEmpty() && iconDir.isEmpty()) || iconDir.isEmpty() != iconName.isEmpty())
        return usage();

    bool ok = true;
    if (!programDir.isEmpty())
        ok = writeProgramData(QDir(programDir)) && ok;
    if (!sheetDir.isEmpty())
        ok = writeSheets(QDir(sheetDir)) && ok;
    if (!iconDir.isEmpty())
        ok = writeAppIcon(QDir(iconDir), iconName) && ok;
    return ok ? 0 : 1;
}
