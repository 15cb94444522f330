// zelkor-skin gallery on sixty skins (ten designs, each in all six sizes), one
// process per run as a user starts it: a site made from nothing, and a re-run
// on the same folder with nothing changed. Wall time is what counts; the CPU
// time of the program and its converters is shown beside it.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

namespace {

const QDir kProgram(QString::fromUtf8(ZELKOR_BENCH_PROGRAM_DIR));
constexpr const char *kSizes[] = {"176x208", "208x176", "240x320", "320x240", "352x416", "416x352"};

double childCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto s = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return s(usage.ru_utime) + s(usage.ru_stime);
}

// Sixty skins named as Save names them, so they form ten families.
QString skinFolder(const QTemporaryDir &tmp)
{
    const QString folder = QDir(tmp.path()).filePath(QStringLiteral("skins"));
    QDir().mkpath(folder);
    for (int design = 1; design <= 10; ++design)
        for (const char *size : kSizes)
            QFile::copy(kProgram.filePath(QStringLiteral("skn/%1.mbm").arg(QLatin1String(size))),
                        QDir(folder).filePath(QStringLiteral("extskin_%1_design%2.mbm").arg(QLatin1String(size)).arg(design)));
    return folder;
}

bool gallery(const QString &input, const QString &site)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(kProgram.filePath(QStringLiteral("zelkor-skin")),
                  {QStringLiteral("gallery"), input, QStringLiteral("-o"), site});
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void run(benchmark::State &state, bool fresh)
{
    QTemporaryDir tmp;
    const QString input = skinFolder(tmp);
    const QString site = QDir(tmp.path()).filePath(QStringLiteral("site"));
    if (!fresh && !gallery(input, site)) {
        state.SkipWithError("zelkor-skin gallery failed");
        return;
    }
    double cpu = 0;
    for (auto _ : state) {
        if (fresh)
            QDir(site).removeRecursively();
        const double cpuBefore = childCpuSeconds();
        QElapsedTimer clock;
        clock.start();
        if (!gallery(input, site)) {
            state.SkipWithError("zelkor-skin gallery failed");
            return;
        }
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        cpu += childCpuSeconds() - cpuBefore;
    }
    state.counters["cpu_s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

void BM_Gallery60Fresh(benchmark::State &state)
{
    run(state, true);
}
void BM_Gallery60Unchanged(benchmark::State &state)
{
    run(state, false);
}

} // namespace

BENCHMARK(BM_Gallery60Fresh)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Gallery60Unchanged)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
