#pragma once
// A skin project: one design for all six screen sizes. It keeps what the
// author gave rather than what one size made of it: the thirteen colours
// (shared, with per-size overrides), for each of the nine pictures where it
// comes from (the size's template, the pixels of an imported sheet, or a
// picture file kept byte for byte with its placement), and how to export.
// The sheet of any size is made from this (projectsheet.h); the file is a
// ZIP archive (projectfile.h).
//
// Sizes are profiles 1..6 throughout and their labels ("240x320") in the file.

#include "imaging/placement.h"
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "imaging/status.h"

#include <QByteArray>
#include <QImage>
#include <QJsonObject>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <optional>
#include <vector>

namespace zelkor {

inline constexpr int kProjectFormatVersion = 1;
inline constexpr char kProjectMimeType[] = "application/x-zelkor-skin-project";
inline constexpr char kProjectSuffix[] = "zskin";

// How a picture file is placed into a picture's rectangle. Focus and zoom
// are relative to the source, so the same framing holds at every size.
struct SourcePlacement {
    FitMode mode = FitMode::Cover;
    std::optional<QPointF> focus;  // cover: the point of the source (0..1 across, 0..1 down) kept in the middle
    double zoom = 1.0;             // cover: 1 or more
    std::optional<QRgb> margin;    // contain: the margins' colour; unset: the source's mean edge colour
    // 0..1: how far the placed picture is softened in a band under each text
    // over it (design/scrim.h), made again after every re-framing.
    double scrim = 0.0;
    QJsonObject extra;             // fields this version does not know

    // The placement for a `target`-sized rectangle of a `source`-sized image.
    Placement placementFor(const QSize &source, const QSize &target) const;
    bool operator==(const SourcePlacement &) const = default;
};

// A focus given in the pixels of a `size`d source, relative to it.
QPointF relativeFocus(const QPointF &pixels, const QSize &size);

enum class PictureSourceKind { Template, Sheet, File };

// Where a picture comes from.
struct SizeSource {
    PictureSourceKind kind = PictureSourceKind::Template;
    QString file;               // File: the SHA-256 (hex) of the source's bytes
    SourcePlacement placement;  // File
    QJsonObject extra;
    bool operator==(const SizeSource &) const = default;
};

// A picture's source at every size, and what one size has instead.
struct PictureSource : SizeSource {
    std::map<int, SizeSource> overrides;  // profile -> its source at that size

    const SizeSource &at(int profile) const;
    bool operator==(const PictureSource &) const = default;
};

struct ExportSettings {
    QString depthOption = QStringLiteral("/c24");  // as the converter names it
    bool smooth = false;                           // pictures error-diffused for c4 and c8
    std::vector<int> profiles{1, 2, 3, 4, 5, 6};   // the sizes exported
    QJsonObject extra;
    bool operator==(const ExportSettings &) const = default;
};

struct ImportedSheet {
    int profile = 0;
    QImage sheet;  // RGB32, as the skin file gave it
};

struct SkinProject {
    QString name;     // the skin's name; exported files are named as Save names it
    int profile = 0;  // the size shown first, whose contact list is the thumbnail
    ColourSlots colours{};
    std::map<int, std::map<int, QRgb>> colourOverrides;  // profile -> slot -> colour
    // Sheets read from skin files or made by the generator, one per size at
    // most; sizes without one are ported from the first.
    std::vector<ImportedSheet> sheets;
    std::array<PictureSource, kPictureCount> pictures;
    QJsonObject generator;  // the generator's settings when the design was made from a picture
    ExportSettings exporting;
    double threshold = 4.5;  // the legibility threshold
    std::map<QString, QByteArray> pictureFiles;  // SHA-256 (hex) -> the file's bytes
    QJsonObject extra;

    QRgb colourAt(int profile, int slot) const;
    ColourSlots coloursAt(int profile) const;
    // The imported sheet of `profile`, or null.
    const ImportedSheet *sheetAt(int profile) const;
    // Keeps `bytes` (once) and returns the name they are kept under.
    QString addPictureFile(const QByteArray &bytes);
    // Sets a colour for every size (dropping the overrides of that slot), or
    // for `profile` only when it is not 0.
    void setColour(int slot, QRgb colour, int profile = 0);
    // Makes picture `picture` the file `bytes` with `placement`, for every
    // size (dropping its overrides), or for `profile` only when that is not 0.
    void setPictureFile(int picture, const QByteArray &bytes, const SourcePlacement &placement, int profile = 0);
    // Picture files no picture uses any more are dropped.
    void dropUnusedFiles();
    // Whether some picture of some size is placed with a scrim under its texts.
    bool hasScrim() const;
};

// A project of `profile` from its template's colours, every picture from the template.
SkinProject projectFromTemplate(int profile, const QImage &templateSheet, const QString &name);
// A project holding `sheet` of `profile` (a skin file, a generated skin):
// its colours shared, its pictures its own pixels.
SkinProject projectFromSheet(int profile, const QImage &sheet, const QString &name);

// project.json: everything but the bytes of pictures and sheets, which are
// named by their entries in the archive. Keys come out sorted, so the same
// project always gives the same text.
QByteArray projectJson(const SkinProject &project);
// Reads project.json. A newer format version is refused naming both
// versions; `shownPath` names the file in messages. The sheets' and pictures'
// entry names are returned in `sheetEntries` (profile -> entry) for the
// caller to fill in; picture files are named by their hash.
Status parseProjectJson(const QByteArray &json, const QString &shownPath, SkinProject &out,
                        std::map<int, QString> &sheetEntries);

// Where export writes the skin of `profile`: in `folder`, named as Save names
// a skin called `name` ("extskin_240x320_name.mbm").
QString exportedSkinPath(const QString &folder, const QString &name, int profile);

// Entry names in the archive.
QString pictureEntryName(const QString &hash);
QString sheetEntryName(int profile);
QString sha256Hex(const QByteArray &bytes);
// The picture the generator made the design from (kept in the archive), empty for none.
QString generatorPictureHash(const SkinProject &project);

} // namespace zelkor
