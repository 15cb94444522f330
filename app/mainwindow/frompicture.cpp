// "Файл" -> "Новый из картинки…": the picture first, then the dialog that
// shows the skin it gives; "Создать" makes that skin the document, unsaved
// and named as Save would name it, with a fresh history.
#include "tform1.h"
#include "tform1private.h"

#include "app/newfrompicture.h"
#include "app/seams.h"
#include "skin/skindocument.h"

namespace zelkor {

void TForm1::N8Click()
{
    if (!maybeSave())
        return;
    NewFromPictureDialog dialog(d->doc->programFiles(), d->doc->workFolder(), {d->smallIcons, d->largeIcons}, this);
    if (d->doc->hasSkin())
        dialog.setProfile(d->doc->profile());
    if (seams().execDialog(&dialog) != QDialog::Accepted || !dialog.result())
        return;
    const design::SkinFromPicture &made = *dialog.result();
    // Made so that every text reads at 16 bits: Save offers that depth first.
    report(this, d->doc->adoptUnsaved(made.sheet, design::skinNameForPicture(dialog.pictureFile(), made.profile),
                                      design::FromPictureSettings{}.depthOption));
}

} // namespace zelkor
