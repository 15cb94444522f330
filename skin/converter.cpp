#include "converter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <mutex>
#include <optional>
#include <set>
#include <shared_mutex>

#include <signal.h>

namespace zelkor {

namespace {

// What the converter said about its failure: its lines on stderr, or, when
// it said nothing there, the tail of its report.
QString converterWords(QProcess &process)
{
    QString text = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (text.isEmpty()) {
        const QStringList lines =
            QString::fromLocal8Bit(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        if (!lines.isEmpty())
            text = lines.last().trimmed();
    }
    return text;
}

// The converter speaks English; the message says the commonest causes in
// Russian and keeps the converter's own words as details.
QString russianCause(const QString &words)
{
    struct Phrase {
        const char *english;
        const char *russian;
    };
    static const Phrase phrases[] = {
        {"larger than the limit", "картинка в файле больше, чем может быть у скина"},
        {"does not exist", "файл не найден"},
        {"No such file", "файл не найден"},
        {"Permission denied", "нет прав доступа"},
        {"No space left", "нет места на диске"},
        {"not a multi-bitmap", "это не файл скина (.mbm)"},
        {"too short for a multi-bitmap", "файл слишком короткий для файла скина"},
        {"holds no bitmaps", "в файле нет ни одной картинки"},
        {"compressed data", "сжатые данные файла повреждены"},
        {"file ends inside", "файл обрезан"},
        {"cannot open", "файл не открывается"},
        {"cannot read", "файл не читается"},
        {"cannot write", "не удаётся записать результат"},
        {"cannot create a file", "не удаётся создать файл"},
        {"bad source file", "файл повреждён или это не файл скина"},
        {"bad destination file", "не удаётся записать результат"},
        {"decompression error", "сжатые данные файла повреждены"},
        {"out of memory", "не хватает памяти"},
        {"unknown compression", "неизвестный способ сжатия"},
    };
    for (const Phrase &p : phrases)
        if (words.contains(QLatin1String(p.english), Qt::CaseInsensitive))
            return QString::fromUtf8(p.russian);
    return {};
}

// The converter's exit codes for the causes a user can act on, for when its
// words name none of them (a file of another kind says "wrong UIDs").
QString causeOfExitCode(int code)
{
    struct Cause {
        int code;
        const char *russian;
    };
    static const Cause causes[] = {
        {1, "не хватает памяти"},
        {2, "конвертер не понял, что ему велено (ошибка программы; сообщите о ней)"},
        {3, "файл не найден"},
        {4, "файл повреждён или это не файл скина"},
        {5, "не удаётся записать результат"},
        {6, "конвертер не понял, что ему велено (ошибка программы; сообщите о ней)"},
        {7, "конвертер не понял, что ему велено (ошибка программы; сообщите о ней)"},
        {8, "конвертер не понял, что ему велено (ошибка программы; сообщите о ней)"},
        {9, "неизвестный способ сжатия"},
        {10, "картинку не удалось сжать"},
        {11, "сжатые данные файла повреждены"},
        {12, "картинка в файле записана в виде, которого скины не знают"},
        {13, "картинка в файле записана с палитрой, а скины её не знают"},
        {14, "картинка в файле записана с палитрой, а скины её не знают"},
        {15, "картинка в файле ссылается на маску прозрачности, которой нет"},
        {16, "картинка в файле и её маска прозрачности разного размера"},
        {17, "маска прозрачности картинки в файле записана не как у скинов"},
        {18, "картинка в файле больше, чем может быть у скина"},
    };
    for (const Cause &c : causes)
        if (c.code == code)
            return QString::fromUtf8(c.russian);
    return {};
}

Status failed(const QString &head, const QString &text, const QString &words = {}, int exitCode = 0)
{
    QString message = head + text;
    QString cause = russianCause(words);
    if (cause.isEmpty())
        cause = causeOfExitCode(exitCode);
    if (!cause.isEmpty())
        message += QStringLiteral("\nПричина: ") + cause + u'.';
    else if (!words.isEmpty())  // its words then stand in the message, not only in the details
        return Status::failure(message + QStringLiteral("\nПричину конвертер назвал так: ") + words + u'.');
    return Status::failure(message, words);
}

} // namespace

QString converterPath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("bmconv"));
}

// The converter reads an argument that starts with '-', or with '/' and has
// no other '/', as an option ("/n", "/q"); the same file under a name it
// cannot take for one.
static QString fileArgument(const QString &path)
{
    if (path.startsWith(u'-'))
        return QStringLiteral("./") + path;
    if (path.startsWith(u'/') && path.indexOf(u'/', 1) < 0)
        return QStringLiteral("/.") + path;
    return path;
}

QStringList unpackArguments(const QString &skinFile, const QString &bitmapFile, std::int64_t maxPixels)
{
    return {QStringLiteral("--max-pixels=%1").arg(maxPixels), QStringLiteral("/u"), fileArgument(skinFile),
            fileArgument(bitmapFile)};
}

QStringList packArguments(const QString &outputName, const QString &depthOption, const QString &bitmapName)
{
    // A name that begins like an option would be read as one; "./" keeps it a
    // file name in the working folder without changing which file it is.
    QString out = outputName;
    if (out.startsWith(u'-') || out.startsWith(u'/'))
        out.prepend(QStringLiteral("./"));
    return {out, depthOption + bitmapName};
}

namespace {

// The converters running now, by process id, and whether work has stopped.
std::mutex runningLock;
std::set<qint64> running;
std::shared_mutex workLock;
bool workStopped = false;  // under workLock

struct Running {
    explicit Running(qint64 pid) : pid(pid)
    {
        const std::lock_guard guard(runningLock);
        running.insert(pid);
    }
    ~Running()
    {
        const std::lock_guard guard(runningLock);
        running.erase(pid);
    }
    qint64 pid;
};

} // namespace

void stopConverterWork()
{
    const std::unique_lock stop(workLock);
    workStopped = true;
    const std::lock_guard guard(runningLock);
    for (const qint64 pid : running)
        ::kill(pid_t(pid), SIGKILL);
}

ConverterWorkGuard::ConverterWorkGuard()
{
    workLock.lock_shared();
}

ConverterWorkGuard::~ConverterWorkGuard()
{
    workLock.unlock_shared();
}

bool ConverterWorkGuard::allowed() const
{
    return !workStopped;
}

Status runConverter(const QString &program, const ConverterJob &job, ConverterProgress *progress, int timeoutMs)
{
    QString head;
    if (!job.subject.isEmpty())
        head = QStringLiteral("Не удалось обработать файл «%1».\n").arg(native(job.subject));

    if (!QFileInfo(program).isFile())
        return failed(head, QStringLiteral("Конвертер «%1» не найден.").arg(native(program)));

    QProcess process;
    process.setProgram(program);
    process.setArguments(job.arguments);
    if (!job.workingFolder.isEmpty())
        process.setWorkingDirectory(job.workingFolder);
    std::optional<Running> registered;
    {
        const ConverterWorkGuard guard;
        if (!guard.allowed())
            return failed(head, QStringLiteral("Программа завершается: конвертер не запущен."));
        process.start(QIODevice::ReadOnly);
        if (!process.waitForStarted(timeoutMs))
            return failed(head, QStringLiteral("Не удаётся запустить конвертер «%1».").arg(native(program)),
                          process.errorString());
        registered.emplace(process.processId());
    }

    // Wait in an event loop so the window keeps painting; poll for a
    // cancellation and the time limit.
    bool cancelled = false, timedOut = false, progressShown = false;
    if (process.state() != QProcess::NotRunning) {
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QElapsedTimer clock;
        clock.start();
        QTimer tick;
        tick.setInterval(25);
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            if (progress && !progressShown && clock.elapsed() >= kConverterProgressDelayMs) {
                progressShown = true;
                progress->show(job.subject);
            }
            if (progressShown && progress->cancelled())
                cancelled = true;
            else if (clock.elapsed() >= timeoutMs)
                timedOut = true;
            else
                return;
            loop.quit();
        });
        tick.start();
        if (process.state() != QProcess::NotRunning)
            loop.exec(QEventLoop::ExcludeSocketNotifiers);
        if (progressShown)
            progress->hide();
        if (cancelled || timedOut) {
            process.kill();
            process.waitForFinished(1000);
        }
    }
    if (cancelled)
        return Status::cancelled();
    if (timedOut)
        return failed(head, QStringLiteral("Конвертер «%1» не завершил работу за %2 с.")
                                .arg(native(program))
                                .arg(timeoutMs / 1000.0));
    if (process.exitStatus() != QProcess::NormalExit)
        return failed(head, QStringLiteral("Конвертер «%1» завершился аварийно.").arg(native(program)),
                      converterWords(process));
    if (process.exitCode() != 0)
        return failed(head, QStringLiteral("Конвертер завершился с ошибкой (код %1).").arg(process.exitCode()),
                      converterWords(process), process.exitCode());
    if (!job.output.isEmpty() && !QFileInfo::exists(job.output))
        return failed(head, QStringLiteral("Конвертер не создал файл «%1».").arg(native(job.output)),
                      converterWords(process));
    return Status::success();
}

} // namespace zelkor
