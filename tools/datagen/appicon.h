#pragma once
// The editor's own icon for the desktop: a phone with a skin on its screen and
// three drops of colour. One list of shapes on a 256-unit square is written
// out both as the scalable SVG and as the PNG sizes of the hicolor theme, so
// every size shows the same picture.

#include <QImage>
#include <QString>

namespace zelkor::datagen {

// The PNG sizes that the icon theme gets beside the scalable one.
inline constexpr int kAppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The SVG document (viewBox 0 0 256 256).
QString appIconSvg();

// The icon at size x size pixels on a transparent background.
QImage drawAppIcon(int size);

} // namespace zelkor::datagen
