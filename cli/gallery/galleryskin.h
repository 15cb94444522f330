#pragma once
// One skin of a gallery: its content key, the record kept beside its pictures
// (so a re-run need not read the skin again) and the work of reading and
// drawing it, which runs on any thread.

#include "gallerypage.h"

#include "preview/screenimage.h"
#include "skin/programfiles.h"
#include "imaging/status.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace zelkor::cli {

class GallerySite;

struct GalleryFile {
    QString path;      // as found
    QString fileName;  // its bare name
    QByteArray bytes;
    QString key;       // galleryKey of the above
    bool project = false;  // a skin project (.zskin): one skin per size it exports
};

// Names the pictures, the copy and the record of a skin: the same file name
// and bytes give the same key, any change another.
QString galleryKey(const QString &fileName, const QByteArray &bytes);

// The record of a drawn skin, and the skin again from it. A record of
// another format, another key or with any field missing gives nothing.
QByteArray skinRecord(const GallerySkin &skin);
std::optional<GallerySkin> skinFromRecord(const QByteArray &record, const QString &key);
QString recordPath(const QString &key);

// What drawing a skin needs besides the skin, read once for all of them.
struct GalleryDrawing {
    ProgramFiles files;
    QString workFolder;
    const IconSheets *icons = nullptr;
    std::array<QImage, 7> phones;  // by profile 1..6
};

struct DrawnSkin {
    std::vector<GallerySkin> skins;  // one, or a project's sizes; none when the file is not read or a write failed
    Status status;
    bool unreadable = false;  // the converter could not read it as a skin
    QStringList files;    // the skin's files in the site, relative to its root
    QStringList written;  // those of them that were written now
    QStringList notices;  // what the author must hear of a project that opened
};

// A project's record lists the sizes drawn of it; each size's skin has its
// own key (over the project's name and bytes and the size) and record.
QString projectSizeKey(const GalleryFile &project, int profile);
// The record also keeps the notices of opening the project.
struct ProjectRecord {
    std::vector<int> profiles;
    QStringList notices;
};
QByteArray projectRecord(const ProjectRecord &record);
std::optional<ProjectRecord> projectFromRecord(const QByteArray &record);

// Writes `files` (relative path, bytes) into the site, each only when its
// bytes change, noting them in `out`; false with out.status when one failed.
bool writeSiteFiles(const GallerySite &site, const std::vector<std::pair<QString, QByteArray>> &files,
                    DrawnSkin &out);

// Reads the skin through the converter, draws its screens and its contact
// list on the phone, and writes the pictures, the copy and, last, the record.
DrawnSkin drawGallerySkin(const GalleryDrawing &drawing, const GallerySite &site, const GalleryFile &file);
// A project: each size it exports made as export writes it (the download is
// those bytes, named as export names them), then drawn as a skin file is.
DrawnSkin drawGalleryProject(const GalleryDrawing &drawing, const GallerySite &site, const GalleryFile &file);

} // namespace zelkor::cli
