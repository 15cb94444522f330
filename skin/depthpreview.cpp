#include "depthpreview.h"

#include "profiles.h"
#include "savedepth.h"

#include <mbm/depth.h>
#include <mbm/image.h>
#include <mbm/pixels.h>

#include <algorithm>
#include <optional>

namespace zelkor {

namespace {

std::optional<mbm::Depth> parseDepth(const QString &option)
{
    QString text = option.trimmed();
    if (text.startsWith(QLatin1Char('/')) || text.startsWith(QLatin1Char('-')))
        text.remove(0, 1);
    const QByteArray ascii = text.toLatin1();
    const auto depth = mbm::parseDepthOption(std::string_view(ascii.constData(), size_t(ascii.size())));
    if (!depth || mbm::hasAlpha(*depth))
        return std::nullopt;
    return depth;
}

// The converter packs and unpacks every row on its own, so the sheet goes
// through in bands of rows: the buffers stay small and in cache instead of
// three sheet-sized copies being allocated and written for every change.
constexpr int kBandRows = 32;

// Rows [top, top + band.height) of the sheet as the converter reads a bitmap:
// 8-bit B, G, R, top row first.
void fillBand(const QImage &rgb, int top, mbm::Image &band)
{
    for (int y = 0; y < band.height; ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(top + y));
        std::uint8_t *out = band.row(y);
        for (int x = 0; x < band.width; ++x, out += 3) {
            out[0] = std::uint8_t(qBlue(in[x]));
            out[1] = std::uint8_t(qGreen(in[x]));
            out[2] = std::uint8_t(qRed(in[x]));
        }
    }
}

void storeBand(const mbm::Image &band, int top, QImage &out)
{
    for (int y = 0; y < band.height; ++y) {
        const std::uint8_t *in = band.row(y);
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(top + y));
        for (int x = 0; x < band.width; ++x, in += 3)
            line[x] = qRgb(in[2], in[1], in[0]);
    }
}

QImage roundTrip(const QImage &sheet, mbm::Depth depth)
{
    const QImage rgb = sheet.format() == QImage::Format_RGB32 || sheet.format() == QImage::Format_ARGB32
                           ? sheet
                           : sheet.convertToFormat(QImage::Format_RGB32);
    QImage out(rgb.width(), rgb.height(), QImage::Format_RGB32);
    mbm::Image band;
    band.width = rgb.width();
    for (int top = 0; top < rgb.height(); top += kBandRows) {
        band.height = std::min(kBandRows, rgb.height() - top);
        band.bgr.resize(3 * size_t(band.width) * size_t(band.height));
        fillBand(rgb, top, band);
        const std::vector<std::uint8_t> stored = mbm::packPixels(band, depth);
        storeBand(mbm::expandPixels(stored, band.width, band.height, depth), top, out);
    }
    return out;
}

} // namespace

bool isPreviewDepth(const QString &depthOption)
{
    return parseDepth(depthOption).has_value();
}

QImage sheetAtDepth(const QImage &sheet, const QString &depthOption)
{
    const auto depth = parseDepth(depthOption);
    if (sheet.isNull() || !depth)
        return {};
    return roundTrip(sheet, *depth);
}

ColourSlots coloursAtDepth(const ColourSlots &colours, const QString &depthOption)
{
    const auto depth = parseDepth(depthOption);
    if (!depth)
        return colours;
    QImage row(kColourSlotCount, 1, QImage::Format_RGB32);
    for (int i = 0; i < kColourSlotCount; ++i)
        row.setPixel(i, 0, colours[size_t(i)]);
    const QImage back = roundTrip(row, *depth);
    ColourSlots out{};
    for (int i = 0; i < kColourSlotCount; ++i)
        out[size_t(i)] = back.pixel(i, 0);
    return out;
}

QImage DepthPreview::sheet(const QImage &trueSheet, const QString &depthOption, int smoothProfile)
{
    if (trueSheet.isNull() || depthOption.isEmpty() || !isPreviewDepth(depthOption))
        return trueSheet;
    if (trueSheet.cacheKey() != m_sheetKey) {
        m_byDepth.clear();
        m_sheetKey = trueSheet.cacheKey();
    }
    const int smooth = canSmooth(depthOption) ? smoothProfile : 0;
    QImage &cached = m_byDepth[{depthOption, smooth}];
    if (cached.isNull())
        cached = sheetAtDepth(smooth ? smoothedSheet(trueSheet, smooth, depthOption) : trueSheet, depthOption);
    return cached;
}

void DepthPreview::clear()
{
    m_byDepth.clear();
    m_sheetKey = 0;
}

} // namespace zelkor
