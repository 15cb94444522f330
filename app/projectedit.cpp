#include "projectedit.h"

#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QUndoStack>

namespace zelkor {

Status editProject(SkinDocument &document, ProjectSession *project, const ProjectEdit &edit,
                   const std::function<Status()> &change, const QString &undoText)
{
    if (!project)
        return change();
    const int before = document.undoStack()->index();
    project->expect(edit);
    Status status = change();
    if (status && document.undoStack()->index() == before)
        document.noteChange(undoText);
    // A change that failed pushed nothing: the edit must not ride on a later one.
    project->dropExpected();
    return status;
}

QString ownSizeTip(int profile)
{
    return QStringLiteral("Только для размера %1").arg(profileByIndex(profile)->labelText());
}

} // namespace zelkor
