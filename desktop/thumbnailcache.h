#pragma once
// Pictures of skin files in the desktop's shared thumbnail cache (the
// freedesktop layout: $XDG_CACHE_HOME/thumbnails/normal/<md5 of the file's
// URI>.png, carrying the URI and the file's time of change). The editor puts
// one there whenever it opens or saves a skin, so its own list of recent
// files, and any file manager, can show the skin without unpacking it.

#include <QImage>
#include <QString>

namespace zelkor {

// The largest side of a "normal" thumbnail.
inline constexpr int kThumbnailSize = 128;

// Where the cache keeps the thumbnail of `file` (made absolute).
QString thumbnailPath(const QString &file);
// The thumbnail of `file`, null when there is none or it is older than the file.
QImage cachedThumbnail(const QString &file);
// Keeps `picture`, scaled down to kThumbnailSize, as the thumbnail of the
// regular file `file`; false when the cache cannot be written (nothing else
// depends on it).
bool keepThumbnail(const QString &file, const QImage &picture);

} // namespace zelkor
