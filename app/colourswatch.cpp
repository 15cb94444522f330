#include "colourswatch.h"

#include <QMouseEvent>
#include <QPainter>

namespace zelkor {

ColourSwatch::ColourSwatch(int tag, QWidget *parent) : QWidget(parent), m_tag(tag)
{
    setFixedSize(25, 25);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColourSwatch::setColor(QRgb colour)
{
    colour |= 0xff000000u;
    if (colour == m_color)
        return;
    m_color = colour;
    update();
}

void ColourSwatch::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor::fromRgb(m_color));
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(this);
}

} // namespace zelkor
