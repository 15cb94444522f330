// Compatibility with real files made by the SDK tool (the shared conformance
// set): our unpack gives their pixels, and our pack gives them byte for byte.
#include "mbm/bmp.h"
#include "mbm/command_line.h"
#include "mbm/mbm.h"
#include "mbm/pixels.h"
#include "support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace mbm;
using testing_support::readAll;
namespace fs = std::filesystem;

namespace {

const fs::path kFixtures = fs::path(ZELKOR_SHARED_DIR) / "fixtures" / "mbm";

struct ManifestRow {
    std::string mbm;
    std::vector<std::string> tokens; // global options, then depth-prefixed sources
    std::string byteExact;
};

std::vector<ManifestRow> readManifest()
{
    std::vector<ManifestRow> rows;
    std::ifstream in(kFixtures / "MANIFEST.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        ManifestRow row;
        std::string options;
        std::getline(fields, row.mbm, '\t');
        std::getline(fields, options, '\t');
        std::getline(fields, row.byteExact);
        std::istringstream words(options);
        for (std::string w; words >> w;)
            row.tokens.push_back(w);
        rows.push_back(row);
    }
    return rows;
}

// The row as our converter's command line, with `target` as the output.
std::vector<std::string> argsFor(const ManifestRow& row, const std::string& target)
{
    std::vector<std::string> args;
    std::size_t i = 0;
    for (; i < row.tokens.size() && row.tokens[i].size() == 2; ++i)
        args.push_back(row.tokens[i]);
    args.push_back(target);
    args.insert(args.end(), row.tokens.begin() + static_cast<std::ptrdiff_t>(i), row.tokens.end());
    return args;
}

Command commandFor(const ManifestRow& row, const std::string& target)
{
    auto cmd = parseCommandLine(argsFor(row, target));
    EXPECT_TRUE(cmd) << cmd.error().message;
    return cmd ? *cmd : Command{};
}

// The SDK tool's remap of two greys, applied to pictures fed to it.
Image withSdkGreyRemap(Image image)
{
    for (std::size_t i = 0; i < image.bgr.size(); i += 3) {
        std::uint8_t* p = &image.bgr[i];
        if (p[0] == p[1] && p[1] == p[2] && (p[0] == 128 || p[0] == 192))
            p[0] = p[1] = p[2] = p[0] == 128 ? 127 : 187;
    }
    return image;
}

Image readSource(const std::string& name)
{
    auto image = readBmp(readAll(kFixtures / name));
    EXPECT_TRUE(image) << name << ": " << image.error().message;
    return image ? *image : Image{};
}

std::vector<std::uint8_t> recordBytes(std::span<const std::uint8_t> file, const BitmapRecord& r)
{
    return {file.begin() + r.offset, file.begin() + r.offset + r.header.bitmapSize};
}

std::vector<std::uint8_t> encodedBytes(const EncodedBitmap& e)
{
    const std::vector<std::uint8_t> one = serialiseMbm({e});
    return {one.begin() + 20, one.end() - 8};
}

class Fixtures : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(kFixtures / "MANIFEST.tsv"))
            GTEST_SKIP() << "conformance set not found at " << kFixtures << " (set ZELKOR_SHARED_DIR); skipped";
        rows_ = readManifest();
        ASSERT_FALSE(rows_.empty());
    }
    std::vector<ManifestRow> rows_;
};

TEST_F(Fixtures, UnpackGivesTheSourcePixelsQuantisedAsTheSdkToolDid)
{
    for (const ManifestRow& row : rows_) {
        const Command cmd = commandFor(row, "x.mbm");
        const std::vector<std::uint8_t> file = readAll(kFixtures / row.mbm);
        auto records = parseMbm(file);
        ASSERT_TRUE(records) << row.mbm << ": " << records.error().message;
        ASSERT_EQ(records->size(), cmd.sources.size()) << row.mbm;
        for (std::size_t b = 0; b < records->size(); ++b) {
            const Depth depth = cmd.sources[b].depth;
            const Image source = withSdkGreyRemap(readSource(cmd.sources[b].path));
            auto image = decodeImage((*records)[b]);
            ASSERT_TRUE(image) << row.mbm << " bitmap " << b << ": " << image.error().message;
            ASSERT_EQ(image->width, source.width);
            ASSERT_EQ(image->height, source.height);
            std::size_t wrong = 0;
            for (std::size_t i = 0; i < source.bgr.size() / 3; ++i) {
                const Rgb c{source.bgr[3 * i + 2], source.bgr[3 * i + 1], source.bgr[3 * i]};
                wrong += testing_support::rgbAt(*image, i) != testing_support::shownColour(depth, quantise(depth, c));
            }
            EXPECT_EQ(wrong, 0u) << row.mbm << " bitmap " << b << " differs in " << wrong << " pixels";
        }
    }
}

// Every bitmap is reproduced byte for byte once the SDK tool's grey remap is
// applied to its source; without it, exactly the ones the manifest lists.
TEST_F(Fixtures, PackReproducesTheFilesByteForByte)
{
    for (const ManifestRow& row : rows_) {
        const Command cmd = commandFor(row, "x.mbm");
        const std::vector<std::uint8_t> file = readAll(kFixtures / row.mbm);
        auto records = parseMbm(file);
        ASSERT_TRUE(records) << row.mbm;
        for (std::size_t b = 0; b < cmd.sources.size(); ++b) {
            const Image source = readSource(cmd.sources[b].path);
            const EncodeOptions options{!cmd.noCompression, nullptr};
            const auto expected = recordBytes(file, (*records)[b]);
            EXPECT_EQ(encodedBytes(encodeBitmap(withSdkGreyRemap(source), cmd.sources[b].depth, options)), expected)
                << row.mbm << " bitmap " << b << " (with the grey remap)";
            const bool listedExact = row.byteExact == "yes"
                || (row.mbm == "bmctest.mbm" && b != 0 && b != 1 && b != 6);
            const bool exact = encodedBytes(encodeBitmap(source, cmd.sources[b].depth, options)) == expected;
            EXPECT_EQ(exact, listedExact) << row.mbm << " bitmap " << b << " (colours kept)";
        }
    }
}

// The whole program on the rows the manifest marks byte-exact, run from the
// fixture folder as a user would.
TEST_F(Fixtures, ProgramPacksTheExactRowsIdentically)
{
    testing_support::TempDir out;
    for (const ManifestRow& row : rows_) {
        if (row.byteExact != "yes")
            continue;
        const std::string target = (out / row.mbm).string();
        const auto result = testing_support::runConverter(argsFor(row, target), kFixtures);
        ASSERT_EQ(result.exitCode, 0) << row.mbm << ": " << result.err;
        EXPECT_TRUE(readAll(target) == readAll(kFixtures / row.mbm)) << row.mbm;
    }
}

} // namespace
