#pragma once
// Where the programs find what they only read: the converter and the data
// (templates, phone pictures, icon sheets). In the build tree both sit in one
// program folder beside the executables; an installed copy keeps them where
// Linux keeps such files, found relative to the executable so the install can
// be moved anywhere. Nothing here is ever written to.

#include <QString>

namespace zelkor {

struct ProgramFiles {
    QString dataFolder;  // holds skn/, devices/, icons.bmp, icons32.bmp
    QString converter;   // the bmconv executable

    // A path below the data folder ("skn/176x208.mbm").
    QString dataPath(const QString &relative) const;
};

// Everything in one folder, as the build tree and the tests lay it out.
ProgramFiles programFilesIn(const QString &folder);

// For an executable in `applicationDir`: `<prefix>/share/zelkor-skin-editor`
// and `<prefix>/lib/zelkor-skin-editor/bmconv` when the executable sits in
// `<prefix>/bin` of an install, else the executable's own folder.
ProgramFiles locateProgramFiles(const QString &applicationDir);

} // namespace zelkor
