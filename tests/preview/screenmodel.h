#pragma once
// What a composed screen must look like, pixel by pixel: the screen's steps
// replayed in drawing order on a plain image -- sheet blocks (over a
// coordinate sheet, so each pixel says which sheet row and column it came
// from), icons through their masks, fills, rings and texts. A text's ink is
// the string drawn alone with its cell's top-left corner where the model puts
// it, so a text a pixel off, or another string, shows as wrong pixels. The
// tests keep their own tables of each screen's numbers on purpose: a wrong
// number on either side is a pixel difference.

#include "preview/preview.h"
#include "skin/profiles.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QRegion>
#include <QString>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace zelkor::test {

// Slot colours that no coordinate sheet pixel can have (its green stays below
// 0x20 for the sizes used here) nor an icon (green 0xE0 with a red below 95),
// all different from each other.
inline QRgb slotColour(int slot, int variant = 0)
{
    return qRgb(0x11 * slot, 0x80 + 0x08 * slot + variant, 0x40 + variant);
}
inline ColourSlots distinctSlots(int variant = 0)
{
    ColourSlots colours{};
    for (int i = 0; i < 13; ++i)
        colours[i] = slotColour(i, variant);
    return colours;
}

// Icon sheets whose image pixel names itself (green 0xE0 marks an icon, red
// the cell row, blue the position in the cell) and whose mask is opaque
// except on every third diagonal, where the screen must show through.
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

// A document of one profile: a coordinate sheet as high as the layout reaches
// (or `sheetRows`, to try sheets that end early), distinct slot colours and
// the icon sheets above. `in` points into the fixture: keep it alive.
struct ScreenFixture {
    QImage sheet;
    QImage small = iconSheet(16, 95);
    QImage large = iconSheet(32, 95);
    PreviewInput in;

    ScreenFixture() = default;
    explicit ScreenFixture(int profile, int columns = 0, int sheetRows = -1) { input(profile, columns, sheetRows); }
    ScreenFixture(const ScreenFixture &) = delete;
    ScreenFixture &operator=(const ScreenFixture &) = delete;

    const PreviewInput &input(int profile, int columns = 0, int sheetRows = -1)
    {
        const Profile *p = profileByIndex(profile);
        sheet = coordinateSheet(p->screenWidth, sheetRows < 0 ? p->layoutRows : sheetRows);
        in = PreviewInput{};
        in.sheet = &sheet;
        in.profile = profile;
        in.screen = p->screenSize();
        in.colours = distinctSlots();
        in.smallIcons = &small;
        in.largeIcons = &large;
        in.columns = columns;
        return in;
    }
};

struct TextExpect {
    QString text;
    int x, y, points;
    int slot;
    QRect cell;  // advance x font height at (x, y)
    int inked;   // ink pixels it put on the screen when drawn
};

class ScreenModel {
public:
    explicit ScreenModel(const PreviewInput &in) : m_in(in), m_expected(in.screen, QImage::Format_RGB32)
    {
        m_expected.fill(0xffffffffu);
    }

    // Rows of the sheet from `sourceY` copied to `destY`; rows past the
    // sheet's end copy nothing.
    void block(int sourceY, int width, int height, int destY)
    {
        const QImage &sheet = *m_in.sheet;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (inside(x, destY + y) && x < sheet.width() && sourceY + y >= 0 && sourceY + y < sheet.height())
                    set(x, destY + y, sheet.pixel(x, sourceY + y));
    }
    // The icon whose cell starts at row `cellY` of the icon sheet, at (x, y).
    void icon(int cellSize, int cellY, int x, int y)
    {
        for (int cy = 0; cy < cellSize; ++cy)
            for (int cx = 0; cx < cellSize; ++cx)
                if (inside(x + cx, y + cy) && iconOpaque(cx, cy))
                    set(x + cx, y + cy, iconColour(cellY / cellSize, cx, cy));
    }
    // Right and bottom exclusive, as the canvas fills, in a slot's colour.
    void fill(int l, int t, int r, int b, int slot)
    {
        paint(l, t, r, b, m_in.colours[slot]);
        m_areas.push_back({slot, QRect(QPoint(l, t), QPoint(r - 1, b - 1))});
    }
    void ring(int l, int t, int r, int b, int slot)
    {
        const QRgb c = m_in.colours[slot];
        paint(l, t, r, t + 1, c);
        paint(l, b - 1, r, b, c);
        paint(l, t, l + 1, b, c);
        paint(r - 1, t, r, b, c);
        m_areas.push_back({slot, QRect(QPoint(l, t), QPoint(r - 1, b - 1))});
    }
    // A text in `slot`; `opaqueSlot` >= 0 fills its cell first, as a solid brush does.
    void text(const QString &s, int x, int y, int points, int slot, int opaqueSlot = -1)
    {
        Canvas probe;
        probe.setFontPoints(points);
        const QRect cell(QPoint(x, y), probe.textExtent(s));
        if (opaqueSlot >= 0)
            fill(cell.left(), cell.top(), cell.right() + 1, cell.bottom() + 1, opaqueSlot);
        QImage alone(m_expected.size(), QImage::Format_RGB32);
        alone.fill(0xffffffffu);
        Canvas ink(&alone);
        ink.setFontPoints(points);
        ink.setBrushClear();
        ink.setTextColor(0xff000000u);
        ink.textOut(x, y, s);
        int inked = 0;
        for (int yy = 0; yy < alone.height(); ++yy)
            for (int xx = 0; xx < alone.width(); ++xx)
                if (alone.pixel(xx, yy) != 0xffffffffu) {
                    set(xx, yy, m_in.colours[slot]);
                    ++inked;
                }
        m_texts.push_back({s, x, y, points, slot, cell, inked});
        m_areas.push_back({slot, cell});
    }

    const std::vector<TextExpect> &texts() const { return m_texts; }
    // How many ink pixels the text put on the screen (before later steps).
    int inkOf(const QString &s) const
    {
        for (const TextExpect &t : m_texts)
            if (t.text == s)
                return t.inked;
        return 0;
    }
    // Where each slot's colour may show: its fills, rings and texts' cells.
    const std::vector<std::pair<int, QRect>> &slotAreas() const { return m_areas; }
    QRgb expected(int x, int y) const { return m_expected.pixel(x, y); }

    // Every pixel exactly as modelled; the first few that differ are named.
    void check(const QImage &actual, const std::string &what = {}) const
    {
        ASSERT_EQ(actual.size(), m_expected.size()) << what;
        int bad = 0;
        for (int y = 0; y < m_expected.height(); ++y)
            for (int x = 0; x < m_expected.width(); ++x) {
                const QRgb got = actual.pixel(x, y) | 0xff000000u;
                const QRgb want = m_expected.pixel(x, y) | 0xff000000u;
                if (got == want || ++bad > 5)
                    continue;
                const SheetCoord g = decodeCoordinate(got), w = decodeCoordinate(want);
                ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") is " << std::hex << got
                              << " (sheet row " << std::dec << g.row << " col " << g.column << "), expected "
                              << std::hex << want << " (sheet row " << std::dec << w.row << " col " << w.column
                              << ")";
            }
        EXPECT_EQ(bad, 0) << what << ": pixels differing from the model";
    }

    static int countColour(const QImage &img, const QRect &r, QRgb colour)
    {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += (img.pixel(x, y) | 0xff000000u) == (colour | 0xff000000u);
        return n;
    }

private:
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_expected.width() && y < m_expected.height(); }
    void set(int x, int y, QRgb c) { m_expected.setPixel(x, y, c | 0xff000000u); }
    void paint(int l, int t, int r, int b, QRgb c)
    {
        for (int y = std::max(t, 0); y < std::min(b, m_expected.height()); ++y)
            for (int x = std::max(l, 0); x < std::min(r, m_expected.width()); ++x)
                set(x, y, c);
    }

    PreviewInput m_in;
    QImage m_expected;
    std::vector<TextExpect> m_texts;
    std::vector<std::pair<int, QRect>> m_areas;
};

// Changing one slot may change only pixels inside the cells of texts (or the
// fills) that use it, and must change some pixel whenever something uses it.
inline void checkSlotIsolation(const PreviewInput &base, QImage (*compose)(const PreviewInput &),
                               const std::vector<std::pair<int, QRect>> &slotAreas)
{
    const QImage before = compose(base);
    for (int slot = 0; slot < 13; ++slot) {
        PreviewInput changed = base;
        changed.colours[slot] = slotColour(slot, 3);
        const QImage after = compose(changed);
        QRegion allowed;
        for (const auto &[s, r] : slotAreas)
            if (s == slot)
                allowed += r.adjusted(-2, 0, 2, 0);
        int changedPixels = 0, stray = 0;
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                if (before.pixel(x, y) != after.pixel(x, y)) {
                    ++changedPixels;
                    if (!allowed.contains(QPoint(x, y)) && stray++ < 3)
                        ADD_FAILURE() << "slot " << slot << " changed (" << x << ", " << y << ")";
                }
        if (allowed.isEmpty())
            EXPECT_EQ(changedPixels, 0) << "slot " << slot << " is used by nothing on this screen";
        else
            EXPECT_GT(changedPixels, 0) << "slot " << slot << " changed nothing";
    }
}

using Compose = QImage (*)(const PreviewInput &);

// The render entry point puts exactly the composed screen into the paint box.
inline void checkRenderShows(int screen, Compose compose, const PreviewInput &in)
{
    QImage box(in.screen, QImage::Format_RGB32);
    box.fill(Qt::black);
    Canvas paintBox(&box);
    renderPreview(screen, in, paintBox);
    EXPECT_EQ(box, compose(in));
}

// Without a skin the screen composes nothing and the paint box keeps its pixels.
inline void checkNoSkinDrawsNothing(int screen, Compose compose, int lastProfile)
{
    ScreenFixture f(lastProfile);
    const QSize lastScreen = f.in.screen;
    f.in.profile = 0;
    f.in.screen = QSize();
    EXPECT_TRUE(compose(f.in).isNull());
    QImage box(lastScreen, QImage::Format_RGB32);
    box.fill(Qt::black);
    const QImage before = box;
    Canvas paintBox(&box);
    renderPreview(screen, f.in, paintBox);
    EXPECT_EQ(box, before);
}

} // namespace zelkor::test
