#pragma once
// The preview: composes one of the client's screens from the skin sheet, the
// colour slots, the icon sheets and sample texts, at the profile's screen size.
// Every screen but the popup menu composes on a fresh white preview bitmap and
// copies it into the paint box's canvas at (0, 0).

#include "canvas.h"
#include "paintrecord.h"
#include "skin/sheet.h"

#include <QImage>
#include <QSize>

namespace zelkor {

enum PreviewScreen : int {
    AccountSelectionScreen = 0,
    ContactListScreen = 1,
    PopupMenuScreen = 2,
    ChatScreen = 3,
    SettingsScreen = 4,
    MessageIndicatorScreen = 5,  // draws nothing
};

// Everything a render reads. The colours are the swatches' working values, not
// the sheet's colour row: a colour row change reaches the preview through the
// swatches.
struct PreviewInput {
    const QImage *sheet = nullptr;
    int profile = 0;   // 0: no skin, nothing is composed
    QSize screen;      // the current screen size (0 x 0 without a skin)
    ColourSlots colours{};
    const QImage *smallIcons = nullptr;  // 16 x 16 cells, profiles 1-4
    const QImage *largeIcons = nullptr;  // 32 x 32 cells, profiles 5-6
    int columns = 0;   // column selector index: 0 one column, 1 two columns
    // When set, renderPreview() starts it anew and records what every drawing
    // step of the screen painted (the popup menu's contact list included).
    PaintRecord *record = nullptr;
};

// A new preview bitmap: screen-sized, white all over.
QImage newPreviewBitmap(QSize screen);

// ANDs the mask cell (at x = cellSize) and then ORs the image cell (at x = 0)
// of the cell row whose top is `cellY` into the target at (x, y). A missing
// sheet or a cell outside it draws nothing.
void drawMaskedIcon(Canvas &target, const QImage *iconSheet, int cellSize, int cellY, int x, int y);

// The icon sheet and cell size of a profile: small in 1-4, large in 5-6.
struct IconSource {
    const QImage *sheet;
    int cellSize;
};
IconSource iconSourceFor(const PreviewInput &in);

// A block of the skin sheet as the screens' tables give it: source top row,
// width and height, copied with x = 0 on both sides to the destination row.
struct SheetBlock {
    int sourceY;
    int width;
    int height;
    int destY;
};
// Plain copy of the block from the sheet, clipped to both images.
void copySheetBlock(Canvas &target, const PreviewInput &in, const SheetBlock &block);

// An icon cell (named by its row's top y) and where its top-left corner goes.
struct IconPlacement {
    int cellY;
    int x;
    int y;
};
// Masked icon draw from the profile's icon sheet.
void drawIcon(Canvas &target, const PreviewInput &in, const IconPlacement &icon);

// The four off-screen screens; each returns its finished preview bitmap.
QImage composeAccountSelection(const PreviewInput &in);
QImage composeContactList(const PreviewInput &in);
QImage composeChat(const PreviewInput &in);
QImage composeSettings(const PreviewInput &in);

// Draws the popup menu straight onto the paint box's surface, whose font, pen
// and brush settings it leaves changed. Call after the contact list was copied there.
void drawPopupMenu(Canvas &paintBox, const PreviewInput &in);

// The one render entry point: composes the selected screen and copies it into
// the paint box's canvas at (0, 0). Screen 5 leaves the canvas as it was.
void renderPreview(int screen, const PreviewInput &in, Canvas &paintBox);

} // namespace zelkor
