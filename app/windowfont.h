#pragma once
// "MS Sans Serif", 8 points at 96 dpi: the font of the main window and the about box.

#include <QFont>

namespace zelkor {

inline QFont windowFont()
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(11);
    return f;
}

} // namespace zelkor
