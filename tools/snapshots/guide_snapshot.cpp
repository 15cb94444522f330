// Not a test: draws the pictures of the user's guide. Opens the main window
// on the build's program folder with the 240x320 template, then each window
// the guide describes over it, and saves one PNG per window into the folder
// given (and help-window.png, the guide in its window, to look at). Run it under Xvfb (or the offscreen platform) with a fixed font set,
// then copy the pictures into data/guide/pictures.
// Usage: guide_snapshot OUTPUT_FOLDER [PICTURE]
#include "app/helpwindow.h"
#include "app/allscreensdock.h"
#include "app/newfrompicture.h"
#include "app/placementdialog.h"
#include "app/seams.h"
#include "app/tform2.h"
#include "app/tform3.h"
#include "app/tform5.h"
#include "tform1testaccess.h"
#include "preview/canvas.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace zelkor;

namespace {

void save(QWidget &w, const QString &folder, const char *name)
{
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    if (!w.grab().save(path))
        qWarning("cannot write %s", qPrintable(path));
}

// Shows a dialog without running it, lets it lay out, and saves its picture.
void snap(QDialog &dialog, const QString &folder, const char *name)
{
    dialog.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    save(dialog, folder, name);
    dialog.hide();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    installFontSubstitutions();
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir work;
    // The files under the names an author would give them, not the build's paths.
    const QString picture = QDir(work.path()).filePath(QStringLiteral("Закат.jpg"));
    QFile::copy(argc > 2 ? QString::fromLocal8Bit(argv[2])
                         : QDir(QStringLiteral(ZELKOR_SOURCE_DIR)).filePath(QStringLiteral("docs/from-picture-example.jpg")),
                picture);
    seams().critical = [](QWidget *, const QString &text, const QString &) { qWarning("error box: %s", qPrintable(text)); };
    seams().ask = [](QWidget *, const QString &, const QStringList &) { return 1; };

    const ProgramFiles files = programFilesIn(test::programFolder());
    const QString skin = QDir(work.path()).filePath(QStringLiteral("Мой скин.mbm"));
    QFile::copy(files.dataPath(QStringLiteral("skn/240x320.mbm")), skin);
    TForm1 main(files, QDir(work.path()).filePath(QStringLiteral("work")));
    const Status loaded = main.document().load(skin);
    if (!loaded) {
        qWarning("%s", qPrintable(loaded.message));
        return 1;
    }
    // The phone and the colours; the all-screens panel has a picture of its own.
    main.resize(1000, 720);
    main.show();
    ui(main)->allScreens->hide();
    ui(main)->RadioGroup1->setItemIndex(1);
    ui(main).RadioGroup1Click();
    for (int i = 0; i < 3; ++i) {
        ui(main).Timer1Timer();
        QApplication::processEvents();
    }
    save(main, out, "main.png");
    ui(main)->allScreens->setFloating(true);
    ui(main)->allScreens->resize(600, 560);
    ui(main)->allScreens->show();
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    save(*ui(main)->allScreens, out, "allscreens.png");
    ui(main)->allScreens->hide();

    TForm2 sizes(&main);
    snap(sizes, out, "new.png");
    TForm3 pictures(main.document(), main.watcher(), &main);
    snap(pictures, out, "pictures.png");
    const QImage photo(picture);
    PlacementDialog placement(main.document(), 1, photo, &main);
    placement.resize(760, 560);
    snap(placement, out, "placement.png");
    TForm5 depth(&main);
    snap(depth, out, "depth.png");
    IconSheets icons;
    readIconSheets(files, icons);
    NewFromPictureDialog fromPicture(files, QDir(work.path()).filePath(QStringLiteral("work")), icons, &main);
    fromPicture.setPicture(picture);
    fromPicture.setVariant(design::Variant::Light);
    snap(fromPicture, out, "frompicture.png");
    // The guide itself in its window, to look at (not a picture of the guide).
    if (HelpWindow::open(files.dataPath(QStringLiteral("guide")), QStringLiteral("main.html"), &main))
        save(*HelpWindow::current(), out, "help-window.png");
    ui(main).quitWithoutAsking();
    return 0;
}
