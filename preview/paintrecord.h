#pragma once
// What each drawing step of one preview screen painted, recorded by the
// screens' own drawing as they draw: which step a pixel shows (a colour slot's
// fill or text, a block of the skin sheet, an icon), and for every text the
// pixels it inked with the colour that lay under each of them. The legibility
// measure and the "what is under the cursor" of the window both read this, so
// neither needs a second table of where the screens put things.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

namespace zelkor {

struct PreviewInput;

struct PaintOp {
    enum Kind : std::uint8_t {
        Fill,        // a fill or a rectangle's ring in one colour (an opaque text's cell too)
        Text,        // the glyph pixels of one string
        SheetBlock,  // a block copied from the skin sheet
        IconBlock,   // the mask or the image of an icon cell
        OtherBlock,  // a block from any other picture
    };
    Kind kind = Fill;
    int slot = -1;         // the colour slot (0..12) of a fill or a text; -1 for a fixed colour
    QRgb colour = 0;       // the colour of a fill or a text
    QString text;          // a text's string
    QRect rect;            // the screen area the step covered; for a text the bounding box of its ink
    QPoint sourceOffset;   // blocks: the source pixel of screen pixel p is p + sourceOffset
};

// One pixel of a text: where it is, the colour under it when the text was
// drawn (that pixel of the screen drawn without this one text), and the step
// that painted that colour, so one drawing tells what every text lies on.
struct InkPixel {
    int x;
    int y;
    QRgb under;
    int underOp;  // -1: the white of the fresh bitmap
};

// What painted one pixel of a screen, in the terms of the skin.
struct PixelSource {
    enum Kind { Nothing, Slot, Picture, Icon, Fixed };
    Kind kind = Nothing;   // Nothing: the white of the fresh preview bitmap
    int slot = -1;         // Slot: the colour slot
    QString text;          // Slot or Fixed: the text whose ink it is, if a text painted it
    int picture = -1;      // Picture: the sheet picture (0..8); -1 between pictures
    QPoint picturePixel;   // Picture: the pixel inside that picture
};

class PaintRecord {
public:
    // Starts a record for one screen of `in` (its size, sheet, profile and
    // icon sheets). The render entry points call it when the input carries a record.
    void reset(const PreviewInput &in);

    QSize size() const { return m_size; }
    const std::vector<PaintOp> &ops() const { return m_ops; }
    // The step whose pixel is visible at (x, y); -1 where nothing painted or outside.
    int ownerAt(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= m_size.width() || y >= m_size.height())
            return -1;
        return m_owner[size_t(y) * size_t(m_size.width()) + size_t(x)];
    }
    // A text step's pixels that no later step covered, in drawing order.
    std::vector<InkPixel> ink(int op) const;
    PixelSource sourceAt(int x, int y) const { return sourceOf(ownerAt(x, y), x, y); }
    // What step `op` painted at (x, y), in the terms of the skin; Nothing for -1.
    PixelSource sourceOf(int op, int x, int y) const;

    // The drawing side, used by Canvas. `add` returns the new step's index.
    int add(PaintOp op);
    void setRect(int op, QRect rect) { m_ops[size_t(op)].rect = rect; }
    // Every pixel of `area` (clipped to the screen) now shows step `op`.
    void claim(int op, QRect area);
    // One pixel of a text; `under` is what it covers.
    void claimInk(int op, int x, int y, QRgb under);
    // A block: pixels whose source leaves the target alone under `identity`
    // (white for AND, black for OR) are not the block's; a copy claims all.
    enum class Blend { Copy, And, Or };
    void claimBlock(int op, QRect area, const QImage &source, QPoint sourceOffset, Blend blend);
    // The kind of a block copied from `source`.
    PaintOp::Kind blockKind(const QImage *source) const;

private:
    QSize m_size;
    const QImage *m_sheet = nullptr;
    const QImage *m_smallIcons = nullptr;
    const QImage *m_largeIcons = nullptr;
    int m_profile = 0;
    std::vector<PaintOp> m_ops;
    std::vector<std::int32_t> m_owner;  // row-major, one per screen pixel
    struct TextPixel {
        std::int32_t op;
        std::int32_t index;  // y * width + x
        QRgb under;
        std::int32_t underOp;
    };
    struct OpOrder {
        bool operator()(const TextPixel &p, int op) const { return p.op < op; }
        bool operator()(int op, const TextPixel &p) const { return op < p.op; }
    };
    std::vector<TextPixel> m_ink;
};

} // namespace zelkor
