#pragma once
// Scrims: a background picture of the sheet softened toward one tone only
// where texts lie -- a band under each text (the box of its ink on that
// picture, grown by a few pixels) -- so the rest of the photograph stays as it
// is. A text that no colour of its own can make readable over a busy
// photograph is saved by the least scrim under it that the measure accepts.

#include "preview/screenimage.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

namespace zelkor::design {

// One band, in the sheet's pixels, inside the picture `picture`.
struct TextBand {
    int picture = -1;
    QRect rect;
    QRgb ink = 0;     // the colour of the text over it
    int pixels = 0;   // how many of its ink pixels lie on the picture
};

// How far a band reaches beyond its text's ink, in pixels.
inline constexpr int kBandGrowth = 2;
// For textBands: the texts of every slot and of fixed colours.
inline constexpr int kEveryText = -2;

// Every text the named screens draw, with those of its ink pixels that lie on
// the sheet's pictures, in the sheet's pixels: `visit(colour, slot, pixels)`
// once per text (slot -1 for a fixed colour), in drawing order.
void forEachTextOnPictures(const QImage &sheet, int profile, const IconSheets &icons,
                           const std::function<void(QRgb, int, const std::vector<QPoint> &)> &visit);

// The bands under the texts of `slot` (or kEveryText) that lie on the sheet's
// pictures, on every named screen, each ink box grown by kBandGrowth pixels
// and kept inside its picture; several texts over the same pixels give
// overlapping bands.
std::vector<TextBand> textBands(const QImage &sheet, int profile, const IconSheets &icons, int slot);

// `sheet` with every pixel of the bands moved toward `tone` by `strength`
// (0 keeps the picture, 1 makes the bands flat `tone`), each pixel once
// however many bands cover it; the rest of the sheet as it is.
QImage withScrim(const QImage &sheet, const std::vector<TextBand> &bands, QRgb tone, double strength);
// The same on `sheet` itself.
void applyScrim(QImage &sheet, const std::vector<TextBand> &bands, QRgb tone, double strength);

// `sheet` with a scrim of `strength` (0..1) under every text on `picture`,
// each band toward black under a text that parts more from black (a light
// one), else toward white.
QImage scrimUnderTexts(const QImage &sheet, int profile, const IconSheets &icons, int picture, double strength);

struct ScrimFix {
    bool found = false;
    double strength = 0;   // the least, in hundredths, that brings the slot to the threshold
    QRgb tone = 0;         // black or white: the one parting more from the text, unless that costs another text
    QImage sheet;          // the sheet with that scrim
    double contrast = 1;   // the slot's worst text then
};

// The least scrim under the texts of `slot` (its colour unchanged) with which
// every one of them reaches `minContrast` as measured at `depthOption` ("" as
// it is), without any other text that reached it falling below. Not found
// when the slot's texts lie on no picture, or even a flat band is not enough
// (a text over a fill or an icon, say).
ScrimFix fixSlotWithScrim(const QImage &sheet, int profile, const IconSheets &icons, int slot, double minContrast,
                          const QString &depthOption);

// The least strength in hundredths (1..100) at which `enough` holds, for an
// `enough` that holds at 100, not at 0, and the more the stronger the scrim:
// found by halving, so the last call that held is the one for the answer.
int leastScrimHundredths(const std::function<bool(int)> &enough);

// "поставить подложку под тексты (сила 0,35)"
QString scrimFixText(double strength);

} // namespace zelkor::design
