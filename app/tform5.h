#pragma once
// The colour depth dialog of Save: the depth at which the converter packs
// the sheet, with the size the file will have at each depth, and at the
// palette depths the choice to smooth the pictures first.

#include "skin/savedepth.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

namespace zelkor {

class RadioGroup;

class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);

    RadioGroup *colorgl = nullptr;
    QPushButton *Button1 = nullptr;  // "Ok"
    QPushButton *Button2 = nullptr;  // "Отмена"
    QCheckBox *smoothBox = nullptr;  // "Сглаживать картинки", only at 4 and 8 bpp
    std::array<QLabel *, kColourDepths.size()> sizeLabels{};

    // Shows the file size beside each depth (the smoothed one where smoothing is on).
    void setFileSizes(const DepthFileSizes &sizes);
    void setSmoothing(bool on);

    // The converter option of the selected item ("/c24").
    QString depthOption() const;
    // True when the pictures are to be smoothed at the chosen depth.
    bool smoothing() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void refresh();
    DepthFileSizes m_sizes{};
    bool m_haveSizes = false;
};

} // namespace zelkor
