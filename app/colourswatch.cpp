#include "colourswatch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zelkor {

ColourSwatch::ColourSwatch(int tag, QWidget *parent) : QWidget(parent), m_tag(tag)
{
    setFixedSize(25, 25);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void ColourSwatch::setColor(QRgb colour)
{
    colour |= 0xff000000u;
    if (colour == m_color)
        return;
    m_color = colour;
    update();
}

void ColourSwatch::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    update();
}

void ColourSwatch::setNote(const QString &tip)
{
    if (tip == m_note)
        return;
    m_note = tip;
    setToolTip(tip);
    update();
}

void ColourSwatch::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor::fromRgb(m_color));
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_selected) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.drawRect(rect().adjusted(1, 1, -1, -1));
    }
    if (!m_note.isEmpty()) {
        // Ringed in the opposite lightness, so it shows on any colour.
        const QRectF dot(width() - 10.5, 2.5, 7, 7);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(qGray(m_color) < 128 ? Qt::white : Qt::black);
        p.setBrush(palette().color(QPalette::Highlight));
        p.drawEllipse(dot);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(Qt::NoBrush);
    }
    if (hasFocus()) {
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(2, 2, -3, -3));
        p.setPen(Qt::white);
        p.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(this);
}

void ColourSwatch::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            emit clicked(this);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace zelkor
