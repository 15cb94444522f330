// A 4000 x 3000 photograph placed into the 416 x 320 contacts picture of the
// 416 x 352 profile, each fit mode, as "Загрузить" and set-picture do it
// (decode excluded: the photograph is made in memory).
#include "skin/placement.h"
#include "skin/profiles.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

QImage photograph()
{
    QImage img(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = qRgb(x * 7 + y, y * 3, x ^ y);
    }
    return img;
}

void place(benchmark::State &state)
{
    const auto mode = zelkor::FitMode(state.range(0));
    static const QImage photo = photograph();
    QImage sheet(416, 962, QImage::Format_RGB32);
    sheet.fill(Qt::gray);
    for (auto _ : state) {
        zelkor::placePicture(sheet, 6, zelkor::Contacts, photo, {mode});
        benchmark::DoNotOptimize(sheet.constBits());
    }
    state.SetLabel(zelkor::fitModeCaption(mode).toStdString());
}
BENCHMARK(place)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
