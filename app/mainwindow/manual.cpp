// Справка / Руководство: the user's guide in the program's own help window,
// at the main window's page.
#include "tform1.h"
#include "tform1private.h"

#include "app/helpwindow.h"
#include "app/seams.h"

namespace zelkor {

void TForm1::N9Click()
{
    report(this, HelpWindow::open(d->doc->programFiles().dataPath(QStringLiteral("guide")), guidePage(this), this));
}

} // namespace zelkor
