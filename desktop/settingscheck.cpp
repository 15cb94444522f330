#include "settingscheck.h"

#include "preferences.h"
#include "skin/filewrite.h"
#include "skin/userfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <sys/stat.h>

namespace zelkor {

namespace {

// Settings are a few kilobytes; anything this large is not ours.
constexpr qint64 kLargestSettings = 4 << 20;

// Why the settings are kept elsewhere this run; empty while they are not.
QString &guardMessage()
{
    static QString message;
    return message;
}

} // namespace

QString guardSettingsFile(const QString &workFolder)
{
    // Where QSettings keeps them on this system, before it first opens them.
    const QString path = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                             .filePath(QCoreApplication::organizationName() + u'/' +
                                       QCoreApplication::applicationName() + QStringLiteral(".conf"));
    const QString shown = native(path);
    if (!pathTaken(path))
        return {};
    QByteArray bytes;
    QString message;
    struct stat st;
    if (const Status read = readUserFile(path, kLargestSettings, bytes); !read)
        message = read.message + QStringLiteral(" Это файл настроек редактора: в этом сеансе они не читаются из "
                                                "него и не запоминаются, а сам он оставлен как есть.");
    else if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !(st.st_mode & S_IWUSR))
        message = QStringLiteral("Файл настроек «%1» только для чтения: редактор его не меняет, и выбранное в этом "
                                 "сеансе не будет запомнено. Чтобы настройки запоминались, разрешите запись в него.")
                      .arg(shown);
    else
        return {};
    // This run's settings: a copy of what could be read, in the work folder.
    const QString base = QDir(workFolder).filePath(QStringLiteral("settings"));
    const QString copy = QDir(base).filePath(QCoreApplication::organizationName() + u'/' +
                                             QCoreApplication::applicationName() + QStringLiteral(".conf"));
    QDir().mkpath(QFileInfo(copy).absolutePath());
    if (!bytes.isEmpty())
        writeFileWhole(copy, bytes, IfExists::Replace);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, base);
    guardMessage() = message;
    return message;
}

QString settingsWriteProblem()
{
    if (!guardMessage().isEmpty())
        return guardMessage();
    // A value set, even an unchanged one, makes the sync write the file; a
    // removal of a key that was never there would not.
    if (prefs::lastVersion.setNow(QCoreApplication::applicationVersion()))
        return {};
    return QStringLiteral("Не удаётся записать настройки в «%1». Выбранное в этом сеансе (например, редактор "
                          "картинок) не будет запомнено.")
        .arg(QDir::toNativeSeparators(preferencesFile()));
}

} // namespace zelkor
