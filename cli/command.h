#pragma once
// The subcommands of zelkor-skin. Each is one row of the command table in
// main.cpp: its name, what the program's help says of it, the options and
// arguments it declares on its own parser, and the function that runs it.

#include <QCommandLineParser>

namespace zelkor::cli {

class Session;

enum ExitCode : int {
    Success = 0,
    SkinProblem = 1,  // a skin, a file or the program's data failed
    UsageError = 2,   // the command line itself is wrong
};

struct Command {
    const char *name;
    const char *summary;  // one line in the program's help
    void (*declare)(QCommandLineParser &parser);
    int (*run)(const QCommandLineParser &parser, Session &session);
};

extern const Command infoCommand;
extern const Command renderCommand;
extern const Command overviewCommand;
extern const Command portCommand;
extern const Command setPictureCommand;
extern const Command setColourCommand;
extern const Command galleryCommand;
extern const Command checkCommand;
extern const Command fromPictureCommand;
extern const Command projectCommand;
extern const Command exportCommand;
extern const Command thumbnailCommand;

} // namespace zelkor::cli
