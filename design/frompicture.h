#pragma once
// A whole skin from one picture: the nine pictures and thirteen colours of a
// profile's sheet made from a photograph or any image, readable by
// construction.
//
// - The picture's palette gives a key colour and an accent (palette.h).
// - `contacts` and `chat` are the picture scaled to cover their rectangles
//   and cropped around the part with most detail; `settings_el` is a strip of
//   it made to repeat without a seam. All three are softened toward the
//   variant's base tone in a band under each text (a scrim, scrim.h) just as
//   much as the texts over them need, and left as they are elsewhere.
// - The bars are shaded in tones of the key colour, the selection bars in
//   tones of the accent; the menu's fills are tones of both.
// - Every text colour is a tone of the key or the accent, pushed toward
//   white (dark variant) or black (light variant) only where that tone does
//   not reach the threshold. A text that reaches the end and still falls
//   short pushes away what lies under it: the base tone, a bar, a fill.
// - Where the layout draws a text across another text (208 x 176 draws the
//   status line over the last contact), all three of text, text under it and
//   background must part by the threshold. The text underneath is pulled back
//   toward mid-grey just as far as the one over it needs, and the background
//   goes to the far end: the only order in which three tones can all part.
// - The result is checked with the legibility measure on every screen at 24
//   bits and at the depth the skin is to be saved at; a text below the
//   threshold there makes the veil stronger, so what comes out is never below it.
// - Everything else of the template (gap rows, the columns beside the
//   selection bar, rows below the layout) stays as the template has it.
//
// The same picture, profile and settings give the same sheet, bit for bit.

#include "palette.h"

#include "preview/screenimage.h"
#include "imaging/picturefile.h"
#include "imaging/status.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <array>
#include <optional>

namespace zelkor::design {

enum class Variant { Light, Dark, Auto };

struct VariantName {
    Variant variant;
    const char *key;      // on the command line
    const char *caption;  // in the editor
};
// Light, dark and auto, in the order the editor offers them.
const std::array<VariantName, 3> &variantNames();
std::optional<Variant> variantByKey(const QString &key);
QString variantCaption(Variant variant);
// Auto made definite: a picture lighter than mid-grey (mean L* 50 or more) gets the light variant.
Variant resolvedVariant(Variant variant, const Palette &palette);

// How the picture's colours become the skin's: "тональная" shades the bars in
// muted tones of the key colour; "яркая" keeps the key's (and the accent's)
// chroma on the bars and selection bars as far as each tone allows; "как на
// фото" also puts the bars at the key's own lightness, moved only where a text
// over them needs it; "монохромная" uses greys alone.
enum class ColourScheme { Tonal, Vivid, Fidelity, Mono };

struct ColourSchemeName {
    ColourScheme scheme;
    const char *key;      // on the command line
    const char *caption;  // in the editor
};
const std::array<ColourSchemeName, 4> &colourSchemeNames();
std::optional<ColourScheme> colourSchemeByKey(const QString &key);

struct FromPictureSettings {
    Variant variant = Variant::Auto;
    // The depth the skin is to be saved at ("/c4" .. "/c24"); every text
    // reaches the threshold there as well as at 24 bits.
    QString depthOption = QStringLiteral("/c16");
    double threshold = 4.5;
    ColourScheme scheme = ColourScheme::Tonal;
    // The author's key colour and accent instead of the palette's.
    std::optional<QRgb> key;
    std::optional<QRgb> accent;
};

struct SkinFromPicture {
    QImage sheet;             // RGB32, the template's size or the layout's, whichever is taller
    int profile = 0;
    Variant variant = Variant::Dark;  // Light or Dark
    // 0..1: how far `contacts`, `chat` and `settings_el` were softened toward
    // the base tone under their texts.
    std::array<double, 3> veils{};
    Palette palette;
};

// Makes the sheet of `profile` (1..6) from `picture` on `templateSheet`, the
// profile's template as New reads it. The icon sheets are the ones the
// screens draw with, so the texts are measured as the editor shows them.
// Fails, leaving `out` alone, for a null picture, a profile out of range, a
// template of another width, or when no tones and veils reach the threshold
// (at 208 x 176 among 256 colours or fewer, for one); that failure names the
// screen size and the text that stayed furthest below.
Status makeSkinFromPicture(const QImage &picture, int profile, const QImage &templateSheet,
                           const IconSheets &icons, const FromPictureSettings &settings, SkinFromPicture &out);

// The size a picture must at least have for the backgrounds of `profile`
// (every profile for 0) to be made without enlarging it: the widest and the
// tallest of their rectangles.
QSize pictureSizeNeeded(int profile);

// Reads a picture for `profile` (0: every profile) with readPicture of
// imaging/picturefile.h, decoded as small as pictureSizeNeeded allows.
Status readPicture(const QString &path, int profile, QImage &out);

// The name Save gives a skin of `profile` made from the picture at
// `picturePath`: "/photos/sea.jpg" gives "extskin_240x320_sea.mbm".
QString skinNameForPicture(const QString &picturePath, int profile);

} // namespace zelkor::design
