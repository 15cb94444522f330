#include "settingscheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

namespace zelkor {

QString settingsWriteProblem()
{
    QSettings settings;
    // A value set, even an unchanged one, makes sync() write the file; a
    // removal of a key that was never there would not.
    settings.setValue(QStringLiteral("lastVersion"), QCoreApplication::applicationVersion());
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return {};
    return QStringLiteral("Не удаётся записать настройки в «%1». Выбранное в этом сеансе (например, редактор "
                          "картинок) не будет запомнено.")
        .arg(QDir::toNativeSeparators(settings.fileName()));
}

} // namespace zelkor
