#pragma once
// The pages of a skin gallery: what is known of each skin that was read, the
// families that one design makes in several screen sizes, and the HTML of the
// index, of one page per size and of one page per design. Everything here is
// plain text building: the same skins give the same bytes, in any locale.

#include "preview/screenimage.h"
#include "skin/sheet.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace zelkor::cli {

// How legible the texts of a skin's screens are, as the legibility check
// measures them against what lies under them: the lowest contrast of any text
// and, per colour slot, the lowest of its texts (1..21; 0 for a slot that
// colours no text).
struct GalleryLegibility {
    double lowest = 21;
    std::array<double, 13> worst{};
    // The slots whose worst text falls below `threshold`, ascending.
    std::vector<int> failing(double threshold) const;
};

struct GallerySkin {
    QString fileName;  // the skin file's own name, shown on the page
    QString key;       // content key: names the skin's pictures and copy in the site
    QString project;   // the content key of the project it is a size of; empty for a skin file
    int profile = 0;   // 1..6
    ColourSlots colours{};
    qint64 fileSize = 0;
    QSize screen;  // pixel size of each screen's picture
    QSize phone;   // of the contact list on the phone, the card's picture
    std::optional<GalleryLegibility> legibility;
    // A project's sizes: what opening it said (a picture taken from the
    // template instead, ...), shown under its card.
    QStringList notices;
};

struct GalleryProblem {
    QString fileName;
    QString reason;
};

// One card: the skins of one design, at most one per screen size. Anything
// that gives a skin per size (files named as Save names them, a project's
// sizes) can make one.
struct GalleryFamily {
    QString name;  // the shared name without the size prefix and ".mbm"
    QString id;    // the card's anchor and the name of its design page
    std::vector<const GallerySkin *> sizes;  // by profile
};

// The size prefix that Save and port put before a name ("extskin_240x320_")
// taken off, when the name has one.
QString familyKey(const QString &fileName);
// Skins whose names agree after the size prefix form one family (a
// project's sizes only with each other, never with skin files); a second
// skin of a size a family already has starts another. Families come in a
// fixed order (by name, case folded), whatever the order of `skins`.
std::vector<GalleryFamily> groupFamilies(const std::vector<GallerySkin> &skins);

struct GalleryOptions {
    QString title;
    QString date;  // ISO date for the footer; empty for none
    double minContrast = 4.5;  // as the legibility check's default
};

struct GalleryPage {
    QString fileName;  // "index.html", "size-240x320.html"
    QByteArray html;
};

// The index (every family, each a compact card opened at its largest size),
// one page per screen size that occurs (only the families with that size,
// opened at it) and one page per family with every screen, the colours and
// the legibility in detail. `problems` are listed at the end of the index
// and size pages.
std::vector<GalleryPage> galleryPages(const std::vector<GalleryFamily> &families,
                                      const std::vector<GalleryProblem> &problems, const GalleryOptions &options);

// Where a skin's files lie in the site, relative to its root. The copy for
// download is named as the file, but always ends in ".mbm".
QString screenPath(const GallerySkin &skin, const NamedScreen &screen);
QString phonePath(const GallerySkin &skin);
QString copyPath(const GallerySkin &skin);
// All of them.
QStringList skinSiteFiles(const GallerySkin &skin);

} // namespace zelkor::cli
