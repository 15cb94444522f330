#pragma once
// The contact list screen as its table of steps describes it, replayed on a
// ScreenModel.

#include "screenmodel.h"

namespace zelkor::test {

struct ContactListSteps {
    int points, rows, rowY0, rowStep;
    int icon1X, name1X;
    const char *prefix1;
    int icon2X, name2X;
    const char *prefix2;
    int bgY, bgW, bgH;
    int sel1Y, sel1W, sel1H;
    int sel2Y, sel2W, sel2H;
    int selDestY;
    int rightCell, rightX, rightY;
    int secondCell, secondX, secondY;
    int statusCell, statusX, statusY;
    int menuW, menuH, menuDestY;
    int menuTextX, menuTextY, exitX, exitY;
    int nickX;
    int statusTextX, statusTextY;
};

// Profile 2's status line is the editor's own choice: (150, 141) and (5, 141).
inline constexpr ContactListSteps kContactSteps[7] = {
    {},
    {11, 8, 20, 18, 0, 20, "Contact", 90, 110, "Друг", 20, 176, 188, 209, 176, 18, 228, 88, 18, 38,
     1408, 158, 0, 16, 139, 0, 1504, 128, 173, 176, 20, 188, 2, 190, 125, 190, 50, 5, 173},
    {11, 8, 20, 18, 0, 20, "Contact", 90, 110, "Друг", 18, 208, 160, 179, 208, 18, 198, 103, 18, 38,
     1408, 178, 0, 16, 159, 0, 1504, 150, 141, 208, 20, 159, 2, 156, 145, 156, 50, 5, 141},
    {11, 14, 20, 18, 0, 20, "MegaContact", 120, 140, "УльтраДруг", 20, 240, 304, 325, 240, 18, 344, 119, 18, 38,
     1408, 208, 0, 16, 189, 0, 1504, 190, 283, 240, 20, 301, 2, 300, 190, 300, 50, 5, 283},
    {11, 10, 20, 18, 0, 20, "MegaContact", 160, 180, "УльтраДруг", 18, 320, 222, 241, 320, 18, 260, 159, 18, 38,
     1408, 288, 0, 16, 269, 0, 1504, 260, 203, 320, 18, 222, 2, 223, 270, 223, 50, 5, 203},
    {18, 8, 45, 36, 0, 35, "Contact", 182, 220, "Друг", 40, 352, 376, 418, 352, 36, 456, 176, 36, 45,
     2752, 288, 2, 32, 249, 2, 3008, 260, 345, 352, 40, 375, 7, 385, 270, 385, 90, 5, 345},
    {18, 7, 45, 36, 0, 35, "Contact", 208, 242, "Друг", 36, 416, 320, 358, 416, 36, 396, 208, 36, 45,
     2752, 378, 2, 32, 339, 2, 3008, 300, 288, 416, 36, 316, 7, 318, 320, 318, 90, 5, 290},
};

inline ScreenModel contactListModel(const PreviewInput &in)
{
    const ContactListSteps &s = kContactSteps[in.profile];
    const int cell = in.profile >= 5 ? 32 : 16;
    ScreenModel m(in);
    m.block(s.bgY, s.bgW, s.bgH, 0);
    if (in.columns == 1)
        m.block(s.sel2Y, s.sel2W, s.sel2H, s.selDestY);
    else
        m.block(s.sel1Y, s.sel1W, s.sel1H, s.selDestY);
    for (int i = 0; i < s.rows; ++i) {
        const int y = s.rowY0 + s.rowStep * i;
        m.icon(cell, 0, s.icon1X, y);
        m.text(QString::fromUtf8(s.prefix1) + QString::number(i), s.name1X, y, s.points, 6);
        if (in.columns == 1) {
            m.icon(cell, 0, s.icon2X, y);
            m.text(QString::fromUtf8(s.prefix2) + QString::number(i + 10), s.name2X, y, s.points, 6);
        }
    }
    m.icon(cell, s.rightCell, s.rightX, s.rightY);
    m.icon(cell, s.secondCell, s.secondX, s.secondY);
    m.icon(cell, s.statusCell, s.statusX, s.statusY);
    m.block(0, s.menuW, s.menuH, s.menuDestY);
    m.text(QStringLiteral("Меню"), s.menuTextX, s.menuTextY, s.points, 9);
    m.text(QStringLiteral("Выход"), s.exitX, s.exitY, s.points, 9);
    m.text(QStringLiteral("15:40"), 5, 0, s.points, 12);
    m.text(QStringLiteral("Dunrel"), s.nickX, 0, s.points, 8);
    m.text(QStringLiteral("222333222"), s.statusTextX, s.statusTextY, s.points, 8);
    return m;
}

} // namespace zelkor::test
