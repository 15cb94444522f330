// Not a test: opens the main window on the build's program folder, chooses
// "Новый из картинки…" and, inside the dialog, the picture given, then the
// light variant; the dialog stays open until the program is stopped or the
// time given has passed, for a screenshot under Xvfb. "Создать" or "Отмена"
// ends it as usual. PROFILE (1..6) chooses the screen size as well.
// Usage: newfrompicture_snapshot PICTURE [SECONDS [PROFILE]]
#include "app/newfrompicture.h"
#include "app/seams.h"
#include "tform1testaccess.h"
#include "preview/canvas.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

using namespace zelkor;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    installFontSubstitutions();
    if (argc < 2)
        return 2;
    const QString picture = QString::fromLocal8Bit(argv[1]);
    const int seconds = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 20;
    const int profile = argc > 3 ? QString::fromLocal8Bit(argv[3]).toInt() : 0;
    QTemporaryDir work;
    TForm1 main(programFilesIn(test::programFolder()), work.path());
    main.show();
    const auto exec = seams().execDialog;
    seams().execDialog = [&](QDialog *d) {
        if (auto *dialog = qobject_cast<NewFromPictureDialog *>(d)) {
            QTimer::singleShot(300, dialog, [dialog, picture, profile] {
                dialog->setPicture(picture);
                if (profile)
                    dialog->setProfile(profile);
                dialog->setVariant(design::Variant::Light);
            });
            QTimer::singleShot(seconds * 1000, dialog, &QDialog::accept);
        }
        return exec(d);
    };
    QTimer::singleShot(200, &main, [&main] { ui(main).N8Click(); });
    QTimer::singleShot((seconds + 3) * 1000, &app, &QApplication::quit);
    return app.exec();
}
