#pragma once
// The words in which the editor and the command line speak of legibility,
// so both say the same: ratios with a decimal comma ("3,1 : 1"), screens by
// the names the screen selector gives them.

#include "legibility.h"

#include <QString>

namespace zelkor::design {

// A ratio cut (never rounded up) to `decimals` places with a decimal comma,
// so a text below the threshold never reads as reaching it: "4,49 : 1".
QString ratioText(double ratio, int decimals);
// The same cut as a number, for machine-readable output (4.49).
double cutRatio(double ratio, int decimals);

// A threshold as the badge names it: "4,5".
QString thresholdText(double minContrast);
// `n` with the Russian noun form that agrees with it: countText(86, "надпись",
// "надписи", "надписей") is "86 надписей".
QString countText(int n, const QString &one, const QString &few, const QString &many);
// The colour panel's label of a slot, or "постоянный цвет" for -1.
QString slotGroupLabel(int slot);

// Where a named screen is, as the end of a sentence: "на экране контактов".
// The screen's own name for a name that is none of the seven.
QString onScreenText(const QString &screen);

// "3,1 : 1 — «MegaContact2» на экране контактов; нужно не меньше 4,5 : 1"
QString slotWarningText(const Legibility &measure, const SlotLegibility &slot, double minContrast);

// One line on the whole skin: its lowest contrast and the slots whose texts
// fall below `minContrast`, by the colour panel's labels, e.g.
// "наименьший контраст 3,12 : 1; ниже 4,5 : 1: «Ник», «Время»".
QString legibilitySummaryText(const Legibility &measure, double minContrast);

// A text that reaches the threshold in a skin as it is but not after a save
// at some depth.
struct LostText {
    int text;       // index into the measure at the depth
    double before;  // its contrast in the skin as it is
};
// The texts that reach `minContrast` in `asIs` but not in `atDepth` (the same
// skin measured at a save depth), lowest first.
std::vector<LostText> textsLostAtDepth(const Legibility &asIs, const Legibility &atDepth, double minContrast);
// One Russian paragraph for Save naming those texts, one line per colour
// slot (its worst text and how many there are), and the depth by
// `depthName` ("4 bpp"); empty when `lost` is empty.
QString lostTextsMessage(const Legibility &atDepth, const std::vector<LostText> &lost, const QString &depthName,
                         double minContrast);

} // namespace zelkor::design
