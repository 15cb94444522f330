#pragma once
// The picture editing dialog.

#include <QDialog>

namespace zelkor {

class TForm1;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(TForm1 *mainWindow);

private:
    TForm1 *m_main;
};

} // namespace zelkor
