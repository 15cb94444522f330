#pragma once
// What every command of zelkor-skin works with: the program's read-only files,
// one work folder for scratch files (made when a skin is first read, never in
// the program folder), the icon sheets (read once), and the two output streams.
// Problems go to stderr, one line each, naming the file and the cause.
//
// Commands write files only through the writers here: a file that exists is
// refused unless the command line says --force, every file is written whole
// under a temporary name and renamed (a link at the name is replaced, never
// followed), and the path of each file written goes to stdout.

#include "command.h"
#include "preview/screenimage.h"
#include "skin/programfiles.h"
#include "skin/skindocument.h"
#include "imaging/status.h"

#include <QString>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

namespace zelkor {
class WorkFolder;
}

namespace zelkor::cli {

// Declares --force; every command that writes files calls this. `meaning`
// replaces the usual help text where the option allows more than replacing.
void declareForce(QCommandLineParser &parser, const QString &meaning = {});

// The words of a command's -o option.
struct OutputOption {
    const char *help;
    const char *valueName;
    const char *missing;  // the usage error when -o is not given
};
void declareOutput(QCommandLineParser &parser, const OutputOption &option);

// The words of a command's --depth option: its help, with the list of depths
// at %1, and the depth name taken when it is not given (none: no depth).
struct DepthOption {
    const char *help;
    const char *defaultName = nullptr;
};
void declareDepth(QCommandLineParser &parser, const DepthOption &option);
// The depths as the command line names them: "c4, c8, c12, c16 или c24".
QString depthNamesText();

// What a command that takes exactly one file takes.
enum class OneInput { Skin, Picture, SkinToFix };

// A picture as the PNG bytes every command writes; empty, with `why` set,
// when it cannot be encoded.
QByteArray pngBytes(const QImage &image, QString *why = nullptr);

class Session {
public:
    Session(ProgramFiles files, const Command &command);
    ~Session();

    // Whether the command line allows replacing existing files (--force).
    void setReplaceExisting(bool replace) { m_replace = replace; }
    bool replaceExisting() const { return m_replace; }
    // Off for a command whose stdout is one document (JSON) that names the files itself.
    void setListWritten(bool list) { m_listWritten = list; }

    const ProgramFiles &files() const { return m_files; }
    // The scratch folder below `base` instead of the user's cache folder.
    void setWorkBase(const QString &base) { m_workBase = base; }

    // The folder for scratch files, made on first use; empty after reporting why not.
    QString workFolder();
    // Reads a skin exactly as the editor loads one; a failure is reported
    // before it is returned.
    Status readSkin(const QString &path, SkinImage &out);
    // The icon sheets as the main window reads them; null after reporting why not.
    const IconSheets *iconSheets();
    // Both, for a command that draws the skin: the icon sheets to draw it
    // with, or null after reporting why not.
    const IconSheets *readSkinToDraw(const QString &path, SkinImage &out);
    // Reports each of `paths` that exists, unless --force; true when none does.
    bool mayWrite(const QStringList &paths);
    // Write a PNG file or a skin whole or not at all; false after reporting why not.
    bool writePng(const QImage &image, const QString &path);
    bool writeSkin(const QImage &sheet, const QString &depthOption, const QString &path);
    // Makes the sheet of each of `targets` with `make(i, sheet)` and writes it
    // there at `depthOption`; a failure is reported (a cancelled Status: `make`
    // reported it) and the rest go on. True when every one was made and written.
    bool writeEachSkin(const QStringList &targets, const QString &depthOption,
                       const std::function<Status(int, QImage &)> &make);
    // `name`, made from a file's name, as an entry of `folder` that never leaves it.
    static QString entryPath(const QString &folder, const QString &name);
    // Makes `path` and its parents unless it is a folder already.
    bool makeFolder(const QString &path);

    void print(const QString &text);  // stdout
    void problem(const QString &message);
    void problem(const Status &status);
    // Reports a fault in the command line with a pointer to the command's help.
    int usageError(const QString &message);

    // The options every writing command reads alike; each gives nothing after
    // reporting a usage error (the command then returns UsageError).
    // The file of `files` when there is exactly one.
    std::optional<QString> oneInput(const QStringList &files, OneInput what);
    // The path given with -o.
    std::optional<QString> output(const QCommandLineParser &parser, const OutputOption &option);
    // The converter's depth option ("/c16") of --depth or its default; empty
    // when neither is there.
    std::optional<QString> depth(const QCommandLineParser &parser);
    // The screen size named by `option` ("240x320") as a profile, 0 for "all".
    std::optional<int> profileOrAll(const QCommandLineParser &parser, const QString &option);
    // The contrast threshold of --min-contrast: a finite number from 1 to 21.
    std::optional<double> minContrast(const QCommandLineParser &parser);

private:
    ProgramFiles m_files;
    const Command &m_command;
    std::unique_ptr<WorkFolder> m_work;
    QString m_workBase;
    std::optional<IconSheets> m_icons;
    bool m_iconsFailed = false;
    bool m_replace = false;
    bool m_listWritten = true;
};

// From here on SIGTERM, SIGINT and SIGHUP end the program at once, but not
// before the converters it runs are ended and its work folder is removed.
// Call before any thread starts.
void endOnQuitSignals();

// The profile whose label (such as "240x320") is `label`, 0 for none.
int profileByLabel(const QString &label);

// One line for stderr: the message and the details, if any, without line breaks.
QString oneLine(const Status &status);
// Text as UTF-8, whatever the locale says.
void writeText(std::FILE *stream, const QString &text);
// Flushes stdout; when anything written to it was lost (a full disk, a closed
// pipe) says so once on stderr and turns `code` into a failure.
int finishOutput(int code);

} // namespace zelkor::cli
