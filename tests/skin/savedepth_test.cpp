// Saving at a depth: the sizes the depth dialog shows are those of the files
// the converter writes, a second save replaces the first in one step (and a
// failed one leaves it whole), and smoothing never touches the colours.
#include "skin/converter.h"
#include "skin/depthpreview.h"
#include "skin/profiles.h"
#include "skin/savedepth.h"
#include "skin/skindocument.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelkor;
using namespace zelkor::test;

namespace {

class SaveDepthTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFileInfo(converterPath(programFolder())).isExecutable())
            GTEST_SKIP() << "bmconv is not built in " << programFolder().toStdString();
        root = QDir(tmp.path());
        ASSERT_TRUE(root.mkpath(QStringLiteral("программа")));
        files = programFilesIn(root.filePath(QStringLiteral("программа")));
        ASSERT_TRUE(QFile::link(converterPath(programFolder()), files.converter));
        doc = std::make_unique<SkinDocument>(files, root.filePath(QStringLiteral("работа")));
        ASSERT_TRUE(doc->adoptUnsaved(coordinateSheet(240, 740), QStringLiteral("x.mbm")));
    }
    QByteArray bytes(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir tmp;
    QDir root;
    ProgramFiles files;
    std::unique_ptr<SkinDocument> doc;
};

TEST_F(SaveDepthTest, SizesAreThoseOfTheWrittenFiles)
{
    const DepthFileSizes sizes = depthFileSizes(doc->sheet(), doc->profile());
    for (size_t i = 0; i < kColourDepths.size(); ++i)
        for (bool smooth : {false, true}) {
            const QString option = depthOption(int(i));
            const std::int64_t want = smooth ? sizes.smoothed[i] : sizes.plain[i];
            EXPECT_EQ(want < 0, smooth && !canSmooth(option)) << option.toStdString();
            if (want < 0)
                continue;
            const QString path = root.filePath(QStringLiteral("%1%2.mbm").arg(i).arg(smooth));
            ASSERT_TRUE(doc->saveTo(path, option, IfExists::Refuse, smooth));
            EXPECT_EQ(QFileInfo(path).size(), want) << option.toStdString() << " smooth " << smooth;
            EXPECT_EQ(skinFileDepth(path), option);
        }
    // Smoothing makes the pictures noisier, so they pack less well.
    EXPECT_GT(sizes.smoothed[0], sizes.plain[0]);
}

TEST_F(SaveDepthTest, SavingAgainReplacesInOneStepAndAFailureKeepsTheFirstFile)
{
    const QString path = root.filePath(QStringLiteral("extskin_240x320_мой.mbm"));
    ASSERT_TRUE(doc->saveTo(path, QStringLiteral("/c24"), IfExists::Refuse));
    EXPECT_TRUE(doc->hasOwnFile());
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QByteArray first = bytes(path);

    // Refused without leave, replaced with it: permissions kept, depth taken.
    EXPECT_FALSE(doc->saveTo(path, QStringLiteral("/c16"), IfExists::Refuse));
    EXPECT_EQ(bytes(path), first);
    ASSERT_TRUE(doc->setColourSlot(0, qRgb(1, 2, 3)));
    ASSERT_TRUE(doc->saveTo(path, QStringLiteral("/c16"), IfExists::Replace));
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(doc->fileDepth(), QStringLiteral("/c16"));
    EXPECT_EQ(skinFileDepth(path), QStringLiteral("/c16"));
    EXPECT_EQ(QFileInfo(path).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QByteArray second = bytes(path);
    EXPECT_NE(second, first);

    // A converter that fails half way leaves the second file whole and nothing else.
    QFile::remove(files.converter);
    QFile script(files.converter);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho half > skin.mbm; exit 3\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    ASSERT_TRUE(doc->setColourSlot(0, qRgb(4, 5, 6)));
    EXPECT_FALSE(doc->saveTo(path, QStringLiteral("/c24"), IfExists::Replace));
    EXPECT_EQ(bytes(path), second);
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(root.entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("extskin_240x320_мой.mbm")});
}

TEST(SmoothedSheet, OnlyThePicturesChangeAndTheyFitThePalette)
{
    for (int profile : {1, 6})
        for (const char *option : {"/c4", "/c8"}) {
            const Profile &p = *profileByIndex(profile);
            const QImage sheet = coordinateSheet(p.screenWidth, p.layoutRows + 3);
            const QImage smooth = smoothedSheet(sheet, profile, QString::fromLatin1(option));
            // What the file gives back is what smoothing made of the pictures.
            const QImage back = sheetAtDepth(smooth, QString::fromLatin1(option));
            int changed = 0;
            for (int y = 0; y < sheet.height(); ++y)
                for (int x = 0; x < sheet.width(); ++x) {
                    bool inPicture = false;
                    for (int i = 0; i < 9; ++i)
                        inPicture |= pictureRect(i, profile)->rect().contains(x, y);
                    const auto row = colourRow(profile);
                    if (y == row->row && x >= row->firstColumn && x < row->firstColumn + kColourSlotCount)
                        inPicture = false;
                    if (!inPicture)
                        ASSERT_EQ(smooth.pixel(x, y), sheet.pixel(x, y)) << option << " " << x << "," << y;
                    else
                        ASSERT_EQ(back.pixel(x, y), smooth.pixel(x, y)) << option << " " << x << "," << y;
                    changed += smooth.pixel(x, y) != sheet.pixel(x, y);
                }
            EXPECT_GT(changed, sheet.width() * 10) << option;
            EXPECT_EQ(smoothedSheet(sheet, profile, QStringLiteral("/c16")), sheet);
        }
}

} // namespace
