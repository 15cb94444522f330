// Picture and profile numbers from outside the tables are refused by every
// sheet operation, never read past a table's end.
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace zelkor;

TEST(SheetBounds, PicturesAndProfilesOutsideTheTablesAreRefused)
{
    const QImage source(8, 8, QImage::Format_RGB32);
    struct Row {
        int picture, profile;
        bool valid;
    };
    const Row rows[] = {
        {0, 1, true},   {kPictureCount - 1, 6, true}, {kPictureCount, 1, false}, {-1, 1, false},
        {0, 0, false},  {0, 7, false},                {kPictureCount, 6, false},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << "picture " << r.picture << ", profile " << r.profile);
        const auto *p = profileByIndex(r.profile);
        QImage sheet = p ? zelkor::test::coordinateSheet(p->screenWidth, 1200) : QImage(176, 800, QImage::Format_RGB32);
        const QImage before = sheet;
        EXPECT_EQ(pictureRect(r.picture, r.profile).has_value(), r.valid);
        EXPECT_EQ(!cutOutPicture(sheet, r.profile, r.picture).isNull(), r.valid);
        EXPECT_EQ(writeBackPicture(sheet, r.profile, r.picture, source), r.valid);
        EXPECT_EQ(placePicture(sheet, r.profile, r.picture, source, {FitMode::Stretch}), r.valid);
        if (!r.valid)
            EXPECT_EQ(sheet, before);
    }
}
