#include "picturefile.h"

#include "filekind.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

#include <cstdlib>

namespace zelkor {

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
    // A phone's photograph is stored as the sensor saw it and says how to turn
    // it; the author expects it upright.
    reader.setAutoTransform(true);
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
            // The scaled size is the stored picture's, before it is turned.
            const QSize upright = reader.transformation() & QImageIOHandler::TransformationRotate90
                                      ? scaled.transposed()
                                      : scaled;
            if (upright.width() >= bounds.atLeast.width() && upright.height() >= bounds.atLeast.height()) {
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
    // A bitmap whose pixels stop short may fail to decode at all; it is the
    // same fault as one that decodes half, and said the same way.
    const bool cut = meansTruncated(warnings) || (format == "bmp" && bitmapCutShort(device));
    if (image.isNull() && !cut) {
        error = QStringLiteral("Не удаётся прочитать файл «%1»: %2").arg(shown, reader.errorString());
    } else if (cut) {
        error = QStringLiteral("Файл «%1» обрезан: картинка в нём неполная.").arg(shown);
        image = QImage();
    }
    return image;
}

Status readPicture(const QString &path, const QSize &atLeast, QImage &out)
{
    QString error;
    const QImage image = readImageFile(path, error, {kMaxPicturePixels, atLeast});
    if (image.isNull())
        return Status::failure(error);
    if (image.hasAlphaChannel()) {
        QImage opaque(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter(&opaque).drawImage(0, 0, image);
        out = opaque;
    } else {
        out = image.convertToFormat(QImage::Format_RGB32);
    }
    return Status::success();
}

} // namespace zelkor
