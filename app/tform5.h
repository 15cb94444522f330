#pragma once
// The colour depth dialog of Save: the depth at which the converter packs
// the sheet.

#include <QDialog>

class QPushButton;

namespace zelkor {

class RadioGroup;

class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);

    RadioGroup *colorgl = nullptr;
    QPushButton *Button1 = nullptr;  // "Ok"

    // The converter option of the selected item ("/c24").
    QString depthOption() const;
};

} // namespace zelkor
