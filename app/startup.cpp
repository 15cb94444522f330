#include "startup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zelkor {

StartRequest readCommandLine(QCommandLineParser &parser, const QStringList &arguments)
{
    parser.setApplicationDescription(QStringLiteral("Редактор скинов для ICQ-клиента Zelkor."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("скин"), QStringLiteral("Файл скина (.mbm), который открыть при запуске."),
                                 QStringLiteral("[скин]"));

    StartRequest request;
    const bool parsed = parser.parse(arguments);
    // A request for help or the version is answered whatever else is wrong.
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        request.mode = StartRequest::ShowHelp;
    } else if (parser.isSet(version)) {
        request.mode = StartRequest::ShowVersion;
    } else if (!parsed) {
        request.mode = StartRequest::UsageError;
        request.error = parser.errorText();
    } else if (const QStringList files = parser.positionalArguments(); files.size() > 1) {
        request.mode = StartRequest::UsageError;
        request.error = QStringLiteral("Можно открыть только один файл скина, а указано %1.").arg(files.size());
    } else if (files.size() == 1) {
        request.skinFile = QFileInfo(files.front()).absoluteFilePath();
    }
    return request;
}

bool installQtTranslations(QCoreApplication &app)
{
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QLocale::setDefault(russian);
    auto *qt = new QTranslator(&app);
    if (!qt->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    return QCoreApplication::installTranslator(qt);
}

} // namespace zelkor
