// The working preview on the largest template (416 x 352): redrawing the
// overview of all seven screens after a colour change, as the dock does it.
#include "datagen/icons.h"
#include "datagen/skintemplate.h"
#include "preview/overview.h"
#include "preview/paintrecord.h"
#include "preview/pixelsourcetext.h"
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

void sourceOfEveryPixel(benchmark::State &state)
{
    const QImage sheet = zelkor::datagen::drawTemplateSheet(kProfile);
    zelkor::IconSheets icons{zelkor::datagen::drawIconSheet(16), zelkor::datagen::drawIconSheet(32)};
    zelkor::PreviewInput in = zelkor::skinPreviewInput(sheet, kProfile, icons, 1);
    zelkor::PaintRecord record;
    in.record = &record;
    benchmark::DoNotOptimize(zelkor::paintBoxPicture(zelkor::PopupMenuScreen, in));
    const bool named = state.range(0) != 0;
    for (auto _ : state)
        for (int y = 0; y < record.size().height(); ++y)
            for (int x = 0; x < record.size().width(); ++x) {
                const zelkor::PixelSource source = record.sourceAt(x, y);
                if (named)
                    benchmark::DoNotOptimize(zelkor::pixelSourceText(source));
                else
                    benchmark::DoNotOptimize(source);
            }
    state.SetItemsProcessed(state.iterations() * record.size().width() * record.size().height());
}
// 0: the source alone; 1: with the words the status bar shows.
BENCHMARK(sourceOfEveryPixel)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
