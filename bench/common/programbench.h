#pragma once
// What the benchmarks of whole programs share: running zelkor-skin from the
// program folder once per iteration, and a main with a headless Qt.
#include "preview/canvas.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QProcess>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <functional>

namespace zelkor::bench {

// CPU time of the finished child processes so far, in milliseconds.
inline double childCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto ms = [](const timeval &t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Runs zelkor-skin with `argumentsOf(run)` once per iteration (`run` counts
// every run of the program, so each may write a new file). Wall time per run;
// "child_cpu_ms" is the CPU time of zelkor-skin and its converter together,
// which a busy machine disturbs less.
inline void timeZelkorSkin(benchmark::State &state, const std::function<QStringList(int run)> &argumentsOf)
{
    static int run = 0;
    const QString cli = QDir(QString::fromUtf8(ZELKOR_BENCH_PROGRAM_DIR)).filePath(QStringLiteral("zelkor-skin"));
    const double cpuBefore = childCpuMs();
    for (auto _ : state) {
        const QStringList arguments = argumentsOf(run++);
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(cli, arguments);
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            state.SkipWithError(qPrintable(QStringLiteral("zelkor-skin %1 failed").arg(arguments.value(0))));
        process.readAllStandardOutput();
    }
    state.counters["child_cpu_ms"] = (childCpuMs() - cpuBefore) / double(state.iterations());
}

// The main of a benchmark program: headless Qt with the editor's fonts.
inline int runBenchmarks(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    QImageReader::setAllocationLimit(512);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace zelkor::bench
