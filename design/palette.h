#pragma once
// The colours of a picture: its dominant colours, found by quantising a small
// copy of it in CIELAB (D65), and the key colour and the accent chosen among
// them; and the tones of a colour, which a generated skin is built from.
//
// Lightness is CIELAB L* (0 black .. 100 white), the lightness people see;
// chroma is C*ab = sqrt(a*^2 + b*^2), how far a colour is from grey. A tone of
// a colour is the same hue at another lightness.
//
// Everything here is deterministic: no random start, ties broken by fixed
// rules, so one picture always gives the same palette.

#include "colour.h"

#include <QImage>

#include <vector>

namespace zelkor::design {

// A colour with less chroma than this counts as grey: noise and the tint of
// a grey photograph stay below it.
inline constexpr double kRealChroma = 12.0;
// A colour must cover this share of the picture to be its key or accent: a
// red speck does not colour a grey picture's skin.
inline constexpr double kColourShare = 0.03;

struct PaletteColour {
    QRgb rgb;
    Lab lab;
    double share;  // of the picture's pixels nearest to it, 0..1
};

struct Palette {
    std::vector<PaletteColour> colours;  // most used first
    Lab key{};              // the most used colour with real chroma; a grey of the mean lightness when none has
    Lab accent{};           // another hue of the picture when it has one (at least 30 degrees away), else the key
    bool neutral = true;    // no colour with real chroma covers kColourShare: a grey scheme
    double meanLightness = 0;  // L* averaged over the picture
};

// The palette of `picture` with at most `maxColours` colours (1..32), from a
// copy at most 64 pixels on its longer side: median cut in CIELAB, then a few
// rounds of k-means. An empty palette (neutral, mean 0) for a null picture.
Palette extractPalette(const QImage &picture, int maxColours = 8);

// `colour` at lightness `lightness` (0..100), hue kept; its chroma is reduced
// as far as sRGB needs to hold it at that lightness, and capped at `maxChroma`.
QRgb tone(const Lab &colour, double lightness, double maxChroma = 1000.0);

} // namespace zelkor::design
