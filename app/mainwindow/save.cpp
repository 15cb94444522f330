// Save and Save As: a skin with a file of its own is written back to it at
// its depth without a question; otherwise the file dialog, the replace
// question and the depth dialog decide where and how.
#include "tform1.h"
#include "tform1private.h"

#include "app/busycursor.h"
#include "preview/colourpairs.h"
#include "app/seams.h"
#include "skin/savedepth.h"
#include "skin/savename.h"
#include "skin/skindocument.h"
#include "app/tform5.h"
#include "desktop/preferences.h"
#include "skin/userfile.h"

#include <QDir>
#include <QFileInfo>

namespace zelkor {

bool TForm1::smoothPreview() const
{
    if (d->doc->hasOwnFile() && !d->doc->fileDepth().isEmpty() && previewDepth() == d->doc->fileDepth())
        return d->doc->fileSmoothed();
    return prefs::smoothPictures;
}

QString TForm1::saveAsFilter()
{
    return QStringLiteral("Скины Zelkor (*.mbm);;Все файлы (*)");
}

bool TForm1::N6Click()
{
    if (!d->doc->hasSkin()) {
        reportError(QStringLiteral("Скин не создан и не загружен: сохранять нечего."));
        return false;
    }
    if (d->project && !d->doc->hasOwnFile())
        return saveProject(true);
    // A file at a depth that is none of the save depths has no depth to keep.
    if (!d->project && (!d->doc->hasOwnFile() || d->doc->fileDepth().isEmpty()))
        return N10Click();
    // Another program's work (or a file this editor never saw, after a
    // recovery) is not replaced without the author's word.
    if (d->doc->ownFileChangedOnDisk()) {
        const int answer =
            seams().ask(this,
                        QStringLiteral("Файл «%1» изменён другой программой после загрузки. Заменить?")
                            .arg(QDir::toNativeSeparators(d->doc->filePath())),
                        {QStringLiteral("Заменить"), QStringLiteral("Сохранить как…"), QStringLiteral("Отмена")});
        if (answer == 1)
            return N10Click();
        if (answer != 0)
            return false;
    }
    if (d->project)
        return saveProject(false);
    return writeSkin(d->doc->filePath(), d->doc->fileDepth(), d->doc->fileSmoothed(), IfExists::Replace);
}

bool TForm1::N10Click()
{
    if (!d->doc->hasSkin()) {
        reportError(QStringLiteral("Скин не создан и не загружен: сохранять нечего."));
        return false;
    }
    if (d->project)
        return saveProject(true);
    // Start where the skin's file is, else where the last save went, with the
    // skin's name (none after New: the template's name is no name for a skin).
    const QString folder = d->doc->hasOwnFile() ? QFileInfo(d->doc->filePath()).absolutePath()
                                               : prefs::saveFolder.get();
    const QString name = d->doc->hasOwnFile() || d->doc->filePath().isEmpty() ? d->doc->displayName() : QString();
    const QString start = folder.isEmpty() ? name : QDir(folder).filePath(name);
    const QString chosen = seams().saveFile(this, QStringLiteral("Сохранить скин как"), start, saveAsFilter());
    if (chosen.isEmpty())
        return false;
    const QString target = saveTarget(QFileInfo(chosen).absoluteFilePath(), d->doc->profile()).targetPath;
    // A folder, a pipe or a device is never replaced: said before any question.
    if (const QString kind = specialFileKind(target, false); !kind.isEmpty() && !QFileInfo(target).isSymLink()) {
        reportError(notAFileMessage(target, kind) + QStringLiteral(" Скин не сохранён; выберите другое имя."));
        return false;
    }
    IfExists existing = IfExists::Refuse;
    if (QFileInfo::exists(target)) {
        if (seams().ask(this, QStringLiteral("Файл «%1» уже существует. Заменить?").arg(QDir::toNativeSeparators(target)),
                        {QStringLiteral("Заменить"), QStringLiteral("Отмена")}) != 0)
            return false;
        existing = IfExists::Replace;
    }

    TForm5 depth(this);
    depth.colorgl->setItemIndex(preselectedDepthItem(
        {d->doc->fileDepth(), prefs::saveDepth.get(), previewDepth()}));
    depth.setSmoothing(prefs::smoothPictures);
    depth.setFileSizes(depthFileSizes(d->doc->sheet(), d->doc->profile()));
    // Esc or "Отмена" cancels the save.
    if (seams().execDialog(&depth) != QDialog::Accepted)
        return false;
    const QString option = depth.depthOption();
    prefs::saveDepth.set(option);
    if (canSmooth(option))
        prefs::smoothPictures.set(depth.smoothing());
    if (!writeSkin(target, option, depth.smoothing(), existing))
        return false;
    prefs::saveFolder.set(QFileInfo(target).absolutePath());
    return true;
}

bool TForm1::confirmSaveDepth(QString &option, bool &smooth)
{
    const QString warning = saveDepthWarning(option, smooth);
    if (warning.isEmpty())
        return true;
    // Below 16 bits, 16 may keep every text as it reads now: offered as the way out.
    const QString sixteen = QStringLiteral("/c16");
    const bool offerSixteen = depthItem(option) < depthItem(sixteen) && saveDepthWarning(sixteen).isEmpty();
    QStringList buttons{QStringLiteral("Сохранить всё равно")};
    if (offerSixteen)
        buttons << QStringLiteral("Сохранить в 16 bpp");
    buttons << QStringLiteral("Отмена");
    const int answer = seams().ask(this, warning, buttons);
    if (offerSixteen && answer == 1) {
        option = sixteen;
        smooth = false;
        return true;
    }
    return answer == 0;
}

bool TForm1::writeSkin(const QString &target, const QString &option, bool smooth, IfExists existing)
{
    // A depth that merges colours drawn over each other, or brings a text
    // below the contrast threshold, makes text vanish on the phone: say
    // which, before anything is written.
    QString depth = option;
    if (!confirmSaveDepth(depth, smooth))
        return false;
    Status status;
    {
        const BusyCursor busy;
        status = d->doc->saveTo(target, depth, existing, smooth);
    }
    report(this, status);
    return status.ok();
}

} // namespace zelkor
