#include "helpwindow.h"

#include "app/seams.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace zelkor {

namespace {

QPointer<HelpWindow> openWindow;

// Each window the guide describes, by class, and its page.
struct GuidePage {
    const char *className;
    const char *page;
};
constexpr GuidePage kGuidePages[] = {
    {"zelkor::TForm1", "main.html"},
    {"zelkor::TForm2", "new.html"},
    {"zelkor::TForm3", "pictures.html"},
    {"zelkor::PlacementDialog", "pictures.html"},
    {"zelkor::NewFromPictureDialog", "frompicture.html"},
    {"zelkor::TForm5", "save.html"},
};

class GuideKey : public QObject {
public:
    GuideKey(QObject *owner, QString folder) : QObject(owner), m_folder(std::move(folder)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1 ||
            static_cast<QKeyEvent *>(event)->modifiers() != Qt::NoModifier || !watched->isWidgetType())
            return false;
        QWidget *window = static_cast<QWidget *>(watched)->window();
        if (window == HelpWindow::current())
            return false;
        if (const Status s = HelpWindow::open(m_folder, guidePage(window), window); !s)
            report(window, s);
        return true;
    }

private:
    QString m_folder;
};

} // namespace

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("helpWindow"));
    browser = new QTextBrowser(this);
    auto *bar = new QToolBar(this);
    bar->addAction(QStringLiteral("Назад"), browser, &QTextBrowser::backward);
    bar->addAction(QStringLiteral("Вперёд"), browser, &QTextBrowser::forward);
    bar->addAction(QStringLiteral("Содержание"), browser, &QTextBrowser::home);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(browser);
    connect(browser, &QTextBrowser::sourceChanged, this, [this] {
        setWindowTitle(QStringLiteral("Руководство — %1").arg(browser->documentTitle()));
    });
    // Wide enough for the pictures of the main window, shown pixel for pixel.
    resize(1060, 720);
}

HelpWindow *HelpWindow::current()
{
    return openWindow;
}

Status HelpWindow::open(const QString &guideFolder, const QString &page, QWidget *over)
{
    const QDir guide(guideFolder);
    const QString path = guide.filePath(page);
    if (!QFileInfo(path).isFile())
        return Status::failure(QStringLiteral("Руководство не найдено: нет файла «%1».")
                                   .arg(QDir::toNativeSeparators(QDir::cleanPath(path))));
    // A window over another one would be blocked by a dialog that waits: a
    // dialog gets a help window of its own.
    if (openWindow && openWindow->parentWidget() != over) {
        openWindow->close();  // deleted later
        openWindow = nullptr;
    }
    if (!openWindow) {
        openWindow = new HelpWindow(over);
        // "Содержание" goes to the contents, whichever page opened first.
        openWindow->browser->setSource(QUrl::fromLocalFile(guide.filePath(QStringLiteral("index.html"))));
        openWindow->browser->clearHistory();
    }
    openWindow->browser->setSource(QUrl::fromLocalFile(path));
    openWindow->show();
    openWindow->raise();
    openWindow->activateWindow();
    return Status::success();
}

QString guidePage(const QWidget *window)
{
    for (const QWidget *w = window; w; w = w->parentWidget())
        for (const GuidePage &p : kGuidePages)
            if (w->inherits(p.className))
                return QString::fromLatin1(p.page);
    return QStringLiteral("index.html");
}

void installGuideKey(QObject *owner, const QString &guideFolder)
{
    qApp->installEventFilter(new GuideKey(owner, guideFolder));
}

} // namespace zelkor
