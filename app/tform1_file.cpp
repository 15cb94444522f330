#include "tform1.h"

#include "busycursor.h"
#include "seams.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "tform2.h"
#include "tform5.h"

#include <QApplication>
#include <QFileInfo>

namespace zelkor {

bool TForm1::maybeSave()
{
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

bool TForm1::N6Click()
{
    if (!m_doc->hasSkin()) {
        reportError(QStringLiteral("Скин не создан и не загружен: сохранять нечего."));
        return false;
    }
    const QString chosen = seams().saveFile(this, QString(), QString(), QString());
    if (chosen.isEmpty())
        return false;
    QString option;
    {
        TForm5 depth(this);
        // Esc or the close box cancels the save.
        if (seams().execDialog(&depth) != QDialog::Accepted)
            return false;
        option = depth.depthOption();
    }
    // A depth that merges colours drawn over each other, or brings a text
    // below the contrast threshold, makes text vanish on the phone: say
    // which, before anything is written.
    const QString warning = saveDepthWarning(option);
    if (!warning.isEmpty()
        && seams().ask(this, warning, {QStringLiteral("Сохранить всё равно"), QStringLiteral("Отмена")}) != 0)
        return false;
    Status status;
    {
        const BusyCursor busy;
        status = m_doc->save(chosen, option);
    }
    report(this, status);
    return status.ok();
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
