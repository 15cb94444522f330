#pragma once
// What a composed screen should look like, pixel by pixel, built from the
// screen's steps in drawing order: fills, sheet blocks (on a coordinate sheet,
// so each pixel says which sheet row and column it came from), icons whose
// cells are one flat colour, and texts. Texts are drawn unsmoothed, so a pixel
// inside a text's cell is either exactly the text's colour or exactly what lay
// below; the model allows both there and checks that each text left pixels of
// its colour.

#include "preview/preview.h"
#include "skin/profiles.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <QRegion>
#include <QString>

#include <algorithm>
#include <utility>

#include <vector>

namespace zelkor::test {

// Slot colours that no coordinate sheet pixel can have (its green stays below
// 0x20 for the sizes used here), all different from each other.
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

// Icon sheets whose masks are black all over and whose image cell n is one
// flat colour naming n, so a drawn icon shows as a square of that colour.
inline QRgb iconColour(int cellSize, int cellY)
{
    return qRgb(cellY / cellSize, cellSize == 16 ? 0xe0 : 0xf0, 0xff);
}
inline QImage flatIconSheet(int cellSize)
{
    QImage img(2 * cellSize, 95 * cellSize, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, x < cellSize ? iconColour(cellSize, y / cellSize * cellSize) : 0xff000000u);
    return img;
}

// A document of one profile: coordinate sheet as high as the layout reaches,
// distinct slot colours, flat icon sheets.
struct ScreenFixture {
    QImage sheet;
    QImage small = flatIconSheet(16);
    QImage large = flatIconSheet(32);
    PreviewInput in;

    explicit ScreenFixture(int profile)
    {
        const Profile *p = profileByIndex(profile);
        sheet = coordinateSheet(p->screenWidth, p->layoutRows);
        in.sheet = &sheet;
        in.profile = profile;
        in.screen = p->screenSize();
        in.colours = distinctSlots();
        in.smallIcons = &small;
        in.largeIcons = &large;
    }
};

struct TextExpect {
    QString text;
    int x, y, points;
    int slot;
    QRect cell;  // advance x font height at (x, y)
};

class ScreenModel {
public:
    explicit ScreenModel(const PreviewInput &in)
        : m_in(in), m_w(in.screen.width()), m_h(in.screen.height()),
          m_colour(size_t(m_w) * m_h, 0xffffffffu)
    {
    }

    void fill(int left, int top, int right, int bottom, int slot)
    {
        for (int y = std::max(top, 0); y < std::min(bottom, m_h); ++y)
            for (int x = std::max(left, 0); x < std::min(right, m_w); ++x)
                set(x, y, m_in.colours[slot] | 0xff000000u);
        m_areas.push_back({slot, QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))});
    }
    void block(int sourceY, int width, int height, int destY)
    {
        for (int y = std::max(destY, 0); y < std::min(destY + height, m_h); ++y)
            for (int x = 0; x < std::min(width, m_w); ++x)
                set(x, y, coordinateColour(sourceY + y - destY, x) | 0xff000000u);
    }
    void icon(int cellSize, int cellY, int x0, int y0)
    {
        for (int y = y0; y < std::min(y0 + cellSize, m_h); ++y)
            for (int x = x0; x < std::min(x0 + cellSize, m_w); ++x)
                set(x, y, iconColour(cellSize, cellY) | 0xff000000u);
    }
    // A text; `opaqueSlot` >= 0 fills its cell first, as a solid brush does.
    // Its ink is the string drawn alone with its cell's top-left at (x, y),
    // so a text a pixel off, or another string, shows as wrong pixels.
    void text(const QString &s, int x, int y, int points, int slot, int opaqueSlot = -1)
    {
        Canvas probe;
        probe.setFontPoints(points);
        const QRect cell(QPoint(x, y), probe.textExtent(s));
        if (opaqueSlot >= 0)
            fill(cell.left(), cell.top(), cell.right() + 1, cell.bottom() + 1, opaqueSlot);
        QImage alone(m_w, m_h, QImage::Format_RGB32);
        alone.fill(0xffffffffu);
        Canvas ink(&alone);
        ink.setFontPoints(points);
        ink.setBrushClear();
        ink.setTextColor(0xff000000u);
        ink.textOut(x, y, s);
        for (int yy = 0; yy < m_h; ++yy)
            for (int xx = 0; xx < m_w; ++xx)
                if (alone.pixel(xx, yy) != 0xffffffffu)
                    set(xx, yy, m_in.colours[slot] | 0xff000000u);
        m_texts.push_back({s, x, y, points, slot, cell});
        m_areas.push_back({slot, cell});
    }

    const std::vector<TextExpect> &texts() const { return m_texts; }
    // Where each slot's colour may show: its fills and its texts' cells.
    const std::vector<std::pair<int, QRect>> &slotAreas() const { return m_areas; }
    QRgb expected(int x, int y) const { return m_colour[idx(x, y)]; }

    // Every pixel exactly as modelled; every text visible in its colour inside its cell.
    void check(const QImage &img) const
    {
        ASSERT_EQ(img.size(), QSize(m_w, m_h));
        int bad = 0;
        for (int y = 0; y < m_h && bad < 5; ++y)
            for (int x = 0; x < m_w && bad < 5; ++x) {
                const QRgb got = img.pixel(x, y) | 0xff000000u;
                const QRgb want = m_colour[idx(x, y)];
                if (got == want)
                    continue;
                ++bad;
                const SheetCoord g = decodeCoordinate(got), w = decodeCoordinate(want);
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << got << " (sheet "
                              << std::dec << g.row << ", " << g.column << "), want " << std::hex << want
                              << " (sheet " << std::dec << w.row << ", " << w.column << ")";
            }
        for (const TextExpect &t : m_texts)
            EXPECT_GT(countColour(img, t.cell.intersected(img.rect()), m_in.colours[t.slot]), 8)
                << t.text.toStdString() << " at (" << t.x << ", " << t.y << ") not drawn in slot " << t.slot;
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
    size_t idx(int x, int y) const { return size_t(y) * m_w + x; }
    void set(int x, int y, QRgb c) { m_colour[idx(x, y)] = c; }

    PreviewInput m_in;
    int m_w, m_h;
    std::vector<QRgb> m_colour;
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
