#pragma once
// Whether the author's choices (the image editor, window state, recent files)
// can be kept: QSettings fails silently, so the editor asks it once.

#include <QString>

namespace zelkor {

// Writes the settings once (the version of the editor that last ran) and
// reads the outcome: empty when they were written, otherwise a message naming
// the settings file and saying that choices will not be remembered.
QString settingsWriteProblem();

} // namespace zelkor
