// The main window's part in following the image editor: the watcher lives as
// long as the document, so a save in the editor reaches the sheet whether the
// picture editing dialog is open or not, and its messages are shown here.
// A save the sheet does not have yet (following off, or its placement
// declined) is a change of the skin like any other: the caption shows it, and
// whatever would replace the skin asks about it first.
#include "tform1.h"
#include "tform1private.h"

#include "desktop/preferences.h"
#include "editing/picturefiles.h"
#include "editing/workingfilewatcher.h"
#include "app/placementdialog.h"
#include "app/seams.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace zelkor {

namespace {
QWidget *topDialog(QWidget *window)
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal ? modal : window;
}
} // namespace

void TForm1::createWatcher()
{
    d->watcher = new WorkingFileWatcher(*d->doc, d->doc);
    d->watcher->setEnabled(prefs::followEditor);
    d->watcher->setPlacer([this](int picture, const QImage &image, const QString &path) {
        return placeEditorSave(picture, image, path);
    });
    connect(d->watcher, &WorkingFileWatcher::failed, this,
            [this](const QString &text) { seams().critical(topDialog(this), text, QString()); });
    connect(d->watcher, &WorkingFileWatcher::untakenChanged, this, [this] {
        updateCaption();
    });
}

bool TForm1::isModified() const
{
    return d->doc->isModified() || (d->doc->hasSkin() && d->watcher && !d->watcher->untakenPictures().empty());
}

std::optional<QImage> TForm1::placeEditorSave(int picture, const QImage &image, const QString &path)
{
    const auto place = pictureRect(picture, d->doc->profile());
    if (!place)
        return std::nullopt;
    QWidget *parent = topDialog(this);
    const int answer = seams().ask(
        parent,
        QStringLiteral("Картинка «%1» из редактора размером %2 x %3 точек, а её место в скине — %4 x %5. "
                       "Разместить её в скине (обрезать, вписать или растянуть)?")
            .arg(QDir::toNativeSeparators(path))
            .arg(image.width())
            .arg(image.height())
            .arg(place->width)
            .arg(place->height),
        {QStringLiteral("Разместить…"), QStringLiteral("Не брать")});
    if (answer != 0)
        return std::nullopt;
    PlacementDialog step(*d->doc, picture, image, parent);
    if (seams().execDialog(&step) != QDialog::Accepted)
        return std::nullopt;
    PlacementDialog::rememberMode(step.mode());
    return step.result();
}

bool TForm1::askAboutUntaken(const std::vector<int> &pictures)
{
    QStringList names;
    for (int picture : pictures)
        names << QStringLiteral("«%1» (%2)").arg(QString::fromUtf8(pictureInfo(picture).caption),
                                               QFileInfo(workingFilePath(d->doc->workFolder(), picture)).fileName());
    QString text = pictures.size() == 1
                       ? QStringLiteral("Картинка %1 изменена в редакторе и не взята в скин.").arg(names.first())
                       : QStringLiteral("Картинки %1 изменены в редакторе и не взяты в скин.").arg(names.join(QStringLiteral(", ")));
    if (d->doc->isModified())
        text += QStringLiteral(" Скин тоже изменён.");
    text += QStringLiteral(" Сохранить изменения?");
    const int answer = seams().ask(this, text,
                                   {QStringLiteral("Взять в скин"), QStringLiteral("Сохранить"),
                                    QStringLiteral("Не сохранять"), QStringLiteral("Отмена")});
    if (answer == 2)
        return true;
    if (answer != 0 && answer != 1)
        return false;
    // Each picture one undo step, as following takes it.
    for (int picture : pictures) {
        const Status status = d->watcher->takeNow(picture);
        if (!status) {
            report(this, status);
            return false;
        }
    }
    // Taken in, the skin is modified: it is saved, or asked about as any change.
    return answer == 1 ? N6Click() : maybeSave();
}

} // namespace zelkor
