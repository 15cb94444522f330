// The seven file sizes the depth dialog shows for the largest template
// (416 x 352): five depths packed in memory, two of them also with smoothed
// pictures. The dialog computes them when it opens; it must feel instant.
#include "datagen/skintemplate.h"
#include "skin/savedepth.h"

#include <benchmark/benchmark.h>

namespace {

void depthDialogSizes(benchmark::State &state)
{
    const QImage sheet = zelkor::datagen::drawTemplateSheet(6);
    for (auto _ : state)
        benchmark::DoNotOptimize(zelkor::depthFileSizes(sheet, 6));
}

BENCHMARK(depthDialogSizes)->Unit(benchmark::kMillisecond);

} // namespace
