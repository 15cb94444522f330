#include "tform1.h"

#include "busycursor.h"
#include "editing/workingfilewatcher.h"
#include "seams.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "tform2.h"

#include <QApplication>
#include <QFileInfo>

namespace zelkor {

bool TForm1::maybeSave()
{
    if (const auto untaken = m_doc->hasSkin() ? m_watcher->untakenPictures() : std::vector<int>(); !untaken.empty())
        return askAboutUntaken(untaken);
    if (!m_doc->isModified())
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
        status = m_doc->newFromTemplate(dialog.chosenProfile());
    }
    report(this, status);
}

bool TForm1::openSkinFile(const QString &path)
{
    Status status;
    {
        const BusyCursor busy;
        status = m_doc->load(path);
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
    const QString chosen = seams().openFile(this, QString(), m_doc->programFiles().dataPath(QStringLiteral("skn")),
                                            openDialogFilter());
    if (chosen.isEmpty())
        return;
    openSkinFile(chosen);
}

void TForm1::N7Click()
{
    if (!m_doc->hasSkin() || !maybeSave())
        return;
    TForm2 dialog(this);
    dialog.offerPortFrom(m_doc->profile());
    if (seams().execDialog(&dialog) != QDialog::Accepted || dialog.chosenProfile() == m_doc->profile())
        return;
    Status status;
    {
        const BusyCursor busy;
        status = m_doc->portTo(dialog.chosenProfile());
    }
    report(this, status);
}

} // namespace zelkor
