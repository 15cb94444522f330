// zelkor-datagen: draws the data that ships beside the editor.
//
//   zelkor-datagen [--program-dir DIR] [--sheet-dir DIR]
//
// --program-dir writes the two icon sheets (icons.bmp, icons32.bmp) and the six
// phone pictures (devices/<label>.jpg) into the program folder DIR.
// --sheet-dir writes the six template sheets as 24-bit Windows bitmaps
// (<label>.bmp) into DIR; the build packs them into skn/<label>.mbm with bmconv.
// Needs a Qt platform; the build runs it with QT_QPA_PLATFORM=offscreen.

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

// Writes through a temporary file so a failed run never leaves half a file.
bool save(const QImage &image, const QString &path, const char *format, int quality = -1)
{
    if (image.isNull()) {
        std::fprintf(stderr, "zelkor-datagen: %s: nothing drawn\n", qPrintable(path));
        return false;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        std::fprintf(stderr, "zelkor-datagen: %s: cannot create the folder\n", qPrintable(path));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "zelkor-datagen: %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    // A Windows bitmap of an RGB32 image is written at 24 bits per pixel.
    const QImage out = image.convertToFormat(QImage::Format_RGB32);
    if (!out.save(&file, format, quality) || !file.commit()) {
        std::fprintf(stderr, "zelkor-datagen: %s: cannot write the %s file\n", qPrintable(path), format);
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

int usage()
{
    std::fprintf(stderr, "usage: zelkor-datagen [--program-dir DIR] [--sheet-dir DIR]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments().mid(1);
    QString programDir, sheetDir;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (i + 1 >= args.size())
            return usage();
        if (args[i] == QLatin1String("--program-dir"))
            programDir = args[++i];
        else if (args[i] == QLatin1String("--sheet-dir"))
            sheetDir = args[++i];
        else
            return usage();
    }
    if (programDir.isEmpty() && sheetDir.isEmpty())
        return usage();

    bool ok = true;
    if (!programDir.isEmpty())
        ok = writeProgramData(QDir(programDir)) && ok;
    if (!sheetDir.isEmpty())
        ok = writeSheets(QDir(sheetDir)) && ok;
    return ok ? 0 : 1;
}
