#include "port.h"

#include "profiles.h"
#include "sheet.h"

#include <QPainter>

#include <algorithm>

namespace zelkor {

QImage templateCanvas(const QImage &targetTemplate, int profile)
{
    const Profile *to = profileByIndex(profile);
    if (!to || targetTemplate.isNull() || targetTemplate.width() != to->screenWidth)
        return {};
    // A template read as the sheets are is the canvas already; it is copied
    // only when written to, and only rows it lacks are made white.
    if (targetTemplate.format() == QImage::Format_RGB32) {
        if (targetTemplate.height() >= to->layoutRows)
            return targetTemplate;
        QImage out = targetTemplate.copy(0, 0, to->screenWidth, to->layoutRows);
        for (int y = targetTemplate.height(); y < out.height(); ++y)
            std::fill_n(reinterpret_cast<QRgb *>(out.scanLine(y)), out.width(), QRgb(0xffffffffu));
        return out;
    }
    QImage out(to->screenWidth, std::max(targetTemplate.height(), to->layoutRows), QImage::Format_RGB32);
    out.fill(Qt::white);
    {
        QPainter p(&out);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, targetTemplate);
    }
    return out;
}

QImage portSheet(const QImage &sheet, int fromProfile, const QImage &targetTemplate, int toProfile)
{
    QImage out = templateCanvas(targetTemplate, toProfile);
    if (!profileByIndex(fromProfile) || sheet.isNull() || out.isNull())
        return {};

    for (int picture = 0; picture < kPictureCount; ++picture) {
        const PictureRect target = *pictureRect(picture, toProfile);
        const QImage scaled = cutOutPicture(sheet, fromProfile, picture)
                                  .scaled(target.width, target.height, Qt::IgnoreAspectRatio, kPortScaling);
        writeBackPicture(out, toProfile, picture, scaled);
    }

    const ColourRowOrigin origin = *colourRow(fromProfile);
    for (int slot = 0; slot < kColourSlotCount; ++slot) {
        if (sheet.valid(origin.firstColumn + slot, origin.row))
            writeColourSlot(out, toProfile, slot, readColourSlot(sheet, fromProfile, slot));
    }
    return out;
}

} // namespace zelkor
