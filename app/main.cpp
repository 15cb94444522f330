#include "preview/canvas.h"
#include "skin/workfolder.h"
#include "tform1.h"

#include <QApplication>
#include <QImageReader>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelkor Skin Editor"));
    QApplication::setOrganizationName(QStringLiteral("Zelkor"));  // where QSettings keeps the author's choices
    zelkor::installFontSubstitutions();
    // Sheets and a user's photographs may be large; allow up to 512 MB per image.
    QImageReader::setAllocationLimit(512);

    const zelkor::ProgramFiles files = zelkor::locateProgramFiles(QCoreApplication::applicationDirPath());
    const zelkor::WorkFolder work;
    if (!work.isValid()) {
        QMessageBox::critical(nullptr, QStringLiteral("Ошибка"), work.error());
        return 1;
    }
    zelkor::TForm1 window(files, work.path());
    window.show();
    return app.exec();
}
