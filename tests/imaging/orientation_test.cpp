// A photograph stored as the camera saw it, with the turn it needs written in
// the file, is read upright: whole, and decoded at a reduced size.
#include "imaging/picturefile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelkor;

namespace {

// A JPEG of `image` with an Exif block saying orientation `exif` (1..8), as a
// phone writes it: Qt's writer keeps no orientation of its own.
QByteArray jpegWithOrientation(const QImage &image, int exif)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    writer.write(image);
    const char app1[] = {
        '\xff', '\xe1', 0, 34,                    // APP1, its length
        'E', 'x', 'i', 'f', 0, 0,                 // Exif header
        'I', 'I', 42, 0, 8, 0, 0, 0,              // little-endian TIFF, first directory at 8
        1, 0,                                     // one entry:
        0x12, 0x01, 3, 0, 1, 0, 0, 0, char(exif), 0, 0, 0,  // orientation, one SHORT
        0, 0, 0, 0,                               // no next directory
    };
    return jpeg.left(2) + QByteArray(app1, sizeof app1) + jpeg.mid(2);
}

} // namespace

TEST(PictureOrientation, EveryStoredOrientationIsReadUpright)
{
    // 320 x 160, red in the top-left quarter and blue in the bottom-right, so
    // every turn and mirror gives other pixels.
    QImage stored(320, 160, QImage::Format_RGB32);
    stored.fill(Qt::white);
    QPainter(&stored).fillRect(0, 0, 160, 80, Qt::red);
    QPainter(&stored).fillRect(160, 80, 160, 80, Qt::blue);
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    for (int exif = 1; exif <= 8; ++exif) {
        SCOPED_TRACE(testing::Message() << "orientation " << exif);
        const QString path = tmp.filePath(QStringLiteral("%1.jpg").arg(exif));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_GT(file.write(jpegWithOrientation(stored, exif)), 0);
        file.close();
        // The file holds the pixels as stored and the turn as metadata.
        QImageReader plain(path);
        plain.setAutoTransform(false);
        ASSERT_EQ(plain.transformation() == QImageIOHandler::TransformationNone, exif == 1);
        const QImage asStored = plain.read();
        ASSERT_EQ(asStored.size(), stored.size());
        // What the turn means is Qt's reading of it.
        QImageReader qt(path);
        qt.setAutoTransform(true);
        const QImage upright = qt.read().convertToFormat(QImage::Format_RGB32);

        QString error;
        const QImage read = readImageFile(path, error);
        ASSERT_FALSE(read.isNull()) << error.toStdString();
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), upright);
        if (exif != 1)
            EXPECT_NE(read.convertToFormat(QImage::Format_RGB32), asStored.convertToFormat(QImage::Format_RGB32));

        // Decoded at half size or less, still at least the size asked for, upright.
        const QSize needed = upright.size() / 3;
        const QImage small = readImageFile(path, error, {0, needed});
        ASSERT_FALSE(small.isNull()) << error.toStdString();
        EXPECT_TRUE(small.width() >= needed.width() && small.height() >= needed.height())
            << small.width() << 'x' << small.height();
        EXPECT_LT(small.width(), upright.width());
        EXPECT_EQ(small.width() > small.height(), upright.width() > upright.height());
    }
}
