#include "converter.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace zelkor {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// What the converter said about its failure: its one line on stderr, or, when
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

QString withWords(const QString &text, const QString &words)
{
    return words.isEmpty() ? text : text + u'\n' + words;
}

} // namespace

QString converterPath(const QString &programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("bmconv"));
}

QStringList unpackArguments(const QString &skinFile, const QString &bitmapFile)
{
    return {QStringLiteral("/u"), skinFile, bitmapFile};
}

QStringList packArguments(const QString &outputName, const QString &depthOption)
{
    // A name that begins like an option would be read as one; "./" keeps it a
    // file name in the working folder without changing which file it is.
    QString out = outputName;
    if (out.startsWith(u'-') || out.startsWith(u'/'))
        out.prepend(QStringLiteral("./"));
    return {out, depthOption + QStringLiteral("local.bmp")};
}

ConverterResult runConverter(const QString &programFolder, const ConverterJob &job, int timeoutMs)
{
    const QString program = converterPath(programFolder);
    QString head;
    if (!job.subject.isEmpty())
        head = QStringLiteral("Не удалось обработать файл «%1».\n").arg(native(job.subject));

    if (!QFileInfo(program).isFile())
        return {false, head + QStringLiteral("Конвертер «%1» не найден.").arg(native(program))};

    QProcess process;
    process.setProgram(program);
    process.setArguments(job.arguments);
    if (!job.workingFolder.isEmpty())
        process.setWorkingDirectory(job.workingFolder);
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(timeoutMs))
        return {false, head + QStringLiteral("Не удаётся запустить конвертер «%1»: %2")
                                  .arg(native(program), process.errorString())};
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return {false, head + QStringLiteral("Конвертер «%1» не завершил работу за %2 с.")
                                  .arg(native(program))
                                  .arg(timeoutMs / 1000.0)};
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return {false, withWords(head + QStringLiteral("Конвертер «%1» завершился аварийно.").arg(native(program)),
                                 converterWords(process))};
    if (process.exitCode() != 0)
        return {false, withWords(head + QStringLiteral("Конвертер завершился с ошибкой (код %1).")
                                            .arg(process.exitCode()),
                                 converterWords(process))};
    if (!job.output.isEmpty() && !QFileInfo::exists(job.output))
        return {false, withWords(head + QStringLiteral("Конвертер не создал файл «%1».").arg(native(job.output)),
                                 converterWords(process))};
    return {true, {}};
}

} // namespace zelkor
