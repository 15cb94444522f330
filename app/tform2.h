#pragma once
// The resolution dialog of a new skin: which of the six screen sizes the
// template is taken for. Item i stands for profile i + 1.

#include <QDialog>

class QPushButton;

namespace zelkor {

class RadioGroup;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);

    RadioGroup *RadioGroup1 = nullptr;
    QPushButton *Button1 = nullptr;  // "Продолжить"

    // The same six items for porting a skin of `currentProfile`, whose own
    // item cannot be chosen.
    void offerPortFrom(int currentProfile);

    // The profile of the selected item (1..6).
    int chosenProfile() const;
};

} // namespace zelkor
