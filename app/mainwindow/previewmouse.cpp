// The mouse over the preview: what painted the pixel under it and its
// colour, the eyedropper's loupe, a click that
// selects a colour slot or takes a colour with the eyedropper, a double-click
// that opens the colour dialog or the picture editing dialog.
#include "tform1.h"
#include "tform1private.h"

#include "app/loupe.h"
#include "app/seams.h"
#include "app/tform3.h"
#include "preview/pixelsourcetext.h"
#include "skin/profiles.h"

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
    QString what;
    switch (spot.where) {
    case PreviewSpot::Screen:
        what = pixelSourceText(screenSource(d->record, d->PaintBox1->canvasImage(), spot.pixel));
        break;
    case PreviewSpot::Phone:
        what = phonePixelText(spot.pixel);
        break;
    case PreviewSpot::Nowhere:
        return {};
    }
    const QImage &from = spot.where == PreviewSpot::Screen ? d->PaintBox1->canvasImage() : d->previewArea->photo();
    if (!from.valid(spot.pixel))
        return what;
    const QString hex = QColor::fromRgb(from.pixel(spot.pixel)).name();
    return what.isEmpty() ? hex : hex + QStringLiteral(" — ") + what;
}

QImage TForm1::loupePatch(const PreviewSpot &spot) const
{
    // In the phone picture's pixels, the screen drawn over it where it lies.
    const QImage &canvas = d->PaintBox1->canvasImage();
    const QImage &photo = d->previewArea->photo();
    const Profile *p = profileByIndex(d->doc->profile());
    const QPoint offset = p && !photo.isNull() ? p->previewOffset : QPoint();
    const QPoint centre = spot.where == PreviewSpot::Screen ? spot.pixel + offset : spot.pixel;
    const QPoint corner = centre - QPoint(Loupe::kPixels / 2, Loupe::kPixels / 2);
    QImage patch(Loupe::kPixels, Loupe::kPixels, QImage::Format_ARGB32);
    patch.fill(Qt::transparent);
    for (int y = 0; y < Loupe::kPixels; ++y)
        for (int x = 0; x < Loupe::kPixels; ++x) {
            const QPoint at = corner + QPoint(x, y);
            if (canvas.valid(at - offset))
                patch.setPixel(x, y, canvas.pixel(at - offset) | 0xff000000u);
            else if (photo.valid(at))
                patch.setPixel(x, y, photo.pixel(at) | 0xff000000u);
        }
    return patch;
}

void TForm1::previewHovered(const PreviewSpot &spot, QPoint globalPos)
{
    const QString text = spotText(spot);
    if (d->eyedropper->isChecked() && !text.isEmpty())
        d->loupe->showPatch(loupePatch(spot), mapFromGlobal(globalPos));
    else
        d->loupe->hide();
    if (text.isEmpty()) {
        statusBar()->clearMessage();
        QToolTip::hideText();
        return;
    }
    statusBar()->showMessage(text);
    // The loupe stands beside the cursor; a tooltip would cover it.
    if (!d->eyedropper->isChecked())
        QToolTip::showText(globalPos, text,
                           spot.where == PreviewSpot::Screen ? static_cast<QWidget *>(d->PaintBox1) : d->phone);
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
    dialog.setProject(d->project.get());
    dialog.RadioGroup1->setItemIndex(picture);
    seams().execDialog(&dialog);
}

} // namespace zelkor
