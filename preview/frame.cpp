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
    if (!iconSheet || iconSheet->isNull())
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

static void copyToPaintBox(Canvas &paintBox, const QImage &preview)
{
    if (!preview.isNull())
        paintBox.blit(0, 0, preview.width(), preview.height(), preview, 0, 0);
}

void renderPreview(int screen, const PreviewInput &in, Canvas &paintBox)
{
    switch (screen) {
    case AccountSelectionScreen:
        copyToPaintBox(paintBox, composeAccountSelection(in));
        break;
    case ContactListScreen:
        copyToPaintBox(paintBox, composeContactList(in));
        break;
    case PopupMenuScreen:
        copyToPaintBox(paintBox, composeContactList(in));
        drawPopupMenu(paintBox, in);
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
