#include "support.h"

#include "mbm/palette.h"

#include <array>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace testing_support {
namespace {

constexpr std::array<std::uint32_t, 64> kRound = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

std::uint32_t rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

std::string slurp(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

std::string sha256Hex(std::span<const std::uint8_t> bytes)
{
    std::uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                          0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::vector<std::uint8_t> msg(bytes.begin(), bytes.end());
    const std::uint64_t bits = std::uint64_t{msg.size()} * 8;
    msg.push_back(0x80);
    while (msg.size() % 64 != 56)
        msg.push_back(0);
    for (int i = 7; i >= 0; --i)
        msg.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    for (std::size_t block = 0; block < msg.size(); block += 64) {
        std::uint32_t w[64];
        for (int i = 0; i < 16; ++i)
            w[i] = std::uint32_t{msg[block + 4 * i]} << 24 | std::uint32_t{msg[block + 4 * i + 1]} << 16
                | std::uint32_t{msg[block + 4 * i + 2]} << 8 | msg[block + 4 * i + 3];
        for (int i = 16; i < 64; ++i) {
            const std::uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const std::uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], hh = h[7];
        for (int i = 0; i < 64; ++i) {
            const std::uint32_t t1 = hh + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
            const std::uint32_t t2 = (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            hh = g; g = f; f = e; e = d + t1; d = c; c = b; b = a; a = t1 + t2;
        }
        const std::uint32_t add[8] = {a, b, c, d, e, f, g, hh};
        for (int i = 0; i < 8; ++i)
            h[i] += add[i];
    }
    std::string hex;
    char buf[9];
    for (std::uint32_t v : h) {
        std::snprintf(buf, sizeof buf, "%08x", v);
        hex += buf;
    }
    return hex;
}

TempDir::TempDir(const std::string& name)
{
    std::string templ = (std::filesystem::temp_directory_path() / (name + "-XXXXXX")).string();
    if (!::mkdtemp(templ.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = templ;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ProcessResult runConverter(const std::vector<std::string>& args, const std::filesystem::path& workDir)
{
    TempDir capture("bmconv-capture");
    const std::string outPath = (capture / "out").string(), errPath = (capture / "err").string();
    std::vector<std::string> argv0 = {BMCONV_EXECUTABLE};
    argv0.insert(argv0.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argv0)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    // Run in workDir: change there in the child only (the program reads relative paths).
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    pid_t pid = 0;
    ProcessResult result;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    return result;
}

std::vector<std::uint8_t> readAll(const std::filesystem::path& p)
{
    const std::string s = slurp(p);
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

void writeAll(const std::filesystem::path& p, std::span<const std::uint8_t> bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> buildFile(const std::vector<RawBitmap>& bitmaps, std::size_t gap)
{
    std::vector<std::uint8_t> file = {0x37, 0, 0,    0x10, 0x42, 0, 0, 0x10, 0, 0,
                                      0,    0, 0x39, 0x64, 0x39, 0x47, 0, 0, 0, 0};
    const auto put32 = [&file](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    std::vector<std::uint32_t> offsets;
    for (const RawBitmap& b : bitmaps) {
        file.insert(file.end(), gap, 0xEE);
        offsets.push_back(static_cast<std::uint32_t>(file.size()));
        for (std::int32_t v : {static_cast<std::int32_t>(40 + b.data.size()), 40, b.width, b.height, 0, 0, b.bpp,
                               b.colour, 0, b.compression})
            put32(static_cast<std::uint32_t>(v));
        file.insert(file.end(), b.data.begin(), b.data.end());
    }
    const auto trailer = static_cast<std::uint32_t>(file.size());
    for (int i = 0; i < 4; ++i)
        file[16 + i] = static_cast<std::uint8_t>(trailer >> (8 * i));
    put32(static_cast<std::uint32_t>(offsets.size()));
    for (std::uint32_t o : offsets)
        put32(o);
    return file;
}

mbm::Image patternImage(std::int32_t width, std::int32_t height)
{
    mbm::Image image;
    image.width = width;
    image.height = height;
    image.bgr.resize(3 * static_cast<std::size_t>(width) * height);
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* row = image.row(y);
        for (std::int32_t x = 0; x < width; ++x) {
            std::uint8_t* p = row + 3 * x;
            if (y >= height / 3) {
                // A plain lower two thirds, so that every depth's compressor keeps its output.
                p[0] = 0x90;
                p[1] = 0x60;
                p[2] = 0x30;
                continue;
            }
            // Bands of equal pixels, a row of changing ones every seventh row,
            // and the two greys the SDK tool remaps sprinkled in.
            const int band = x / 6;
            p[0] = static_cast<std::uint8_t>(band * 37 + y * 3);
            p[1] = static_cast<std::uint8_t>(y % 7 == 0 ? x * 11 : band * 19);
            p[2] = static_cast<std::uint8_t>(band * 53 + y);
            if (y % 4 == 1 && x % 13 == 0)
                p[0] = p[1] = p[2] = 128;
            if (y % 4 == 1 && x % 17 == 0)
                p[0] = p[1] = p[2] = 192;
        }
    }
    return image;
}

std::uint32_t shownColour(mbm::Depth d, std::uint32_t v)
{
    const auto grey = [](std::uint32_t g) { return g << 16 | g << 8 | g; };
    const auto rgb = [](mbm::Rgb c) { return std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b; };
    const bool colour = d.colour != mbm::ColourFlag::Grey;
    switch (d.bitsPerPixel) {
    case 1: return grey(v * 255);
    case 2: return grey(v * 85);
    case 4: return colour ? rgb(mbm::palette16()[v]) : grey(v * 17);
    case 8: return colour ? rgb(mbm::palette256()[v]) : grey(v);
    case 12: return ((v >> 8) & 15) * 17 << 16 | ((v >> 4) & 15) * 17 << 8 | (v & 15) * 17;
    case 16: return (v >> 11) * 255 / 31 << 16 | ((v >> 5) & 63) * 255 / 63 << 8 | (v & 31) * 255 / 31;
    default: return v;
    }
}

std::uint32_t rgbAt(const mbm::Image& image, std::size_t i)
{
    return std::uint32_t{image.bgr[3 * i + 2]} << 16 | std::uint32_t{image.bgr[3 * i + 1]} << 8 | image.bgr[3 * i];
}

} // namespace testing_support
