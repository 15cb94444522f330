// A 4000 x 3000 photograph placed into the 416 x 320 contacts picture of the
// 416 x 352 profile, each fit mode, as "Загрузить" and set-picture do it
// (decode excluded: the photograph is made in memory). The drag of the crop
// is timed in drag_bench.cpp.
#include "photograph.h"
#include "imaging/placement.h"
#include "skin/sheet.h"
#include "skin/profiles.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void place(benchmark::State &state)
{
    const auto mode = zelkor::FitMode(state.range(0));
    const QImage &photo = photograph();
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
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
