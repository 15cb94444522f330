#pragma once
// What one size of a project has of its own instead of the shared value.

#include "project.h"

namespace zelkor {

// Whether picture `picture` (colour slot `slot`) of `profile` differs from
// what the other sizes share.
bool pictureOverridden(const SkinProject &project, int picture, int profile);
bool colourOverridden(const SkinProject &project, int slot, int profile);

} // namespace zelkor
