#pragma once
// The four stages of a gallery run, in order: collect the input files (each
// distinct content once), reuse what an earlier run drew of them or draw them
// now, write the pages, and finish the site (remove what is no longer needed,
// record what it holds). Each returns a failure that ends the run; files that
// are no skins are not failures of a stage but problems listed on the pages.

#include "gallerypage.h"
#include "gallerysite.h"
#include "galleryskin.h"

#include "imaging/status.h"

#include <QStringList>

#include <vector>

namespace zelkor::cli {

class Session;

// What a run knows, handed from stage to stage.
struct GalleryRun {
    GalleryRun(Session &session, const QString &site) : session(session), site(site) {}

    Session &session;
    GallerySite site;
    GalleryOptions options;

    std::vector<GalleryFile> inputs;       // collected, each content once
    std::vector<GallerySkin> skins;        // reused or drawn
    std::vector<GalleryProblem> problems;  // files that are no skins, with the reason
    QStringList written;                   // files of the site written by this run
    bool failed = false;                   // a problem was reported: the exit code is 1
};

// The files the arguments name: a folder's skin files (by name or first
// bytes), a file as it is; their bytes, read once. A name that is neither a
// folder nor a file ends the run before anything is written.
Status collectInputs(GalleryRun &run, const QStringList &arguments);
// Opens the site, then takes each input's pictures from an earlier run when
// they are all still there, else reads and draws the skin.
Status reuseOrDraw(GalleryRun &run);
Status writePages(GalleryRun &run);
Status finishSite(GalleryRun &run);

} // namespace zelkor::cli
