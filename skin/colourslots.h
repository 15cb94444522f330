#pragma once
// The names of the thirteen colour slots as the colour panel labels them, for
// every message that has to name a slot.

#include <QString>

namespace zelkor {

// The colour panel's label of slot 0..12, exactly as shown there (slot 4 keeps
// its trailing blank); empty for any other number.
QString colourSlotLabel(int slot);

} // namespace zelkor
