// Not a test: opens the main window over a synthetic skin of profile 3, shows
// the picture editing dialog, replaces `contacts` with a JPEG through the Load
// command and saves screenshots before and after the main window's next
// refresh. Usage: tform3_snapshot <output folder> (run it under Xvfb).
#include "app/seams.h"
#include "tform1testaccess.h"
#include "app/tform3.h"
#include "preview/canvas.h"
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "skin/skindocument.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

using namespace zelkor;

static QImage syntheticSheet(int profile)
{
    const Profile *p = profileByIndex(profile);
    QImage sheet(p->screenWidth, p->layoutRows, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int i = 0; i < kPictureCount; ++i) {
        const QRect r = pictureRect(i, profile)->rect();
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0, QColor::fromHsv(i * 40, 120, 240));
        g.setColorAt(1, QColor::fromHsv(i * 40, 200, 140));
        painter.fillRect(r, g);
        painter.drawText(r.adjusted(4, 0, 0, 0), Qt::AlignVCenter, QString::fromUtf8(pictureInfo(i).name));
    }
    return sheet;
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    installFontSubstitutions();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir folder;
    seams().critical = [](QWidget *, const QString &text, const QString &) { qWarning("error box: %s", qPrintable(text)); };
    // Quitting closes the main window, which offers to save the changed skin: not this time.
    seams().ask = [](QWidget *, const QString &, const QStringList &) { return 1; };

    TForm1 main(programFilesIn(folder.path()), QDir(folder.path()).filePath(QStringLiteral("work")));
    main.document().adoptUnsaved(syntheticSheet(3), QStringLiteral("synthetic.mbm"));
    ui(main)->RadioGroup1->setItemIndex(1);  // the contact list shows the contacts picture
    ui(main)->PaintBox1->resize(240, 320);
    main.show();

    QImage photo(240, 304, QImage::Format_RGB32);
    photo.fill(QColor(30, 140, 60));
    QPainter(&photo).fillRect(40, 40, 160, 100, QColor(240, 220, 30));
    const QString jpeg = folder.filePath(QStringLiteral("replacement.JPG"));
    photo.save(jpeg, "JPEG");

    TForm3 dialog(main.document(), main.watcher(), &main);
    dialog.show();
    QTimer::singleShot(500, [&] {
        main.grab().save(out + QStringLiteral("/main-before.png"));
        dialog.grab().save(out + QStringLiteral("/dialog-cutout.png"));
        seams().openFile = [&](QWidget *, const QString &, const QString &, const QString &) { return jpeg; };
        dialog.BitBtn2Click();
        dialog.grab().save(out + QStringLiteral("/dialog-loaded.png"));
    });
    // The main window's one-second timer shows the write-back.
    QTimer::singleShot(1700, [&] {
        main.grab().save(out + QStringLiteral("/main-after.png"));
        app.quit();
    });
    return app.exec();
}
