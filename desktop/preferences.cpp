#include "preferences.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace zelkor {

namespace detail {

QVariant readPreference(const char *key)
{
    return QSettings().value(QString::fromLatin1(key));
}

void writePreference(const char *key, const QVariant &value)
{
    QSettings().setValue(QString::fromLatin1(key), value);
}

bool writePreferenceNow(const char *key, const QVariant &value)
{
    QSettings settings;
    settings.setValue(QString::fromLatin1(key), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool hasPreference(const char *key)
{
    return QSettings().contains(QString::fromLatin1(key));
}

} // namespace detail

QString pictureFolderOrDefault()
{
    const QString folder = prefs::pictureFolder;
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

QString preferencesFile()
{
    return QSettings().fileName();
}

} // namespace zelkor
