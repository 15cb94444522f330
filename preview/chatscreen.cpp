#include "preview.h"
#include "softkeybar.h"

namespace zelkor {

namespace {

// One row per profile, numbers exactly as the client lays the screen out. The
// soft-key copy of 208 x 176 is 20 rows from an 18-row picture; the screen
// edge clips it to 17.
struct ChatLayout {
    int width;
    int chatSourceY, chatHeight;  // background from the chat picture
    int fontPoints;
    int nicknameX, clientNameX;   // header texts at y = 0
    int iconCellSize, iconCellY, iconX, iconY;
    int lineY[3];                 // outgoing, x-status, incoming
    SoftKeyBar softKeys;          // width, bar y, block height, label y, left x, right x
    const char16_t *rightLabel;
};

constexpr ChatLayout kLayouts[] = {
    {176, 329, 165, 11, 20, 120, 16, 0, 0, 0, {30, 45, 60}, {176, 188, 20, 190, 2, 125}, u"Назад"},
    {208, 299, 164, 11, 20, 140, 16, 0, 0, 0, {30, 45, 60}, {208, 159, 20, 156, 2, 155}, u"Назад"},
    {240, 445, 275, 11, 20, 170, 16, 0, 0, 0, {30, 45, 60}, {240, 301, 20, 300, 2, 190}, u"Назад"},
    {320, 361, 225, 11, 20, 240, 16, 0, 0, 0, {30, 45, 60}, {320, 222, 18, 223, 2, 270}, u"Назад"},
    {352, 658, 330, 18, 40, 280, 32, 32, 0, 2, {35, 65, 95}, {352, 375, 40, 385, 7, 270}, u"Назад"},
    {416, 598, 328, 18, 40, 300, 32, 32, 0, 2, {35, 65, 95}, {416, 316, 36, 318, 7, 320}, u"Выход"},
};

} // namespace

QImage composeChat(const PreviewInput &in)
{
    if (in.profile < 1 || in.profile > 6 || !in.sheet)
        return newPreviewBitmap(QSize());
    const ChatLayout &l = kLayouts[in.profile - 1];
    const QImage &sheet = *in.sheet;
    const ColourSlots &slot = in.colours;

    QImage img = newPreviewBitmap(in.screen);
    Canvas c(&img, in.record);

    c.blit(0, 0, l.width, l.chatHeight, sheet, 0, l.chatSourceY);

    c.setFontPoints(l.fontPoints);
    c.setBrushClear();
    c.setTextColor(slot[9], 9);
    c.textOut(l.nicknameX, 0, QStringLiteral("Dunrel"));
    c.textOut(l.clientNameX, 0, QStringLiteral("Zelkor"));

    const QImage *icons = l.iconCellSize == 32 ? in.largeIcons : in.smallIcons;
    drawMaskedIcon(c, icons, l.iconCellSize, l.iconCellY, l.iconX, l.iconY);

    c.setTextColor(slot[0], 0);
    c.textOut(0, l.lineY[0], QStringLiteral("[13:34]-> Привет!"));
    c.setTextColor(slot[2], 2);
    c.textOut(0, l.lineY[1], QStringLiteral("Волосатая птица ..."));
    c.setTextColor(slot[1], 1);
    c.textOut(0, l.lineY[2], QStringLiteral("[13:34]<- Кривед..."));

    drawSoftKeyBar(c, sheet, l.softKeys, QString::fromUtf16(l.rightLabel), slot[9], 9);
    return img;
}

} // namespace zelkor
