// zelkor-skin: the skin on the command line. The program parses the command
// name, hands the rest of the line to that command's own parser, and runs it
// with the same core as the editor -- no window, no display needed.
#include "command.h"
#include "session.h"

#include "preview/canvas.h"
#include "skin/programfiles.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QImageReader>
#include <QLibraryInfo>
#include <QTranslator>

#include <array>
#include <csignal>

using namespace zelkor;
using namespace zelkor::cli;

namespace {

// The command table: a new command is one more row.
const std::array<const Command *, 12> kCommands{
    &infoCommand,       &renderCommand,    &overviewCommand,    &portCommand,    &galleryCommand, &checkCommand,
    &setPictureCommand, &setColourCommand, &fromPictureCommand, &projectCommand, &exportCommand,  &thumbnailCommand};

const Command *findCommand(const QString &name)
{
    for (const Command *c : kCommands)
        if (name == QLatin1String(c->name))
            return c;
    return nullptr;
}

// The parser's help, whose usage line names the program by the path it was
// started by: "zelkor-skin" or "zelkor-skin render" stands there instead.
QString helpText(const QCommandLineParser &parser, const QString &usageName)
{
    QString text = parser.helpText();
    const QString started = QCoreApplication::arguments().constFirst();
    const qsizetype at = text.indexOf(started);
    if (at >= 0 && at < text.indexOf(u'\n'))
        text.replace(at, started.size(), usageName);
    return text;
}

QStringList commandNames()
{
    QStringList names;
    for (const Command *c : kCommands)
        names << QString::fromLatin1(c->name);
    return names;
}

QString programDescription()
{
    QString text = QStringLiteral("Скины Zelkor (.mbm) без окна редактора: сведения, картинки экранов, обзор, перенос на другое разрешение, сайт.\n\nКоманды:\n");
    for (const Command *c : kCommands)
        text += QStringLiteral("  %1  %2\n").arg(QString::fromLatin1(c->name), -11).arg(QString::fromUtf8(c->summary));
    text += QStringLiteral("\nСправка по команде: zelkor-skin КОМАНДА --help\n"
                           "Коды выхода: 0 — успех, 1 — ошибка скина или файла, 2 — ошибка в командной строке.");
    return text;
}

int usageError(const QString &message)
{
    writeText(stderr, QStringLiteral("zelkor-skin: %1\nСправка: zelkor-skin --help\n").arg(message));
    return UsageError;
}

int runCommand(const Command &command, const QStringList &arguments, bool help)
{
    QCommandLineParser parser;
    command.declare(parser);
    const QCommandLineOption helpOption = parser.addHelpOption();
    Session session(locateProgramFiles(QCoreApplication::applicationDirPath()), command);
    const QString name = QString::fromLatin1(command.name);
    // The command's own name stands where the parser expects the program's.
    if (!parser.parse(QStringList{name} + arguments)) {
        // "-1" is read as an option named "1"; say what it is instead.
        for (const QString &unknown : parser.unknownOptionNames())
            if (bool number = false; unknown.toInt(&number), number)
                return session.usageError(QStringLiteral("«-%1» — отрицательное число, а здесь годятся только числа "
                                                         "от нуля.")
                                              .arg(unknown));
        return session.usageError(parser.errorText());
    }
    session.setReplaceExisting(parser.optionNames().contains(QStringLiteral("force")));
    if (help || parser.isSet(helpOption)) {
        session.print(helpText(parser, QStringLiteral("zelkor-skin ") + name));
        return Success;
    }
    return command.run(parser, session);
}

// The command line after the set-up: the program's own options, then the command.
int runLine()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(programDescription());
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("КОМАНДА"), commandNames().join(QStringLiteral(", ")),
                                 QStringLiteral("КОМАНДА [параметры команды]"));
    // Everything from the command name on belongs to the command.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(versionOption)) {
        writeText(stdout, QStringLiteral("zelkor-skin %1\n").arg(QCoreApplication::applicationVersion()));
        return Success;
    }
    const QStringList rest = parser.positionalArguments();
    if (rest.isEmpty()) {
        if (parser.isSet(helpOption)) {
            writeText(stdout, helpText(parser, QStringLiteral("zelkor-skin")));
            return Success;
        }
        return usageError(QStringLiteral("не указана команда."));
    }
    const Command *command = findCommand(rest.first());
    if (!command)
        return usageError(QStringLiteral("нет команды «%1».").arg(rest.first()));
    return runCommand(*command, rest.mid(1), parser.isSet(helpOption));
}

} // namespace

int main(int argc, char *argv[])
{
    // A reader that went away (`| head -1`) makes writes fail instead of
    // killing us before the work folder is removed; finishOutput says so.
    std::signal(SIGPIPE, SIG_IGN);
    endOnQuitSignals();
    // Nothing here needs a display: without a platform chosen, draw off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelkor-skin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELKOR_VERSION));
    // The parser's own words (its headings, its errors) in Russian, like ours.
    QTranslator qtWords;
    if (qtWords.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtWords);
    installFontSubstitutions();
    QImageReader::setAllocationLimit(512);
    return finishOutput(runLine());
}
