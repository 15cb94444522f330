#pragma once
// Fixing every failing colour slot of a sheet in one sequence, the same for
// the command line and the editor: each slot's colour first (the nearest
// lightness that reaches the threshold), else the least scrim under its
// texts, else -- for a text drawn across a text of another slot, which no
// colour of one slot alone parts from both the other and its picture -- the
// two slots moved together.

#include "lightnessfix.h"
#include "scrim.h"

#include <QImage>
#include <QString>

#include <vector>

namespace zelkor::design {

struct Legibility;

// One fixed slot: what it was and what it became, by its colour, by a scrim
// under its texts, or both.
struct SlotFix {
    int slot = -1;
    QRgb from = 0;
    LightnessFix fix;
    ScrimFix scrim;
    int partner = -1;  // moved together with the text of this slot, which it crosses
};

struct SlotFixes {
    QImage sheet;                // the sheet with every fix made
    std::vector<SlotFix> fixes;  // in the order made; a slot neither fixes is listed unfixed
};

// Fixes the slots `which` of `sheet` (its measure at hand: `measure`), each
// against the sheet as the fixes before it left it, as measured at
// `outputDepth` ("" as it is). `scrim` false keeps to colours. A slot moved
// already together with one before it is left out.
SlotFixes fixSlots(const QImage &sheet, int profile, const IconSheets &icons, const Legibility &measure,
                   const std::vector<int> &which, double minContrast, const QString &outputDepth, bool scrim);

} // namespace zelkor::design
