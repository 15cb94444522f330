// The mouse over the preview: what painted the pixel under it, a click that
// selects a colour slot or takes a colour with the eyedropper, a double-click
// that opens the colour dialog or the picture editing dialog.
#include "tform1.h"
#include "tform1private.h"

#include "app/seams.h"
#include "app/tform3.h"
#include "preview/pixelsourcetext.h"

#include <QAction>
#include <QStatusBar>
#include <QToolTip>

namespace zelkor {

namespace {

// What painted a screen pixel, if the last render recorded that screen.
PixelSource screenSource(const PaintRecord &record, const QImage &canvas, QPoint pixel)
{
    if (record.size() != canvas.size())
        return {};
    return record.sourceAt(pixel.x(), pixel.y());
}

// The slot that a click at `pixel` means: the slot that painted it, or else
// that of a text whose ink box holds it and which lies above whatever painted
// it, since a glyph's strokes are too thin to hit.
int clickedSlot(const PaintRecord &record, const QImage &canvas, QPoint pixel)
{
    if (record.size() != canvas.size())
        return -1;
    if (const PixelSource source = record.sourceAt(pixel.x(), pixel.y()); source.kind == PixelSource::Slot)
        return source.slot;
    const int owner = record.ownerAt(pixel.x(), pixel.y());
    for (int op = int(record.ops().size()) - 1; op > owner; --op) {
        const PaintOp &o = record.ops()[size_t(op)];
        if (o.kind == PaintOp::Text && o.slot >= 0 && o.rect.contains(pixel))
            return o.slot;
    }
    return -1;
}

} // namespace

QString TForm1::spotText(const PreviewSpot &spot) const
{
    if (!d->doc->hasSkin())
        return {};
    switch (spot.where) {
    case PreviewSpot::Screen:
        return pixelSourceText(screenSource(d->record, d->PaintBox1->canvasImage(), spot.pixel));
    case PreviewSpot::Phone:
        return phonePixelText(spot.pixel);
    case PreviewSpot::Nowhere:
        break;
    }
    return {};
}

void TForm1::previewHovered(const PreviewSpot &spot, QPoint globalPos)
{
    const QString text = spotText(spot);
    if (text.isEmpty()) {
        statusBar()->clearMessage();
        QToolTip::hideText();
        return;
    }
    statusBar()->showMessage(text);
    QToolTip::showText(globalPos, text, spot.where == PreviewSpot::Screen ? static_cast<QWidget *>(d->PaintBox1) : d->phone);
}

void TForm1::selectSlot(int slot)
{
    d->selectedSlot = slot >= 0 && slot < int(d->dx.size()) ? slot : -1;
    for (ColourSwatch *swatch : d->dx)
        swatch->setSelected(swatch->tag() == d->selectedSlot);
}

void TForm1::previewClicked(const PreviewSpot &spot)
{
    if (!d->doc->hasSkin() || spot.where == PreviewSpot::Nowhere)
        return;
    if (d->eyedropper->isChecked()) {
        if (d->selectedSlot < 0) {
            statusBar()->showMessage(
                QStringLiteral("Пипетка: сначала выберите цвет — щелчком по образцу или по тексту на экране"));
            return;
        }
        const QImage &from = spot.where == PreviewSpot::Screen ? d->PaintBox1->canvasImage() : d->previewArea->photo();
        const Status status = d->doc->setColourSlot(d->selectedSlot, from.pixel(spot.pixel));
        report(this, status);
        return;
    }
    if (spot.where != PreviewSpot::Screen)
        return;
    if (const int slot = clickedSlot(d->record, d->PaintBox1->canvasImage(), spot.pixel); slot >= 0)
        selectSlot(slot);
}

void TForm1::previewDoubleClicked(const PreviewSpot &spot)
{
    if (!d->doc->hasSkin() || spot.where != PreviewSpot::Screen || d->eyedropper->isChecked())
        return;
    if (const int slot = clickedSlot(d->record, d->PaintBox1->canvasImage(), spot.pixel); slot >= 0) {
        dx0Click(d->dx[slot]);
        return;
    }
    const PixelSource source = screenSource(d->record, d->PaintBox1->canvasImage(), spot.pixel);
    if (source.kind == PixelSource::Picture && source.picture >= 0)
        editPicture(source.picture);
}

void TForm1::editPicture(int picture)
{
    TForm3 dialog(*d->doc, *d->watcher, this);
    dialog.RadioGroup1->setItemIndex(picture);
    seams().execDialog(&dialog);
}

} // namespace zelkor
