// Running the converter as a process: its argument list arrives intact, and
// every way it can fail is one message naming the file and quoting it.
#include "skin/converter.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelkor;

namespace {

class ConverterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("папка с пробелом")));
        folder = QDir(tmp.path()).filePath(QStringLiteral("папка с пробелом"));
        output = file(QStringLiteral("выход.bmp"));
    }
    QString file(const QString &name) const { return QDir(folder).filePath(name); }
    void script(const QByteArray &body, bool executable = true)
    {
        QFile f(converterPath(folder));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + body + "\n");
        f.close();
        f.setPermissions(executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                    : QFile::ReadOwner | QFile::WriteOwner);
    }
    Status run(int timeoutMs = kConverterTimeoutMs, ConverterProgress *progress = nullptr)
    {
        return runConverter(converterPath(folder),
                            {unpackArguments(file(QStringLiteral("мой скин.mbm")), output, 1000), QString(), output,
                             file(QStringLiteral("мой скин.mbm"))},
                            progress, timeoutMs);
    }

    QTemporaryDir tmp;
    QString folder;
    QString output;
};

TEST_F(ConverterTest, ArgumentsArriveOneByOneInTheWorkingFolder)
{
    script("pwd > args.txt; for a in \"$@\"; do echo \"[$a]\" >> args.txt; done; : > \"$4\"");
    const Status r = runConverter(converterPath(folder), {unpackArguments(file(QStringLiteral("мой скин.mbm")), output, 1000),
                                                          folder, output, QString()});
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    QFile args(file(QStringLiteral("args.txt")));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(args.readAll()).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, (QStringList{QDir(folder).canonicalPath(), QStringLiteral("[--max-pixels=1000]"), QStringLiteral("[/u]"),
                                  u'[' + file(QStringLiteral("мой скин.mbm")) + u']', u'[' + output + u']'}));
}

struct FailureCase {
    const char *what;
    QByteArray script;  // empty: no converter at all
    bool executable;
    const char *mentions;  // besides the skin file's name
};

class ConverterFailureTest : public ConverterTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ConverterFailureTest, OneMessageNamingTheFile)
{
    const FailureCase &c = GetParam();
    if (!c.script.isEmpty())
        script(c.script, c.executable);
    const Status r = run();
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.message.contains(QStringLiteral("мой скин.mbm"))) << r.message.toStdString();
    EXPECT_TRUE((r.message + r.details).contains(QString::fromUtf8(c.mentions))) << r.message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConverterFailureTest,
    ::testing::Values(FailureCase{"missing", {}, true, "не найден"},
                      FailureCase{"not executable", "exit 0", false, "Не удаётся запустить"},
                      FailureCase{"exit code", "echo 'bmconv: мой скин.mbm: bad source file' >&2; exit 4",
                                  true, "bad source file"},
                      FailureCase{"crash", "kill -9 $$", true, "аварийно"},
                      FailureCase{"no output", "echo Success.; exit 0", true, "не создал файл"}),
    [](const auto &info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(ConverterTest, ARunawayConverterIsStoppedAtTheLimit)
{
    script("exec sleep 20");
    const Status r = run(300);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.message.contains(QStringLiteral("не завершил"))) << r.message.toStdString();
}

// Shows progress after a moment and cancels as soon as it is shown.
class CancellingProgress : public ConverterProgress {
public:
    void show(const QString &subject) override { shownFor = subject; }
    bool cancelled() const override { return !shownFor.isEmpty(); }
    void hide() override { hidden = true; }
    QString shownFor;
    bool hidden = false;
};

TEST_F(ConverterTest, ASlowConverterShowsProgressAndCanBeCancelled)
{
    script("exec sleep 20");
    CancellingProgress progress;
    QElapsedTimer clock;
    clock.start();
    const Status r = run(kConverterTimeoutMs, &progress);
    EXPECT_TRUE(r.isCancelled());
    EXPECT_LT(clock.elapsed(), 5000);  // ended, not waited out
    EXPECT_EQ(progress.shownFor, file(QStringLiteral("мой скин.mbm")));
    EXPECT_TRUE(progress.hidden);
}

TEST_F(ConverterTest, RealConverterQuotesItsOwnMessage)
{
    const QString real = converterPath(test::programFolder());
    if (!QFileInfo(real).isExecutable())
        GTEST_SKIP() << "bmconv has not been built into " << test::programFolder().toStdString();
    ASSERT_TRUE(QFile::link(real, converterPath(folder)));
    QFile junk(file(QStringLiteral("мой скин.mbm")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a multi-bitmap file at all");
    junk.close();
    const Status r = run();
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.details.contains(QStringLiteral("bmconv:"))) << r.details.toStdString();
    EXPECT_TRUE(r.message.contains(QStringLiteral("Причина"))) << r.message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(output));
}

} // namespace
