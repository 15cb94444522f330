#include "loupe.h"

#include <QPainter>

namespace zelkor {

Loupe::Loupe(QWidget *window) : QWidget(window)
{
    setObjectName(QStringLiteral("loupe"));
    setFixedSize(kPixels * kZoom + 2, kPixels * kZoom + 2);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void Loupe::showPatch(const QImage &patch, QPoint cursor)
{
    m_patch = patch;
    // Below and right of the cursor, else on whichever side has room.
    const QSize room = parentWidget()->size();
    QPoint at = cursor + QPoint(24, 24);
    if (at.x() + width() > room.width())
        at.setX(cursor.x() - 24 - width());
    if (at.y() + height() > room.height())
        at.setY(cursor.y() - 24 - height());
    move(at);
    show();
    raise();
    update();
}

void Loupe::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::darkGray);
    p.drawImage(QRect(1, 1, kPixels * kZoom, kPixels * kZoom), m_patch);
    // The middle pixel: a black and a white frame, seen on any colour.
    const QRect middle(1 + kPixels / 2 * kZoom, 1 + kPixels / 2 * kZoom, kZoom, kZoom);
    p.setPen(Qt::black);
    p.drawRect(middle.adjusted(-1, -1, 0, 0));
    p.setPen(Qt::white);
    p.drawRect(middle.adjusted(-2, -2, 1, 1));
}

} // namespace zelkor
