// Packing and unpacking a full 416 x 962 skin sheet at each depth, in-process
// (MB of pixels per second) and as a whole bmconv process.
#include "mbm/bmp.h"
#include "mbm/mbm.h"
#include "mbm/pixels.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr std::int32_t kWidth = 416;
constexpr std::int32_t kHeight = 962;

// Something like a skin sheet: flat panels, gradients, and a busy picture area.
const mbm::Image& sheet()
{
    static const mbm::Image image = [] {
        mbm::Image s;
        s.width = kWidth;
        s.height = kHeight;
        s.bgr.resize(3 * std::size_t{kWidth} * kHeight);
        std::uint32_t noise = 12345;
        for (std::int32_t y = 0; y < kHeight; ++y)
            for (std::int32_t x = 0; x < kWidth; ++x) {
                std::uint8_t* p = s.row(y) + 3 * x;
                if (y < 320) { // gradient background
                    p[0] = static_cast<std::uint8_t>(y / 2);
                    p[1] = static_cast<std::uint8_t>(x / 2);
                    p[2] = 0x40;
                } else if (y < 640) { // busy picture
                    noise = noise * 1103515245 + 12345;
                    p[0] = static_cast<std::uint8_t>(noise >> 16);
                    p[1] = static_cast<std::uint8_t>((x * y) >> 4);
                    p[2] = static_cast<std::uint8_t>(noise >> 24);
                } else { // flat panels with frames
                    const bool frame = x % 104 < 2 || y % 40 < 2;
                    p[0] = frame ? 0x20 : 0xE0;
                    p[1] = frame ? 0x20 : 0xD0;
                    p[2] = frame ? 0x20 : static_cast<std::uint8_t>(0x80 + x / 104 * 0x20);
                }
            }
        return s;
    }();
    return image;
}

mbm::Depth depthAt(std::int64_t i) { return mbm::kPackDepths[static_cast<std::size_t>(i)]; }

void setLabel(benchmark::State& state, mbm::Depth d) { state.SetLabel("/" + mbm::depthOption(d)); }

mbm::Image sheetFor(mbm::Depth d)
{
    mbm::Image s = sheet();
    if (mbm::hasAlpha(d))
        s.alpha.assign(std::size_t{kWidth} * kHeight, 0xC0);
    return s;
}

void Pack(benchmark::State& state)
{
    const mbm::Depth d = depthAt(state.range(0));
    const mbm::Image s = sheetFor(d);
    for (auto _ : state) {
        auto file = mbm::serialiseMbm({mbm::encodeBitmap(s, d)});
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{3} * kWidth * kHeight);
    setLabel(state, d);
}

void Unpack(benchmark::State& state)
{
    const mbm::Depth d = depthAt(state.range(0));
    const auto file = mbm::serialiseMbm({mbm::encodeBitmap(sheetFor(d), d)});
    for (auto _ : state) {
        auto records = mbm::parseMbm(file);
        auto image = mbm::decodeImage((*records)[0]);
        auto bmp = mbm::writeBmp24(*image);
        benchmark::DoNotOptimize(bmp.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{3} * kWidth * kHeight);
    setLabel(state, d);
}

// What the editor's preview computes: the sheet as a save at a depth and a
// load would show it.
void RoundTrip(benchmark::State& state)
{
    const mbm::Depth d = depthAt(state.range(0));
    const mbm::Image s = sheetFor(d);
    for (auto _ : state) {
        auto shown = mbm::roundTrip(s, d);
        benchmark::DoNotOptimize(shown.bgr.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{3} * kWidth * kHeight);
    setLabel(state, d);
}

// A temporary folder holding the sheet as local.bmp, removed at exit.
class WorkDir {
public:
    WorkDir()
    {
        std::string templ = (std::filesystem::temp_directory_path() / "bmconv-bench-XXXXXX").string();
        if (!::mkdtemp(templ.data()))
            std::abort();
        path_ = templ;
        const auto bmp = mbm::writeBmp24(sheet());
        std::ofstream(path_ / "local.bmp", std::ios::binary)
            .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    }
    ~WorkDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

const std::filesystem::path& workDir()
{
    static const WorkDir dir;
    return dir.path();
}

int runBmconv(std::vector<std::string> args)
{
    args.insert(args.begin(), BMCONV_EXECUTABLE);
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, workDir().c_str());
    pid_t pid = 0;
    int status = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0)
        ::waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return status;
}

// The editor's two commands, as whole processes: pack local.bmp, unpack it again.
void ProcessPack(benchmark::State& state)
{
    const mbm::Depth d = depthAt(state.range(0));
    const std::string option = "/" + mbm::depthOption(d) + "local.bmp";
    for (auto _ : state)
        if (runBmconv({"skin.mbm", option}) != 0)
            state.SkipWithError("bmconv failed");
    setLabel(state, d);
}

void ProcessUnpack(benchmark::State& state)
{
    const mbm::Depth d = depthAt(state.range(0));
    runBmconv({"skin.mbm", "/" + mbm::depthOption(d) + "local.bmp"});
    for (auto _ : state)
        if (runBmconv({"/u", (workDir() / "skin.mbm").string(), (workDir() / "temp.bmp").string()}) != 0)
            state.SkipWithError("bmconv failed");
    setLabel(state, d);
}

// Depth indices into kPackDepths: 1 2 4 8 c4 c8 c12 c16 c24 c32 c32a.
BENCHMARK(Pack)->DenseRange(0, 10)->Unit(benchmark::kMillisecond);
BENCHMARK(Unpack)->DenseRange(0, 10)->Unit(benchmark::kMillisecond);
BENCHMARK(RoundTrip)->DenseRange(4, 8)->Unit(benchmark::kMillisecond);
// The editor's depths: c4 c8 c12 c16 c24.
BENCHMARK(ProcessPack)->DenseRange(4, 8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ProcessUnpack)->DenseRange(4, 8)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
