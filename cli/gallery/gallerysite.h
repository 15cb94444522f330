#pragma once
// The folder a gallery is written into, which the gallery owns: a list of the
// files it wrote (kept in the folder) lets a re-run tell its own files from
// anyone else's, reuse what is still current and remove only what it made and
// no longer needs. Every name written is relative to the folder and made of
// our own parts or a file's bare name, so nothing is ever written outside it;
// a symbolic link found at one of those names is replaced, never written
// through.

#include "imaging/status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <set>

namespace zelkor::cli {

// Writes `bytes` to `path` whole or not at all, unless the file holds exactly
// these bytes already (then it is left as it is). A link at `path` is
// replaced, never followed. `written` says whether the file was written.
Status writeFileIfChanged(const QString &path, const QByteArray &bytes, bool *written = nullptr);

class GallerySite {
public:
    explicit GallerySite(QString root);

    const QString &root() const { return m_root; }
    QString path(const QString &relative) const;

    // Makes the folder or takes it over. A folder that is neither empty nor
    // an earlier gallery's is refused unless `force`.
    Status open(bool force);
    // Whether `relative` is a regular file (not a link) the folder holds.
    bool hasFile(const QString &relative) const;
    // Makes the folder `relative` (and its parents) below the root; a link in
    // its place is replaced by a real folder.
    Status makeFolder(const QString &relative) const;

    // Files of this run: written now or kept from an earlier run.
    void keep(const QString &relative) { m_current.insert(relative); }
    // Removes the files of the earlier run that this run did not keep, and
    // the folders they leave empty, then records this run's files.
    Status finish();

private:
    QString m_root;
    std::set<QString> m_previous;
    std::set<QString> m_current;
};

// The file that lists what the gallery wrote, relative to the root.
extern const char *const kGalleryManifest;

} // namespace zelkor::cli
