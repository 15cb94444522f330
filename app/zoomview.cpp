#include "zoomview.h"

#include "paintbox.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

#include <algorithm>

namespace zelkor {

void PhonePicture::setZoom(int factor)
{
    m_zoom = std::max(1, factor);
    resize(pixmap().size() * m_zoom);
    update();
}

void PhonePicture::paintEvent(QPaintEvent *event)
{
    const QPixmap pix = pixmap();
    if (pix.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setClipRegion(event->region());
    p.drawPixmap(QRect(QPoint(0, 0), pix.size() * m_zoom), pix);
}

ZoomView::ZoomView(QWidget *parent) : QScrollArea(parent)
{
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::NoFrame);
    setObjectName(QStringLiteral("previewArea"));
    setAccessibleName(QStringLiteral("Предпросмотр на телефоне"));
    m_stage = new QWidget;
    m_stage->setObjectName(QStringLiteral("stage"));
    m_frame = new QFrame(m_stage);
    m_frame->setStyleSheet(QStringLiteral("background: white; border: 1px solid black;"));
    m_phone = new PhonePicture(m_stage);
    m_paintBox = new PaintBox(m_stage);
    m_paintBox->setCanvasSize(m_screen);
    for (QWidget *w : {static_cast<QWidget *>(m_phone), static_cast<QWidget *>(m_paintBox)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    setWidget(m_stage);
    place();
}

namespace {

// The part of a phone picture that is not its white surround. The frame
// around the phone is white too, so leaving the surround out changes nothing
// one sees, and gives a tall phone the rows it needs on a small screen.
QRect drawnPart(const QImage &photo)
{
    const QImage rgb = photo.convertToFormat(QImage::Format_RGB32);
    // A JPEG's white is not exactly white; the soft shadow starts just below it.
    const auto white = [](QRgb c) { return qRed(c) >= 250 && qGreen(c) >= 250 && qBlue(c) >= 250; };
    int left = rgb.width(), top = rgb.height(), right = -1, bottom = -1;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if (!white(line[x])) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

void ZoomView::setPhoto(const QImage &photo)
{
    m_photo = photo;
    if (photo.isNull())
        m_phone->clear();
    else
        m_phone->setPixmap(QPixmap::fromImage(photo));
    m_drawn = drawnPart(photo);
    place();
}

void ZoomView::setScreen(QPoint offsetOnPhoto, QSize screenSize)
{
    m_offset = offsetOnPhoto;
    m_screen = screenSize;
    m_paintBox->setCanvasSize(screenSize);
    place();
}

QSize ZoomView::stageSize(int factor) const
{
    const QRect shown = shownPart();
    return shown.size() * factor + QSize(2 * kMargin, 2 * kMargin);
}

int ZoomView::fittingZoom() const
{
    const QSize room = maximumViewportSize();
    for (int factor = kMaxZoom; factor > 1; --factor) {
        const QSize need = stageSize(factor);
        if (need.width() <= room.width() && need.height() <= room.height())
            return factor;
    }
    return 1;
}

void ZoomView::setZoomMode(int mode)
{
    m_mode = std::clamp(mode, kFitWindow, kMaxZoom);
    applyZoom(m_mode == kFitWindow ? fittingZoom() : m_mode);
}

void ZoomView::applyZoom(int factor)
{
    if (factor == m_zoom)
        return;
    m_zoom = factor;
    place();
    emit zoomChanged(factor);
}

QRect ZoomView::shownPart() const
{
    // Without a photograph (no skin yet) the screen's offset is still kept
    // inside the frame, from the photograph's origin.
    const QRect screen(m_offset, m_screen);
    if (m_drawn.isEmpty())
        return QRect(QPoint(0, 0), screen.bottomRight());
    return m_drawn.united(screen);
}

void ZoomView::place()
{
    m_phone->setZoom(m_zoom);
    m_paintBox->setZoom(m_zoom);
    // The phone keeps its whole picture; what lies outside the shown part is
    // left above or beside the stage, so PaintBox1 stays at the screen's
    // offset from the phone's corner.
    const QPoint origin = QPoint(kMargin, kMargin) - shownPart().topLeft() * m_zoom;
    m_phone->move(origin);
    m_paintBox->move(origin + m_offset * m_zoom);
    m_stage->resize(stageSize(m_zoom));
    m_frame->setGeometry(m_stage->rect());
}

void ZoomView::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    if (m_mode == kFitWindow)
        applyZoom(fittingZoom());
}

PreviewSpot ZoomView::spotAt(const QWidget *child, QPoint pos) const
{
    // Whole blocks: QPoint's own division rounds, which would give the
    // right half of a block to the next pixel.
    const auto pixelOf = [this](QPoint p) { return QPoint(p.x() / m_zoom, p.y() / m_zoom); };
    if (pos.x() < 0 || pos.y() < 0)
        return {};
    PreviewSpot spot;
    if (child == m_paintBox) {
        spot.where = PreviewSpot::Screen;
        spot.pixel = pixelOf(pos);
        if (!QRect(QPoint(0, 0), m_paintBox->canvasImage().size()).contains(spot.pixel))
            return {};
    } else if (child == m_phone) {
        spot.where = PreviewSpot::Phone;
        spot.pixel = pixelOf(pos);
        if (!m_photo.rect().contains(spot.pixel))
            return {};
    }
    return spot;
}

bool ZoomView::eventFilter(QObject *watched, QEvent *event)
{
    const auto *child = qobject_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *me = static_cast<QMouseEvent *>(event);
        const PreviewSpot spot = spotAt(child, me->position().toPoint());
        if (event->type() == QEvent::MouseMove)
            emit hovered(spot, me->globalPosition().toPoint());
        else if (me->button() == Qt::LeftButton && event->type() == QEvent::MouseButtonPress)
            emit clicked(spot);
        else if (me->button() == Qt::LeftButton)
            emit doubleClicked(spot);
        break;
    }
    case QEvent::Leave:
        emit hovered({}, {});
        break;
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}

} // namespace zelkor
