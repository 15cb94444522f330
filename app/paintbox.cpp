#include "paintbox.h"

#include <QPainter>

namespace zelkor {

PaintBox::PaintBox(QWidget *parent) : QWidget(parent), m_surface(&m_image)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::canvasChanged()
{
    if (m_image != m_shown)
        update();
}

void PaintBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_image);
    m_shown = m_image.copy();
}

void PaintBox::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_image.size() == size())
        return;
    QImage resized(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    resized.fill(0xffffffffu);
    if (!m_image.isNull()) {
        QPainter p(&resized);
        p.drawImage(0, 0, m_image);
    }
    m_image = resized;
    m_shown = QImage();
    update();
}

} // namespace zelkor
