#pragma once
// Shows a picture scaled to fit the widget -- reduced smoothly when it is too
// large, enlarged by whole pixels when it is small -- and, when a crop is
// set, the crop rectangle over it with the rest dimmed. Dragging the picture
// moves the crop, the wheel zooms; the widget only reports both, in the
// picture's own pixels, and shows what it is given.

#include <QImage>
#include <QWidget>

namespace zelkor {

class CropView : public QWidget {
    Q_OBJECT
public:
    explicit CropView(QWidget *parent = nullptr);

    // `picture` made to fit `area`: smoothly reduced when larger, enlarged by
    // the largest whole factor that fits when smaller. `scale` gets the factor.
    static QImage fitted(const QImage &picture, const QSize &area, double *scale = nullptr);

    void setPicture(const QImage &picture);
    // In the picture's pixels; an empty crop draws none.
    void setCrop(const QRect &crop);
    QRect crop() const { return m_crop; }
    // Where the picture lies in the widget and how much it is scaled there.
    QRect shownRect() const { return m_shownRect; }
    double scale() const { return m_scale; }

signals:
    // The picture was dragged by `delta` of its own pixels.
    void dragged(QPointF delta);
    // Wheel notches: positive away from the user (zoom in).
    void wheelTurned(int notches);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void refit();

    QImage m_picture;
    QImage m_shown;
    QRect m_shownRect;
    double m_scale = 1;
    QRect m_crop;
    QPointF m_lastMouse;
    bool m_dragging = false;
    int m_wheelRest = 0;  // eighths of a degree not yet a whole notch
};

} // namespace zelkor
