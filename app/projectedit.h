#pragma once
// Edits of the shown sheet that mean more to an open project than their
// pixels: a picture placed from a file (kept with its framing), a colour or
// a picture for the shown size only, an override given up for the shared
// value. Each is one undo step of the document, even where no pixel changes,
// so that undo and redo bring the project back with it.

#include "project/overrides.h"
#include "project/projectsession.h"

#include <functional>

namespace zelkor {

class SkinDocument;

// Runs `change` of `document` as `edit` of `project` (only `change` when
// there is no project). `undoText` names the step when `change` alters no pixel.
Status editProject(SkinDocument &document, ProjectSession *project, const ProjectEdit &edit,
                   const std::function<Status()> &change, const QString &undoText);

// The tooltip of a mark beside an item the shown size has of its own.
QString ownSizeTip(int profile);

} // namespace zelkor
