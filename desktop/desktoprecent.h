#pragma once
// The desktop's own list of recently used files: an XBEL file of desktop
// bookmarks shared by every program of the user, which file choosers and
// "Recent" places show. Our entry is merged into it; the other programs'
// entries are copied through untouched, and a file we cannot read or do not
// understand is left alone rather than replaced.

#include "imaging/status.h"

#include <QDateTime>
#include <QString>

namespace zelkor {

// $XDG_DATA_HOME/recently-used.xbel (~/.local/share when that is unset).
QString desktopRecentListPath();

// Records that the editor opened or saved `file` at `when`: a new bookmark
// for it, or the existing one's modified and visited times and our
// application's use count brought up to date. The list is written whole or
// not at all. Fails, leaving the list as it was, when it exists but cannot be
// read or is not a bookmark list.
Status addToDesktopRecentList(const QString &listPath, const QString &file,
                              const QDateTime &when = QDateTime::currentDateTimeUtc());

} // namespace zelkor
