// Times `zelkor-skin render skn/416x352.mbm -o DIR`, all seven screens of the
// largest template in one process, as a script would run it. Prints every
// run's wall time, then the median, and the median CPU time of the program and
// its converter together, which a busy machine disturbs less.
//
//   cli_bench [RUNS]        (default 15, after one unmeasured run)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double childCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto ms = [](const timeval &t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 15;
    const QDir program(QString::fromUtf8(ZELKOR_BENCH_PROGRAM_DIR));
    const QString cli = program.filePath(QStringLiteral("zelkor-skin"));
    const QString skin = program.filePath(QStringLiteral("skn/416x352.mbm"));
    QTemporaryDir out;

    std::vector<double> wall, cpu;
    for (int i = 0; i <= runs; ++i) {
        const double cpuBefore = childCpuMs();
        QElapsedTimer clock;
        clock.start();
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Each run replaces the pictures of the one before.
        process.start(cli,
                      {QStringLiteral("render"), skin, QStringLiteral("-o"), out.path(), QStringLiteral("--force")});
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0) {
            std::fprintf(stderr, "zelkor-skin render failed (%s)\n", qPrintable(process.errorString()));
            return 1;
        }
        const double ms = clock.nsecsElapsed() / 1e6;
        if (i == 0)
            continue;  // the first run fills the caches
        wall.push_back(ms);
        cpu.push_back(childCpuMs() - cpuBefore);
        std::printf("run %2d: %6.1f ms\n", i, ms);
    }
    if (QDir(out.path()).entryList(QDir::Files).size() != 7) {
        std::fprintf(stderr, "zelkor-skin render did not write seven pictures\n");
        return 1;
    }
    std::printf("median of %d runs: %.1f ms wall, %.1f ms CPU (zelkor-skin and bmconv)\n", runs, median(wall),
                median(cpu));
    return 0;
}
