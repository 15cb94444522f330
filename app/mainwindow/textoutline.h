#pragma once
// A frame around one text of the preview, over PaintBox1 and sized with it,
// so that it survives every render until another text is chosen.

#include <QRect>
#include <QSize>
#include <QWidget>

namespace zelkor {

class PaintBox;

class TextOutline : public QWidget {
public:
    explicit TextOutline(PaintBox *box);

    // `ink` in screen pixels of a screen `screenSize` large; empty hides the frame.
    void outline(const QRect &ink, QSize screenSize);
    const QRect &ink() const { return m_ink; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    PaintBox *m_box;
    QRect m_ink;
    QSize m_screen;
};

} // namespace zelkor
