// Framing a project's picture again ("Разместить…") from a 12-megapixel JPEG
// source: the source decoded whole from the bytes the project keeps, and the
// placement step opened on it at its kept framing (a cover crop, zoomed, with
// a scrim) on the largest profile.
#include "benchwindow.h"
#include "photograph.h"
#include "app/placementdialog.h"
#include "app/seams.h"
#include "tform1testaccess.h"
#include "project/projectsession.h"
#include "skin/profiles.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace zelkor;

namespace {

const QByteArray &photographJpeg()
{
    static const QByteArray bytes = [] {
        QByteArray out;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        photograph().save(&buffer, "JPEG", 90);
        return out;
    }();
    return bytes;
}

const SourcePlacement kFraming{FitMode::Cover, QPointF(0.35, 0.6), 2.0, {}, 0.3, {}};

SkinProject projectWithSource()
{
    SkinProject project;
    project.profile = 6;
    project.setPictureFile(Contacts, photographJpeg(), kFraming);
    return project;
}

void reframeDecode(benchmark::State &state)
{
    const SkinProject project = projectWithSource();
    const QString hash = project.pictures[Contacts].file;
    for (auto _ : state) {
        // A session of its own each time: the decoded source is kept per session.
        ProjectSession session(project, [](int, QImage &) { return Status::failure(QStringLiteral("no template")); });
        QImage source;
        if (!session.pictureFile(hash, source))
            state.SkipWithError("the source did not decode");
        benchmark::DoNotOptimize(source.constBits());
    }
}
BENCHMARK(reframeDecode)->Unit(benchmark::kMillisecond);

void reframeOpen(benchmark::State &state)
{
    BenchWindow window;
    TForm1 &main = window.main;
    const QImage &photo = photograph();
    for (auto _ : state) {
        PlacementDialog step(main.document(), Contacts, photo, &main);
        step.setFraming(kFraming);
        benchmark::DoNotOptimize(step.failingTexts());
    }
}
BENCHMARK(reframeOpen)->Unit(benchmark::kMillisecond);

} // namespace
