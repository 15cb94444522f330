// Helpers shared by the converter tests: hashing, temporary folders, running
// the built program with an argument list (no shell), small picture builders.
#pragma once

#include "mbm/depth.h"
#include "mbm/image.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace testing_support {

std::string sha256Hex(std::span<const std::uint8_t> bytes);

// A fresh folder under the system temp folder, removed with the object.
class TempDir {
public:
    explicit TempDir(const std::string& name = "bmconv-test");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the built converter with these arguments, each one argv element, in `workDir`.
ProcessResult runConverter(const std::vector<std::string>& args, const std::filesystem::path& workDir);

std::vector<std::uint8_t> readAll(const std::filesystem::path& p);
void writeAll(const std::filesystem::path& p, std::span<const std::uint8_t> bytes);

// One record of a hand-built multi-bitmap file: its header fields and the data as stored.
struct RawBitmap {
    std::int32_t width, height, bpp, colour, compression;
    std::vector<std::uint8_t> data;
};

// Lays out a multi-bitmap file by hand: header, records at the given gaps, trailer.
std::vector<std::uint8_t> buildFile(const std::vector<RawBitmap>& bitmaps, std::size_t gap = 0);

// A picture whose upper third varies with x and y (with the two greys the SDK
// tool remaps placed in it) and whose lower two thirds are plain.
mbm::Image patternImage(std::int32_t width, std::int32_t height);

// What unpacking must show for a stored value, written out per depth here
// rather than taken from the library's own expansion. 0xRRGGBB.
std::uint32_t shownColour(mbm::Depth d, std::uint32_t stored);

// 0xRRGGBB of pixel i of a decoded picture.
std::uint32_t rgbAt(const mbm::Image& image, std::size_t i);

} // namespace testing_support
