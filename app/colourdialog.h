#pragma once
// The colour dialog of a colour slot: the slot's label in the title, the
// current and the new colour side by side, the new one as hex, RGB, HSL and
// CIELAB L*, and a live readout of how the slot's texts read in it against
// every background they lie on (the worst, and the AA 4,5 : 1 / AAA 7 : 1
// marks). The skin's own colours and its pictures' palette are chips to
// click; "Пипетка" takes a colour from anywhere on the screen; "Ближайший
// читаемый" moves the colour's lightness just far enough for every text to
// reach the threshold. Every change is reported (colourChanged) so that the
// preview can follow it; the caller makes the chosen colour one undo step.

#include "design/legibility.h"
#include "design/lightnessfix.h"

#include <QDialog>

#include <vector>

class QBoxLayout;
class QDoubleSpinBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zelkor {

// What the readout measures against.
struct ColourContext {
    int slot = -1;
    design::Legibility measure;   // the skin as the preview shows it
    double minContrast = design::kDefaultMinContrast;
    design::AsDrawn asDrawn;      // what the preview's depth makes of a colour
    std::vector<QRgb> skinColours;
    std::vector<QRgb> paletteColours;
};

class ColourDialog : public QDialog {
    Q_OBJECT
public:
    ColourDialog(QRgb initial, const QString &title, ColourContext context, QWidget *parent = nullptr);

    QRgb initialColour() const { return m_initial; }
    QRgb colour() const { return m_colour; }
    // Shows `colour` in every field and the readout, as typing it would.
    void setColour(QRgb colour);
    // The nearest colour that reaches the threshold, if the current one does not and one exists.
    std::optional<QRgb> nearestPassing() const { return m_nearest; }

    QLabel *readout() const { return m_readout; }
    QLineEdit *hexField() const { return m_hex; }
    QPushButton *nearestButton() const { return m_nearestButton; }
    QWidget *chips() const { return m_chips; }
    // Where further options of the choice go (a checkbox under the fields).
    QBoxLayout *optionsLayout() const { return m_options; }

signals:
    void colourChanged(QRgb colour);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void showColour(QWidget *source);
    void updateReadout();
    void startPicking();

    ColourContext m_context;
    QRgb m_initial;
    QRgb m_colour;
    std::optional<QRgb> m_nearest;
    bool m_updating = false;
    bool m_picking = false;

    QFrame *m_new;
    QLineEdit *m_hex;
    QSpinBox *m_rgb[3];
    QSpinBox *m_hsl[3];
    QDoubleSpinBox *m_lightness;
    QLabel *m_readout;
    QPushButton *m_nearestButton;
    QPushButton *m_eyedropper;
    QWidget *m_chips;
    QBoxLayout *m_options;
};

} // namespace zelkor
