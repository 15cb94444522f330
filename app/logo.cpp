#include "logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zelkor {

QImage zelkorLogo()
{
    QImage img(610, 111, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 610, 111);
    bg.setColorAt(0.0, QColor(0x1f, 0x3b, 0x5c));
    bg.setColorAt(1.0, QColor(0x3d, 0x7e, 0xa6));
    p.fillRect(img.rect(), bg);

    // A stylised phone with a palette on its screen.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xee, 0xf2, 0xf6));
    p.drawRoundedRect(QRectF(24, 12, 52, 88), 9, 9);
    p.setBrush(QColor(0x20, 0x28, 0x30));
    p.drawRect(QRectF(30, 22, 40, 52));
    const QColor swatches[] = {QColor(0xe8, 0x5d, 0x4a), QColor(0xf2, 0xb6, 0x3c),
                               QColor(0x5c, 0xb8, 0x5c), QColor(0x4a, 0x90, 0xe2)};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(swatches[i]);
        p.drawRect(QRectF(33, 25 + i * 12, 34, 10));
    }
    p.setBrush(QColor(0x9a, 0xa8, 0xb6));
    p.drawEllipse(QRectF(42, 80, 16, 12));

    QFont title(QStringLiteral("Tahoma"));
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(100, 10, 500, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zelkor Skin Editor"));
    QFont sub(QStringLiteral("Tahoma"));
    sub.setPixelSize(17);
    p.setFont(sub);
    p.setPen(QColor(0xd6, 0xe6, 0xf2));
    p.drawText(QRect(102, 66, 500, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("скины для Symbian 9 · 176x208 … 416x352"));
    return img;
}

} // namespace zelkor
