#pragma once
// The preview surface: keeps a canvas image that renders draw into, and only
// shows it. Its drawing state (font, pen, brush) lives as long as the widget,
// as the popup menu screen expects.

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

    // Call after drawing into the canvas: repaints only if the pixels changed,
    // so the once-a-second render of an unchanged screen costs no repaint.
    void canvasChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QImage m_image;
    QImage m_shown;  // what the last paint showed
    Canvas m_surface;
};

} // namespace zelkor
