// A photograph-sized JPEG (4000 x 3000, made here: gradients, soft shapes and
// grain) to one skin of 416 x 352, and in the core also to 208 x 176, whose
// status line drawn over the last contact makes the tones the hardest to find;
// and the placement step's "Лучший кадр" and one frame of a drag with the
// texts measured, for the contact list of 416 x 352.
#include "programbench.h"

#include "design/bestframe.h"
#include "design/frompicture.h"
#include "design/legibility.h"
#include "imaging/placement.h"
#include "skin/sheet.h"
#include "preview/canvas.h"
#include "skin/profiles.h"
#include "skin/programfiles.h"
#include "skin/skindocument.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>

using namespace zelkor;

namespace {

constexpr int kProfile = 6;

struct Fixture {
    QTemporaryDir folder;
    ProgramFiles files = programFilesIn(QString::fromUtf8(ZELKOR_BENCH_PROGRAM_DIR));
    QString picture;
    IconSheets icons;
    bool ok = false;

    Fixture()
    {
        QImage photo(4000, 3000, QImage::Format_RGB32);
        quint32 grain = 12345;
        for (int y = 0; y < photo.height(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x) {
                grain = grain * 1664525u + 1013904223u;
                const int n = int(grain >> 28) - 8;
                line[x] = qRgb(qBound(0, 40 + y / 20 + n, 255), qBound(0, 90 + x / 40 + n, 255),
                               qBound(0, 200 - y / 25 + n, 255));
            }
        }
        QPainter p(&photo);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(250, 200, 60));
        p.drawEllipse(QPoint(2900, 900), 500, 500);
        p.setBrush(QColor(30, 80, 40));
        p.drawRect(0, 2200, 4000, 800);
        p.end();
        picture = QDir(folder.path()).filePath(QStringLiteral("photo.jpg"));
        ok = photo.save(picture, "JPEG", 90) && readIconSheets(files, icons).ok();
    }

    // The largest profile's template and the whole photograph, as the
    // placement step holds them; false after skipping the benchmark.
    bool wholePhotoAndTemplate(benchmark::State &state, QImage &sheet, QImage &photo)
    {
        sheet = ok ? templateSheet(kProfile) : QImage();
        photo = QImage(picture);
        if (sheet.isNull() || photo.isNull())
            state.SkipWithError("no picture, template or icons");
        return !sheet.isNull() && !photo.isNull();
    }

    // The profile's template as New reads it; null when it cannot be read.
    QImage templateSheet(int profile)
    {
        SkinImage base;
        const QString work = QDir(folder.path()).filePath(QStringLiteral("work"));
        const QString name = files.dataPath(QString::fromUtf8(profileByIndex(profile)->templateName));
        return readSkinFile(files, work, name, base).ok() ? base.sheet : QImage();
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_SkinFromDecodedPicture(benchmark::State &state)
{
    Fixture &f = fixture();
    const int profile = int(state.range(0));
    QImage decoded;
    const QImage templateSheet = f.ok ? f.templateSheet(profile) : QImage();
    if (templateSheet.isNull() || !design::readPicture(f.picture, profile, decoded).ok()) {
        state.SkipWithError("no picture, template or icons");
        return;
    }
    for (auto _ : state) {
        design::SkinFromPicture made;
        const Status s = design::makeSkinFromPicture(decoded, profile, templateSheet, f.icons, {}, made);
        if (!s)
            state.SkipWithError(qPrintable(s.message));
        benchmark::DoNotOptimize(made.sheet);
    }
}
BENCHMARK(BM_SkinFromDecodedPicture)->Arg(kProfile)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_ReadPictureScaled(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        QImage image;
        if (!design::readPicture(f.picture, kProfile, image))
            state.SkipWithError("picture not read");
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_ReadPictureScaled)->Unit(benchmark::kMillisecond);

void BM_WholeProcess(benchmark::State &state)
{
    Fixture &f = fixture();
    bench::timeZelkorSkin(state, [&f](int run) {
        return QStringList{QStringLiteral("from-picture"), f.picture, QStringLiteral("--size"), QStringLiteral("416x352"),
                           QStringLiteral("-o"), QDir(f.folder.path()).filePath(QStringLiteral("skin%1.mbm").arg(run))};
    });
}
BENCHMARK(BM_WholeProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

// "Лучший кадр" for the contact list of the largest profile, from the whole
// 4000 x 3000 photograph as the placement step holds it.
void BM_BestFrame(benchmark::State &state)
{
    Fixture &f = fixture();
    QImage sheet, photo;
    if (!f.wholePhotoAndTemplate(state, sheet, photo))
        return;
    for (auto _ : state) {
        const design::BestFrame best = design::findBestFrame(sheet, kProfile, f.icons, Contacts, photo, 4.5);
        benchmark::DoNotOptimize(best);
    }
}
BENCHMARK(BM_BestFrame)->Unit(benchmark::kMillisecond);

// One frame of a drag in the placement step on the largest profile: the
// picture placed from the held source, written into the sheet and every text
// measured for the count and the outlines.
void BM_PlacementDragFrame(benchmark::State &state)
{
    Fixture &f = fixture();
    QImage sheet, photo;
    if (!f.wholePhotoAndTemplate(state, sheet, photo))
        return;
    const PlacementSource source(photo);
    const QImage under = cutOutPicture(sheet, kProfile, Contacts);
    int step = 0;
    for (auto _ : state) {
        const QPointF focus(1000 + (step++ % 40) * 50, 1500);
        QImage trial = sheet;
        writeBackPicture(trial, kProfile, Contacts,
                         source.place(under, {FitMode::Cover, coverCrop(photo.size(), under.size(), focus, 1.5)}));
        const design::Legibility measured = design::measureSkinLegibility(trial, kProfile, f.icons);
        benchmark::DoNotOptimize(measured.texts.data());
    }
}
BENCHMARK(BM_PlacementDragFrame)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
