// The working preview on the largest template (416 x 352): redrawing the
// overview of all seven screens after a colour change, as the dock does it.
#include "datagen/icons.h"
#include "datagen/skintemplate.h"
#include "preview/overview.h"
#include "preview/screenimage.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kProfile = 6;

void overviewAfterColourChange(benchmark::State &state)
{
    QImage sheet = zelkor::datagen::drawTemplateSheet(kProfile);
    zelkor::IconSheets icons{zelkor::datagen::drawIconSheet(16), zelkor::datagen::drawIconSheet(32)};
    zelkor::LiveOverview overview;
    overview.update(QStringLiteral("416x352.mbm"), zelkor::skinPreviewInput(sheet, kProfile, icons, 0));
    int step = 0;
    for (auto _ : state) {
        // One colour slot changes in the sheet, as a swatch click does.
        zelkor::writeColourSlot(sheet, kProfile, step % 13, qRgb(step & 0xff, 90, 200));
        ++step;
        const bool redrawn = overview.update(QStringLiteral("416x352.mbm"),
                                             zelkor::skinPreviewInput(sheet, kProfile, icons, 0));
        benchmark::DoNotOptimize(redrawn);
    }
}
BENCHMARK(overviewAfterColourChange)->Unit(benchmark::kMillisecond);

} // namespace
