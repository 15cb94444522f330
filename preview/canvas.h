#pragma once
// A small drawing surface over a QImage with the rules every preview screen
// relies on: unscaled block copies with copy/AND/OR raster operations clipped
// to both images, fills whose right and bottom edges are exclusive, outlined
// rectangles, and text placed by the top-left corner of its text cell that is
// transparent while the brush is clear and opaque in the brush colour once a
// brush colour has been set.

#include <QFont>
#include <QImage>
#include <QString>

namespace zelkor {

class PaintRecord;

enum class RasterOp { Copy, And, Or };

// The preview font sizes: points at a fixed 96 pixels per inch (8 -> 11 px,
// 11 -> 15 px, 18 -> 24 px), whatever the desktop says.
int pointsToPixels(int points);

// Maps the Windows face names that the screens and dialogs ask for to a
// Liberation font that every Debian desktop can install. Call once at start.
void installFontSubstitutions();

// Bold preview font of the given size in points.
QFont previewFont(int points);

// Copies a w x h block of `src` at (sx, sy) to (dx, dy) of `dst`. Rows and
// columns that fall outside either image are skipped: nothing is read from
// outside the source and nothing is written outside the target.
void blit(QImage &dst, int dx, int dy, int w, int h, const QImage &src, int sx, int sy,
          RasterOp op = RasterOp::Copy);

class Canvas {
public:
    explicit Canvas(QImage *target = nullptr, PaintRecord *record = nullptr) : m_target(target), m_record(record) {}

    void setTarget(QImage *target) { m_target = target; }
    QImage *target() const { return m_target; }
    // With a record, every drawing step also says what it painted (paintrecord.h).
    void setRecord(PaintRecord *record) { m_record = record; }
    PaintRecord *record() const { return m_record; }

    void blit(int dx, int dy, int w, int h, const QImage &src, int sx, int sy,
              RasterOp op = RasterOp::Copy);

    // Setting a brush colour makes the brush solid, as on the phone's and
    // Windows' canvases: texts drawn after it get an opaque background.
    // `slot` names the colour slot the colour came from (-1: a fixed colour);
    // it only tells a record what painted, the pixels are the same.
    void setBrushColor(QRgb colour, int slot = -1);
    void setBrushClear() { m_brushSolid = false; }
    bool brushSolid() const { return m_brushSolid; }
    QRgb brushColor() const { return m_brush; }

    void setPenColor(QRgb colour, int slot = -1)
    {
        m_pen = colour;
        m_penSlot = slot;
    }
    QRgb penColor() const { return m_pen; }

    void setFontPoints(int points) { m_fontPoints = points; }
    int fontPoints() const { return m_fontPoints; }
    void setTextColor(QRgb colour, int slot = -1)
    {
        m_text = colour;
        m_textSlot = slot;
    }
    QRgb textColor() const { return m_text; }

    // Paints columns left..right-1 and rows top..bottom-1 in the brush colour.
    void fillRect(int left, int top, int right, int bottom);
    // The same area: a one-pixel ring in the pen colour around a brush-colour fill.
    void rectangle(int left, int top, int right, int bottom);
    // Text with the top-left corner of its text cell at (x, y).
    void textOut(int x, int y, const QString &text);
    // Advance width x font height of `text` in the current font.
    QSize textExtent(const QString &text) const;

private:
    void recordFill(int left, int top, int right, int bottom, QRgb colour, int slot);

    QImage *m_target;
    PaintRecord *m_record = nullptr;
    int m_brushSlot = -1;
    int m_penSlot = -1;
    int m_textSlot = -1;
    QRgb m_brush = 0xffffffffu;
    bool m_brushSolid = true;
    QRgb m_pen = 0xff000000u;
    QRgb m_text = 0xff000000u;
    int m_fontPoints = 8;
};

} // namespace zelkor
