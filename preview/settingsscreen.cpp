#include "preview.h"
#include "softkeybar.h"

namespace zelkor {

namespace {

struct Point {
    int x, y;
};

// One row per profile, numbers exactly as the client lays the screen out.
// Rows past the screen's bottom are still copied (and clipped away). In
// 352 x 416 the selection sits at 97, one row above the second settings row.
// The client writes captions only at 176 x 208 (at 8 points, which the labels
// then share); the other profiles get the same two captions at their own size
// in the same two rows, so that the settings text colour can be judged there.
struct SettingsLayout {
    int width;
    int topSourceY, topHeight;            // settings_top to y = 0
    int rowSourceY, rowHeight, rowCount;  // settings_el, repeated
    int firstRowY, rowPitch;
    int selectionSourceY, selectionY;     // settings_select, rowHeight high
    int fontPoints;
    Point firstCaption, secondCaption;
    SoftKeyBar softKeys;                  // width, bar y, block height, label y, left x, right x
    const char16_t *rightLabel;
};

constexpr SettingsLayout kLayouts[] = {
    {176, 247, 16, 263, 33, 6, 16, 33, 296, 49, 8, {2, 16}, {2, 49}, {176, 188, 20, 190, 2, 125}, u"Назад"},
    {208, 217, 16, 233, 33, 6, 16, 33, 266, 49, 11, {2, 16}, {2, 49}, {208, 159, 20, 156, 2, 155}, u"Назад"},
    {240, 363, 16, 379, 33, 9, 16, 33, 412, 49, 11, {2, 16}, {2, 49}, {240, 301, 20, 300, 2, 190}, u"Назад"},
    {320, 279, 16, 295, 33, 9, 16, 33, 328, 49, 11, {2, 16}, {2, 49}, {320, 222, 18, 223, 2, 270}, u"Назад"},
    {352, 494, 32, 526, 66, 9, 32, 66, 592, 97, 18, {4, 51}, {4, 117}, {352, 375, 40, 385, 7, 270}, u"Назад"},
    {416, 434, 32, 466, 66, 9, 32, 66, 532, 98, 18, {4, 51}, {4, 117}, {416, 316, 36, 318, 7, 320}, u"Выход"},
};

} // namespace

QImage composeSettings(const PreviewInput &in)
{
    if (in.profile < 1 || in.profile > 6 || !in.sheet)
        return newPreviewBitmap(QSize());
    const SettingsLayout &l = kLayouts[in.profile - 1];
    const QImage &sheet = *in.sheet;
    const ColourSlots &slot = in.colours;

    QImage img = newPreviewBitmap(in.screen);
    Canvas c(&img, in.record);

    c.blit(0, 0, l.width, l.topHeight, sheet, 0, l.topSourceY);
    for (int i = 0; i < l.rowCount; ++i)
        c.blit(0, l.firstRowY + i * l.rowPitch, l.width, l.rowHeight, sheet, 0, l.rowSourceY);
    c.blit(0, l.selectionY, l.width, l.rowHeight, sheet, 0, l.selectionSourceY);

    c.setFontPoints(l.fontPoints);
    c.setBrushClear();
    c.setTextColor(slot[11], 11);
    c.textOut(l.secondCaption.x, l.secondCaption.y, QStringLiteral("Проверка на обновление"));
    c.textOut(l.firstCaption.x, l.firstCaption.y, QStringLiteral("Группировать откр. чаты"));

    drawSoftKeyBar(c, sheet, l.softKeys, QString::fromUtf16(l.rightLabel), slot[9], 9);
    return img;
}

} // namespace zelkor
