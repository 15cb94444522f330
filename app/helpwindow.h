#pragma once
// "Руководство": the user's guide (HTML pages in the data folder's guide/)
// in the program's own window. F1 opens it at the page of the window in use,
// a dialog's page over that dialog, so it can be read while the dialog waits.

#include "imaging/status.h"

#include <QWidget>

class QTextBrowser;

namespace zelkor {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // The one help window, shown at `page` of the guide in `guideFolder`,
    // over `over` (the main window or a dialog); a failure names the file.
    static Status open(const QString &guideFolder, const QString &page, QWidget *over);
    // The window open now, if any.
    static HelpWindow *current();

    QTextBrowser *browser = nullptr;

private:
    explicit HelpWindow(QWidget *parent);
};

// The guide's page for the window `window` (by its class): "main.html" for
// the main window, a dialog's own page, else the contents, "index.html".
QString guidePage(const QWidget *window);

// While `owner` lives, F1 in any dialog opens the guide in `guideFolder` at
// that dialog's page (the main window has its own F1 through its menu), or
// says over the dialog why it could not.
void installGuideKey(QObject *owner, const QString &guideFolder);

} // namespace zelkor
