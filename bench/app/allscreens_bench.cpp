// The dock of all screens after a colour change on the largest template
// (416 x 352): the seven screens drawn again and the thumbnails painted,
// scaled to fit the dock beside the phone (a column) and below it (a strip).
// The target is 3 ms.
#include "app/allscreensdock.h"
#include "datagen/icons.h"
#include "datagen/skintemplate.h"
#include "preview/screenimage.h"
#include "skin/sheet.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr int kProfile = 6;

void thumbnailsAfterColourChange(benchmark::State &state)
{
    QImage sheet = zelkor::datagen::drawTemplateSheet(kProfile);
    const zelkor::IconSheets icons{zelkor::datagen::drawIconSheet(16), zelkor::datagen::drawIconSheet(32)};
    zelkor::AllScreensDock dock;
    dock.resize(int(state.range(0)), int(state.range(1)));
    dock.show();
    QApplication::processEvents();
    QImage shown(dock.thumbnails()->size(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        // One colour slot changes in the sheet, as a swatch click does.
        zelkor::writeColourSlot(sheet, kProfile, step % 13, qRgb(step & 0xff, 90, 200));
        ++step;
        dock.refresh(QStringLiteral("416x352.mbm"), zelkor::skinPreviewInput(sheet, kProfile, icons, 0));
        dock.thumbnails()->render(&shown);
        benchmark::DoNotOptimize(shown.constBits());
    }
}
// Beside the phone, and a strip below it.
BENCHMARK(thumbnailsAfterColourChange)->ArgNames({"w", "h"})->Args({300, 700})->Args({780, 150})
    ->Unit(benchmark::kMillisecond);

} // namespace
