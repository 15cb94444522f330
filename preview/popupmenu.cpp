#include "preview.h"

#include <array>

namespace zelkor {

namespace {

struct Box {
    int left;
    int top;
    int right;   // exclusive
    int bottom;  // exclusive
};

// One row per profile. The window of 208 x 176 is one row shorter than the
// others of its size; that is how the client draws it.
struct PopupMenuLayout {
    Box window;
    int fontPoints;
    Box selection;
    std::array<int, 6> itemY;
};

constexpr std::array<PopupMenuLayout, 6> kLayouts{{
    {{1, 70, 120, 187}, 11, {1, 89, 120, 109}, {70, 90, 110, 130, 150, 170}},
    {{1, 45, 120, 161}, 11, {1, 64, 120, 84}, {45, 65, 85, 105, 125, 145}},
    {{1, 180, 120, 297}, 11, {1, 199, 120, 219}, {180, 200, 220, 240, 260, 280}},
    {{1, 100, 120, 217}, 11, {1, 119, 120, 139}, {100, 120, 140, 160, 180, 200}},
    {{1, 140, 220, 370}, 18, {1, 179, 220, 219}, {140, 180, 220, 260, 300, 340}},
    {{1, 80, 220, 310}, 18, {1, 119, 220, 159}, {80, 120, 160, 200, 240, 280}},
}};

constexpr int kItemX = 3;

const char *const kItems[6] = {
    "Статус", "Х-статус", "Прив. статус", "Фильтр", "Контакты", "Настройки",
};

void item(Canvas &c, const PopupMenuLayout &l, int index)
{
    c.textOut(kItemX, l.itemY[index], QString::fromUtf8(kItems[index]));
}

} // namespace

void drawPopupMenu(Canvas &paintBox, const PreviewInput &in)
{
    if (in.profile < 1 || in.profile > 6)
        return;
    const PopupMenuLayout &l = kLayouts[in.profile - 1];
    constexpr int window = 3, selectionFill = 4, selectionRing = 5;
    const ColourSlots &slot = in.colours;

    paintBox.setPenColor(slot[window], window);
    paintBox.setBrushColor(slot[window], window);
    paintBox.rectangle(l.window.left, l.window.top, l.window.right, l.window.bottom);

    paintBox.setFontPoints(l.fontPoints);
    paintBox.setTextColor(slot[10], 10);
    paintBox.setBrushClear();
    item(paintBox, l, 0);

    // Setting the selection's fill colour also makes the next texts opaque.
    paintBox.setPenColor(slot[selectionRing], selectionRing);
    paintBox.setBrushColor(slot[selectionFill], selectionFill);
    paintBox.rectangle(l.selection.left, l.selection.top, l.selection.right, l.selection.bottom);
    paintBox.setPenColor(slot[window], window);
    item(paintBox, l, 1);

    paintBox.setBrushColor(slot[window], window);
    for (int i = 2; i < 6; ++i)
        item(paintBox, l, i);
}

} // namespace zelkor
