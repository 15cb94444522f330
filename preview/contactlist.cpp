#include "preview.h"

namespace zelkor {

// Not composed yet: a white screen until this screen's steps are written.
QImage composeContactList(const PreviewInput &in)
{
    return newPreviewBitmap(in.profile ? in.screen : QSize());
}

} // namespace zelkor
