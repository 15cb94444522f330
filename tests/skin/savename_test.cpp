// Save names, depth options and the converter's argument lists.
#include "skin/converter.h"
#include "skin/savename.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace zelkor;

namespace {

struct NameCase {
    const char *chosen;
    int profile;
    const char *outputName;
    const char *targetPath;
};

class SaveNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SaveNameTest, PrefixAndExtension)
{
    const NameCase &c = GetParam();
    const SaveTarget t = saveTarget(QString::fromUtf8(c.chosen), c.profile);
    EXPECT_EQ(t.outputName, QString::fromUtf8(c.outputName));
    EXPECT_EQ(t.targetPath, QString::fromUtf8(c.targetPath));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SaveNameTest,
    ::testing::Values(
        NameCase{"/skins/a.bin", 1, "extskin_176x208_a.bin", "/skins/extskin_176x208_a.bin"},
        NameCase{"/skins/myskin", 3, "extskin_240x320_myskin.mbm", "/skins/extskin_240x320_myskin.mbm"},
        NameCase{"/skins/myskin", 0, "myskin.mbm", "/skins/myskin.mbm"},
        NameCase{"/skins/a.mbm", 2, "extskin_208x176_a.mbm", "/skins/extskin_208x176_a.mbm"},
        NameCase{"/skins/x", 4, "extskin_320x240_x.mbm", "/skins/extskin_320x240_x.mbm"},
        NameCase{"/skins/x", 5, "extskin_352x416_x.mbm", "/skins/extskin_352x416_x.mbm"},
        NameCase{"/skins/x", 6, "extskin_416x352_x.mbm", "/skins/extskin_416x352_x.mbm"},
        // A dot in the folder is not the name's extension.
        NameCase{"/my.skins/new skin", 1, "extskin_176x208_new skin.mbm", "/my.skins/extskin_176x208_new skin.mbm"},
        // Typed with the prefix (saving a saved skin again): not doubled; another profile's prefix is just a name.
        NameCase{"/s/extskin_176x208_my", 1, "extskin_176x208_my.mbm", "/s/extskin_176x208_my.mbm"},
        NameCase{"/s/extskin_176x208_my", 2, "extskin_208x176_extskin_176x208_my.mbm",
                 "/s/extskin_208x176_extskin_176x208_my.mbm"},
        NameCase{"/Мои скины/тёмный", 6, "extskin_416x352_тёмный.mbm", "/Мои скины/extskin_416x352_тёмный.mbm"}));

TEST(SaveName, PrefixOnlyForAProfile)
{
    EXPECT_EQ(savePrefix(0), QString());
    EXPECT_EQ(savePrefix(7), QString());
    EXPECT_EQ(savePrefix(3), QStringLiteral("extskin_240x320_"));
}

TEST(DepthOptions, ItemsAndOptions)
{
    const char *const options[] = {"/c4", "/c8", "/c12", "/c16", "/c24"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(depthOption(i), QString::fromLatin1(options[i])) << i;
    EXPECT_EQ(depthOption(-1), QString());
    EXPECT_EQ(depthOption(5), QString());
}

TEST(DepthOptions, PreselectionTakesTheFirstSaveDepth)
{
    const QString none, c4 = QStringLiteral("/c4"), c8 = QStringLiteral("/c8"), c16 = QStringLiteral("/c16");
    // file's depth, last saved, preview's -> item
    const struct { QString file, last, preview; int item; } cases[] = {
        {c16, c8, c4, 3}, {none, c8, c4, 1}, {none, none, c4, 0},
        {QStringLiteral("/c32"), none, QStringLiteral("c8"), 4}, {none, none, none, 4},
    };
    for (const auto &c : cases)
        EXPECT_EQ(preselectedDepthItem({c.file, c.last, c.preview}), c.item) << c.file.toStdString() << c.last.toStdString();
}

TEST(ConverterArguments, DepthGluedToTheBitmapName)
{
    EXPECT_EQ(packArguments(QStringLiteral("extskin_240x320_myskin.mbm"), QStringLiteral("/c24")),
              (QStringList{QStringLiteral("extskin_240x320_myskin.mbm"), QStringLiteral("/c24local.bmp")}));
    EXPECT_EQ(packArguments(QStringLiteral("a b.mbm"), QString()),
              (QStringList{QStringLiteral("a b.mbm"), QStringLiteral("local.bmp")}));
    // With no profile the name is the user's alone; one that looks like an
    // option must still reach the converter as a file name.
    EXPECT_EQ(packArguments(QStringLiteral("-hx.mbm"), QStringLiteral("/c16")).first(), QStringLiteral("./-hx.mbm"));
    EXPECT_EQ(unpackArguments(QStringLiteral("/a b/c.mbm"), QStringLiteral("/p q/temp.bmp"), 99),
              (QStringList{QStringLiteral("--max-pixels=99"), QStringLiteral("/u"), QStringLiteral("/a b/c.mbm"),
                           QStringLiteral("/p q/temp.bmp")}));
    // A skin at "/n" is the same file as "/./n", which is no option.
    EXPECT_EQ(unpackArguments(QStringLiteral("/n"), QStringLiteral("-o.bmp"), 1).mid(2),
              (QStringList{QStringLiteral("/./n"), QStringLiteral("./-o.bmp")}));
}

} // namespace
