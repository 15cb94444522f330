#pragma once
// One 25 x 25 colour swatch of the colour panel. Its colour is the working
// value of one colour slot that the preview reads; its tag is the slot number.
// A click, or Space or Enter while it has the keyboard focus, asks for a new
// colour. A thin frame keeps a white swatch visible on the panel; a second,
// black and white ring inside it shows the focus on any colour.

#include <QWidget>

namespace zelkor {

class ColourSwatch : public QWidget {
    Q_OBJECT
public:
    ColourSwatch(int tag, QWidget *parent = nullptr);

    int tag() const { return m_tag; }
    QRgb color() const { return m_color; }
    void setColor(QRgb colour);
    // The slot that a click on the preview chose and the eyedropper fills:
    // shown by a thick ring in the highlight colour.
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    // A colour the shown size has of its own: a small dot in the corner, with
    // `tip` as the tooltip; empty for none.
    QString note() const { return m_note; }
    void setNote(const QString &tip);

signals:
    void clicked(ColourSwatch *swatch);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_tag;
    QRgb m_color = 0xffffffffu;
    bool m_selected = false;
    QString m_note;
};

} // namespace zelkor
