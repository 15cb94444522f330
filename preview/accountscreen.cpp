#include "preview.h"
#include "softkeybar.h"

namespace zelkor {

namespace {

struct Point {
    int x, y;
};

struct IconDraw {
    int cellY;
    Point at;
};

// One row per profile, numbers exactly as the client lays the screen out. The
// soft-key block of 240 x 320 is 29 rows high although the picture has 20:
// the screen edge clips it, so it shows the picture's first 19 rows.
struct AccountLayout {
    int width, height;         // fill of the whole screen in slot 3
    int fontPoints;
    SoftKeyBar softKeys;       // width, bar y, block height, label y, left x, right x
    int selectionSourceY, selectionHeight, selectionY;  // account_sel block
    Point names[3];
    int titleHeight;           // slot 4 bar across the top
    Point title;
    int iconCellSize;          // 16: small sheet, 32: large sheet
    IconDraw icons[3];
};

constexpr AccountLayout kLayouts[] = {
    {176, 208, 11, {176, 188, 20, 190, 2, 125}, 494, 20, 40, {{20, 20}, {20, 40}, {20, 60}}, 20, {40, 0},
     16, {{0, {0, 20}}, {32, {0, 40}}, {48, {0, 60}}}},
    {208, 176, 11, {208, 157, 18, 156, 2, 150}, 463, 18, 40, {{20, 20}, {20, 40}, {20, 60}}, 18, {60, 0},
     16, {{0, {0, 20}}, {32, {0, 40}}, {48, {0, 60}}}},
    {240, 320, 11, {240, 301, 29, 303, 2, 180}, 720, 20, 40, {{20, 20}, {20, 40}, {20, 60}}, 20, {75, 0},
     16, {{0, {0, 20}}, {32, {0, 40}}, {48, {0, 60}}}},
    {320, 240, 11, {320, 223, 18, 223, 2, 267}, 586, 18, 40, {{20, 20}, {20, 40}, {20, 60}}, 18, {95, 0},
     16, {{0, {0, 20}}, {32, {0, 40}}, {48, {0, 60}}}},
    {352, 416, 18, {352, 377, 40, 380, 2, 265}, 988, 40, 82, {{40, 50}, {40, 86}, {40, 122}}, 40, {95, 0},
     32, {{0, {0, 50}}, {64, {0, 86}}, {96, {0, 122}}}},
    {416, 352, 18, {416, 316, 36, 317, 2, 330}, 926, 36, 82, {{40, 50}, {40, 86}, {40, 122}}, 36, {95, 0},
     32, {{0, {0, 50}}, {64, {0, 86}}, {96, {0, 122}}}},
};

} // namespace

QImage composeAccountSelection(const PreviewInput &in)
{
    if (in.profile < 1 || in.profile > 6 || !in.sheet)
        return newPreviewBitmap(QSize());
    const AccountLayout &l = kLayouts[in.profile - 1];
    const QImage &sheet = *in.sheet;
    const ColourSlots &slot = in.colours;

    QImage img = newPreviewBitmap(in.screen);
    Canvas c(&img, in.record);

    c.setBrushColor(slot[3], 3);
    c.fillRect(0, 0, l.width, l.height);
    c.setFontPoints(l.fontPoints);
    drawSoftKeyBar(c, sheet, l.softKeys, QStringLiteral("Выход"), slot[9], 9);

    // The second account is the selected one: its name and icon go over the bar.
    c.blit(0, l.selectionY, l.width, l.selectionHeight, sheet, 0, l.selectionSourceY);
    c.setTextColor(slot[6], 6);
    c.textOut(l.names[0].x, l.names[0].y, QStringLiteral("lumno"));
    c.textOut(l.names[1].x, l.names[1].y, QStringLiteral("dunrel"));
    c.textOut(l.names[2].x, l.names[2].y, QStringLiteral("dorvu"));

    // The brush colour of the bar stays solid, so the title sits on a slot 4 box.
    c.setBrushColor(slot[4], 4);
    c.fillRect(0, 0, l.width, l.titleHeight);
    c.textOut(l.title.x, l.title.y, QStringLiteral("выбор профиля"));

    const QImage *icons = l.iconCellSize == 32 ? in.largeIcons : in.smallIcons;
    for (const IconDraw &icon : l.icons)
        drawMaskedIcon(c, icons, l.iconCellSize, icon.cellY, icon.at.x, icon.at.y);
    return img;
}

} // namespace zelkor
