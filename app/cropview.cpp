#include "cropview.h"

#include "imaging/placement.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <cmath>

namespace zelkor {

CropView::CropView(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(false);
    setCursor(Qt::OpenHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage CropView::fitted(const QImage &picture, const QSize &area, double *scale)
{
    double factor = 1;
    QImage out;
    if (!picture.isNull() && !area.isEmpty()) {
        const QSize inside = picture.size().scaled(area, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        if (inside.width() < picture.width()) {
            out = smoothScaled(picture, inside);
            factor = double(inside.width()) / picture.width();
        } else {
            // Whole pixels only, so a small bar stays crisp.
            const int whole = std::max(1, std::min(area.width() / picture.width(), area.height() / picture.height()));
            out = whole == 1 ? picture : picture.scaled(picture.size() * whole, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            factor = whole;
        }
    }
    if (scale)
        *scale = factor;
    return out;
}

void CropView::setPicture(const QImage &picture)
{
    m_picture = picture;
    refit();
}

void CropView::setCrop(const QRect &crop)
{
    if (crop == m_crop)
        return;
    m_crop = crop;
    update();
}

void CropView::refit()
{
    m_shown = fitted(m_picture, size(), &m_scale);
    m_shownRect = QRect(QPoint((width() - m_shown.width()) / 2, (height() - m_shown.height()) / 2), m_shown.size());
    update();
}

void CropView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    refit();
}

void CropView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.drawImage(m_shownRect.topLeft(), m_shown);
    if (m_crop.isEmpty())
        return;
    const QRectF c(m_shownRect.x() + m_crop.x() * m_scale, m_shownRect.y() + m_crop.y() * m_scale,
                   m_crop.width() * m_scale, m_crop.height() * m_scale);
    // What the crop leaves out is dimmed; the crop itself is outlined twice, so
    // the line shows on dark and on light pictures.
    QPainterPath outside;
    outside.addRect(QRectF(m_shownRect));
    outside.addRect(c);
    p.fillPath(outside, QColor(0, 0, 0, 120));
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(c.adjusted(0, 0, -1, -1));
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(c.adjusted(0, 0, -1, -1));
}

void CropView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_lastMouse = event->position();
    setCursor(Qt::ClosedHandCursor);
}

void CropView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging || m_scale <= 0)
        return;
    const QPointF delta = (event->position() - m_lastMouse) / m_scale;
    m_lastMouse = event->position();
    emit dragged(delta);
}

void CropView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        setCursor(Qt::OpenHandCursor);
    }
}

void CropView::wheelEvent(QWheelEvent *event)
{
    m_wheelRest += event->angleDelta().y();
    const int notches = m_wheelRest / 120;
    m_wheelRest -= notches * 120;
    if (notches)
        emit wheelTurned(notches);
    event->accept();
}

} // namespace zelkor
