// The empty window's welcome view, and the picture of each skin file opened
// or saved that the view's recent files (and file managers) show.
#include "tform1.h"
#include "tform1private.h"

#include "app/welcomeview.h"
#include "desktop/thumbnailcache.h"
#include "preview/screenimage.h"

#include <QTimer>

namespace zelkor {

void TForm1::createWelcome()
{
    d->welcome = new WelcomeView(centralWidget());
    connect(d->welcome, &WelcomeView::newRequested, this, [this] { N2Click(); });
    connect(d->welcome, &WelcomeView::fromPictureRequested, this, [this] { N8Click(); });
    connect(d->welcome, &WelcomeView::loadRequested, this, [this] { N3Click(); });
    connect(d->welcome, &WelcomeView::recentChosen, this, [this](const QString &path) { openRecentFile(path); });
    const auto refresh = [this] {
        d->welcome->setVisible(!d->doc->hasSkin());
        if (!d->doc->hasSkin())
            d->welcome->setRecentFiles(d->recentFiles.files());
    };
    connect(&d->recentFiles, &RecentFiles::changed, this, refresh);
    connect(d->doc, &SkinDocument::skinReplaced, this, refresh);
    refresh();

    // Drawn once the window has taken the skin in (its phone picture, its
    // icons): the contact list on the phone, as the file now is. A load says
    // both that the skin and the name changed; one picture serves both.
    auto *thumbnail = new QTimer(this);
    thumbnail->setSingleShot(true);
    thumbnail->setInterval(0);
    connect(thumbnail, &QTimer::timeout, this, [this] {
        if (d->doc->hasOwnFile() && !d->doc->isModified())
            keepThumbnail(d->doc->filePath(), skinThumbnail());
    });
    for (auto signal : {&SkinDocument::skinReplaced, &SkinDocument::fileNameChanged})
        connect(d->doc, signal, thumbnail, qOverload<>(&QTimer::start));
}

QImage TForm1::skinThumbnail() const
{
    return contactsOnPhone(d->doc->sheet(), d->doc->profile(), IconSheets{d->smallIcons, d->largeIcons},
                           d->previewArea->photo());
}

} // namespace zelkor
