#include "paintrecord.h"

#include "preview.h"
#include "skin/profiles.h"

#include <algorithm>

namespace zelkor {

void PaintRecord::reset(const PreviewInput &in)
{
    m_size = in.screen.isValid() ? in.screen : QSize();
    m_sheet = in.sheet;
    m_smallIcons = in.smallIcons;
    m_largeIcons = in.largeIcons;
    m_profile = in.profile;
    m_ops.clear();
    m_ink.clear();
    m_owner.assign(size_t(std::max(0, m_size.width())) * size_t(std::max(0, m_size.height())), -1);
}

int PaintRecord::add(PaintOp op)
{
    m_ops.push_back(std::move(op));
    return int(m_ops.size()) - 1;
}

void PaintRecord::claim(int op, QRect area)
{
    area &= QRect(QPoint(0, 0), m_size);
    if (area.isEmpty())
        return;
    const int w = m_size.width();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        std::int32_t *row = m_owner.data() + size_t(y) * size_t(w);
        std::fill(row + area.left(), row + area.right() + 1, op);
    }
}

void PaintRecord::claimInk(int op, int x, int y, QRgb under)
{
    if (x < 0 || y < 0 || x >= m_size.width() || y >= m_size.height())
        return;
    const std::int32_t index = y * m_size.width() + x;
    m_ink.push_back({op, index, under | 0xff000000u, m_owner[size_t(index)]});
    m_owner[size_t(index)] = op;
}

void PaintRecord::claimBlock(int op, QRect area, const QImage &source, QPoint sourceOffset, Blend blend)
{
    area &= QRect(QPoint(0, 0), m_size);
    if (area.isEmpty())
        return;
    if (blend == Blend::Copy) {
        claim(op, area);
        return;
    }
    // AND with white and OR with black leave the target as it was: those
    // pixels still show whatever was drawn before the block.
    const QRgb identity = blend == Blend::And ? 0xffffffu : 0u;
    const int w = m_size.width();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const int sy = y + sourceOffset.y();
        if (sy < 0 || sy >= source.height())
            continue;
        const QRgb *in = reinterpret_cast<const QRgb *>(source.constScanLine(sy));
        std::int32_t *row = m_owner.data() + size_t(y) * size_t(w);
        for (int x = area.left(); x <= area.right(); ++x) {
            const int sx = x + sourceOffset.x();
            if (sx >= 0 && sx < source.width() && (in[sx] & 0xffffffu) != identity)
                row[x] = op;
        }
    }
}

PaintOp::Kind PaintRecord::blockKind(const QImage *source) const
{
    if (source && source == m_sheet)
        return PaintOp::SheetBlock;
    if (source && (source == m_smallIcons || source == m_largeIcons))
        return PaintOp::IconBlock;
    return PaintOp::OtherBlock;
}

std::vector<InkPixel> PaintRecord::ink(int op) const
{
    // Texts are drawn one after another, so their pixels lie in runs by step.
    std::vector<InkPixel> out;
    const int w = m_size.width();
    const auto [from, to] = std::equal_range(m_ink.begin(), m_ink.end(), op, OpOrder());
    for (auto p = from; p != to; ++p)
        if (m_owner[size_t(p->index)] == op)
            out.push_back({p->index % w, p->index / w, p->under, p->underOp});
    return out;
}

PixelSource PaintRecord::sourceOf(int owner, int x, int y) const
{
    PixelSource s;
    if (owner < 0 || owner >= int(m_ops.size()))
        return s;
    const PaintOp &op = m_ops[size_t(owner)];
    switch (op.kind) {
    case PaintOp::Fill:
    case PaintOp::Text:
        s.kind = op.slot >= 0 ? PixelSource::Slot : PixelSource::Fixed;
        s.slot = op.slot;
        if (op.kind == PaintOp::Text)
            s.text = op.text;
        break;
    case PaintOp::SheetBlock: {
        s.kind = PixelSource::Picture;
        const QPoint at = QPoint(x, y) + op.sourceOffset;
        for (int picture = 0; picture < kPictureCount; ++picture) {
            const auto r = pictureRect(picture, m_profile);
            if (r && r->rect().contains(at)) {
                s.picture = picture;
                s.picturePixel = at - r->rect().topLeft();
                break;
            }
        }
        break;
    }
    case PaintOp::IconBlock:
        s.kind = PixelSource::Icon;
        break;
    case PaintOp::OtherBlock:
        s.kind = PixelSource::Fixed;
        break;
    }
    return s;
}

} // namespace zelkor
