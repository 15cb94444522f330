#pragma once
// Whether the author's choices (the image editor, window state, recent files)
// can be kept: QSettings fails silently, so the editor asks it once.

#include <QString>

namespace zelkor {

// Call before the settings are first used. When the settings file is no
// regular file (a pipe or a device, which would block or never end), is too
// large to be settings, or is read-only, the settings of this run are kept in
// `workFolder` instead (starting from a copy of a read-only file), so nothing
// blocks and the author's file is left exactly as it was. Empty when the
// file is used as it is; otherwise what settingsWriteProblem() will say.
QString guardSettingsFile(const QString &workFolder);

// Writes the settings once (the version of the editor that last ran) and
// reads the outcome: empty when they were written, otherwise a message naming
// the settings file and saying that choices will not be remembered.
QString settingsWriteProblem();

} // namespace zelkor
