#include "savedepth.h"

#include "profiles.h"

#include <mbm/depth.h>
#include <mbm/mbm.h>
#include <mbm/palette.h>
#include <mbm/pixels.h>

#include <QLocale>

#include <algorithm>
#include <optional>
#include <vector>

namespace zelkor {

namespace {

std::optional<mbm::Depth> depthOf(const QString &option)
{
    const QByteArray text = option.startsWith(u'/') ? option.mid(1).toLatin1() : option.toLatin1();
    const auto depth = mbm::parseDepthOption(std::string_view(text.constData(), size_t(text.size())));
    if (!depth || mbm::hasAlpha(*depth))
        return std::nullopt;
    return depth;
}

// The sheet's rows as the converter reads a bitmap: B, G, R bytes.
class SheetRows final : public mbm::RowSource {
public:
    explicit SheetRows(const QImage &rgb) : m_rgb(rgb)
    {
        width = rgb.width();
        height = rgb.height();
    }
    const std::uint8_t *row(std::int32_t y, std::uint8_t *scratch) const override
    {
        const QRgb *in = reinterpret_cast<const QRgb *>(m_rgb.constScanLine(y));
        for (std::int32_t x = 0; x < width; ++x) {
            scratch[3 * x] = std::uint8_t(qBlue(in[x]));
            scratch[3 * x + 1] = std::uint8_t(qGreen(in[x]));
            scratch[3 * x + 2] = std::uint8_t(qRed(in[x]));
        }
        return scratch;
    }

private:
    const QImage &m_rgb;
};

QImage rgb32(const QImage &sheet)
{
    return sheet.format() == QImage::Format_RGB32 ? sheet : sheet.convertToFormat(QImage::Format_RGB32);
}

std::int64_t packedSize(const QImage &rgb, mbm::Depth depth)
{
    return std::int64_t(mbm::serialiseMbm({mbm::encodeRows(SheetRows(rgb), depth)}).size());
}

// The palette colour the converter stores for `c` at a palette depth.
QRgb nearest(mbm::Depth depth, int r, int g, int b)
{
    const mbm::Rgb c{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)};
    const std::uint32_t index = mbm::quantise(depth, c);
    const mbm::Rgb p = depth.bitsPerPixel == 4 ? mbm::palette16()[index & 15] : mbm::palette256()[index & 255];
    return qRgb(p.r, p.g, p.b);
}

// Floyd-Steinberg over `area` of `image`; pixels for which `keep` is true are
// neither changed nor given error.
template <class Keep>
void diffuse(QImage &image, const QRect &area, mbm::Depth depth, Keep keep)
{
    // Errors of the current and the next row, three channels, one pixel of
    // margin on each side.
    const int w = area.width();
    std::vector<int> here(3 * size_t(w + 2)), next(3 * size_t(w + 2));
    for (int y = area.top(); y <= area.bottom(); ++y) {
        std::fill(next.begin(), next.end(), 0);
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int i = 0; i < w; ++i) {
            const int x = area.left() + i;
            if (keep(x, y))
                continue;
            int *e = &here[3 * size_t(i + 1)];
            const int want[3] = {std::clamp(qRed(line[x]) + e[0] / 16, 0, 255),
                                 std::clamp(qGreen(line[x]) + e[1] / 16, 0, 255),
                                 std::clamp(qBlue(line[x]) + e[2] / 16, 0, 255)};
            const QRgb got = nearest(depth, want[0], want[1], want[2]);
            line[x] = got;
            const int err[3] = {want[0] - qRed(got), want[1] - qGreen(got), want[2] - qBlue(got)};
            for (int c = 0; c < 3; ++c) {
                e[3 + c] += 7 * err[c];
                next[3 * size_t(i) + c] += 3 * err[c];
                next[3 * size_t(i + 1) + c] += 5 * err[c];
                next[3 * size_t(i + 2) + c] += err[c];
            }
        }
        std::swap(here, next);
    }
}

} // namespace

bool canSmooth(const QString &depthOption)
{
    const auto depth = depthOf(depthOption);
    return depth && depth->colour == mbm::ColourFlag::Colour && (depth->bitsPerPixel == 4 || depth->bitsPerPixel == 8);
}

QImage smoothedSheet(const QImage &sheet, int profile, const QString &depthOption)
{
    const auto depth = depthOf(depthOption);
    const auto row = colourRow(profile);
    if (sheet.isNull() || !canSmooth(depthOption) || !row)
        return sheet;
    QImage out = rgb32(sheet).copy();
    const QRect colours(row->firstColumn, row->row, kColourSlotCount, 1);
    for (int picture = 0; picture < 9; ++picture) {
        const QRect area = pictureRect(picture, profile)->rect().intersected(out.rect());
        if (!area.isEmpty())
            diffuse(out, area, *depth, [&](int x, int y) { return colours.contains(x, y); });
    }
    return out;
}

std::int64_t packedFileSize(const QImage &sheet, const QString &depthOption)
{
    const auto depth = depthOf(depthOption);
    if (sheet.isNull() || !depth)
        return -1;
    return packedSize(rgb32(sheet), *depth);
}

DepthFileSizes depthFileSizes(const QImage &sheet, int profile)
{
    DepthFileSizes sizes;
    const QImage rgb = sheet.isNull() ? sheet : rgb32(sheet);
    for (size_t i = 0; i < kColourDepths.size(); ++i) {
        const QString option = QString::fromLatin1(kColourDepths[i].option);
        sizes.plain[i] = packedFileSize(rgb, option);
        sizes.smoothed[i] = canSmooth(option) && !rgb.isNull()
                                ? packedFileSize(smoothedSheet(rgb, profile, option), option)
                                : -1;
    }
    return sizes;
}

QString fileSizeText(std::int64_t bytes)
{
    if (bytes < 0)
        return QString();
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    if (bytes < 1024)
        return QStringLiteral("%1 Б").arg(bytes);
    return QStringLiteral("%1 КБ").arg(russian.toString(double(bytes) / 1024.0, 'f', 1));
}

} // namespace zelkor
