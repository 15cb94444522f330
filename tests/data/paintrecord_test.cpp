// The record of what each drawing step painted must agree with the pixels the
// screens draw, on every profile and screen: a pixel it gives to colour slot s
// is one that changes when only slot s changes, and no other pixel changes; a
// pixel it gives to a sheet picture holds that picture's pixel.

#include "datatests.h"

#include "design/roles.h"
#include "preview/paintrecord.h"
#include "preview/screenimage.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

// A colour far from `c` in every channel, so a change always shows.
QRgb farFrom(QRgb c)
{
    return qRgb(qRed(c) ^ 0x80, qGreen(c) ^ 0x80, qBlue(c) ^ 0x80);
}

class PaintRecordAgreement : public ::testing::TestWithParam<int> {};

TEST_P(PaintRecordAgreement, EveryPixelIsWhatTheRecordSays)
{
    const int profile = GetParam();
    const QImage sheet = test::templateSheet(profile);
    ASSERT_FALSE(sheet.isNull());
    IconSheets icons;
    ASSERT_TRUE(readIconSheets(programFilesIn(test::programFile(QString())), icons).ok());

    for (const NamedScreen &shot : namedScreens()) {
        SCOPED_TRACE(shot.name);
        PaintRecord record;
        PreviewInput in = skinPreviewInput(sheet, profile, icons, shot.columns);
        in.record = &record;
        const QImage base = paintBoxPicture(shot, in);
        ASSERT_EQ(record.size(), base.size());

        // Pictures: every pixel given to one holds the picture's own pixel.
        int pictured = 0;
        for (int y = 0; y < base.height(); ++y)
            for (int x = 0; x < base.width(); ++x) {
                const PixelSource s = record.sourceAt(x, y);
                if (s.kind != PixelSource::Picture || s.picture < 0)
                    continue;
                const auto r = pictureRect(s.picture, profile);
                ASSERT_TRUE(r);
                ASSERT_EQ(base.pixel(x, y) | 0xff000000u,
                          sheet.pixel(r->rect().topLeft() + s.picturePixel) | 0xff000000u)
                    << x << "," << y;
                ++pictured;
            }
        EXPECT_GT(pictured, 0);

        for (int slot = 0; slot < kColourSlotCount; ++slot) {
            PreviewInput changed = skinPreviewInput(sheet, profile, icons, shot.columns);
            changed.colours[size_t(slot)] = farFrom(changed.colours[size_t(slot)]);
            const QImage other = paintBoxPicture(shot, changed);
            int mismatches = 0;
            QPoint first;
            for (int y = 0; y < base.height(); ++y)
                for (int x = 0; x < base.width(); ++x) {
                    const bool moved = base.pixel(x, y) != other.pixel(x, y);
                    const PixelSource s = record.sourceAt(x, y);
                    const bool slotSays = s.kind == PixelSource::Slot && s.slot == slot;
                    if (moved != slotSays && mismatches++ == 0)
                        first = {x, y};
                }
            EXPECT_EQ(mismatches, 0) << "slot " << slot << ", first at " << first.x() << "," << first.y();
        }

        // Every text's ink lies on pixels that show the text's colour, and
        // the step named under each ink pixel painted the colour recorded there.
        int underSlot = 0, underPicture = 0;
        for (int op = 0; op < int(record.ops().size()); ++op) {
            const PaintOp &step = record.ops()[size_t(op)];
            if (step.kind != PaintOp::Text)
                continue;
            for (const InkPixel &p : record.ink(op)) {
                ASSERT_EQ(base.pixel(p.x, p.y) | 0xff000000u, step.colour) << qPrintable(step.text);
                ASSERT_LT(p.underOp, op) << qPrintable(step.text);
                const PixelSource s = record.sourceOf(p.underOp, p.x, p.y);
                // ... and it is one of the surfaces the text's role declares.
                if (step.slot >= 0)
                    ASSERT_EQ(design::surfaceOf(s) & ~design::role(step.slot).liesOn, 0)
                        << qPrintable(step.text) << " slot " << step.slot;
                if (s.kind == PixelSource::Slot) {
                    ASSERT_EQ(p.under, in.colours[size_t(s.slot)] | 0xff000000u) << qPrintable(step.text);
                    ++underSlot;
                } else if (s.kind == PixelSource::Picture && s.picture >= 0) {
                    const auto r = pictureRect(s.picture, profile);
                    ASSERT_EQ(p.under, sheet.pixel(r->rect().topLeft() + s.picturePixel) | 0xff000000u)
                        << qPrintable(step.text);
                    ++underPicture;
                }
            }
        }
        EXPECT_GT(underSlot + underPicture, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, PaintRecordAgreement, ::testing::Range(1, kProfileCount + 1));

} // namespace
} // namespace zelkor
