#include "tform1.h"
#include "tform1private.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace zelkor {

QString TForm1::droppedSkinFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    const QString path = urls.front().toLocalFile();
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QLatin1String("mbm"), Qt::CaseInsensitive) == 0
                   || suffix.compare(QLatin1String("zskin"), Qt::CaseInsensitive) == 0
               ? path
               : QString();
}

void TForm1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedSkinFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent *event)
{
    const QString path = droppedSkinFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Load once the drop is over: the program the file came from waits for the
    // drop to finish, and a load may show a message box.
    QTimer::singleShot(0, this, [this, path] { loadSkinFile(path); });
}

} // namespace zelkor
