// The colour dialog's readout following the colour under choice on the
// largest profile (416 x 352), for the slot with the most texts (the
// contact list's nicks): every field, the contrast of each text against its
// background and the nearest passing colour, per change. Typing and dragging
// need 60 changes per second: under 16.7 ms each.
#include "app/colourdialog.h"
#include "datagen/icons.h"
#include "datagen/skintemplate.h"
#include "design/legibility.h"

#include <benchmark/benchmark.h>

namespace {

void colourReadout(benchmark::State &state)
{
    constexpr int kProfile = 6, kNicks = 6;
    const zelkor::IconSheets icons{zelkor::datagen::drawIconSheet(16), zelkor::datagen::drawIconSheet(32)};
    zelkor::ColourContext context;
    context.slot = kNicks;
    context.measure = zelkor::design::measureSkinLegibility(zelkor::datagen::drawTemplateSheet(kProfile), kProfile, icons);
    context.asDrawn = zelkor::design::asDrawnAtDepth(QStringLiteral("/c16"));
    zelkor::ColourDialog dialog(0xff336699u, QStringLiteral("Цвет"), context);
    // A drag across the lightness: dark to pale, where the nearest passing colour moves.
    int step = 0;
    for (auto _ : state) {
        const int v = step++ % 256;
        dialog.setColour(qRgb(v, v / 2 + 40, 255 - v));
        benchmark::DoNotOptimize(dialog.colour());
    }
    state.counters["texts"] = double(zelkor::design::slotContrast(context.measure, kNicks, 0xff000000u).texts);
    state.counters["updates/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(colourReadout)->Unit(benchmark::kMillisecond);

} // namespace
