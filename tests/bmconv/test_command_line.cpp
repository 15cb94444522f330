// Telling options from file names: the traps of the converter's command line.
#include "mbm/command_line.h"

#include <gtest/gtest.h>

using namespace mbm;

namespace {

struct PackCase {
    const char* name;
    std::vector<std::string> args;
    std::string target;
    std::vector<std::pair<std::string, std::string>> sources; // path, depth option
    bool noCompression = false;
};

class PackLine : public ::testing::TestWithParam<PackCase> {};

TEST_P(PackLine, SplitsIntoTargetAndSources)
{
    const PackCase& c = GetParam();
    auto cmd = parseCommandLine(c.args);
    ASSERT_TRUE(cmd) << cmd.error().message;
    EXPECT_EQ(cmd->mode, Mode::Pack);
    EXPECT_EQ(cmd->mbmPath, c.target);
    EXPECT_EQ(cmd->noCompression, c.noCompression);
    ASSERT_EQ(cmd->sources.size(), c.sources.size());
    for (std::size_t i = 0; i < c.sources.size(); ++i) {
        EXPECT_EQ(cmd->sources[i].path, c.sources[i].first);
        EXPECT_EQ(depthOption(cmd->sources[i].depth), c.sources[i].second);
    }
}

INSTANTIATE_TEST_SUITE_P(Traps, PackLine, ::testing::Values(
    PackCase{"EditorSave", {"extskin_240x320_мой скин.mbm", "/c24local.bmp"}, "extskin_240x320_мой скин.mbm", {{"local.bmp", "c24"}}},
    PackCase{"EveryEditorDepth", {"o.mbm", "/c4a.bmp", "/c8b.bmp", "/c12c.bmp", "/c16d.bmp"}, "o.mbm",
             {{"a.bmp", "c4"}, {"b.bmp", "c8"}, {"c.bmp", "c12"}, {"d.bmp", "c16"}}},
    PackCase{"NoDepthMeansTwoBitGrey", {"o.mbm", "local.bmp"}, "o.mbm", {{"local.bmp", "2"}}},
    PackCase{"AbsoluteTargetIsNotHeaderOption", {"/home/x/out.mbm", "/c24/home/x/in.bmp"}, "/home/x/out.mbm", {{"/home/x/in.bmp", "c24"}}},
    PackCase{"RootLevelMbmIsAFile", {"/hello.mbm", "/8a.bmp"}, "/hello.mbm", {{"a.bmp", "8"}}},
    PackCase{"AbsoluteSourceWithoutDepth", {"o.mbm", "/home/x/in.bmp"}, "o.mbm", {{"/home/x/in.bmp", "2"}}},
    PackCase{"C24ThenLetterAIsNotAlpha", {"o.mbm", "/c24agbw24.bmp"}, "o.mbm", {{"agbw24.bmp", "c24"}}},
    PackCase{"C32ThenLetterAIsAlpha", {"o.mbm", "/c32alpha.bmp"}, "o.mbm", {{"lpha.bmp", "c32a"}}},
    PackCase{"C8ThenDigitKeepsTheDigit", {"o.mbm", "/c8256.bmp", "/c42.bmp"}, "o.mbm", {{"256.bmp", "c8"}, {"2.bmp", "c4"}}},
    PackCase{"GreyDepthThenDigit", {"o.mbm", "/12.bmp", "-24.bmp"}, "o.mbm", {{"2.bmp", "1"}, {"4.bmp", "2"}}},
    PackCase{"DashAndUpperCase", {"-N", "-Q", "o.mbm", "-C16x.bmp"}, "o.mbm", {{"x.bmp", "c16"}}, true},
    PackCase{"GlobalsStopAtFirstName", {"/n", "o.mbm", "/n"}, "o.mbm", {{"/n", "2"}}, true},
    PackCase{"BlankAndCyrillicSource", {"out.mbm", "/c12Мой файл.bmp"}, "out.mbm", {{"Мой файл.bmp", "c12"}}},
    PackCase{"PixelLimitAfterANameIsASource", {"o.mbm", "--max-pixels=5"}, "o.mbm", {{"--max-pixels=5", "2"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, EditorUnpackWithAbsolutePaths)
{
    auto cmd = parseCommandLine({"/u", "/home/Иван/skins/my skin.mbm", "/opt/zelkor/temp.bmp"});
    ASSERT_TRUE(cmd) << cmd.error().message;
    EXPECT_EQ(cmd->mode, Mode::Unpack);
    EXPECT_EQ(cmd->mbmPath, "/home/Иван/skins/my skin.mbm");
    EXPECT_EQ(cmd->bmpPaths, std::vector<std::string>{"/opt/zelkor/temp.bmp"});
}

TEST(CommandLine, ListAndHelp)
{
    EXPECT_EQ(parseCommandLine({"-v", "a.mbm"})->mode, Mode::List);
    EXPECT_EQ(parseCommandLine({})->mode, Mode::Help);
    EXPECT_EQ(parseCommandLine({"--help"})->mode, Mode::Help);
    auto palette = parseCommandLine({"/pmy.pal", "o.mbm", "/c8a.bmp"});
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->palettePath, "my.pal");
}

TEST(CommandLine, PixelLimit)
{
    const std::pair<std::vector<std::string>, std::uint64_t> lines[] = {
        {{"--max-pixels=2000000", "/u", "a.mbm", "b.bmp"}, 2000000},
        {{"/u", "--max-pixels=1", "a.mbm", "b.bmp"}, 1},
        {{"--max-pixels=18446744073709551615", "o.mbm", "/c24a.bmp"}, UINT64_MAX},
        {{"/u", "a.mbm", "b.bmp"}, 0},
    };
    for (const auto& [args, limit] : lines) {
        auto cmd = parseCommandLine(args);
        ASSERT_TRUE(cmd) << cmd.error().message;
        EXPECT_EQ(cmd->maxPixels, limit) << args[0];
    }
}

struct BadLine {
    const char* name;
    std::vector<std::string> args;
    ErrorCode code;
};

class RejectedLine : public ::testing::TestWithParam<BadLine> {};

TEST_P(RejectedLine, WithTheRightCode)
{
    auto cmd = parseCommandLine(GetParam().args);
    ASSERT_FALSE(cmd);
    EXPECT_EQ(cmd.error().code, GetParam().code) << cmd.error().message;
}

INSTANTIATE_TEST_SUITE_P(Lines, RejectedLine, ::testing::Values(
    BadLine{"UnpackWithoutTarget", {"/u", "a.mbm"}, ErrorCode::BadArgument},
    BadLine{"UnpackAndList", {"/u", "/v", "a.mbm", "b.bmp"}, ErrorCode::BadArgument},
    BadLine{"ListTooMany", {"/v", "a.mbm", "b.mbm"}, ErrorCode::TooManyArguments},
    BadLine{"TargetOnly", {"/n", "o.mbm"}, ErrorCode::BadArgument},
    BadLine{"CommandFile", {"commands.txt"}, ErrorCode::BadCommandFile},
    BadLine{"DepthWithoutName", {"o.mbm", "/c24"}, ErrorCode::BadArgument},
    BadLine{"RomStore", {"/r", "o.mbm", "a.bmp"}, ErrorCode::BadArgument},
    BadLine{"HeaderFile", {"/hout.mbg", "o.mbm", "a.bmp"}, ErrorCode::BadArgument},
    BadLine{"UnknownDashOption", {"-x", "o.mbm", "a.bmp"}, ErrorCode::BadArgument},
    BadLine{"PixelLimitWithoutNumber", {"--max-pixels=", "/u", "a.mbm", "b.bmp"}, ErrorCode::BadArgument},
    BadLine{"PixelLimitWithoutEquals", {"--max-pixels", "/u", "a.mbm", "b.bmp"}, ErrorCode::BadArgument},
    BadLine{"PixelLimitZero", {"--max-pixels=0", "/u", "a.mbm", "b.bmp"}, ErrorCode::BadArgument},
    BadLine{"PixelLimitSigned", {"--max-pixels=+5", "/u", "a.mbm", "b.bmp"}, ErrorCode::BadArgument},
    BadLine{"PixelLimitNotANumber", {"--max-pixels=4k", "/u", "a.mbm", "b.bmp"}, ErrorCode::BadArgument},
    BadLine{"PixelLimitTooBig", {"--max-pixels=18446744073709551616", "/u", "a.mbm", "b.bmp"}, ErrorCode::BadArgument},
    BadLine{"PixelLimitOtherSpelling", {"-max-pixels=5", "/u", "a.mbm", "b.bmp"}, ErrorCode::BadArgument}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
