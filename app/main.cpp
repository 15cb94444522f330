#include "preview/canvas.h"
#include "tform1.h"

#include <QApplication>
#include <QImageReader>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelkor Skin Editor"));
    zelkor::installFontSubstitutions();
    // Sheets and a user's photographs may be large; allow up to 512 MB per image.
    QImageReader::setAllocationLimit(512);

    zelkor::TForm1 window(QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
}
