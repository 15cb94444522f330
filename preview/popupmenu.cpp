#include "preview.h"

namespace zelkor {

void drawPopupMenu(Canvas &paintBox, const PreviewInput &in)
{
    Q_UNUSED(paintBox);
    Q_UNUSED(in);
}

} // namespace zelkor
