#pragma once
#include <QImage>

namespace zelkor {
// The editor's 610 x 111 logo, shown in the about box and as the picture
// editing dialog's placeholder.
QImage zelkorLogo();
}
