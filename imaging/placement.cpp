#include "placement.h"

#include "nametable.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace zelkor {

namespace {

const std::array<FitModeName, 4> kFitModes = {{
    {FitMode::AsIs, "as-is", "Как есть"},
    {FitMode::Cover, "cover", "Заполнить"},
    {FitMode::Contain, "contain", "Вписать"},
    {FitMode::Stretch, "stretch", "Растянуть"},
}};

// Every step below works on 32-bit pixels; alpha stays premultiplied, so
// averaging channels is averaging colours.
QImage as32(const QImage &image)
{
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

// A read-only view of a rectangle of a 32-bit image, without copying it.
QImage view(const QImage &image, const QRect &r)
{
    return QImage(image.constBits() + qsizetype(r.y()) * image.bytesPerLine() + qsizetype(r.x()) * 4, r.width(),
                  r.height(), image.bytesPerLine(), image.format());
}

// The mean of two pixels, byte by byte, rounded up or down. Halving columns
// rounds up and halving rows down, so the steps add no drift in brightness.
inline quint32 meanUp(quint32 a, quint32 b)
{
    return (a | b) - (((a ^ b) & 0xfefefefeu) >> 1);
}
inline quint32 meanDown(quint32 a, quint32 b)
{
    return (a & b) + (((a ^ b) & 0xfefefefeu) >> 1);
}

// Halves the width and/or the height (an odd last column or row is left out).
QImage halved(const QImage &in, bool columns, bool rows)
{
    const int w = columns ? in.width() / 2 : in.width();
    const int h = rows ? in.height() / 2 : in.height();
    QImage out(w, h, in.format());
    for (int y = 0; y < h; ++y) {
        const auto *a = reinterpret_cast<const quint32 *>(in.constScanLine(rows ? 2 * y : y));
        const auto *b = rows ? reinterpret_cast<const quint32 *>(in.constScanLine(2 * y + 1)) : a;
        auto *o = reinterpret_cast<quint32 *>(out.scanLine(y));
        if (columns) {
            for (int x = 0; x < w; ++x)
                o[x] = meanDown(meanUp(a[2 * x], a[2 * x + 1]), meanUp(b[2 * x], b[2 * x + 1]));
        } else {
            for (int x = 0; x < w; ++x)
                o[x] = meanDown(a[x], b[x]);
        }
    }
    return out;
}

// Two halvings of both sides in one pass, the same pixels as halved() twice
// without the large image between them.
QImage quartered(const QImage &in)
{
    const int w = in.width() / 4, h = in.height() / 4;
    QImage out(w, h, in.format());
    auto half = [](const quint32 *a, const quint32 *b, int x) {
        return meanDown(meanUp(a[x], a[x + 1]), meanUp(b[x], b[x + 1]));
    };
    for (int y = 0; y < h; ++y) {
        const quint32 *r[4];
        for (int i = 0; i < 4; ++i)
            r[i] = reinterpret_cast<const quint32 *>(in.constScanLine(4 * y + i));
        auto *o = reinterpret_cast<quint32 *>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int c = 4 * x;
            o[x] = meanDown(meanUp(half(r[0], r[1], c), half(r[0], r[1], c + 2)),
                            meanUp(half(r[2], r[3], c), half(r[2], r[3], c + 2)));
        }
    }
    return out;
}

// `image` may be a view of someone else's pixels; the result never is.
QImage smoothScaled32(QImage image, const QSize &size)
{
    bool own = false;
    for (;;) {
        const bool columns = image.width() >= 2 * size.width();
        const bool rows = image.height() >= 2 * size.height();
        if (!columns && !rows)
            break;
        const bool twice = image.width() >= 4 * size.width() && image.height() >= 4 * size.height();
        image = twice ? quartered(image) : halved(image, columns, rows);
        own = true;
    }
    if (image.size() == size)
        return own ? image : image.copy();
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void drawOver(QImage &target, const QPoint &at, const QImage &image)
{
    QPainter p(&target);
    p.drawImage(at, image);
}

// The picture scaled to fill `size`, whole (stretched) or its crop (cover).
QImage filling(const QImage &src, const QSize &size, const Placement &placement)
{
    if (placement.mode == FitMode::Stretch)
        return smoothScaled32(src, size);
    QRect crop = placement.crop.intersected(src.rect());
    if (crop.isEmpty())
        crop = coverCrop(src.size(), size);
    return smoothScaled32(view(src, crop), size);
}

} // namespace

const std::array<FitModeName, 4> &fitModeNames()
{
    return kFitModes;
}

std::optional<FitMode> fitModeByKey(const QString &key)
{
    if (const FitModeName *m = rowByKey(kFitModes, &FitModeName::key, key))
        return m->mode;
    return std::nullopt;
}

QString fitModeCaption(FitMode mode)
{
    const FitModeName *m = rowOf(kFitModes, &FitModeName::mode, mode);
    return m ? QString::fromUtf8(m->caption) : QString();
}

QImage smoothScaled(const QImage &image, const QSize &size)
{
    if (image.isNull() || size.isEmpty())
        return {};
    return smoothScaled32(as32(image), size);
}

QRect coverCrop(const QSize &source, const QSize &target, std::optional<QPointF> focus, double zoom)
{
    if (source.isEmpty() || target.isEmpty())
        return {};
    if (!(zoom >= 1.0) || !std::isfinite(zoom))
        zoom = 1.0;
    const double sw = source.width(), sh = source.height();
    const double tw = target.width(), th = target.height();
    // The source is wider than the target's proportions: its full height shows.
    const bool wider = sw * th >= sh * tw;
    const double cw = (wider ? sh * tw / th : sw) / zoom;
    const double ch = (wider ? sh : sw * th / tw) / zoom;
    const int w = std::clamp(int(std::lround(cw)), 1, source.width());
    const int h = std::clamp(int(std::lround(ch)), 1, source.height());
    QPointF f(sw / 2, sh / 2);
    if (focus && std::isfinite(focus->x()) && std::isfinite(focus->y()))
        f = QPointF(std::clamp(focus->x(), 0.0, sw), std::clamp(focus->y(), 0.0, sh));
    const int x = std::clamp(int(std::lround(f.x() - w / 2.0)), 0, source.width() - w);
    const int y = std::clamp(int(std::lround(f.y() - h / 2.0)), 0, source.height() - h);
    return {x, y, w, h};
}

std::optional<QRgb> meanEdgeColour(const QImage &image)
{
    if (image.isNull())
        return std::nullopt;
    const int w = image.width(), h = image.height();
    qint64 r = 0, g = 0, b = 0, alpha = 0;
    auto add = [&](int x, int y) {
        const QRgb c = image.pixel(x, y);
        const int a = qAlpha(c);
        r += qint64(qRed(c)) * a;
        g += qint64(qGreen(c)) * a;
        b += qint64(qBlue(c)) * a;
        alpha += a;
    };
    for (int x = 0; x < w; ++x) {
        add(x, 0);
        if (h > 1)
            add(x, h - 1);
    }
    for (int y = 1; y + 1 < h; ++y) {
        add(0, y);
        if (w > 1)
            add(w - 1, y);
    }
    if (alpha == 0)
        return std::nullopt;
    auto mean = [alpha](qint64 sum) { return int((sum + alpha / 2) / alpha); };
    return qRgb(mean(r), mean(g), mean(b));
}

QImage placeImage(const QImage &source, const QImage &under, const Placement &placement)
{
    if (source.isNull() || under.isNull())
        return {};
    QImage out = under.convertToFormat(QImage::Format_RGB32);
    out.detach();
    const QSize size = out.size();
    const QImage src = as32(source);
    switch (placement.mode) {
    case FitMode::AsIs:
        drawOver(out, QPoint(0, 0), src);
        break;
    case FitMode::Stretch:
    case FitMode::Cover:
        drawOver(out, QPoint(0, 0), filling(src, size, placement));
        break;
    case FitMode::Contain: {
        const QSize fitted = src.size().scaled(size, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        const QRect inside(QPoint((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2),
                           fitted);
        if (const auto margin = placement.margin ? placement.margin : meanEdgeColour(src)) {
            QPainter p(&out);
            for (const QRect &r : QRegion(out.rect()).subtracted(inside))
                p.fillRect(r, QColor::fromRgb(*margin | 0xff000000u));
        }
        drawOver(out, inside.topLeft(), smoothScaled32(src, fitted));
        break;
    }
    }
    return out;
}

QImage placeImage(const QImage &source, const QSize &size, const Placement &placement)
{
    if (size.isEmpty())
        return {};
    // An opaque picture that fills the whole size hides the white it would be
    // drawn over: the scaled picture is the result, without a white image, its
    // copy and a pass to draw one over the other.
    if (!source.isNull() && !source.hasAlphaChannel()
        && (placement.mode == FitMode::Stretch || placement.mode == FitMode::Cover)) {
        return filling(as32(source), size, placement).convertToFormat(QImage::Format_RGB32);
    }
    QImage white(size, QImage::Format_RGB32);
    white.fill(Qt::white);
    return placeImage(source, white, placement);
}

PlacementSource::PlacementSource(const QImage &source)
{
    m_levels.push_back(source.isNull() ? QImage() : as32(source));
    while (m_levels.back().width() >= 32 && m_levels.back().height() >= 32)
        m_levels.push_back(halved(m_levels.back(), true, true));
}

QImage PlacementSource::place(const QImage &under, const Placement &placement) const
{
    const QImage &full = m_levels.front();
    if (full.isNull() || under.isNull() || placement.mode == FitMode::AsIs)
        return placeImage(full, under, placement);
    QRect shown = full.rect();
    QSize output = under.size();
    if (placement.mode == FitMode::Cover) {
        shown = placement.crop.intersected(full.rect());
        if (shown.isEmpty())
            shown = coverCrop(full.size(), output);
    } else if (placement.mode == FitMode::Contain) {
        output = full.size().scaled(output, Qt::KeepAspectRatio);
    }
    size_t level = 0;
    while (level + 1 < m_levels.size() && shown.width() >> (level + 1) >= output.width()
           && shown.height() >> (level + 1) >= output.height())
        ++level;
    Placement scaled = placement;
    scaled.crop = QRect(shown.x() >> level, shown.y() >> level, std::max(1, shown.width() >> level),
                        std::max(1, shown.height() >> level));
    if (placement.mode == FitMode::Contain && !scaled.margin)
        scaled.margin = meanEdgeColour(full);  // the full edge, so the margins do not flicker
    return placeImage(m_levels[level], under, scaled);
}

} // namespace zelkor
