#include "tform1.h"

#include "skin/savename.h"
#include "skin/skindocument.h"

namespace zelkor {

QString TForm1::previewDepth() const
{
    return depthOption(RadioGroup3->itemIndex() - 1);
}

PreviewInput TForm1::previewInput() const
{
    PreviewInput in;
    in.profile = m_doc->profile();
    in.screen = m_doc->screenSize();
    const QString depth = previewDepth();
    if (depth.isEmpty() || !m_doc->hasSkin()) {
        in.sheet = &m_doc->shownSheet();
        in.colours = swatchColours();
    } else {
        // The swatches keep the true colours; the screens draw what the phone
        // will show after a save at that depth.
        in.sheet = &m_shownSheet;
        in.colours = readColourSlots(m_shownSheet, in.profile);
        // A colour still under choice in the colour dialog, as that depth gives it back.
        if (m_colourTrial) {
            ColourSlots trial = m_doc->colourSlots();
            trial[size_t(m_colourTrial->first)] = m_colourTrial->second;
            in.colours[size_t(m_colourTrial->first)] = coloursAtDepth(trial, depth)[size_t(m_colourTrial->first)];
        }
    }
    in.smallIcons = &smallIcons;
    in.largeIcons = &largeIcons;
    in.columns = RadioGroup2->itemIndex();
    return in;
}

void TForm1::renderPreview()
{
    // A look-up unless the sheet or the depth changed since the last render.
    m_shownSheet = m_depthPreview.sheet(m_doc->shownSheet(), previewDepth(), smoothPreview() ? m_doc->profile() : 0);
    PreviewInput in = previewInput();
    // The message indicator leaves the canvas, and so the record of it, as they were.
    if (RadioGroup1->itemIndex() != MessageIndicatorScreen)
        in.record = &m_record;
    zelkor::renderPreview(RadioGroup1->itemIndex(), in, PaintBox1->surface());
    PaintBox1->canvasChanged();
    refreshAllScreens();
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

void TForm1::RadioGroup3Click()
{
    renderPreview();
}

} // namespace zelkor
