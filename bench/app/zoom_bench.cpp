// Switching the preview's zoom on the largest phone picture (630 x 482 with a
// 416 x 352 screen): the new factor laid out and the visible area painted.
#include "app/paintbox.h"
#include "app/zoomview.h"
#include "datagen/skintemplate.h"
#include "preview/screenimage.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void zoomSwitch(benchmark::State &state)
{
    zelkor::ZoomView view;
    view.resize(1200, 800);
    QImage photo(630, 482, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x & 0xff, y & 0xff, (x ^ y) & 0xff));
    view.setPhoto(photo);
    view.setScreen(QPoint(166, 78), QSize(416, 352));
    const QImage sheet = zelkor::datagen::drawTemplateSheet(6);
    view.paintBox()->canvasImage() = sheet.copy(0, 0, 416, 352);
    QImage shown(view.viewport()->size(), QImage::Format_RGB32);
    int factor = 1;
    for (auto _ : state) {
        factor = factor % zelkor::ZoomView::kMaxZoom + 1;
        view.setZoomMode(factor);
        view.viewport()->render(&shown);
        benchmark::DoNotOptimize(shown.constBits());
    }
}
BENCHMARK(zoomSwitch)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
