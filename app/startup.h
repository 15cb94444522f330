#pragma once
// What the editor settles before its window opens: its command line, and
// Qt's own texts (file and colour dialogs, standard buttons) in Russian like
// the rest of the interface.

#include <QString>
#include <QStringList>

class QCommandLineParser;
class QCoreApplication;

namespace zelkor {

struct StartRequest {
    enum Mode { OpenWindow, ShowHelp, ShowVersion, UsageError };
    Mode mode = OpenWindow;
    QString skinFile;  // absolute path of the skin to open at start; empty: none
    QString error;     // what is wrong with the command line (UsageError)
};

// Declares the editor's options on `parser` and reads `arguments` (the
// program's name first, Qt's own options such as -platform already taken out
// by the application object): --help, --version and at most one skin file.
StartRequest readCommandLine(QCommandLineParser &parser, const QStringList &arguments);

// Loads Qt's Russian translations into `app`, whatever the system's language;
// false when they are not installed (Qt's texts then stay English).
bool installQtTranslations(QCoreApplication &app);

} // namespace zelkor
