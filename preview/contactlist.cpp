#include "preview.h"
#include "softkeybar.h"

#include <array>

namespace zelkor {

namespace {

struct TextAt {
    int x;
    int y;
};

struct ContactColumn {
    int iconX;
    int nameX;
    const char *prefix;  // the row's number follows it directly
    int firstNumber;
};

// One row per profile, in the order the screen is drawn.
struct ContactListLayout {
    int fontPoints;
    int rows;
    int firstRowY;
    int rowStep;
    ContactColumn first;
    ContactColumn second;
    SheetBlock background;  // contacts
    SheetBlock select1;     // one column
    SheetBlock select2;     // two columns: one column narrower than the picture in 1-4
    IconPlacement titleRightIcon;
    IconPlacement titleSecondIcon;
    IconPlacement statusIcon;
    SoftKeyBar softKeys;
    TextAt time;
    TextAt nickname;
    TextAt statusText;
};

constexpr std::array<ContactListLayout, 6> kLayouts{{
    // 176 x 208
    {11, 8, 20, 18,
     {0, 20, "Contact", 0}, {90, 110, "Друг", 10},
     {20, 176, 188, 0}, {209, 176, 18, 38}, {228, 88, 18, 38},
     {1408, 158, 0}, {16, 139, 0}, {1504, 128, 173},
     {176, 188, 20, 190, 2, 125},
     {5, 0}, {50, 0}, {5, 173}},
    // 208 x 176: the status line sits right above the soft-key bar (top 159),
    // as high as in 240 x 320, the icon right of the middle.
    {11, 8, 20, 18,
     {0, 20, "Contact", 0}, {90, 110, "Друг", 10},
     {18, 208, 160, 0}, {179, 208, 18, 38}, {198, 103, 18, 38},
     {1408, 178, 0}, {16, 159, 0}, {1504, 150, 141},
     {208, 159, 20, 156, 2, 145},
     {5, 0}, {50, 0}, {5, 141}},
    // 240 x 320
    {11, 14, 20, 18,
     {0, 20, "MegaContact", 0}, {120, 140, "УльтраДруг", 10},
     {20, 240, 304, 0}, {325, 240, 18, 38}, {344, 119, 18, 38},
     {1408, 208, 0}, {16, 189, 0}, {1504, 190, 283},
     {240, 301, 20, 300, 2, 190},
     {5, 0}, {50, 0}, {5, 283}},
    // 320 x 240
    {11, 10, 20, 18,
     {0, 20, "MegaContact", 0}, {160, 180, "УльтраДруг", 10},
     {18, 320, 222, 0}, {241, 320, 18, 38}, {260, 159, 18, 38},
     {1408, 288, 0}, {16, 269, 0}, {1504, 260, 203},
     {320, 222, 18, 223, 2, 270},
     {5, 0}, {50, 0}, {5, 203}},
    // 352 x 416
    {18, 8, 45, 36,
     {0, 35, "Contact", 0}, {182, 220, "Друг", 10},
     {40, 352, 376, 0}, {418, 352, 36, 45}, {456, 176, 36, 45},
     {2752, 288, 2}, {32, 249, 2}, {3008, 260, 345},
     {352, 375, 40, 385, 7, 270},
     {5, 0}, {90, 0}, {5, 345}},
    // 416 x 352
    {18, 7, 45, 36,
     {0, 35, "Contact", 0}, {208, 242, "Друг", 10},
     {36, 416, 320, 0}, {358, 416, 36, 45}, {396, 208, 36, 45},
     {2752, 378, 2}, {32, 339, 2}, {3008, 300, 288},
     {416, 316, 36, 318, 7, 320},
     {5, 0}, {90, 0}, {5, 290}},
}};

void drawEntry(Canvas &c, const PreviewInput &in, const ContactColumn &column, int row, int y)
{
    drawIcon(c, in, {0, column.iconX, y});
    c.textOut(column.nameX, y, QString::fromUtf8(column.prefix) + QString::number(column.firstNumber + row));
}

} // namespace

QImage composeContactList(const PreviewInput &in)
{
    if (in.profile < 1 || in.profile > 6)
        return newPreviewBitmap(QSize());
    const ContactListLayout &l = kLayouts[in.profile - 1];
    QImage bitmap = newPreviewBitmap(in.screen);
    Canvas c(&bitmap, in.record);

    copySheetBlock(c, in, l.background);
    c.setFontPoints(l.fontPoints);
    c.setBrushClear();
    const bool twoColumns = in.columns == 1;
    copySheetBlock(c, in, twoColumns ? l.select2 : l.select1);

    c.setTextColor(in.colours[6], 6);
    for (int i = 0; i < l.rows; ++i) {
        const int y = l.firstRowY + l.rowStep * i;
        drawEntry(c, in, l.first, i, y);
        if (twoColumns)
            drawEntry(c, in, l.second, i, y);
    }
    drawIcon(c, in, l.titleRightIcon);
    drawIcon(c, in, l.titleSecondIcon);
    drawIcon(c, in, l.statusIcon);
    static const QImage noSheet;
    // Both sides are lvalues, so a record still sees the sheet itself.
    drawSoftKeyBar(c, in.sheet ? *in.sheet : noSheet, l.softKeys, QStringLiteral("Выход"), in.colours[9], 9);
    c.setTextColor(in.colours[12], 12);
    c.textOut(l.time.x, l.time.y, QStringLiteral("15:40"));
    c.setTextColor(in.colours[8], 8);
    c.textOut(l.nickname.x, l.nickname.y, QStringLiteral("Dunrel"));
    c.textOut(l.statusText.x, l.statusText.y, QStringLiteral("222333222"));
    return bitmap;
}

} // namespace zelkor
