// Times zelkor-skin on the largest template as a script would run it, one
// process per run: `render skn/416x352.mbm -o DIR` (all seven screens) and
// `check skn/416x352.mbm` (the legibility of every text). Prints every run's
// wall time, then the median, and the median CPU time of the program and its
// converter together, which a busy machine disturbs less.
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

// Runs `arguments` RUNS times after one unmeasured run that fills the caches;
// false when a run fails.
bool measure(const QString &cli, const QStringList &arguments, int runs)
{
    std::vector<double> wall, cpu;
    for (int i = 0; i <= runs; ++i) {
        const double cpuBefore = childCpuMs();
        QElapsedTimer clock;
        clock.start();
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(cli, arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0) {
            std::fprintf(stderr, "zelkor-skin %s failed (%s)\n", qPrintable(arguments.first()),
                         qPrintable(process.errorString()));
            return false;
        }
        const double ms = clock.nsecsElapsed() / 1e6;
        if (i == 0)
            continue;
        wall.push_back(ms);
        cpu.push_back(childCpuMs() - cpuBefore);
        std::printf("%s run %2d: %6.1f ms\n", qPrintable(arguments.first()), i, ms);
    }
    std::printf("%s: median of %d runs: %.1f ms wall, %.1f ms CPU (zelkor-skin and bmconv)\n",
                qPrintable(arguments.first()), runs, median(wall), median(cpu));
    return true;
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

    // Each render replaces the pictures of the one before.
    if (!measure(cli, {QStringLiteral("render"), skin, QStringLiteral("-o"), out.path(), QStringLiteral("--force")},
                 runs))
        return 1;
    if (QDir(out.path()).entryList(QDir::Files).size() != 7) {
        std::fprintf(stderr, "zelkor-skin render did not write seven pictures\n");
        return 1;
    }
    return measure(cli, {QStringLiteral("check"), skin}, runs) ? 0 : 1;
}

