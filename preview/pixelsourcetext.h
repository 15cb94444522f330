#pragma once
// What a pixel of the preview is, in the words the editor shows when the
// mouse rests on it: the colour panel's label of a slot (with the text it
// inked), a sheet picture's caption with the pixel inside it, an icon, the
// client's fixed colours, the white of the empty screen, or the phone picture
// around the screen.

#include "paintrecord.h"

#include <QPoint>
#include <QString>

namespace zelkor {

// "цвет ника в списке контактов — «MegaContact3»", "Фоновая картинка в контактах, 120, 44".
QString pixelSourceText(const PixelSource &source);
// A pixel of the phone picture, outside the screen.
QString phonePixelText(QPoint pixel);

} // namespace zelkor
