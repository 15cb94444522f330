#include "preview.h"

namespace zelkor {

QImage newPreviewBitmap(QSize screen)
{
    if (screen.isEmpty())
        return {};
    QImage img(screen, QImage::Format_RGB32);
    img.fill(0xffffffffu);
    return img;
}

void drawMaskedIcon(Canvas &target, const QImage *iconSheet, int cellSize, int cellY, int x, int y)
{
    // Only a whole cell is drawn: a cell cut off by the end of a short sheet
    // would OR an image over a target that its missing mask never cleared.
    if (!iconSheet || iconSheet->isNull() || cellY < 0 || cellY + cellSize > iconSheet->height()
        || 2 * cellSize > iconSheet->width())
        return;
    target.blit(x, y, cellSize, cellSize, *iconSheet, cellSize, cellY, RasterOp::And);
    target.blit(x, y, cellSize, cellSize, *iconSheet, 0, cellY, RasterOp::Or);
}

IconSource iconSourceFor(const PreviewInput &in)
{
    if (in.profile >= 5)
        return {in.largeIcons, 32};
    return {in.smallIcons, 16};
}

void copySheetBlock(Canvas &target, const PreviewInput &in, const SheetBlock &block)
{
    if (in.sheet)
        target.blit(0, block.destY, block.width, block.height, *in.sheet, 0, block.sourceY);
}

void drawIcon(Canvas &target, const PreviewInput &in, const IconPlacement &icon)
{
    const IconSource source = iconSourceFor(in);
    drawMaskedIcon(target, source.sheet, source.cellSize, icon.cellY, icon.x, icon.y);
}

static void copyToPaintBox(Canvas &paintBox, const QImage &preview)
{
    if (!preview.isNull())
        paintBox.blit(0, 0, preview.width(), preview.height(), preview, 0, 0);
}

void renderPreview(int screen, const PreviewInput &in, Canvas &paintBox)
{
    if (in.record)
        in.record->reset(in);
    switch (screen) {
    case AccountSelectionScreen:
        copyToPaintBox(paintBox, composeAccountSelection(in));
        break;
    case ContactListScreen:
        copyToPaintBox(paintBox, composeContactList(in));
        break;
    case PopupMenuScreen:
        copyToPaintBox(paintBox, composeContactList(in));
        {
            // The menu is drawn on the paint box itself; the copy before it
            // only moved what the record already holds.
            PaintRecord *const before = paintBox.record();
            paintBox.setRecord(in.record);
            drawPopupMenu(paintBox, in);
            paintBox.setRecord(before);
        }
        break;
    case ChatScreen:
        copyToPaintBox(paintBox, composeChat(in));
        break;
    case SettingsScreen:
        copyToPaintBox(paintBox, composeSettings(in));
        break;
    default:
        break;  // the message indicator has no preview
    }
}

} // namespace zelkor
