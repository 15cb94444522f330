#pragma once
// What the commands that edit one skin share: the output options (-o,
// --depth, --force) and the road from the skin file through the edits to the
// output, read and written exactly as the editor loads and saves.

#include "session.h"

#include <QCommandLineParser>
#include <QString>

#include <functional>

namespace zelkor::cli {

// Declares -o, --depth and --force.
void declareEditOutput(QCommandLineParser &parser);

// Reads `skinPath`, applies `edit` (which reports its own problems and
// returns false on one) and writes the result to -o at --depth, or at the
// depth the skin file was saved at. Nothing is written when anything fails.
int runEdit(const QCommandLineParser &parser, Session &session, const QString &skinPath,
            const std::function<bool(SkinImage &skin)> &edit);

} // namespace zelkor::cli
