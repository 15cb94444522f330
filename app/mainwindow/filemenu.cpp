#include "tform1.h"
#include "tform1private.h"

#include "app/busycursor.h"
#include "editing/workingfilewatcher.h"
#include "app/seams.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "app/tform2.h"
#include "project/projectfile.h"

#include <QApplication>
#include <QFileInfo>

namespace zelkor {

bool TForm1::maybeSave()
{
    if (const auto untaken = d->doc->hasSkin() ? d->watcher->untakenPictures() : std::vector<int>(); !untaken.empty())
        return askAboutUntaken(untaken);
    if (!d->doc->isModified())
        return true;
    const int answer = seams().ask(this, QStringLiteral("Скин изменён. Сохранить изменения?"),
                                   {QStringLiteral("Сохранить"), QStringLiteral("Не сохранять"),
                                    QStringLiteral("Отмена")});
    switch (answer) {
    case 0:
        return N6Click();
    case 1:
        return true;
    default:
        return false;
    }
}

void TForm1::N2Click()
{
    if (!maybeSave())
        return;
    TForm2 dialog(this);
    if (seams().execDialog(&dialog) != QDialog::Accepted)
        return;
    Status status;
    {
        const BusyCursor busy;
        status = d->doc->newFromTemplate(dialog.chosenProfile());
    }
    report(this, status);
}

bool TForm1::openSkinFile(const QString &path)
{
    if (readsAsProject(path))
        return openProject(path);
    Status status;
    {
        const BusyCursor busy;
        status = d->doc->load(path);
    }
    report(this, status);
    return status.ok();
}

bool TForm1::loadSkinFile(const QString &path)
{
    return maybeSave() && openSkinFile(path);
}

void TForm1::N3Click()
{
    if (!maybeSave())
        return;
    const QString chosen = seams().openFile(this, QString(), d->doc->programFiles().dataPath(QStringLiteral("skn")),
                                            openDialogFilter());
    if (chosen.isEmpty())
        return;
    openSkinFile(chosen);
}

void TForm1::N7Click()
{
    if (!d->doc->hasSkin() || !maybeSave())
        return;
    TForm2 dialog(this);
    dialog.offerPortFrom(d->doc->profile());
    if (seams().execDialog(&dialog) != QDialog::Accepted || dialog.chosenProfile() == d->doc->profile())
        return;
    Status status;
    {
        const BusyCursor busy;
        status = d->doc->portTo(dialog.chosenProfile());
    }
    report(this, status);
}

} // namespace zelkor
