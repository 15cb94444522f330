#pragma once
// The nearest colour of a slot that every text drawn in it can be read in:
// the slot's colour keeps its hue and, as far as sRGB allows, its chroma, and
// only its lightness (CIELAB L*, D65, 0..100) moves -- up or down, whichever
// reaches the threshold with the smaller change. When neither direction can
// (not even white or black reaches it), that is the answer; no colour that
// falls short is ever offered as a fix.

#include "legibility.h"

#include <QRgb>

#include <QString>

#include <array>
#include <functional>
#include <vector>

namespace zelkor::design {

struct LightnessFix {
    enum Outcome {
        AlreadyReaches,  // the colour is fine as it is
        Fixed,           // `colour` is the nearest one that reaches the threshold
        Impossible,      // no lightness reaches it
    };
    Outcome outcome = Impossible;
    QRgb colour = 0;        // the colour to use: the original unless Fixed
    double contrast = 1;    // the lowest contrast `colour` gets over all the texts
};

// Maps a colour to what the screens will really draw (a save depth's
// quantisation); empty for "as it is".
using AsDrawn = std::function<QRgb(QRgb)>;

// What `asDrawn` makes of `colour`; the colour itself for "as it is".
inline QRgb drawnAs(const AsDrawn &asDrawn, QRgb colour)
{
    return asDrawn ? asDrawn(colour) : colour;
}

// The fix for `colour` over `texts`, each text given by the backgrounds under
// its ink pixels (TextLegibility::under) and measured by inkContrast. A
// candidate counts when asDrawn(candidate) reaches `minContrast` on every
// text. Lightness is searched to 0.01 L*.
LightnessFix fixLightness(QRgb colour, const std::vector<const std::vector<QRgb> *> &texts, double minContrast,
                          const AsDrawn &asDrawn = {});

// The fix of slot `slot` over the texts that `measure` found drawn in it,
// starting from `colour` (the slot's true colour, before any quantisation);
// AlreadyReaches for a slot with no texts.
LightnessFix fixSlotLightness(const Legibility &measure, int slot, QRgb colour, double minContrast,
                              const AsDrawn &asDrawn = {});

// What a save at `depthOption` ("/c4" .. "/c24") makes of a colour; empty for
// an empty option ("as it is").
AsDrawn asDrawnAtDepth(const QString &depthOption);

// The same for many colours at once. Where the depth packs each channel on its
// own (c12, c16, c24: checked once against the converter on a row of varied
// colours), three tables of 256 give it; otherwise every call goes through
// the converter.
class DepthMap {
public:
    explicit DepthMap(const QString &depthOption = {});
    bool active() const { return m_active; }
    // Each channel given back on its own, whatever the others are.
    bool separable() const { return m_separable; }
    QRgb operator()(QRgb colour) const;
    // Every colour of `colours` as the depth gives it back.
    void apply(std::vector<QRgb> &colours) const;

private:
    QString m_depth;
    bool m_active = false;
    bool m_separable = false;
    std::array<QRgb, 256> m_red{}, m_green{}, m_blue{};
};

} // namespace zelkor::design
