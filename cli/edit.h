#pragma once
// What the commands that edit one skin share: the output options (-o,
// --depth, --force) and the road from the skin file through the edits to the
// output, read and written exactly as the editor loads and saves.

#include "session.h"

#include <QCommandLineParser>
#include <QString>

#include <functional>

namespace zelkor {
struct SkinProject;
}

namespace zelkor::cli {

// Declares -o, --depth, --force, and --size for a project.
void declareEditOutput(QCommandLineParser &parser);

// Reads `skinPath`, applies `edit` (which reports its own problems and
// returns false on one) and writes the result to -o at --depth, or at the
// depth the skin file was saved at. Nothing is written when anything fails.
int runEdit(const QCommandLineParser &parser, Session &session, const QString &skinPath,
            const std::function<bool(SkinImage &skin)> &edit);

// The same for a project (.zskin), written as a project: `edit` gets the
// size of --size (an override for that size only) or 0 (every size); --depth
// becomes the project's export depth.
int runProjectEdit(const QCommandLineParser &parser, Session &session, const QString &projectPath,
                   const std::function<bool(SkinProject &project, int size)> &edit);

} // namespace zelkor::cli
