// Dragging the crop of a 4000 x 3000 picture over the 416 x 320 contacts
// picture: each step places the crop live, shows it as the document's trial
// and lets the main window render its preview, as a mouse move does.
#include "benchwindow.h"
#include "photograph.h"
#include "app/placementdialog.h"
#include "app/seams.h"
#include "tform1testaccess.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace zelkor;

namespace {

void dragStep(benchmark::State &state)
{
    BenchWindow window;
    TForm1 &main = window.main;
    ui(main)->RadioGroup1->setItemIndex(1);
    const QImage &photo = photograph();
    PlacementDialog step(main.document(), Contacts, photo, &main);
    step.setMode(FitMode::Cover);
    step.setZoom(double(state.range(0)) / 100);
    double dx = 7;
    for (auto _ : state) {
        step.moveCrop(QPointF(dx, 3));
        if (step.crop().right() >= photo.width() - 1 || step.crop().left() == 0)
            dx = -dx;
    }
    state.SetLabel("zoom " + std::to_string(state.range(0)) + " %");
}
BENCHMARK(dragStep)->Arg(100)->Arg(300)->Arg(800)->Unit(benchmark::kMillisecond);

} // namespace
