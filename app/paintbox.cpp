#include "paintbox.h"

#include <QPainter>
#include <QPaintEvent>

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

void PaintBox::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    // No smoothing: on any device pixel ratio a skin pixel stays one flat block.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setClipRegion(event->region());
    p.drawImage(QRect(QPoint(0, 0), m_image.size() * m_zoom), m_image);
    m_shown = m_image.copy();
}

void PaintBox::setCanvasSize(QSize size)
{
    size = size.expandedTo(QSize(1, 1));
    if (m_image.size() != size) {
        QImage resized(size, QImage::Format_RGB32);
        resized.fill(0xffffffffu);
        if (!m_image.isNull()) {
            QPainter p(&resized);
            p.drawImage(0, 0, m_image);
        }
        m_image = resized;
        m_shown = QImage();
    }
    resize(m_image.size() * m_zoom);
    update();
}

void PaintBox::setZoom(int factor)
{
    m_zoom = std::max(1, factor);
    setCanvasSize(m_image.size());
}

} // namespace zelkor
