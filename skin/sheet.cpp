#include "sheet.h"

#include "profiles.h"

#include <QPainter>

#include <cstdlib>
#include <cstring>

namespace zelkor {

QRgb readColourSlot(const QImage &sheet, int profile, int slot)
{
    const auto origin = colourRow(profile);
    if (!origin || slot < 0 || slot >= kColourSlotCount)
        return qRgb(0, 0, 0);
    const QPoint p(origin->firstColumn + slot, origin->row);
    if (!sheet.valid(p))
        return qRgb(0, 0, 0);
    return sheet.pixel(p) | 0xff000000u;
}

ColourSlots readColourSlots(const QImage &sheet, int profile)
{
    ColourSlots colours{};
    for (int i = 0; i < kColourSlotCount; ++i)
        colours[i] = readColourSlot(sheet, profile, i);
    return colours;
}

bool writeColourSlot(QImage &sheet, int profile, int slot, QRgb colour)
{
    const auto origin = colourRow(profile);
    if (!origin || slot < 0 || slot >= kColourSlotCount)
        return false;
    const QPoint p(origin->firstColumn + slot, origin->row);
    if (!sheet.valid(p))
        return false;
    sheet.setPixel(p, colour | 0xff000000u);
    return true;
}

QImage cutOutPicture(const QImage &sheet, int profile, int picture)
{
    const auto r = pictureRect(picture, profile);
    if (!r)
        return {};
    QImage out(r->width, r->height, QImage::Format_RGB32);
    out.fill(Qt::white);
    const QRect src = r->rect().intersected(sheet.rect());
    if (!src.isEmpty()) {
        QPainter p(&out);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(src.x(), src.y() - r->y), sheet, src);
    }
    return out;
}

bool writeBackPicture(QImage &sheet, int profile, int picture, const QImage &replacement)
{
    const auto r = pictureRect(picture, profile);
    if (!r || replacement.isNull())
        return false;
    const QImage src = replacement.convertToFormat(QImage::Format_RGB32);
    const QRect target = QRect(0, r->y, std::min(r->width, src.width()), std::min(r->height, src.height()))
                             .intersected(sheet.rect());
    if (target.isEmpty())
        return true;
    if (sheet.format() != QImage::Format_RGB32)
        sheet.convertTo(QImage::Format_RGB32);
    // Both are RGB32, so the picture's rows are copied as they are.
    uchar *bits = sheet.bits();
    for (int y = 0; y < target.height(); ++y)
        std::memcpy(bits + qsizetype(target.top() + y) * sheet.bytesPerLine(), src.constScanLine(y),
                    size_t(target.width()) * sizeof(QRgb));
    return true;
}

bool placePicture(QImage &sheet, int profile, int picture, const QImage &source, const Placement &placement)
{
    const QImage under = cutOutPicture(sheet, profile, picture);
    if (under.isNull() || source.isNull())
        return false;
    return writeBackPicture(sheet, profile, picture, placeImage(source, under, placement));
}

QImage normalisedSheet(const QImage &loaded)
{
    if (loaded.isNull())
        return {};
    return loaded.convertToFormat(QImage::Format_RGB32);
}

} // namespace zelkor
