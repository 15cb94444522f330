// One render of each preview screen at each profile into a paint-box-sized
// canvas, from a full-size sheet and full icon sheets.
#include "preview/canvas.h"
#include "preview/preview.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

struct ProfileSize {
    int width, height, sheetRows;
};
constexpr ProfileSize kSizes[7] = {
    {0, 0, 0}, {176, 208, 514}, {208, 176, 481}, {240, 320, 740}, {320, 240, 604}, {352, 416, 1028}, {416, 352, 962},
};

// A sheet with varied pixels, so no step can take a short cut on flat colour.
QImage patterned(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 7 + y, y * 3, x ^ y));
    return img;
}

QImage icons(int cell)
{
    QImage img(2 * cell, 95 * cell, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < cell; ++x) {
            const bool opaque = (x - cell / 2) * (x - cell / 2) + (y % cell - cell / 2) * (y % cell - cell / 2) < cell * cell / 5;
            img.setPixel(x, y, opaque ? qRgb(200, y & 0xff, 40) : 0xff000000u);
            img.setPixel(cell + x, y, opaque ? 0xff000000u : 0xffffffffu);
        }
    return img;
}

void renderOnce(benchmark::State &state)
{
    const int screen = int(state.range(0));
    const int profile = int(state.range(1));
    const int columns = int(state.range(2));
    const ProfileSize &p = kSizes[profile];
    const QImage sheet = patterned(p.width, p.sheetRows);
    const QImage small = icons(16), large = icons(32);
    zelkor::PreviewInput in;
    in.sheet = &sheet;
    in.profile = profile;
    in.screen = QSize(p.width, p.height);
    for (int i = 0; i < 13; ++i)
        in.colours[i] = qRgb(20 * i, 255 - 10 * i, 128);
    in.smallIcons = &small;
    in.largeIcons = &large;
    in.columns = columns;
    QImage canvasImage(in.screen, QImage::Format_RGB32);
    canvasImage.fill(0xffffffffu);
    zelkor::Canvas paintBox(&canvasImage);
    for (auto _ : state) {
        zelkor::renderPreview(screen, in, paintBox);
        benchmark::DoNotOptimize(canvasImage.constBits());
    }
}

void screensAndProfiles(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"screen", "profile", "columns"});
    for (int screen = 0; screen < 5; ++screen)
        for (int profile = 1; profile <= 6; ++profile)
            b->Args({screen, profile, screen == 1 || screen == 2 ? 1 : 0});
}

BENCHMARK(renderOnce)->Apply(screensAndProfiles)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    zelkor::installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
