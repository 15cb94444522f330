#pragma once
// Placing any image into a picture rectangle of the sheet, whatever its size:
// as it is (from the top-left corner, clipped, never scaled), scaled to cover
// the rectangle with the rest cropped, scaled to fit inside it with filled
// margins, or stretched to it. Widget-free and deterministic: the same input
// always gives the same pixels.
//
// Typical use:
//     QImage background = placeImage(photo, QSize(416, 320), {FitMode::Cover});
//     QImage logo = placeImage(picture, QSize(176, 20), {FitMode::Contain});

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace zelkor {

enum class FitMode { AsIs, Cover, Contain, Stretch };

struct FitModeName {
    FitMode mode;
    const char *key;      // on the command line: "as-is", "cover", "contain", "stretch"
    const char *caption;  // in the editor
};
// The four modes in the order the editor offers them.
const std::array<FitModeName, 4> &fitModeNames();
std::optional<FitMode> fitModeByKey(const QString &key);
QString fitModeCaption(FitMode mode);

// `image` scaled to exactly `size` (both sides at least 1) by area averaging.
// A reduction by two or more along a side first halves that side in exact
// steps (each output pixel the mean of two), so fine detail averages out
// instead of aliasing, and large photographs shrink fast; Qt's smooth
// transformation does the rest. The result is RGB32, or premultiplied ARGB
// when `image` has an alpha channel. Null for a null image or an empty size.
QImage smoothScaled(const QImage &image, const QSize &size);

// The crop that "Заполнить" shows of a `source`-sized image in a
// `target`-sized rectangle: the largest rectangle of the target's
// proportions, divided by `zoom` (1 or more; 2 shows half the width),
// centred on `focus` (source pixels; the image's centre when unset) and moved
// as little as needed to lie inside the image. Empty for empty sizes.
QRect coverCrop(const QSize &source, const QSize &target, std::optional<QPointF> focus = {}, double zoom = 1.0);

// The mean colour of the image's outermost pixels, each weighted by its
// opacity; nullopt when they are all transparent (or the image is null).
std::optional<QRgb> meanEdgeColour(const QImage &image);

struct Placement {
    FitMode mode = FitMode::Cover;
    // Cover only: the part of the source to show. Empty: coverCrop's default.
    // Kept inside the source; other proportions than the target's stretch.
    QRect crop;
    // Contain only: the colour of the margins. Unset: meanEdgeColour, and
    // where the edge is all transparent the margins keep the old pixels.
    std::optional<QRgb> margin;
};

// `source` placed over `under`, the rectangle's current pixels: an opaque
// RGB32 image of under's size. Transparent parts of the source show `under`;
// "Как есть" leaves what the source does not cover as `under` has it. Null
// when either image is null.
QImage placeImage(const QImage &source, const QImage &under, const Placement &placement);
// The same over a white rectangle of `size`.
QImage placeImage(const QImage &source, const QSize &size, const Placement &placement);

// A source kept for many placements in a row (a crop being dragged): halved
// once into a chain of ever smaller copies, so each placement reads from the
// smallest copy still at least as large as what it shows. Its pixels differ
// from placeImage's on the full source only by the rounding of the crop; use
// placeImage for the final result.
class PlacementSource {
public:
    explicit PlacementSource(const QImage &source);
    const QImage &image() const { return m_levels.front(); }
    QImage place(const QImage &under, const Placement &placement) const;

private:
    std::vector<QImage> m_levels;  // [0] the source (32-bit), then each half the one before
};

} // namespace zelkor
