// Switching the preview's colour depth on the largest template (416 x 352)
// and rendering the contact list, as the window does it: the first render at
// a depth quantises the sheet, the renders after it find it cached.
#include "datagen/icons.h"
#include "datagen/skintemplate.h"
#include "preview/canvas.h"
#include "preview/preview.h"
#include "skin/depthpreview.h"
#include "skin/savename.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kProfile = 6;

struct Scene {
    QImage sheet = zelkor::datagen::drawTemplateSheet(kProfile);
    QImage small = zelkor::datagen::drawIconSheet(16);
    QImage large = zelkor::datagen::drawIconSheet(32);
    QImage paintBoxImage = zelkor::newPreviewBitmap(QSize(416, 352));
    zelkor::Canvas paintBox{&paintBoxImage};
    zelkor::DepthPreview preview;

    void render(const QString &option)
    {
        const QImage shown = preview.sheet(sheet, option);
        zelkor::PreviewInput in;
        in.sheet = &shown;
        in.profile = kProfile;
        in.screen = QSize(416, 352);
        in.colours = zelkor::readColourSlots(shown, kProfile);
        in.smallIcons = &small;
        in.largeIcons = &large;
        zelkor::renderPreview(zelkor::ContactListScreen, in, paintBox);
        benchmark::DoNotOptimize(paintBoxImage.constBits());
    }
};

QString option(const benchmark::State &state)
{
    return QString::fromLatin1(zelkor::kColourDepths[size_t(state.range(0))].option);
}

void firstRenderAtNewDepth(benchmark::State &state)
{
    Scene scene;
    const QString depth = option(state);
    for (auto _ : state) {
        scene.preview.clear();  // as if the depth had just been chosen
        scene.render(depth);
    }
}

void renderAfterSwitch(benchmark::State &state)
{
    Scene scene;
    const QString depth = option(state);
    scene.render(depth);
    for (auto _ : state)
        scene.render(depth);
}

void depths(benchmark::internal::Benchmark *b)
{
    b->ArgName("depth");
    for (int i = 0; i < int(zelkor::kColourDepths.size()); ++i)
        b->Arg(i);
}

BENCHMARK(firstRenderAtNewDepth)->Apply(depths)->Unit(benchmark::kMicrosecond);
BENCHMARK(renderAfterSwitch)->Apply(depths)->Unit(benchmark::kMicrosecond);

} // namespace
