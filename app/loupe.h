#pragma once
// The eyedropper's magnifier: the 11 x 11 pixels around the one under the
// mouse, each drawn as an 8 x 8 block, the middle one framed, beside the
// cursor inside the window it is made on.

#include <QImage>
#include <QWidget>

namespace zelkor {

class Loupe : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPixels = 11;
    static constexpr int kZoom = 8;

    explicit Loupe(QWidget *window);

    // Shows `patch` (kPixels square, its middle pixel the one under the
    // mouse) near `cursor`, in the window's coordinates.
    void showPatch(const QImage &patch, QPoint cursor);
    const QImage &patch() const { return m_patch; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_patch;
};

} // namespace zelkor
