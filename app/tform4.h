#pragma once
// The about box: created anew and shown modally each time it is asked for.

#include <QDialog>

class QPushButton;

namespace zelkor {

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);

    QPushButton *closeButton() const { return m_close; }

private:
    QPushButton *m_close;
};

} // namespace zelkor
