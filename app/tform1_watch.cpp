// The main window's part in following the image editor: the watcher lives as
// long as the document, so a save in the editor reaches the sheet whether the
// picture editing dialog is open or not, and its messages are shown here.
#include "tform1.h"

#include "editing/picturefiles.h"
#include "editing/workingfilewatcher.h"
#include "seams.h"
#include "skin/skindocument.h"

#include <QApplication>

namespace zelkor {

void TForm1::createWatcher()
{
    m_watcher = new WorkingFileWatcher(*m_doc, m_doc);
    m_watcher->setEnabled(followEditorChanges());
    connect(m_watcher, &WorkingFileWatcher::failed, this, [this](const QString &text) {
        QWidget *modal = QApplication::activeModalWidget();
        seams().critical(modal ? modal : this, text, QString());
    });
}

} // namespace zelkor
