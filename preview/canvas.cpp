#include "canvas.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

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
    for (int y = y0; y < y1; ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(s->constScanLine(sy + y)) + sx + x0;
        QRgb *out = reinterpret_cast<QRgb *>(dst.scanLine(dy + y)) + dx + x0;
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
    if (m_target)
        zelkor::blit(*m_target, dx, dy, w, h, src, sx, sy, op);
}

void Canvas::setBrushColor(QRgb colour)
{
    m_brush = colour | 0xff000000u;
    m_brushSolid = true;
}

static void fillSpan(QImage &img, int left, int top, int right, int bottom, QRgb colour)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, img.width());
    bottom = std::min(bottom, img.height());
    for (int y = top; y < bottom; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        std::fill(line + left, line + std::max(left, right), colour | 0xff000000u);
    }
}

void Canvas::fillRect(int left, int top, int right, int bottom)
{
    if (!m_target || m_target->isNull())
        return;
    fillSpan(*m_target, left, top, right, bottom, m_brush);
}

void Canvas::rectangle(int left, int top, int right, int bottom)
{
    if (!m_target || m_target->isNull() || right <= left || bottom <= top)
        return;
    if (m_brushSolid)
        fillSpan(*m_target, left + 1, top + 1, right - 1, bottom - 1, m_brush);
    fillSpan(*m_target, left, top, right, top + 1, m_pen);
    fillSpan(*m_target, left, bottom - 1, right, bottom, m_pen);
    fillSpan(*m_target, left, top, left + 1, bottom, m_pen);
    fillSpan(*m_target, right - 1, top, right, bottom, m_pen);
}

QSize Canvas::textExtent(const QString &text) const
{
    const QFontMetrics fm(previewFont(m_fontPoints));
    return {fm.horizontalAdvance(text), fm.height()};
}

void Canvas::textOut(int x, int y, const QString &text)
{
    if (!m_target || m_target->isNull() || text.isEmpty())
        return;
    const QFont font = previewFont(m_fontPoints);
    const QFontMetrics fm(font);
    if (m_brushSolid)
        fillSpan(*m_target, x, y, x + fm.horizontalAdvance(text), y + fm.height(), m_brush);
    QPainter p(m_target);
    p.setFont(font);
    p.setPen(QColor::fromRgb(m_text));
    p.drawText(QPoint(x, y + fm.ascent()), text);
}

} // namespace zelkor
