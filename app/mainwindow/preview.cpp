#include "tform1.h"
#include "tform1private.h"

#include "skin/savename.h"
#include "skin/skindocument.h"

namespace zelkor {

QString TForm1::previewDepth() const
{
    return depthOption(d->RadioGroup3->itemIndex() - 1);
}

PreviewInput TForm1::previewInput() const
{
    PreviewInput in;
    in.profile = d->doc->profile();
    in.screen = d->doc->screenSize();
    const QString depth = previewDepth();
    if (depth.isEmpty() || !d->doc->hasSkin()) {
        in.sheet = &d->doc->shownSheet();
        in.colours = swatchColours();
    } else {
        // The swatches keep the true colours; the screens draw what the phone
        // will show after a save at that depth.
        in.sheet = &d->shownSheet;
        in.colours = readColourSlots(d->shownSheet, in.profile);
        // A colour still under choice in the colour dialog, as that depth gives it back.
        if (d->colourTrial) {
            ColourSlots trial = d->doc->colourSlots();
            trial[size_t(d->colourTrial->first)] = d->colourTrial->second;
            in.colours[size_t(d->colourTrial->first)] = coloursAtDepth(trial, depth)[size_t(d->colourTrial->first)];
        }
    }
    in.smallIcons = &d->smallIcons;
    in.largeIcons = &d->largeIcons;
    in.columns = d->RadioGroup2->itemIndex();
    return in;
}

void TForm1::renderPreview()
{
    // A look-up unless the sheet or the depth changed since the last render.
    d->shownSheet = d->depthPreview.sheet(d->doc->shownSheet(), previewDepth(), smoothPreview() ? d->doc->profile() : 0);
    PreviewInput in = previewInput();
    // The message indicator leaves the canvas, and so the record of it, as they were.
    if (d->RadioGroup1->itemIndex() != MessageIndicatorScreen)
        in.record = &d->record;
    zelkor::renderPreview(d->RadioGroup1->itemIndex(), in, d->PaintBox1->surface());
    d->PaintBox1->canvasChanged();
    refreshAllScreens();
}

void TForm1::RadioGroup1Click()
{
    d->RadioGroup2->setVisible(d->RadioGroup1->itemIndex() == ContactListScreen);
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
