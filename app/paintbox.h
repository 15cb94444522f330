#pragma once
// The preview surface: keeps a canvas image that renders draw into, and only
// shows it. Its drawing state (font, pen, brush) lives as long as the widget,
// as the popup menu screen expects. The canvas has the screen's size; the
// widget shows it enlarged by a whole factor, every skin pixel a sharp block.

#include "preview/canvas.h"

#include <QImage>
#include <QWidget>

namespace zelkor {

class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget *parent = nullptr);

    QImage &canvasImage() { return m_image; }
    const QImage &canvasImage() const { return m_image; }
    Canvas &surface() { return m_surface; }

    // The canvas becomes `size` (what it held stays at the top left, the rest
    // is white) and the widget that size times the zoom.
    void setCanvasSize(QSize size);
    void setZoom(int factor);
    int zoom() const { return m_zoom; }

    // Call after drawing into the canvas: repaints only if the pixels changed,
    // so the once-a-second render of an unchanged screen costs no repaint.
    void canvasChanged();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    QImage m_shown;  // what the last paint showed
    Canvas m_surface;
    int m_zoom = 1;
};

} // namespace zelkor
