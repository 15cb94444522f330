// Not a test: the placement step over a synthetic skin of the largest
// profile, a 1600 x 1200 picture loaded into `contacts`, the crop dragged and
// zoomed; saves the dialog and the main window (with the live result) as
// pictures. Usage: placement_snapshot <output folder> [mode key] (under Xvfb).
#include "app/placementdialog.h"
#include "app/seams.h"
#include "tform1testaccess.h"
#include "app/tform3.h"
#include "preview/canvas.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

using namespace zelkor;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    installFontSubstitutions();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const auto mode = fitModeByKey(argc > 2 ? QString::fromLatin1(argv[2]) : QStringLiteral("cover"));
    QTemporaryDir folder;
    seams().critical = [](QWidget *, const QString &text, const QString &) { qWarning("error box: %s", qPrintable(text)); };
    seams().ask = [](QWidget *, const QString &, const QStringList &) { return 1; };

    const Profile *p = profileByIndex(6);
    QImage sheet(p->screenWidth, p->layoutRows, QImage::Format_RGB32);
    sheet.fill(QColor(90, 110, 160));
    TForm1 main(programFilesIn(folder.path()), QDir(folder.path()).filePath(QStringLiteral("work")));
    main.document().adoptUnsaved(sheet, QStringLiteral("synthetic.mbm"));
    ui(main)->RadioGroup1->setItemIndex(1);
    main.show();

    // A picture with a horizon, a sun and a frame, so the crop is easy to read.
    QImage photo(1600, 1200, QImage::Format_RGB32);
    QPainter painter(&photo);
    QLinearGradient sky(0, 0, 0, 800);
    sky.setColorAt(0, QColor(40, 90, 200));
    sky.setColorAt(1, QColor(250, 200, 140));
    painter.fillRect(0, 0, 1600, 800, sky);
    painter.fillRect(0, 800, 1600, 400, QColor(30, 120, 50));
    painter.setBrush(QColor(255, 230, 60));
    painter.drawEllipse(QPoint(1200, 500), 120, 120);
    painter.setPen(QPen(Qt::red, 12));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(photo.rect().adjusted(6, 6, -6, -6));
    painter.end();
    const QString file = folder.filePath(QStringLiteral("photo.png"));
    photo.save(file);

    TForm3 dialog(main.document(), main.watcher(), &main);
    dialog.show();
    seams().openFile = [&](QWidget *, const QString &, const QString &, const QString &) { return file; };
    seams().execDialog = [&](QDialog *d) {
        auto *step = static_cast<PlacementDialog *>(d);
        step->setMode(mode.value_or(FitMode::Cover));
        step->setZoom(1.6);
        step->moveCrop(QPointF(400, -100));
        step->show();
        QTimer::singleShot(800, step, [&, step] {
            step->grab().save(out + QStringLiteral("/placement-dialog.png"));
            main.grab().save(out + QStringLiteral("/placement-main.png"));
            step->accept();
        });
        return step->exec();
    };
    QTimer::singleShot(300, &dialog, [&] {
        dialog.BitBtn2Click();
        dialog.grab().save(out + QStringLiteral("/placement-after.png"));
        app.quit();
    });
    return app.exec();
}
