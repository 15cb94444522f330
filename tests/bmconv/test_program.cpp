// The bmconv program as the editor and users run it: argument lists with
// blanks and Cyrillic letters, exit codes, messages, and no output on failure.
#include "mbm/bmp.h"
#include "mbm/mbm.h"
#include "support.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace mbm;
using testing_support::readAll;
using testing_support::runConverter;
using testing_support::TempDir;
using testing_support::writeAll;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> folderContents(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::size_t lineCount(const std::string& s) { return static_cast<std::size_t>(std::count(s.begin(), s.end(), '\n')); }

TEST(Program, EditorSaveAndLoadInAFolderWithBlanksAndCyrillic)
{
    TempDir tmp;
    const fs::path folder = tmp / "Программа с пробелами";
    fs::create_directory(folder);
    const Image sheet = testing_support::patternImage(176, 50);
    const auto local = writeBmp24(sheet);
    writeAll(folder / "local.bmp", local);
    for (const char* depth : {"/c4", "/c8", "/c12", "/c16", "/c24"}) {
        SCOPED_TRACE(depth);
        const std::string name = "extskin_176x208_мой скин.mbm";
        const auto save = runConverter({name, std::string(depth) + "local.bmp"}, folder);
        ASSERT_EQ(save.exitCode, 0) << save.err;
        EXPECT_TRUE(save.err.empty());
        EXPECT_NE(save.out.find("Success.\n"), std::string::npos);
        // The editor's load, with a limit the sheet meets exactly.
        const auto load = runConverter(
            {"--max-pixels=8800", "/u", (folder / name).string(), (folder / "temp.bmp").string()}, tmp.path());
        ASSERT_EQ(load.exitCode, 0) << load.err;
        auto unpacked = readBmp(readAll(folder / "temp.bmp"));
        ASSERT_TRUE(unpacked);
        EXPECT_EQ(unpacked->width, 176);
        EXPECT_EQ(unpacked->height, 50);
        if (std::string(depth) == "/c24")
            EXPECT_TRUE(readAll(folder / "temp.bmp") == local) << "24 bits must come back byte for byte";
    }
    EXPECT_EQ(folderContents(folder), (std::vector<std::string>{"extskin_176x208_мой скин.mbm", "local.bmp", "temp.bmp"}));
}

TEST(Program, QuietPrintsNothingOnSuccess)
{
    TempDir tmp;
    writeAll(tmp / "a.bmp", writeBmp24(testing_support::patternImage(4, 4)));
    const auto r = runConverter({"-q", "--max-pixels=16", "o.mbm", "-c16a.bmp"}, tmp.path());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(Program, UnpackExtractsSeveralBitmapsAndFailsWhenNamesRunOut)
{
    TempDir tmp;
    Image a = testing_support::patternImage(5, 3), b = testing_support::patternImage(7, 2);
    writeAll(tmp / "two.mbm", serialiseMbm({encodeBitmap(a, {24, ColourFlag::Colour}), encodeBitmap(b, {24, ColourFlag::Colour})}));
    const auto r = runConverter({"/u", "two.mbm", "a.bmp", "b.bmp", "c.bmp"}, tmp.path());
    EXPECT_EQ(r.exitCode, 7);
    EXPECT_EQ(lineCount(r.err), 1u);
    EXPECT_NE(r.err.find("two.mbm"), std::string::npos);
    EXPECT_TRUE(readAll(tmp / "a.bmp") == writeBmp24(a));
    EXPECT_TRUE(readAll(tmp / "b.bmp") == writeBmp24(b));
    EXPECT_FALSE(fs::exists(tmp / "c.bmp"));
}

TEST(Program, AlphaSourceTravelsThroughPackAndUnpack)
{
    TempDir tmp;
    Image pic = testing_support::patternImage(6, 3);
    pic.alpha = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 255};
    writeAll(tmp / "pic.bmp", writeBmp24(pic));
    writeAll(tmp / "pic-alpha.bmp", writeAlphaBmp8(pic));
    const auto pack = runConverter({"out.mbm", "/c32apic.bmp"}, tmp.path());
    ASSERT_EQ(pack.exitCode, 0) << pack.err;
    const auto unpack = runConverter({"/u", "out.mbm", "back.bmp"}, tmp.path());
    ASSERT_EQ(unpack.exitCode, 0) << unpack.err;
    EXPECT_TRUE(readAll(tmp / "back.bmp") == writeBmp24(pic));
    EXPECT_TRUE(readAll(tmp / "back-alpha.bmp") == writeAlphaBmp8(pic));
}

struct FailingRun {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    const char* file;   // the file the message must name
    const char* phrase; // and the cause
};

class ProgramFails : public ::testing::TestWithParam<FailingRun> {};

// Sources prepared in every run's folder: a good picture, a 24-bit "alpha"
// file and an alpha file of the wrong size.
TEST_P(ProgramFails, WithOneLineAndNoOutput)
{
    const FailingRun& c = GetParam();
    TempDir tmp;
    const Image pic = testing_support::patternImage(4, 4);
    writeAll(tmp / "pic.bmp", writeBmp24(pic));
    writeAll(tmp / "rgb.bmp", writeBmp24(pic));
    writeAll(tmp / "rgb-alpha.bmp", writeBmp24(pic));
    Image small = testing_support::patternImage(2, 2);
    small.alpha.assign(4, 9);
    writeAll(tmp / "big.bmp", writeBmp24(pic));
    writeAll(tmp / "big-alpha.bmp", writeAlphaBmp8(small));
    // A few bytes that claim a 20000 x 20000 picture, which unpacks to 1.2 GB.
    writeAll(tmp / "bomb.mbm", testing_support::buildFile({{20000, 20000, 1, 0, 1, {0x7F, 0x00}}}));
    const auto before = folderContents(tmp.path());
    const auto r = runConverter(c.args, tmp.path());
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_EQ(lineCount(r.err), 1u) << r.err;
    EXPECT_NE(r.err.find(c.file), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.phrase), std::string::npos) << r.err;
    EXPECT_EQ(folderContents(tmp.path()), before);
}

INSTANTIATE_TEST_SUITE_P(Runs, ProgramFails, ::testing::Values(
    FailingRun{"MissingSource", {"o.mbm", "/c24nothere.bmp"}, 3, "nothere.bmp", "does not exist"},
    FailingRun{"MissingMbm", {"/u", "nothere.mbm", "o.bmp"}, 3, "nothere.mbm", "does not exist"},
    FailingRun{"SecondSourceMissing", {"o.mbm", "/c24pic.bmp", "/c24gone.bmp"}, 3, "gone.bmp", "does not exist"},
    FailingRun{"TargetFolderMissing", {"no/such/folder/o.mbm", "/c24pic.bmp"}, 5, "o.mbm", "cannot create"},
    FailingRun{"AlphaMissing", {"o.mbm", "/c32apic.bmp"}, 15, "pic-alpha.bmp", "alpha file"},
    FailingRun{"AlphaNotEightBit", {"o.mbm", "/c32argb.bmp"}, 17, "rgb-alpha.bmp", "8 bpp"},
    FailingRun{"AlphaOtherSize", {"o.mbm", "/c32abig.bmp"}, 16, "big-alpha.bmp", "2 x 2"},
    FailingRun{"PaletteFileMissing", {"/pnone.pal", "o.mbm", "/c8pic.bmp"}, 6, "none.pal", "palette file"},
    FailingRun{"SourceIsAFolder", {"o.mbm", "/c24."}, 4, ".", "not a regular file"},
    FailingRun{"RomStore", {"/s", "o.mbm", "pic.bmp"}, 2, "/s", "not supported"},
    FailingRun{"UnpackOverPixelLimit", {"--max-pixels=1000000", "/u", "bomb.mbm", "o.bmp"}, 18, "bomb.mbm",
               "bomb.mbm: bitmap 20000 x 20000 is larger than the limit of 1000000 pixels"},
    FailingRun{"PackOverPixelLimit", {"--max-pixels=15", "o.mbm", "/c24pic.bmp"}, 18, "pic.bmp",
               "pic.bmp: bitmap 4 x 4 is larger than the limit of 15 pixels"},
    FailingRun{"BadPixelLimit", {"--max-pixels=1e6", "/u", "bomb.mbm", "o.bmp"}, 2, "--max-pixels=1e6", "positive whole number"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Program, FailedPackKeepsTheExistingTarget)
{
    TempDir tmp;
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    writeAll(tmp / "skin.mbm", old);
    const auto r = runConverter({"skin.mbm", "/c24missing.bmp"}, tmp.path());
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(readAll(tmp / "skin.mbm"), old);
    EXPECT_EQ(folderContents(tmp.path()), std::vector<std::string>{"skin.mbm"});
}

TEST(Program, CustomPaletteChangesEightBitIndices)
{
    TempDir tmp;
    Image red;
    red.width = red.height = 1;
    red.bgr = {0, 0, 255};
    writeAll(tmp / "red.bmp", writeBmp24(red));
    // Entry 0 is pure red, every other entry black: red must become index 0.
    std::string pal = "0x000000FF\n";
    for (int i = 1; i < 256; ++i)
        pal += "0x00000000 ";
    writeAll(tmp / "my.pal", std::vector<std::uint8_t>(pal.begin(), pal.end()));
    ASSERT_EQ(runConverter({"/pmy.pal", "/n", "o.mbm", "/c8red.bmp"}, tmp.path()).exitCode, 0);
    const auto file = readAll(tmp / "o.mbm");
    EXPECT_EQ(file[20 + 40], 0); // the default palette would give index 5
    pal.resize(pal.size() - 22);
    writeAll(tmp / "short.pal", std::vector<std::uint8_t>(pal.begin(), pal.end()));
    EXPECT_EQ(runConverter({"/pshort.pal", "o2.mbm", "/c8red.bmp"}, tmp.path()).exitCode, 13);
}

TEST(Program, HelpAndListing)
{
    TempDir tmp;
    const auto help = runConverter({"--help"}, tmp.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("/c24/home/me/in.bmp"), std::string::npos);
    writeAll(tmp / "a.mbm", serialiseMbm({encodeBitmap(testing_support::patternImage(9, 4), {12, ColourFlag::Colour})}));
    const auto list = runConverter({"/v", "a.mbm"}, tmp.path());
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_NE(list.out.find("1\t9\t4\t12"), std::string::npos) << list.out;
    EXPECT_EQ(runConverter({"/v", "missing.mbm"}, tmp.path()).exitCode, 3);
}

struct MalformedCase {
    std::string file, use, phrase;
    int exitCode;
};

std::vector<MalformedCase> malformedCases()
{
    std::vector<MalformedCase> cases;
    std::ifstream in(fs::path(MALFORMED_DIR) / "CASES.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream f(line);
        MalformedCase c;
        std::string code;
        std::getline(f, c.file, '\t');
        std::getline(f, c.use, '\t');
        std::getline(f, code, '\t');
        std::getline(f, c.phrase);
        c.exitCode = std::stoi(code);
        cases.push_back(c);
    }
    return cases;
}

class Malformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(Malformed, IsRefusedCleanly)
{
    const MalformedCase& c = GetParam();
    TempDir tmp;
    fs::copy_file(fs::path(MALFORMED_DIR) / c.file, tmp / c.file);
    const std::vector<std::string> args = c.use == "u" ? std::vector<std::string>{"/u", c.file, "out.bmp"}
                                                       : std::vector<std::string>{"out.mbm", "/" + c.use + c.file};
    const auto r = runConverter(args, tmp.path());
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_EQ(lineCount(r.err), 1u) << r.err;
    EXPECT_NE(r.err.find("bmconv: " + c.file + ": "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.phrase), std::string::npos) << r.err;
    EXPECT_EQ(folderContents(tmp.path()), std::vector<std::string>{c.file});
}

INSTANTIATE_TEST_SUITE_P(Files, Malformed, ::testing::ValuesIn(malformedCases()), [](const auto& info) {
    std::string name = info.param.file;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
});

} // namespace
