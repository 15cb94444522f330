#include "session.h"

#include "desktop/workfolder.h"
#include "imaging/nametable.h"
#include "skin/converter.h"
#include "skin/filewrite.h"
#include "skin/profiles.h"
#include "skin/userfile.h"
#include "skin/savename.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include <pthread.h>
#include <signal.h>

namespace zelkor::cli {

namespace {

constexpr int kPngQuality = 80;

// The first error writing to stdout, 0 while none.
int stdoutError = 0;

} // namespace

int profileByLabel(const QString &label)
{
    return profileIndexByLabel(label);
}

void declareForce(QCommandLineParser &parser, const QString &meaning)
{
    parser.addOption({QStringLiteral("force"),
                      meaning.isEmpty() ? QStringLiteral("заменять файлы, которые уже есть (иначе они не трогаются)")
                                        : meaning});
}

void declareOutput(QCommandLineParser &parser, const OutputOption &option)
{
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QString::fromUtf8(option.help),
                      QString::fromUtf8(option.valueName)});
}

namespace {

// Every text about depths, made from the list of depths.
struct DepthWords {
    QString choice;  // "c4, c8, c12, c16 или c24"
    QString known;   // "c4, c8, c12, c16, c24"
};

const DepthWords &depthWords()
{
    // The command line names a depth by its option without the slash.
    const auto name = [](const ColourDepth &d) { return d.option + 1; };
    static const DepthWords words{namesText(kColourDepths, name, QStringLiteral(" или ")),
                                  namesText(kColourDepths, name, QStringLiteral(", "))};
    return words;
}

// What each kind of single input is called when there are none or several.
QString oneInputText(OneInput what)
{
    switch (what) {
    case OneInput::Skin:
        return QStringLiteral("нужен ровно один файл скина");
    case OneInput::Picture:
        return QStringLiteral("нужна ровно одна картинка");
    case OneInput::SkinToFix:
        return QStringLiteral("--fix исправляет ровно один скин");
    }
    return {};
}

} // namespace

QString depthNamesText()
{
    return depthWords().choice;
}

void declareDepth(QCommandLineParser &parser, const DepthOption &option)
{
    parser.addOption({QStringLiteral("depth"), QString::fromUtf8(option.help).arg(depthWords().choice),
                      QStringLiteral("ГЛУБИНА"),
                      option.defaultName ? QString::fromLatin1(option.defaultName) : QString()});
}

void writeText(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) != size_t(bytes.size()) && stream == stdout &&
        !stdoutError)
        stdoutError = errno ? errno : EIO;
}

int finishOutput(int code)
{
    if (std::fflush(stdout) != 0 && !stdoutError)
        stdoutError = errno ? errno : EIO;
    if (!stdoutError && std::ferror(stdout))
        stdoutError = EIO;
    if (!stdoutError)
        return code;
    writeText(stderr, QStringLiteral("zelkor-skin: не удаётся записать стандартный вывод: %1.\n")
                          .arg(describeSystemError(stdoutError)));
    // A verdict nobody received is no verdict: the output failed.
    return code == UsageError ? code : SkinProblem;
}

QString oneLine(const Status &status)
{
    QString text = status.message.trimmed();
    const QString details = status.details.trimmed();
    if (!details.isEmpty())
        text += QStringLiteral(" (") + details + u')';
    text.replace(u'\n', u' ');
    return text;
}

Session::Session(ProgramFiles files, const Command &command) : m_files(std::move(files)), m_command(command) {}

namespace {

// The work folder of the running command, for the thread that ends the
// program on a quit signal.
std::mutex workFolderLock;
QString currentWorkFolder;

void setCurrentWorkFolder(const QString &path)
{
    const std::lock_guard guard(workFolderLock);
    currentWorkFolder = path;
}

} // namespace

void endOnQuitSignals()
{
    static sigset_t quitSignals;
    sigemptyset(&quitSignals);
    for (const int s : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&quitSignals, s);
    // Blocked here, before any other thread starts, so every thread inherits
    // it and only the waiting thread below ever takes one.
    pthread_sigmask(SIG_BLOCK, &quitSignals, nullptr);
    std::thread([] {
        int signalNumber = 0;
        if (sigwait(&quitSignals, &signalNumber) != 0)
            return;
        // Nothing starts or is made in the work folder after this.
        stopConverterWork();
        {
            const std::lock_guard guard(workFolderLock);
            // A file being written into a folder already listed keeps it
            // for a moment; no new folder can appear any more.
            for (int tries = 0; !currentWorkFolder.isEmpty() && QFileInfo::exists(currentWorkFolder) && tries < 100;
                 ++tries)
                if (!QDir(currentWorkFolder).removeRecursively())
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        writeText(stderr, QStringLiteral("zelkor-skin: прервано сигналом %1; записанные файлы целы, "
                                         "недописанные не остались.\n")
                              .arg(QString::fromLatin1(sigabbrev_np(signalNumber))));
        std::_Exit(128 + signalNumber);
    }).detach();
}

Session::~Session()
{
    setCurrentWorkFolder({});
}

QString Session::workFolder()
{
    if (!m_work) {
        // Not made at all once a quit signal has stopped the work.
        const ConverterWorkGuard guard;
        if (!guard.allowed())
            return {};
        m_work = std::make_unique<WorkFolder>(m_workBase.isEmpty() ? QString() : QDir(m_workBase).filePath(QStringLiteral("zelkor-skin-editor")));
        if (!m_work->isValid()) {
            problem(Status::failure(m_work->error()));
            m_work.reset();
            return {};
        }
        setCurrentWorkFolder(m_work->path());
    }
    return m_work->path();
}

Status Session::readSkin(const QString &path, SkinImage &out)
{
    const QString work = workFolder();
    if (work.isEmpty())
        return Status::failure(QStringLiteral("нет рабочей папки"));
    const Status status = readSkinFile(m_files, work, path, out);
    if (!status)
        problem(status);
    return status;
}

const IconSheets *Session::iconSheets()
{
    if (!m_icons && !m_iconsFailed) {
        IconSheets icons;
        if (const Status s = readIconSheets(m_files, icons); !s) {
            problem(s);
            m_iconsFailed = true;
        } else {
            m_icons = std::move(icons);
        }
    }
    return m_icons ? &*m_icons : nullptr;
}

const IconSheets *Session::readSkinToDraw(const QString &path, SkinImage &out)
{
    return readSkin(path, out) ? iconSheets() : nullptr;
}

bool Session::mayWrite(const QStringList &paths)
{
    bool free = true;
    for (const QString &path : paths)
        if (const QString kind = specialFileKind(path, false);
            !kind.isEmpty() && !QFileInfo(path).isSymLink()) {
            // Never replaced, so --force would not help.
            problem(notAFileMessage(path, kind));
            free = false;
        }
    if (!m_replace && free)
        for (const QString &path : paths)
            if (pathTaken(path)) {
                problem(QStringLiteral("Файл «%1» уже существует; чтобы заменить его, добавьте --force.")
                            .arg(native(path)));
                free = false;
            }
    return free;
}

QByteArray pngBytes(const QImage &image, QString *why)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // A lighter deflate: encoding is most of a render's time, and at this
    // setting it takes about half as long for files about a third larger.
    writer.setQuality(kPngQuality);
    if (!writer.write(image)) {
        if (why)
            *why = writer.errorString();
        return {};
    }
    return bytes;
}

bool Session::writePng(const QImage &image, const QString &path)
{
    if (!mayWrite({path}))
        return false;
    QString why;
    const QByteArray bytes = pngBytes(image, &why);
    if (bytes.isEmpty()) {
        problem(QStringLiteral("Не удаётся записать файл «%1»: %2").arg(native(path), why));
        return false;
    }
    if (const Status s = writeFileWhole(path, bytes, m_replace ? IfExists::Replace : IfExists::Refuse); !s) {
        problem(s);
        return false;
    }
    if (m_listWritten)
        print(native(path) + u'\n');
    return true;
}

bool Session::writeEachSkin(const QStringList &targets, const QString &depthOption,
                            const std::function<Status(int, QImage &)> &make)
{
    bool all = true;
    for (int i = 0; i < targets.size(); ++i) {
        QImage sheet;
        const Status status = make(i, sheet);
        if (!status && !status.isCancelled())  // cancelled: `make` has said why
            problem(status);
        if (!status || !writeSkin(sheet, depthOption, targets[i]))
            all = false;
    }
    return all;
}

bool Session::writeSkin(const QImage &sheet, const QString &depthOption, const QString &path)
{
    const QString work = workFolder();
    if (work.isEmpty() || !mayWrite({path}))
        return false;
    if (const Status s = writeSkinFile(m_files, work, sheet, depthOption, path, nullptr,
                                       m_replace ? IfExists::Replace : IfExists::Refuse);
        !s) {
        problem(s);
        return false;
    }
    if (m_listWritten)
        print(native(path) + u'\n');
    return true;
}

QString Session::entryPath(const QString &folder, const QString &name)
{
    return QDir(folder).filePath(singleEntryName(name));
}

bool Session::makeFolder(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir() || (!info.exists() && !info.isSymLink() && QDir().mkpath(path)))
        return true;
    if (pathTaken(path))
        problem(QStringLiteral("«%1» — не папка, а %2: сюда пишется папка с файлами; укажите в -o папку.")
                    .arg(native(path), info.isFile() && !info.isSymLink() ? QStringLiteral("файл")
                                                                          : specialFileKind(path, false)));
    else
        problem(QStringLiteral("Не удаётся создать папку «%1».").arg(native(path)));
    return false;
}

void Session::print(const QString &text)
{
    writeText(stdout, text);
}

void Session::problem(const QString &message)
{
    writeText(stderr, QStringLiteral("zelkor-skin: ") + message + u'\n');
}

void Session::problem(const Status &status)
{
    problem(oneLine(status));
}

int Session::usageError(const QString &message)
{
    const QString name = QString::fromLatin1(m_command.name);
    writeText(stderr, QStringLiteral("zelkor-skin %1: %2\nСправка: zelkor-skin %1 --help\n").arg(name, message));
    return UsageError;
}

std::optional<QString> Session::oneInput(const QStringList &files, OneInput what)
{
    if (files.size() == 1)
        return files.first();
    usageError(QStringLiteral("%1, указано: %2.").arg(oneInputText(what)).arg(files.size()));
    return std::nullopt;
}

std::optional<QString> Session::output(const QCommandLineParser &parser, const OutputOption &option)
{
    const QString path = parser.value(QStringLiteral("output"));
    if (!path.isEmpty())
        return path;
    usageError(QString::fromUtf8(option.missing));
    return std::nullopt;
}

std::optional<int> Session::profileOrAll(const QCommandLineParser &parser, const QString &option)
{
    const QString label = parser.value(option);
    if (label == QLatin1String("all"))
        return 0;
    if (const int profile = profileByLabel(label))
        return profile;
    QStringList labels;
    for (const Profile &p : allProfiles())
        labels << p.labelText();
    const QString known = labels.join(QStringLiteral(", ")) + QStringLiteral(" и all");
    usageError(label.isEmpty() ? QStringLiteral("не указано разрешение экрана (--%1 РАЗРЕШЕНИЕ); есть %2.").arg(option, known)
                               : QStringLiteral("нет разрешения «%1»; есть %2.").arg(label, known));
    return std::nullopt;
}

std::optional<double> Session::minContrast(const QCommandLineParser &parser)
{
    const QString text = parser.value(QStringLiteral("min-contrast"));
    bool number = false;
    const double ratio = text.toDouble(&number);
    // Written so that "nan" fails it too.
    if (number && ratio >= 1 && ratio <= 21)
        return ratio;
    usageError(QStringLiteral("порог контраста «%1» — не число от 1 до 21.").arg(text));
    return std::nullopt;
}

std::optional<QString> Session::depth(const QCommandLineParser &parser)
{
    const QString name = parser.value(QStringLiteral("depth"));
    if (name.isEmpty() && !parser.isSet(QStringLiteral("depth")))
        return QString();
    const QString option = depthOptionByName(name);
    if (!option.isEmpty())
        return option;
    usageError(QStringLiteral("нет глубины цвета «%1»; есть %2.").arg(name, depthWords().known));
    return std::nullopt;
}

} // namespace zelkor::cli
