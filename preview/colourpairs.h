#pragma once
// Which colour slots the preview draws over or next to each other -- a text
// over its fill, a selection ring around its fill -- and which of those pairs
// a colour depth would make indistinguishable.
//
// The pairs are not listed by hand: they are found by rendering every screen
// (both column choices, every profile) with thirteen distinct probe colours on
// a sheet of a colour that no slot has, and collecting the slots whose pixels
// touch (4-neighbourhood). So they follow the screens' tables by construction.
// Icons are left out of that render: they are not part of the skin, and
// where one covers part of a text the rest of the text stays readable.

#include "skin/sheet.h"

#include <QString>

#include <compare>
#include <vector>

namespace zelkor {

struct SlotPair {
    int first;   // the lower slot number
    int second;  // the higher one
    auto operator<=>(const SlotPair &) const = default;
};

// The slot pairs drawn together on some screen of `profile` (1..6), or of any
// profile for 0, in ascending order; empty for any other number. Rendered on
// the first call (a few dozen renders, so a QGuiApplication must exist for
// the fonts) and kept for the life of the process.
const std::vector<SlotPair> &drawnTogetherSlotPairs(int profile = 0);

// The drawn-together pairs of `profile` (0: any profile) whose two colours
// differ in `trueColours` but come back equal from a file saved at
// `depthOption` ("/c4" .. "/c24", see depthpreview.h); the quantisation is the
// converter's. Empty for an option that depthpreview.h does not accept.
std::vector<SlotPair> mergedSlotPairs(const ColourSlots &trueColours, const QString &depthOption, int profile = 0);

// One Russian message for Save naming every merged pair by the colour panel's
// labels and the depth by `depthName` (e.g. the depth dialog's item text);
// empty when `pairs` is empty.
QString mergedColoursMessage(const std::vector<SlotPair> &pairs, const QString &depthName);

} // namespace zelkor
