#pragma once
// ZIP archives in memory, through libzip, for the project file. Writing is
// deterministic: the entries in the order given, each with a fixed time, so
// the same entries always give the same bytes. Reading distrusts the archive:
// an entry whose name would leave the archive (absolute, "..", a drive or a
// backslash), a link, or an entry bigger than the limits is refused before
// its data is read, and no entry is ever read past the size it declares.

#include "imaging/status.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <vector>

namespace zelkor {

struct ZipEntry {
    QString name;
    QByteArray bytes;
    bool compress = true;  // false: stored as it is (already compressed data, the mimetype)
};

// The archive of `entries`; `shownPath` names the file in a failure.
Status zipArchive(const std::vector<ZipEntry> &entries, const QString &shownPath, QByteArray &out);

struct ZipLimits {
    qint64 maxEntryBytes = qint64(256) << 20;  // one entry, uncompressed
    qint64 maxTotalBytes = qint64(1) << 30;    // all entries together, uncompressed
    int maxEntries = 4096;
};

struct UnzippedArchive {
    std::vector<QString> order;  // entry names in the archive's order
    std::map<QString, QByteArray> entries;
};

// Every entry of `archive` (folders skipped), within `limits`.
Status unzipArchive(const QByteArray &archive, const QString &shownPath, const ZipLimits &limits,
                    UnzippedArchive &out);

} // namespace zelkor
