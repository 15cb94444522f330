#pragma once
// An independent model of what a preview screen must look like, for pixel
// tests: blocks, icons, fills and texts replayed in drawing order on a plain
// image. Icon sheets and colour slots get colours
// that no coordinate-encoded sheet pixel can have, so every pixel tells where
// it came from.

#include "preview/canvas.h"
#include "preview/preview.h"
#include "testsupport.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <gtest/gtest.h>

#include <vector>

namespace zelkor::test {

// Slot colours: green 0xF0, never produced by a coordinate sheet below 4096 x 1024.
inline ColourSlots distinctSlots()
{
    ColourSlots s{};
    for (int i = 0; i < 13; ++i)
        s[i] = qRgb(0x40 + 9 * i, 0xF0, 0x80 + i);
    return s;
}

// Image pixel of an icon cell: green 0xE0 marks an icon, red the cell row,
// blue the position in the cell. The mask is opaque except on every third
// diagonal, where the target must show through.
inline QRgb iconColour(int cellRow, int cx, int cy)
{
    return qRgb(cellRow & 0xff, 0xE0, (cy * 32 + cx) & 0xff);
}
inline bool iconOpaque(int cx, int cy)
{
    return (cx + cy) % 3 != 0;
}

inline QImage iconSheet(int cellSize, int rows)
{
    QImage img(2 * cellSize, cellSize * rows, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int cx = 0; cx < cellSize; ++cx) {
            const bool opaque = iconOpaque(cx, y % cellSize);
            img.setPixel(cx, y, opaque ? iconColour(y / cellSize, cx, y % cellSize) : 0xff000000u);
            img.setPixel(cellSize + cx, y, opaque ? 0xff000000u : 0xffffffffu);
        }
    return img;
}

class ScreenModel {
public:
    ScreenModel(QSize screen, const ColourSlots &colours) : m_colours(colours), m_expected(screen, QImage::Format_RGB32)
    {
        m_expected.fill(0xffffffffu);
    }
    int width() const { return m_expected.width(); }
    int height() const { return m_expected.height(); }
    QRgb expected(int x, int y) const { return m_expected.pixel(x, y); }

    void block(const QImage &sheet, int sourceY, int w, int h, int destY)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (inside(x, destY + y) && x < sheet.width() && sourceY + y >= 0 && sourceY + y < sheet.height())
                    set(x, destY + y, sheet.pixel(x, sourceY + y));
    }

    void icon(int cellSize, int cellY, int x, int y)
    {
        for (int cy = 0; cy < cellSize; ++cy)
            for (int cx = 0; cx < cellSize; ++cx)
                if (inside(x + cx, y + cy) && iconOpaque(cx, cy))
                    set(x + cx, y + cy, iconColour(cellY / cellSize, cx, cy));
    }

    // Right and bottom exclusive, as the canvas fills.
    void fill(int l, int t, int r, int b, QRgb colour)
    {
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x)
                if (inside(x, y))
                    set(x, y, colour);
    }

    void ring(int l, int t, int r, int b, QRgb colour)
    {
        fill(l, t, r, t + 1, colour);
        fill(l, b - 1, r, b, colour);
        fill(l, t, l + 1, b, colour);
        fill(r - 1, t, r, b, colour);
    }

    // A text of colour slot `slot` with its cell's top-left at (x, y); with
    // `opaqueFill` its cell (advance x font height) is filled first. The ink
    // comes from the font itself, drawn alone, so a text that is a pixel off
    // or spells another number shows.
    void text(int x, int y, const QString &s, int points, int slot, const QRgb *opaqueFill = nullptr)
    {
        const QFont font = previewFont(points);
        const QFontMetrics fm(font);
        if (opaqueFill)
            fill(x, y, x + fm.horizontalAdvance(s), y + fm.height(), *opaqueFill);
        constexpr int margin = 8;
        QImage ink(fm.horizontalAdvance(s) + 2 * margin, fm.height(), QImage::Format_RGB32);
        ink.fill(0xffffffffu);
        QPainter p(&ink);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPoint(margin, fm.ascent()), s);
        p.end();
        int inked = 0;
        for (int yy = 0; yy < ink.height(); ++yy)
            for (int xx = 0; xx < ink.width(); ++xx)
                if (ink.pixel(xx, yy) != 0xffffffffu && inside(x + xx - margin, y + yy)) {
                    set(x + xx - margin, y + yy, m_colours[slot]);
                    ++inked;
                }
        m_texts.push_back({s, inked});
    }

    // Every pixel equals the model; the first few that do not are named.
    void check(const QImage &actual, const std::string &what) const
    {
        ASSERT_EQ(actual.size(), m_expected.size()) << what;
        int bad = 0;
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x) {
                const QRgb got = actual.pixel(x, y) | 0xff000000u;
                const QRgb want = m_expected.pixel(x, y) | 0xff000000u;
                if (got == want)
                    continue;
                if (++bad <= 5) {
                    const SheetCoord g = decodeCoordinate(got), w = decodeCoordinate(want);
                    ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") is " << std::hex << got
                                  << " (sheet row " << std::dec << g.row << " col " << g.column << "), expected "
                                  << std::hex << want << " (sheet row " << std::dec << w.row << " col "
                                  << w.column << ")";
                }
            }
        EXPECT_EQ(bad, 0) << what << ": pixels differing from the model";
    }

    // How many pixels of ink the texts put on screen (before later steps).
    int inkOf(const QString &s) const
    {
        for (const Text &t : m_texts)
            if (t.s == s)
                return t.inked;
        return 0;
    }

private:
    struct Text {
        QString s;
        int inked;
    };
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }
    void set(int x, int y, QRgb c) { m_expected.setPixel(x, y, c | 0xff000000u); }

    ColourSlots m_colours;
    QImage m_expected;
    std::vector<Text> m_texts;
};

// The layout rows of each profile's sheet and its screen size.
struct ProfileSize {
    int width;
    int height;
    int sheetRows;
};
inline constexpr ProfileSize kProfileSizes[7] = {
    {0, 0, 0}, {176, 208, 514}, {208, 176, 481}, {240, 320, 740}, {320, 240, 604}, {352, 416, 1028}, {416, 352, 962},
};

// A render input over a coordinate sheet and the test icon sheets.
struct SyntheticSkin {
    QImage sheet;
    QImage small = iconSheet(16, 95);
    QImage large = iconSheet(32, 95);
    PreviewInput input(int profile, int columns, int sheetRows = -1)
    {
        const ProfileSize &p = kProfileSizes[profile];
        sheet = coordinateSheet(p.width, sheetRows < 0 ? p.sheetRows : sheetRows);
        PreviewInput in;
        in.sheet = &sheet;
        in.profile = profile;
        in.screen = QSize(p.width, p.height);
        in.colours = distinctSlots();
        in.smallIcons = &small;
        in.largeIcons = &large;
        in.columns = columns;
        return in;
    }
};

} // namespace zelkor::test
