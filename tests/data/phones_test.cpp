// The six phone pictures in the program folder's devices/: real JPEG files
// that fit the main window's phone area, with the screen rectangle exactly at
// the profile's preview offset (the generator fills it with one dark colour).

#include "datatests.h"

#include "datagen/phones.h"
#include "datagen/theme.h"

#include "skin/profiles.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <gtest/gtest.h>

namespace zelkor {
namespace {

// JPEG noise allowed on the screen colour, and the least difference that
// counts as "not the screen colour" just outside it.
constexpr int kNoise = 16;
constexpr int kOutside = 48;

class PhonePictureTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        pr = profileByIndex(GetParam());
        path = test::programFile(QString::fromUtf8(pr->photoName));
        ASSERT_TRUE(QFileInfo::exists(path)) << qPrintable(path);
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        format = reader.format();
        picture = reader.read().convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(picture.isNull()) << qPrintable(path) << ": " << qPrintable(reader.errorString());
        screen = QRect(pr->previewOffset, pr->screenSize());
    }

    const Profile *pr = nullptr;
    QString path;
    QByteArray format;
    QImage picture;
    QRect screen;
};

TEST_P(PhonePictureTest, IsARealJpegFile)
{
    EXPECT_EQ(format, QByteArray("jpeg"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(3), QByteArray("\xff\xd8\xff", 3));
}

TEST_P(PhonePictureTest, FitsThePhoneAreaAndHoldsTheScreen)
{
    EXPECT_LE(picture.width(), datagen::kPhoneAreaLimit.width());
    EXPECT_LE(picture.height(), datagen::kPhoneAreaLimit.height());
    // With room for the light frame around the screen.
    EXPECT_TRUE(picture.rect().adjusted(3, 3, -3, -3).contains(screen));
}

TEST_P(PhonePictureTest, ScreenRectangleLiesAtThePreviewOffset)
{
    const QRgb dark = datagen::phoneScreenColour();
    const QPoint corners[] = {screen.topLeft(), screen.topRight(), screen.bottomLeft(), screen.bottomRight()};
    const QPoint inward[] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    for (int k = 0; k < 4; ++k) {
        // Just inside: the corner pixel and one step in.
        for (int step : {0, 1}) {
            const QPoint in = corners[k] + inward[k] * step;
            EXPECT_LE(test::channelDistance(picture.pixel(in), dark), kNoise)
                << "inside corner " << k << " at (" << in.x() << ", " << in.y() << ")";
        }
        // Just outside: one and two steps out, diagonally and along both edges.
        for (int step : {1, 2}) {
            for (const QPoint &dir : {QPoint(-inward[k].x(), -inward[k].y()), QPoint(-inward[k].x(), 0),
                                      QPoint(0, -inward[k].y())}) {
                const QPoint out = corners[k] + dir * step;
                EXPECT_GE(test::channelDistance(picture.pixel(out), dark), kOutside)
                    << "outside corner " << k << " at (" << out.x() << ", " << out.y() << ")";
            }
        }
    }
}

TEST_P(PhonePictureTest, WholeScreenIsTheDarkColour)
{
    const QRgb dark = datagen::phoneScreenColour();
    int off = 0;
    for (int y = screen.top(); y <= screen.bottom(); ++y)
        for (int x = screen.left(); x <= screen.right(); ++x)
            off += test::channelDistance(picture.pixel(x, y), dark) > kNoise;
    EXPECT_EQ(off, 0);
}

TEST_P(PhonePictureTest, PhoneStandsOnWhite)
{
    // The picture's corners are the white of the main window's phone area.
    for (const QPoint &p : {QPoint(0, 0), QPoint(picture.width() - 1, 0), QPoint(0, picture.height() - 1),
                            QPoint(picture.width() - 1, picture.height() - 1)})
        EXPECT_LE(test::channelDistance(picture.pixel(p), qRgb(255, 255, 255)), kNoise);
}

INSTANTIATE_TEST_SUITE_P(Profiles, PhonePictureTest, ::testing::Range(1, kProfileCount + 1),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return std::string("profile") + std::to_string(info.param) + "_" +
                                    profileByIndex(info.param)->label;
                         });

} // namespace
} // namespace zelkor
