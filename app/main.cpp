#include "preview/canvas.h"
#include "quitsignals.h"
#include "desktop/desktoprecent.h"
#include "desktop/recovery.h"
#include "desktop/settingscheck.h"
#include "desktop/workfolder.h"
#include "skin/programfiles.h"
#include "startup.h"
#include "mainwindow/tform1.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

using namespace zelkor;

namespace {

// --help and --version are answered on the terminal without a window, so they
// work where no display is. Each of QCommandLineParser's answers ends the program.
[[noreturn]] void answerOnTheTerminal(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    installQtTranslations(app);
    QCommandLineParser parser;
    if (readCommandLine(parser, QCoreApplication::arguments()).mode == StartRequest::ShowVersion)
        parser.showVersion();
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(app);  // the help with Qt's own options
    parser.showHelp(0);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Zelkor Skin Editor"));
    QCoreApplication::setOrganizationName(QStringLiteral("Zelkor"));  // where QSettings keeps the author's choices
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELKOR_VERSION));
    {
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        QCommandLineParser probe;
        const StartRequest::Mode mode = readCommandLine(probe, arguments).mode;
        if (mode == StartRequest::ShowHelp || mode == StartRequest::ShowVersion)
            answerOnTheTerminal(argc, argv);
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(ZELKOR_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(ZELKOR_APP_ID)));
    installQtTranslations(app);
    QCommandLineParser parser;
    const StartRequest request = readCommandLine(parser, QCoreApplication::arguments());
    if (request.mode == StartRequest::UsageError) {
        std::fprintf(stderr, "zelkor-skin-editor: %s\n%s", qPrintable(request.error), qPrintable(parser.helpText()));
        return 2;
    }
    zelkor::installFontSubstitutions();
    // Sheets and a user's photographs may be large; allow up to 512 MB per image.
    QImageReader::setAllocationLimit(512);

    const ProgramFiles files = locateProgramFiles(QCoreApplication::applicationDirPath());
    // From before the work folder exists, a quit by signal (kill, logout,
    // Ctrl+C) takes the editor's own way out, which removes that folder.
    QuitSignals quitSignals;
    // A quit during a warning of the start ends that warning's own loop; the
    // flag keeps the main loop from starting afterwards.
    bool quitArrived = false;
    QObject::connect(&quitSignals, &QuitSignals::arrived, &app, [&quitArrived] {
        quitArrived = true;
        QCoreApplication::exit(0);
    });
    // Scratch files go to a folder of this run's own, never the program folder.
    const WorkFolder work;
    if (!work.isValid()) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Ошибка"), work.error());
        box.setTextFormat(Qt::PlainText);  // it names a folder
        box.exec();
        return 1;
    }
    // A settings file that is a pipe, a device or read-only is left alone.
    guardSettingsFile(work.path());
    TForm1 window(files, work.path());
    QObject::connect(&quitSignals, &QuitSignals::arrived, &window, &TForm1::quitWithoutAsking);
    window.restoreWindowState();
    window.keepDesktopRecentList(desktopRecentListPath());
    // A modified skin is copied now and then under this run's own name.
    window.keepRecoveryCopies(RecoveryKeeper::defaultFolder(), QFileInfo(work.path()).fileName());
    if (quitArrived)
        return 0;
    window.show();
    // The questions of the start, and a skin named on the command line, come
    // once the window is up, so that their boxes have it as their parent.
    QTimer::singleShot(0, &window, [&window, &request, &quitArrived] {
        window.reportUnwritableSettings();
        if (!quitArrived)
            window.offerRecovery();
        if (!quitArrived && !request.skinFile.isEmpty())
            window.loadSkinFile(request.skinFile);
    });
    return app.exec();
}
