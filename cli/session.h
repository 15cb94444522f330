#pragma once
// What every command of zelkor-skin works with: the program's read-only files,
// one work folder for scratch files (made when a skin is first read, never in
// the program folder), the icon sheets (read once), and the two output streams.
// Problems go to stderr, one line each, naming the file and the cause.

#include "command.h"
#include "preview/screenimage.h"
#include "skin/programfiles.h"
#include "skin/skindocument.h"
#include "skin/status.h"

#include <QString>

#include <cstdio>
#include <memory>
#include <optional>

namespace zelkor {
class WorkFolder;
}

namespace zelkor::cli {

class Session {
public:
    Session(ProgramFiles files, const Command &command);
    ~Session();

    const ProgramFiles &files() const { return m_files; }

    // The folder for scratch files, made on first use; empty after reporting why not.
    QString workFolder();
    // Reads a skin exactly as the editor loads one; a failure is reported
    // before it is returned.
    Status readSkin(const QString &path, SkinImage &out);
    // The icon sheets as the main window reads them; null after reporting why not.
    const IconSheets *iconSheets();
    // Writes a PNG file whole or not at all; false after reporting why not.
    bool writePng(const QImage &image, const QString &path);
    // Makes `path` and its parents unless it is a folder already.
    bool makeFolder(const QString &path);

    void print(const QString &text);  // stdout
    void problem(const QString &message);
    void problem(const Status &status);
    // Reports a fault in the command line with a pointer to the command's help.
    int usageError(const QString &message);

private:
    ProgramFiles m_files;
    const Command &m_command;
    std::unique_ptr<WorkFolder> m_work;
    std::optional<IconSheets> m_icons;
    bool m_iconsFailed = false;
};

// The profile whose label (such as "240x320") is `label`, 0 for none.
int profileByLabel(const QString &label);
// The converter's depth option for a depth named on the command line ("c16"
// gives "/c16"), empty for a name that is none of kColourDepths.
QString depthOptionByName(const QString &name);

// One line for stderr: the message and the details, if any, without line breaks.
QString oneLine(const Status &status);
// Text as UTF-8, whatever the locale says.
void writeText(std::FILE *stream, const QString &text);

} // namespace zelkor::cli
