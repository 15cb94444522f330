#pragma once
// The soft-key bar every screen ends with: a block of the menuline picture
// from sheet row 0 across the bottom, "Меню" at its left and the screen's own
// label at its right, both transparent in the soft-key text colour. The block
// height is the screen's own, not always the picture's; the screen edge clips it.

#include "canvas.h"

#include <QImage>
#include <QString>

namespace zelkor {

struct SoftKeyBar {
    int width;
    int barY, barHeight;
    int labelY, leftLabelX, rightLabelX;
};

inline void drawSoftKeyBar(Canvas &c, const QImage &sheet, const SoftKeyBar &bar, const QString &rightLabel,
                           QRgb textColour, int textSlot)
{
    c.blit(0, bar.barY, bar.width, bar.barHeight, sheet, 0, 0);
    c.setBrushClear();
    c.setTextColor(textColour, textSlot);
    c.textOut(bar.leftLabelX, bar.labelY, QStringLiteral("Меню"));
    c.textOut(bar.rightLabelX, bar.labelY, rightLabel);
}

} // namespace zelkor
