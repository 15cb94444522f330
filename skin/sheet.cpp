#include "sheet.h"

#include "filewrite.h"

#include "profiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <QPainter>

#include <cstdlib>

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
    QPainter p(&sheet);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(target.topLeft(), src, QRect(0, 0, target.width(), target.height()));
    return true;
}

namespace {

// Qt's JPEG reader fills a truncated file with grey and only warns; the
// warnings of one read are collected here to tell a whole picture from part of one.
thread_local QStringList *t_readWarnings = nullptr;
QtMessageHandler g_previousHandler = nullptr;

void collectReadWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (t_readWarnings && type == QtWarningMsg) {
        t_readWarnings->append(message);
        return;
    }
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

bool meansTruncated(const QStringList &warnings)
{
    for (const QString &w : warnings)
        if (w.contains(QLatin1String("premature end"), Qt::CaseInsensitive))
            return true;
    return false;
}

// Qt's bitmap reader takes a file that ends early without a word and leaves
// the missing rows undefined. True when the file is shorter than its headers
// promise: the offset of the pixels plus their size (stated for compressed
// bitmaps, computed from width, height and depth for plain ones).
bool bitmapCutShort(QIODevice &device)
{
    if (!device.seek(0))
        return true;
    const QByteArray h = device.read(54);
    if (h.size() < 26 || !h.startsWith("BM"))
        return true;
    const auto *d = reinterpret_cast<const uchar *>(h.constData());
    const qint64 offset = qFromLittleEndian<quint32>(d + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(d + 14);
    qint64 width = 0, height = 0, bits = 0, compression = 0, stated = 0;
    if (infoSize == 12) {  // the old core header: 16-bit sizes, never compressed
        width = qFromLittleEndian<quint16>(d + 18);
        height = qFromLittleEndian<quint16>(d + 20);
        bits = qFromLittleEndian<quint16>(d + 24);
    } else {
        if (h.size() < 38)
            return true;
        width = qFromLittleEndian<qint32>(d + 18);
        height = std::abs(qint64(qFromLittleEndian<qint32>(d + 22)));
        bits = qFromLittleEndian<quint16>(d + 28);
        compression = qFromLittleEndian<quint32>(d + 30);
        stated = qFromLittleEndian<quint32>(d + 34);
    }
    const bool plain = compression == 0 || compression == 3 || compression == 6;  // RGB, bit fields
    // Sizes were checked by the decoder, which allocated the image: no overflow here.
    const qint64 pixels = plain ? (width * bits + 31) / 32 * 4 * height : stated;
    return device.size() < offset + pixels;
}

} // namespace

QImage readImageFile(const QString &path, QString &error)
{
    return readImageFile(path, error, ImageReadBounds{});
}

QImage readImageFile(const QString &path, QString &error, const ImageReadBounds &bounds)
{
    // A pipe or a device would block the reader, a folder is no picture.
    if (QFileInfo::exists(path) && !leadsToRegularFile(path)) {
        error = QStringLiteral("Не удаётся прочитать файл «%1»: это не обычный файл (папка, канал или устройство).")
                    .arg(native(path));
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Не удаётся прочитать файл «%1»: %2").arg(native(path), file.errorString());
        return {};
    }
    return readImage(file, native(path), error, bounds);
}

QImage readImageData(const QByteArray &bytes, const QString &shownName, QString &error, const ImageReadBounds &bounds)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readImage(buffer, shownName, error, bounds);
}

QImage readImage(QIODevice &device, const QString &shown, QString &error, const ImageReadBounds &bounds)
{
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    const QSize claimed = bounds.maxPixels > 0 || bounds.atLeast.isValid() ? reader.size() : QSize();
    if (bounds.maxPixels > 0 && claimed.isValid() && qint64(claimed.width()) * claimed.height() > bounds.maxPixels) {
        error = QStringLiteral("Картинка в файле «%1» слишком велика: %2 x %3 точек.")
                    .arg(shown)
                    .arg(claimed.width())
                    .arg(claimed.height());
        return {};
    }
    if (bounds.atLeast.isValid() && claimed.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize)) {
        for (const int d : {8, 4, 2}) {
            const QSize scaled((claimed.width() + d - 1) / d, (claimed.height() + d - 1) / d);
            if (scaled.width() >= bounds.atLeast.width() && scaled.height() >= bounds.atLeast.height()) {
                reader.setScaledSize(scaled);
                break;
            }
        }
    }
    QStringList warnings;
    t_readWarnings = &warnings;
    g_previousHandler = qInstallMessageHandler(collectReadWarnings);
    const QByteArray format = reader.format();  // known only before the read
    QImage image = reader.read();
    qInstallMessageHandler(g_previousHandler);
    t_readWarnings = nullptr;
    if (image.isNull()) {
        error = QStringLiteral("Не удаётся прочитать файл «%1»: %2").arg(shown, reader.errorString());
    } else if (meansTruncated(warnings) || (format == "bmp" && bitmapCutShort(device))) {
        error = QStringLiteral("Файл «%1» обрезан: картинка в нём неполная.").arg(shown);
        image = QImage();
    }
    return image;
}

QImage normalisedSheet(const QImage &loaded)
{
    if (loaded.isNull())
        return {};
    return loaded.convertToFormat(QImage::Format_RGB32);
}

} // namespace zelkor
