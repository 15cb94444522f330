#include "pixelsourcetext.h"

#include "skin/colourslots.h"
#include "skin/profiles.h"

namespace zelkor {

namespace {

QString withText(const QString &what, const QString &text)
{
    return text.isEmpty() ? what : QStringLiteral("%1 — «%2»").arg(what, text);
}

} // namespace

QString pixelSourceText(const PixelSource &source)
{
    switch (source.kind) {
    case PixelSource::Slot:
        return withText(colourSlotLabel(source.slot).trimmed(), source.text);
    case PixelSource::Picture:
        if (source.picture < 0 || source.picture >= kPictureCount)
            return QStringLiteral("Строка листа скина между картинками");
        return QStringLiteral("%1, %2, %3")
            .arg(QString::fromUtf8(pictureInfo(source.picture).caption))
            .arg(source.picturePixel.x())
            .arg(source.picturePixel.y());
    case PixelSource::Icon:
        return QStringLiteral("Значок программы (не из скина)");
    case PixelSource::Fixed:
        return withText(QStringLiteral("Постоянный цвет программы (не из скина)"), source.text);
    case PixelSource::Nothing:
        break;
    }
    return QStringLiteral("Белый фон экрана (ничем не закрашен)");
}

QString phonePixelText(QPoint pixel)
{
    return QStringLiteral("Картинка телефона, %1, %2").arg(pixel.x()).arg(pixel.y());
}

} // namespace zelkor
