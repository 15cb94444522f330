// One legibility measure of all seven screens of the largest template
// (416 x 352), as the editor runs it after every change: as the sheet is, and
// at 8 bpp from the depth preview's cached sheet.
#include "datagen/icons.h"
#include "datagen/skintemplate.h"
#include "design/legibility.h"
#include "skin/depthpreview.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kProfile = 6;

void measureAllScreens(benchmark::State &state)
{
    const QImage sheet = zelkor::datagen::drawTemplateSheet(kProfile);
    const zelkor::IconSheets icons{zelkor::datagen::drawIconSheet(16), zelkor::datagen::drawIconSheet(32)};
    zelkor::DepthPreview depth;
    const QString option = state.range(0) ? QStringLiteral("/c8") : QString();
    const QImage shown = depth.sheet(sheet, option);
    for (auto _ : state) {
        const zelkor::design::Legibility m =
            zelkor::design::measureLegibility(zelkor::skinPreviewInput(shown, kProfile, icons, 0));
        benchmark::DoNotOptimize(m.texts.data());
    }
}

BENCHMARK(measureAllScreens)->ArgName("c8")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
