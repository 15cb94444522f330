// The two icon sheets in the program folder: sizes, and the mask/image rule
// that the masked icon draw (AND the mask, OR the image) relies on.

#include "datatests.h"

#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

namespace zelkor {
namespace {

struct SheetCase {
    const char *file;
    int cell;
    std::vector<int> usedRows;  // the icon cells the preview draws
};

const SheetCase kSheets[] = {
    {"icons.bmp", 16, {0, 1, 2, 3, 88, 94}},
    {"icons32.bmp", 32, {0, 1, 2, 3, 86, 94}},
};

class IconSheetTest : public ::testing::TestWithParam<SheetCase> {
protected:
    void SetUp() override
    {
        const QString path = test::programFile(QString::fromUtf8(GetParam().file));
        ASSERT_TRUE(QFileInfo::exists(path)) << qPrintable(path);
        sheet = QImage(path).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(sheet.isNull()) << qPrintable(path);
    }

    struct CellCount {
        int opaque = 0;
        int transparent = 0;
        int grey = 0;              // mask pixels that are neither black nor white
        int imageUnderClear = 0;   // image pixels that are not black where the mask is white
    };
    CellCount count(int row) const
    {
        const int s = GetParam().cell;
        CellCount c;
        for (int y = row * s; y < row * s + s; ++y) {
            for (int x = 0; x < s; ++x) {
                const QRgb mask = sheet.pixel(s + x, y) & 0xffffffu;
                const QRgb image = sheet.pixel(x, y) & 0xffffffu;
                if (mask == 0)
                    ++c.opaque;
                else if (mask == 0xffffffu) {
                    ++c.transparent;
                    c.imageUnderClear += image != 0;
                } else
                    ++c.grey;
            }
        }
        return c;
    }

    QImage sheet;
};

TEST_P(IconSheetTest, HasTwoCellColumnsAndAtLeast95CellRows)
{
    const int s = GetParam().cell;
    EXPECT_EQ(sheet.width(), 2 * s);
    EXPECT_GE(sheet.height(), 95 * s);
    EXPECT_EQ(sheet.height() % s, 0);
}

TEST_P(IconSheetTest, EveryMaskIsBlackOrWhiteAndTheImageIsBlackUnderWhite)
{
    for (int row = 0; row < sheet.height() / GetParam().cell; ++row) {
        const CellCount c = count(row);
        EXPECT_EQ(c.grey, 0) << "row " << row;
        EXPECT_EQ(c.imageUnderClear, 0) << "row " << row;
    }
}

TEST_P(IconSheetTest, UsedRowsHoldAnIconWithOpaqueAndTransparentPixels)
{
    const int s = GetParam().cell;
    for (int row : GetParam().usedRows) {
        const CellCount c = count(row);
        // A recognisable icon: a good part of the cell drawn, a clear margin left.
        EXPECT_GE(c.opaque, s * s / 5) << "row " << row;
        EXPECT_GE(c.transparent, s * s / 8) << "row " << row;
        // And not just black: the image carries colour where it is opaque.
        int coloured = 0;
        for (int y = row * s; y < row * s + s; ++y)
            for (int x = 0; x < s; ++x)
                coloured += (sheet.pixel(s + x, y) & 0xffffffu) == 0 && qGray(sheet.pixel(x, y)) > 60;
        EXPECT_GE(coloured, c.opaque / 3) << "row " << row;
    }
}

TEST_P(IconSheetTest, EveryRowHoldsAnIcon)
{
    for (int row = 0; row < sheet.height() / GetParam().cell; ++row) {
        const CellCount c = count(row);
        EXPECT_GT(c.opaque, 0) << "row " << row;
        EXPECT_GT(c.transparent, 0) << "row " << row;
    }
}

INSTANTIATE_TEST_SUITE_P(Sheets, IconSheetTest, ::testing::ValuesIn(kSheets),
                         [](const ::testing::TestParamInfo<SheetCase> &info) {
                             return std::string(info.param.cell == 16 ? "small" : "large");
                         });

TEST(IconSheets, HoldTheSameIconsRowForRow)
{
    // The large sheet is the small one drawn at twice the size: scaled down,
    // its masks cover nearly the same pixels.
    const QImage small = QImage(test::programFile(QStringLiteral("icons.bmp"))).convertToFormat(QImage::Format_RGB32);
    const QImage large = QImage(test::programFile(QStringLiteral("icons32.bmp"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(small.height() * 2, large.height());
    for (int row = 0; row < small.height() / 16; ++row) {
        int agree = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                int dark = 0;
                for (int d = 0; d < 4; ++d)
                    dark += (large.pixel(32 + 2 * x + d % 2, 32 * row + 2 * y + d / 2) & 0xffffffu) == 0;
                const bool smallOpaque = (small.pixel(16 + x, 16 * row + y) & 0xffffffu) == 0;
                agree += smallOpaque == (dark >= 2);
            }
        }
        EXPECT_GE(agree, 256 * 8 / 10) << "row " << row;
    }
}

} // namespace
} // namespace zelkor
