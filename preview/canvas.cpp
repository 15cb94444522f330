#include "canvas.h"

#include "paintrecord.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

namespace zelkor {

int pointsToPixels(int points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

void installFontSubstitutions()
{
    // Liberation Sans has Cyrillic and metrics close to the Windows UI fonts.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"));
}

QFont previewFont(int points)
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(pointsToPixels(points));
    f.setBold(true);
    // The phone draws unsmoothed text; it also keeps every text pixel exactly
    // in its colour slot's colour, which is what a skin author judges.
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void blit(QImage &dst, int dx, int dy, int w, int h, const QImage &src, int sx, int sy, RasterOp op)
{
    if (dst.isNull() || src.isNull() || w <= 0 || h <= 0)
        return;
    // Clip the block against the source, then against the target.
    int x0 = 0, y0 = 0, x1 = w, y1 = h;  // block-relative, half-open
    x0 = std::max({x0, -sx, -dx});
    y0 = std::max({y0, -sy, -dy});
    x1 = std::min({x1, src.width() - sx, dst.width() - dx});
    y1 = std::min({y1, src.height() - sy, dst.height() - dy});
    if (x0 >= x1 || y0 >= y1)
        return;

    if (dst.format() != QImage::Format_RGB32 && dst.format() != QImage::Format_ARGB32)
        dst.convertTo(QImage::Format_RGB32);
    const QImage *s = &src;
    QImage converted;
    if (src.format() != QImage::Format_RGB32 && src.format() != QImage::Format_ARGB32) {
        converted = src.convertToFormat(QImage::Format_RGB32);
        s = &converted;
    }

    const int n = x1 - x0;
    // Row pointers are taken once: scanLine() checks for sharing on every call.
    uchar *dBits = dst.bits();
    const qsizetype dStride = dst.bytesPerLine();
    const uchar *sBits = s->constBits();
    const qsizetype sStride = s->bytesPerLine();
    // An RGB32 pixel's top byte is always 0xff, so a copy between two such
    // images is a plain memory copy.
    const bool plainCopy = op == RasterOp::Copy && s->format() == QImage::Format_RGB32;
    for (int y = y0; y < y1; ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(sBits + (sy + y) * sStride) + sx + x0;
        QRgb *out = reinterpret_cast<QRgb *>(dBits + (dy + y) * dStride) + dx + x0;
        if (plainCopy) {
            std::memcpy(out, in, size_t(n) * sizeof(QRgb));
            continue;
        }
        switch (op) {
        case RasterOp::Copy:
            for (int i = 0; i < n; ++i)
                out[i] = in[i] | 0xff000000u;
            break;
        case RasterOp::And:
            for (int i = 0; i < n; ++i)
                out[i] = (out[i] & in[i]) | 0xff000000u;
            break;
        case RasterOp::Or:
            for (int i = 0; i < n; ++i)
                out[i] = out[i] | in[i] | 0xff000000u;
            break;
        }
    }
}

void Canvas::blit(int dx, int dy, int w, int h, const QImage &src, int sx, int sy, RasterOp op)
{
    if (!m_target)
        return;
    zelkor::blit(*m_target, dx, dy, w, h, src, sx, sy, op);
    if (m_record && !src.isNull() && w > 0 && h > 0) {
        PaintOp step;
        step.kind = m_record->blockKind(&src);
        // Only the part that has a source pixel and a target pixel was drawn.
        step.rect = QRect(dx, dy, w, h) & QRect(dx - sx, dy - sy, src.width(), src.height())
                    & m_target->rect();
        step.sourceOffset = QPoint(sx - dx, sy - dy);
        const QRect area = step.rect;
        const int index = m_record->add(std::move(step));
        const QImage rgb = src.format() == QImage::Format_RGB32 || src.format() == QImage::Format_ARGB32
                               ? src
                               : src.convertToFormat(QImage::Format_RGB32);
        const auto blend = op == RasterOp::And  ? PaintRecord::Blend::And
                           : op == RasterOp::Or ? PaintRecord::Blend::Or
                                                : PaintRecord::Blend::Copy;
        m_record->claimBlock(index, area, rgb, QPoint(sx - dx, sy - dy), blend);
    }
}

void Canvas::setBrushColor(QRgb colour, int slot)
{
    m_brush = colour | 0xff000000u;
    m_brushSolid = true;
    m_brushSlot = slot;
}

void Canvas::recordFill(int left, int top, int right, int bottom, QRgb colour, int slot)
{
    if (!m_record || !m_target)
        return;
    const QRect area = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)) & m_target->rect();
    if (area.isEmpty())
        return;
    PaintOp step;
    step.kind = PaintOp::Fill;
    step.slot = slot;
    step.colour = colour | 0xff000000u;
    step.rect = area;
    m_record->claim(m_record->add(std::move(step)), area);
}

static void fillSpan(QImage &img, int left, int top, int right, int bottom, QRgb colour)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, img.width());
    bottom = std::min(bottom, img.height());
    if (left >= right || top >= bottom)
        return;
    uchar *bits = img.bits();
    const qsizetype stride = img.bytesPerLine();
    for (int y = top; y < bottom; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(bits + y * stride);
        std::fill(line + left, line + right, colour | 0xff000000u);
    }
}

void Canvas::fillRect(int left, int top, int right, int bottom)
{
    if (!m_target || m_target->isNull())
        return;
    fillSpan(*m_target, left, top, right, bottom, m_brush);
    recordFill(left, top, right, bottom, m_brush, m_brushSlot);
}

void Canvas::rectangle(int left, int top, int right, int bottom)
{
    if (!m_target || m_target->isNull() || right <= left || bottom <= top)
        return;
    if (m_brushSolid) {
        fillSpan(*m_target, left + 1, top + 1, right - 1, bottom - 1, m_brush);
        recordFill(left + 1, top + 1, right - 1, bottom - 1, m_brush, m_brushSlot);
    }
    fillSpan(*m_target, left, top, right, top + 1, m_pen);
    fillSpan(*m_target, left, bottom - 1, right, bottom, m_pen);
    fillSpan(*m_target, left, top, left + 1, bottom, m_pen);
    fillSpan(*m_target, right - 1, top, right, bottom, m_pen);
    // The ring is one step: four sides in the pen's colour.
    if (m_record) {
        const QRect clip = m_target->rect();
        PaintOp ring;
        ring.kind = PaintOp::Fill;
        ring.slot = m_penSlot;
        ring.colour = m_pen | 0xff000000u;
        ring.rect = QRect(left, top, right - left, bottom - top) & clip;
        const int step = m_record->add(std::move(ring));
        for (const QRect side : {QRect(left, top, right - left, 1), QRect(left, bottom - 1, right - left, 1),
                                 QRect(left, top, 1, bottom - top), QRect(right - 1, top, 1, bottom - top)})
            m_record->claim(step, side & clip);
    }
}

namespace {

// The pixels a text inks, found once per font size and text by drawing it
// alone; the preview draws the same few dozen texts every second, and laying
// them out again each time would cost more than the rest of a render.
struct InkSpan {
    int y;   // relative to the top of the text cell
    int x0;  // relative to the left of the text cell; half-open
    int x1;
};
struct TextInk {
    int advance = 0;
    int height = 0;
    std::vector<InkSpan> spans;
};

struct FontEntry {
    QFont font;
    QFontMetrics metrics;
};

const FontEntry &fontEntry(int points)
{
    // Never freed: fonts must not outlive the application object at exit.
    static thread_local auto *fonts = new std::map<int, FontEntry>;
    auto it = fonts->find(points);
    if (it == fonts->end()) {
        const QFont f = previewFont(points);
        it = fonts->emplace(points, FontEntry{f, QFontMetrics(f)}).first;
    }
    return it->second;
}

const TextInk &textInk(int points, const QString &text)
{
    static thread_local auto *cache = new std::map<std::pair<int, QString>, TextInk>;
    const auto key = std::make_pair(points, text);
    if (auto it = cache->find(key); it != cache->end())
        return it->second;
    if (cache->size() > 4096)
        cache->clear();

    const FontEntry &f = fontEntry(points);
    TextInk ink;
    ink.advance = f.metrics.horizontalAdvance(text);
    ink.height = f.metrics.height();
    // Room around the cell for glyphs that reach past their advance.
    const int margin = ink.height;
    QImage scratch(ink.advance + 2 * margin, ink.height + 2 * margin, QImage::Format_RGB32);
    scratch.fill(0xffffffffu);
    {
        QPainter p(&scratch);
        p.setFont(f.font);
        p.setPen(Qt::black);
        p.drawText(QPoint(margin, margin + f.metrics.ascent()), text);
    }
    for (int y = 0; y < scratch.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(scratch.constScanLine(y));
        for (int x = 0; x < scratch.width();) {
            if (line[x] == 0xffffffffu) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < scratch.width() && line[x] != 0xffffffffu)
                ++x;
            ink.spans.push_back({y - margin, start - margin, x - margin});
        }
    }
    return cache->emplace(key, std::move(ink)).first->second;
}

} // namespace

QSize Canvas::textExtent(const QString &text) const
{
    const QFontMetrics &fm = fontEntry(m_fontPoints).metrics;
    return {fm.horizontalAdvance(text), fm.height()};
}

void Canvas::textOut(int x, int y, const QString &text)
{
    if (!m_target || m_target->isNull() || text.isEmpty())
        return;
    if (m_target->format() != QImage::Format_RGB32 && m_target->format() != QImage::Format_ARGB32)
        m_target->convertTo(QImage::Format_RGB32);
    const TextInk &ink = textInk(m_fontPoints, text);
    if (m_brushSolid) {
        fillSpan(*m_target, x, y, x + ink.advance, y + ink.height, m_brush);
        recordFill(x, y, x + ink.advance, y + ink.height, m_brush, m_brushSlot);
    }
    // The font is drawn without smoothing, so every inked pixel takes the text
    // colour exactly, as the phone shows it.
    const QRgb colour = m_text | 0xff000000u;
    const int w = m_target->width(), h = m_target->height();
    uchar *bits = m_target->bits();
    const qsizetype stride = m_target->bytesPerLine();
    int step = -1;
    QRect inked;
    if (m_record) {
        PaintOp op;
        op.kind = PaintOp::Text;
        op.slot = m_textSlot;
        op.colour = colour;
        op.text = text;
        step = m_record->add(std::move(op));
    }
    for (const InkSpan &s : ink.spans) {
        const int ty = y + s.y;
        if (ty < 0 || ty >= h)
            continue;
        const int x0 = std::max(x + s.x0, 0), x1 = std::min(x + s.x1, w);
        if (x0 < x1) {
            QRgb *line = reinterpret_cast<QRgb *>(bits + ty * stride);
            if (m_record) {
                for (int px = x0; px < x1; ++px)
                    m_record->claimInk(step, px, ty, line[px]);
                inked |= QRect(x0, ty, x1 - x0, 1);
            }
            std::fill(line + x0, line + x1, colour);
        }
    }
    if (m_record)
        m_record->setRect(step, inked);
}

} // namespace zelkor
