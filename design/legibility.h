#pragma once
// How well the texts of a skin can be read: every string that the seven named
// preview screens draw (a nick, a menu item, the clock, a soft-key label, ...),
// measured by the WCAG 2.x contrast ratio between its colour and what lies
// under it.
//
// The texts, their places and their ink come from the screens' own drawing
// (preview/paintrecord.h), never from a table of positions kept here:
//   - a text's ink is the set of pixels of the finished screen that its
//     drawing painted and nothing later covered;
//   - its background is the same screen drawn without that one text, i.e. the
//     colour each ink pixel covered when the text was drawn;
//   - its contrast is the ratio between its colour and the background at each
//     ink pixel, sorted ascending, taken at index floor(0.05 * n): a few ink
//     pixels over a detail do not count, a text crossing a dark band does.
// A ratio runs from 1 (the same luminance) to 21 (black on white).
//
// Everything here is widget-free and deterministic.

#include "preview/preview.h"
#include "preview/screenimage.h"

#include <QRect>
#include <QString>

#include <vector>

namespace zelkor::design {

// WCAG AA for normal-sized text: phone fonts are small.
inline constexpr double kDefaultMinContrast = 4.5;

// The contrast of a text in `colour` whose ink pixels lie on `under`, by the
// 5th-percentile rule above; 21 for no pixels at all (nothing to misread).
double inkContrast(QRgb colour, const std::vector<QRgb> &under);

// One string of one screen.
struct TextLegibility {
    QString screen;            // the named screen ("chat", "contacts-2", ...)
    QString text;              // the string as drawn
    int slot = -1;             // the colour slot it is drawn in (0..12), -1 for a fixed colour
    QRgb colour = 0;           // its colour as drawn (at a depth: as that depth gives it back)
    double contrast = 21;      // 1..21
    QRect ink;                 // bounding box of its visible ink on the screen
    std::vector<QRgb> under;   // the background under each visible ink pixel
};

// The least legible text of one slot.
struct SlotLegibility {
    int slot = -1;
    double worst = 21;
    int text = -1;             // index into Legibility::texts
};

struct Legibility {
    int profile = 0;
    // Screen by screen in the screen selector's order, each in drawing order.
    // A text that later drawing covers completely is not listed.
    std::vector<TextLegibility> texts;
    // Every slot that some listed text is drawn in, ascending.
    std::vector<SlotLegibility> perSlot;

    // The lowest contrast of all texts; 21 when there are none.
    double lowest() const;
    // The slot's entry, or nullptr when the screens draw no text in it.
    const SlotLegibility *slot(int slot) const;
    // Indices of the texts below `minContrast`, lowest first (ties in list order).
    std::vector<int> failingTexts(double minContrast) const;
    // The slot entries below `minContrast`, ascending by slot.
    std::vector<SlotLegibility> failingSlots(double minContrast) const;
};

// Texts of one colour slot (-1: drawn in a fixed colour), for lists that
// speak of the colours to change rather than of each text.
struct SlotGroup {
    int slot = -1;
    std::vector<int> texts;  // indices into Legibility::texts, in the order given
};
// `texts` (indices into measure.texts) grouped by slot, the groups in the
// order of their first text: given lowest first, each group's first text is
// its worst and the worst group comes first.
std::vector<SlotGroup> groupBySlot(const Legibility &measure, const std::vector<int> &texts);

// How a slot's texts would read in another colour, for a readout that
// follows the colour under choice: the worst of each screen that draws them
// (in the screen selector's order) and of all; `texts` 0 when the screens
// draw no text in that slot.
struct SlotContrast {
    struct Screen {
        QString screen;
        double worst = 21;
        int texts = 0;
    };
    std::vector<Screen> screens;
    double worst = 21;
    int texts = 0;
};
SlotContrast slotContrast(const Legibility &measure, int slot, QRgb colour);

// Measures every named screen of `in` (its sheet, profile, screen size,
// colours and icon sheets; its columns and record are set here). To measure a
// sheet at a save depth, pass the quantised sheet and its colour row, exactly
// as the preview draws it. Empty for profile 0 or no sheet.
Legibility measureLegibility(PreviewInput in);

// The same for a skin's sheet as it is (`depthOption` empty) or as a save at
// `depthOption` ("/c4" .. "/c24", see skin/depthpreview.h) gives it back.
Legibility measureSkinLegibility(const QImage &sheet, int profile, const IconSheets &icons,
                                 const QString &depthOption = {});

// measureSkinLegibility of `sheet` as it is and at `depthOption` together,
// from one drawing where that gives the same: the screens' layout does not
// follow the sheet's colours, so at the depth every ink pixel lies on the same
// sheet pixel or slot colour as a save gives it back. Where a text lies on an
// icon, whose mask lets what is beneath show through, the depth is drawn on
// its own. An empty option gives the sheet as it is twice.
struct LegibilityAtDepth {
    Legibility asIs;
    Legibility atDepth;
};
LegibilityAtDepth measureSkinLegibilityAtDepth(const QImage &sheet, int profile, const IconSheets &icons,
                                               const QString &depthOption);

} // namespace zelkor::design
