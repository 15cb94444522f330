#include "recentfiles.h"

#include "preferences.h"
#include "desktop/desktoprecent.h"

#include <QFileInfo>

namespace zelkor {

QStringList RecentFiles::files() const
{
    // A list planted or left longer than we keep shows what we keep.
    return prefs::recentFiles.get().mid(0, kCapacity);
}

void RecentFiles::add(const QString &path)
{
    QStringList list = files();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    list.removeAll(absolute);
    list.prepend(absolute);
    prefs::recentFiles.set(list.mid(0, kCapacity));
    // When the desktop's list cannot be written the author's save or load
    // still succeeded, so no message box.
    if (!m_desktopList.isEmpty())
        if (const Status s = addToDesktopRecentList(m_desktopList, absolute); !s)
            qWarning("%s %s", qPrintable(s.message), qPrintable(s.details));
    emit changed();
}

void RecentFiles::remove(const QString &path)
{
    QStringList list = files();
    if (list.removeAll(path) == 0)
        return;
    prefs::recentFiles.set(list);
    emit changed();
}

} // namespace zelkor
