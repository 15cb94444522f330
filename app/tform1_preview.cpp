#include "tform1.h"

#include "skin/skindocument.h"

namespace zelkor {

PreviewInput TForm1::previewInput() const
{
    PreviewInput in;
    in.sheet = &m_doc->sheet();
    in.profile = m_doc->profile();
    in.screen = m_doc->screenSize();
    in.colours = swatchColours();
    in.smallIcons = &smallIcons;
    in.largeIcons = &largeIcons;
    in.columns = RadioGroup2->itemIndex();
    return in;
}

void TForm1::renderPreview()
{
    zelkor::renderPreview(RadioGroup1->itemIndex(), previewInput(), PaintBox1->surface());
    PaintBox1->canvasChanged();
}

void TForm1::RadioGroup1Click()
{
    RadioGroup2->setVisible(RadioGroup1->itemIndex() == ContactListScreen);
    renderPreview();
}

void TForm1::RadioGroup2Click()
{
    renderPreview();
}

} // namespace zelkor
