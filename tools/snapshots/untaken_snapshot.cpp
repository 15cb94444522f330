// Not a test: the question "Выход" asks about an image editor's save that the
// sheet has not taken, as the real message box shows it over the main window.
// Usage: untaken_snapshot <output folder> <program folder> (run it under Xvfb
// with ImageMagick's import on the PATH).
#include "app/seams.h"
#include "app/mainwindow/tform1.h"
#include "app/tform3.h"
#include "editing/picturefiles.h"
#include "editing/workingfilewatcher.h"
#include "preview/canvas.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>

using namespace zelkor;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    installFontSubstitutions();
    if (argc < 3)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir work;
    seams().startDetached = [](const QString &, const QStringList &) { return true; };

    TForm1 main(programFilesIn(QString::fromLocal8Bit(argv[2])), work.path());
    if (!main.document().newFromTemplate(3))
        return 1;
    main.show();
    main.watcher().setEnabled(false);
    {
        TForm3 dialog(main.document(), main.watcher(), &main);
        dialog.FormShow();
        dialog.BitBtn1Click();
    }
    // The editor's save: the picture with a yellow block painted on it.
    const QString path = workingFilePath(main.document().workFolder(), Contacts);
    QImage edited(path);
    QPainter(&edited).fillRect(40, 40, 160, 100, QColor(240, 220, 30));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !edited.save(&file, "BMP") || !file.commit())
        return 1;

    QTimer::singleShot(800, [&] { main.close(); });
    QTimer::singleShot(1600, [&] {
        QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                                     out + QStringLiteral("/untaken-prompt.png")});
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();  // "Отмена": the window stays
        app.quit();
    });
    return app.exec();
}
