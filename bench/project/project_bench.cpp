// A skin project with four 12-megapixel JPEG sources (4000 x 3000, made here:
// gradients, shapes and grain): opened and its first size shown, a switch to
// another size once the sources are decoded, and `zelkor-skin export --size
// all` as a whole process; the archive written again, as Save and every
// recovery copy write it. The counters give the project file's size against
// its sources. The legibility dock's "все размеры": the sheets of every size
// made on the GUI thread, and every size measured (one thread here; the
// editor measures them off the GUI thread).
#include "programbench.h"

#include "design/legibility.h"
#include "project/projectfile.h"
#include "project/projectsheet.h"
#include "skin/programfiles.h"
#include "skin/skindocument.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace zelkor;

namespace {

QByteArray photoJpeg(int which)
{
    QImage photo(4000, 3000, QImage::Format_RGB32);
    quint32 grain = 12345u + quint32(which);
    for (int y = 0; y < photo.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            grain = grain * 1664525u + 1013904223u;
            const int n = int(grain >> 28) - 8;
            line[x] = qRgb(qBound(0, 40 * which + y / 20 + n, 255), qBound(0, 90 + x / 40 + n, 255),
                           qBound(0, 200 - y / 25 + n, 255));
        }
    }
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(250, 200 - 30 * which, 60));
    p.drawEllipse(QPoint(900 + 600 * which, 900), 500, 500);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    photo.save(&buffer, "JPEG", 90);
    return bytes;
}

struct Fixture {
    QTemporaryDir folder;
    ProgramFiles files = programFilesIn(QString::fromUtf8(ZELKOR_BENCH_PROGRAM_DIR));
    QString path;
    IconSheets icons;
    std::map<int, QImage> templates;
    qint64 sourceBytes = 0;
    bool ok = false;

    Fixture()
    {
        path = QDir(folder.path()).filePath(QStringLiteral("design.zskin"));
        if (!readIconSheets(files, icons).ok())
            return;
        for (const Profile &p : allProfiles())
            if (!readTemplate(p.index, templates[p.index]))
                return;
        SkinProject project = projectFromTemplate(3, templates[3], QStringLiteral("design"));
        const int pictures[] = {Contacts, Chat, SettingsEl, Menuline};
        for (int i = 0; i < 4; ++i) {
            const QByteArray jpeg = photoJpeg(i);
            sourceBytes += jpeg.size();
            project.setPictureFile(pictures[i], jpeg, {FitMode::Cover, QPointF(0.4 + 0.05 * i, 0.5), 1.0, {}, {}});
        }
        ProjectSheets sheets(reader());
        QImage first;
        ok = sheets.sheet(project, project.profile, first).ok()
             && writeProjectFile(path, project, projectThumbnail(first, project.profile, icons), IfExists::Replace).ok();
    }
    bool readTemplate(int profile, QImage &out)
    {
        SkinImage base;
        const QString work = QDir(folder.path()).filePath(QStringLiteral("work"));
        const QString name = files.dataPath(QString::fromUtf8(profileByIndex(profile)->templateName));
        const bool read = readSkinFile(files, work, name, base).ok();
        out = base.sheet;
        return read;
    }
    // Templates as the editor keeps them once read.
    TemplateReader reader()
    {
        return [this](int profile, QImage &out) {
            out = templates.at(profile);
            return Status::success();
        };
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

QImage contactList(const QImage &sheet, int profile, const IconSheets &icons)
{
    return projectThumbnail(sheet, profile, icons);
}

// Reading the file, decoding the sources as large as the screen needs, reading
// the first size's template through the converter, and drawing its contact list.
void BM_OpenAndShowFirstSize(benchmark::State &state)
{
    Fixture &f = fixture();
    if (!f.ok) {
        state.SkipWithError("no project");
        return;
    }
    for (auto _ : state) {
        SkinProject project;
        QStringList notices;
        if (!readProjectFile(f.path, project, notices))
            state.SkipWithError("not read");
        ProjectSheets sheets([&f](int profile, QImage &out) {
            return f.readTemplate(profile, out) ? Status::success() : Status::failure({});
        }, SourceDetail::Preview);
        QImage sheet;
        if (!sheets.sheet(project, project.profile, sheet))
            state.SkipWithError("no sheet");
        benchmark::DoNotOptimize(contactList(sheet, project.profile, f.icons));
    }
    state.counters["file_kb"] = double(QFile(f.path).size()) / 1024.0;
    state.counters["sources_kb"] = double(f.sourceBytes) / 1024.0;
}
BENCHMARK(BM_OpenAndShowFirstSize)->Unit(benchmark::kMillisecond)->UseRealTime();

// The project read and its sources decoded into `sheets`; false (the run
// skipped) when that fails.
bool openDecoded(benchmark::State &state, Fixture &f, SkinProject &project, ProjectSheets &sheets)
{
    QStringList notices;
    if (!f.ok || !readProjectFile(f.path, project, notices)) {
        state.SkipWithError("no project");
        return false;
    }
    if (!sheets.decodeSources(project)) {
        state.SkipWithError("sources not decoded");
        return false;
    }
    return true;
}

// What "Сохранить" and each recovery copy of a modified project do: the whole
// archive written again, its four sources with it.
void BM_WriteProject(benchmark::State &state)
{
    Fixture &f = fixture();
    SkinProject project;
    QStringList notices;
    QImage thumbnail;
    if (!f.ok || !readProjectFile(f.path, project, notices)) {
        state.SkipWithError("no project");
        return;
    }
    thumbnail = projectThumbnail(f.templates.at(project.profile), project.profile, f.icons);
    const QString copy = QDir(f.folder.path()).filePath(QStringLiteral("copy.zskin"));
    for (auto _ : state)
        if (!writeProjectFile(copy, project, thumbnail, IfExists::Replace))
            state.SkipWithError("not written");
    state.counters["file_kb"] = double(QFile(copy).size()) / 1024.0;
}
BENCHMARK(BM_WriteProject)->Unit(benchmark::kMillisecond)->UseRealTime();

// The sources decoded once: each switch places them for the next size and draws it.
void BM_SwitchSize(benchmark::State &state)
{
    Fixture &f = fixture();
    SkinProject project;
    ProjectSheets sheets(f.reader(), SourceDetail::Preview);
    if (!openDecoded(state, f, project, sheets))
        return;
    int profile = 0;
    for (auto _ : state) {
        profile = profile % kProfileCount + 1;
        QImage sheet;
        if (!sheets.sheet(project, profile, sheet))
            state.SkipWithError("no sheet");
        benchmark::DoNotOptimize(contactList(sheet, profile, f.icons));
    }
}
BENCHMARK(BM_SwitchSize)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AllSizesSheets(benchmark::State &state)
{
    Fixture &f = fixture();
    SkinProject project;
    ProjectSheets sheets(f.reader(), SourceDetail::Preview);
    if (!openDecoded(state, f, project, sheets))
        return;
    for (auto _ : state)
        for (const Profile &p : allProfiles()) {
            QImage sheet;
            if (!sheets.sheet(project, p.index, sheet))
                state.SkipWithError("no sheet");
            benchmark::DoNotOptimize(sheet);
        }
}
BENCHMARK(BM_AllSizesSheets)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AllSizesLegibility(benchmark::State &state)
{
    Fixture &f = fixture();
    SkinProject project;
    ProjectSheets made(f.reader(), SourceDetail::Preview);
    if (!openDecoded(state, f, project, made))
        return;
    std::map<int, QImage> sheets;
    for (const Profile &p : allProfiles())
        if (!made.sheet(project, p.index, sheets[p.index])) {
            state.SkipWithError("no sheet");
            return;
        }
    for (auto _ : state)
        for (const auto &[profile, sheet] : sheets)
            benchmark::DoNotOptimize(design::measureLegibility(skinPreviewInput(sheet, profile, f.icons, 0)));
}
BENCHMARK(BM_AllSizesLegibility)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportAllWholeProcess(benchmark::State &state)
{
    Fixture &f = fixture();
    if (!f.ok) {
        state.SkipWithError("no project");
        return;
    }
    bench::timeZelkorSkin(state, [&f](int) {
        return QStringList{QStringLiteral("export"), f.path, QStringLiteral("--size"), QStringLiteral("all"),
                           QStringLiteral("-o"), QDir(f.folder.path()).filePath(QStringLiteral("skins")),
                           QStringLiteral("--force")};
    });
}
BENCHMARK(BM_ExportAllWholeProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
