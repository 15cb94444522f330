#include "tform3.h"

#include "app/tform1.h"

namespace zelkor {

TForm3::TForm3(TForm1 *mainWindow) : QDialog(mainWindow), m_main(mainWindow)
{
    setWindowTitle(QStringLiteral("Редактирование скина"));
}

} // namespace zelkor
