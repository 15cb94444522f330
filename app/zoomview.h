#pragma once
// The preview area of the main window: the phone picture with the screen
// (PaintBox1) on it, inside a white frame (the picture's own white surround
// left out), enlarged by a whole factor and scrolled when larger than the
// window. Every skin and phone pixel is shown as a flat block (nearest
// neighbour) on any device pixel ratio. It tells where the mouse is in pixels
// of the screen or of the phone picture.

#include <QImage>
#include <QLabel>
#include <QScrollArea>

class QFrame;

namespace zelkor {

class PaintBox;

// The phone picture, drawn enlarged by the view's factor; pixmap() stays the
// picture as read.
class PhonePicture : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    void setZoom(int factor);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_zoom = 1;
};

// Where a mouse position lies: on the screen (a skin pixel of PaintBox1's
// canvas), on the phone picture around it (a pixel of the picture as read), or
// on neither.
struct PreviewSpot {
    enum Where { Nowhere, Screen, Phone } where = Nowhere;
    QPoint pixel;
    bool operator==(const PreviewSpot &o) const { return where == o.where && pixel == o.pixel; }
};

class ZoomView : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int kMaxZoom = 4;
    static constexpr int kFitWindow = 0;  // the mode that follows the window's size
    static constexpr int kMargin = 4;     // white frame around the phone, not enlarged

    explicit ZoomView(QWidget *parent = nullptr);

    QFrame *frame() const { return m_frame; }
    PhonePicture *phone() const { return m_phone; }
    PaintBox *paintBox() const { return m_paintBox; }

    // The phone picture (null: none) and where the screen lies on it.
    void setPhoto(const QImage &photo);
    const QImage &photo() const { return m_photo; }
    void setScreen(QPoint offsetOnPhoto, QSize screenSize);

    // 1..kMaxZoom, or kFitWindow: the largest factor at which the whole
    // picture fits the visible area, followed as the window changes size.
    void setZoomMode(int mode);
    int zoomMode() const { return m_mode; }
    int zoom() const { return m_zoom; }
    int fittingZoom() const;

    // The part of the photograph (and of the screen's place on it) the stage
    // shows: the picture without its white surround.
    QRect shownPart() const;

    // What lies under a point of a child (the phone or PaintBox1).
    PreviewSpot spotAt(const QWidget *child, QPoint pos) const;

signals:
    void zoomChanged(int factor);
    void hovered(const PreviewSpot &spot, QPoint globalPos);
    void clicked(const PreviewSpot &spot);
    void doubleClicked(const PreviewSpot &spot);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyZoom(int factor);
    void place();
    QSize stageSize(int factor) const;

    QWidget *m_stage;
    QFrame *m_frame;
    PhonePicture *m_phone;
    PaintBox *m_paintBox;
    QImage m_photo;
    QRect m_drawn;  // the photograph without its white surround
    QPoint m_offset{42, 91};
    QSize m_screen{176, 208};
    int m_mode = 1;
    int m_zoom = 1;
};

} // namespace zelkor
