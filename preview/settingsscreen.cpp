#include "preview.h"

namespace zelkor {

// Not composed yet: a white screen until this screen's steps are written.
QImage composeSettings(const PreviewInput &in)
{
    return newPreviewBitmap(in.profile ? in.screen : QSize());
}

} // namespace zelkor
