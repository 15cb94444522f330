// "Файл" -> "Новый из картинки…": the picture first, then the dialog that
// shows the skin it gives; "Создать" makes that skin the document, unsaved
// and named as Save would name it, with a fresh history.
#include "tform1.h"

#include "newfrompicture.h"
#include "seams.h"
#include "skin/skindocument.h"

namespace zelkor {

void TForm1::N8Click()
{
    if (!maybeSave())
        return;
    NewFromPictureDialog dialog(m_doc->programFiles(), m_doc->workFolder(), {smallIcons, largeIcons}, this);
    if (m_doc->hasSkin())
        dialog.setProfile(m_doc->profile());
    if (seams().execDialog(&dialog) != QDialog::Accepted || !dialog.result())
        return;
    const design::SkinFromPicture &made = *dialog.result();
    report(this, m_doc->adoptUnsaved(made.sheet, design::skinNameForPicture(dialog.pictureFile(), made.profile)));
}

} // namespace zelkor
