// Save and Save As: a skin with a file of its own is written back to it at
// its depth without a question; otherwise the file dialog, the replace
// question and the depth dialog decide where and how.
#include "tform1.h"

#include "busycursor.h"
#include "preview/colourpairs.h"
#include "seams.h"
#include "skin/savedepth.h"
#include "skin/savename.h"
#include "skin/skindocument.h"
#include "tform5.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace zelkor {

namespace {
// The author's choices kept between runs.
const QString kSaveFolderKey = QStringLiteral("save/folder");
const QString kSaveDepthKey = QStringLiteral("save/depth");
const QString kSmoothKey = QStringLiteral("save/smoothPictures");
} // namespace

bool TForm1::smoothPreview()
{
    return QSettings().value(kSmoothKey, false).toBool();
}

QString TForm1::saveAsFilter()
{
    return QStringLiteral("Скины Zelkor (*.mbm);;Все файлы (*)");
}

bool TForm1::N6Click()
{
    if (!m_doc->hasSkin()) {
        reportError(QStringLiteral("Скин не создан и не загружен: сохранять нечего."));
        return false;
    }
    // A file at a depth that is none of the save depths has no depth to keep.
    if (!m_doc->hasOwnFile() || m_doc->fileDepth().isEmpty())
        return N10Click();
    return writeSkin(m_doc->filePath(), m_doc->fileDepth(), m_doc->fileSmoothed(), IfExists::Replace);
}

bool TForm1::N10Click()
{
    if (!m_doc->hasSkin()) {
        reportError(QStringLiteral("Скин не создан и не загружен: сохранять нечего."));
        return false;
    }
    QSettings settings;
    // Start where the skin's file is, else where the last save went, with the
    // skin's name (none after New: the template's name is no name for a skin).
    const QString folder = m_doc->hasOwnFile() ? QFileInfo(m_doc->filePath()).absolutePath()
                                               : settings.value(kSaveFolderKey).toString();
    const QString name = m_doc->hasOwnFile() || m_doc->filePath().isEmpty() ? m_doc->displayName() : QString();
    const QString start = folder.isEmpty() ? name : QDir(folder).filePath(name);
    const QString chosen = seams().saveFile(this, QStringLiteral("Сохранить скин как"), start, saveAsFilter());
    if (chosen.isEmpty())
        return false;
    const QString target = saveTarget(QFileInfo(chosen).absoluteFilePath(), m_doc->profile()).targetPath;
    IfExists existing = IfExists::Refuse;
    if (QFileInfo::exists(target)) {
        if (seams().ask(this, QStringLiteral("Файл «%1» уже существует. Заменить?").arg(QDir::toNativeSeparators(target)),
                        {QStringLiteral("Заменить"), QStringLiteral("Отмена")}) != 0)
            return false;
        existing = IfExists::Replace;
    }

    TForm5 depth(this);
    depth.colorgl->setItemIndex(preselectedDepthItem(
        {m_doc->fileDepth(), settings.value(kSaveDepthKey).toString(), previewDepth()}));
    depth.setSmoothing(settings.value(kSmoothKey, false).toBool());
    depth.setFileSizes(depthFileSizes(m_doc->sheet(), m_doc->profile()));
    // Esc or "Отмена" cancels the save.
    if (seams().execDialog(&depth) != QDialog::Accepted)
        return false;
    const QString option = depth.depthOption();
    settings.setValue(kSaveDepthKey, option);
    if (canSmooth(option))
        settings.setValue(kSmoothKey, depth.smoothing());
    if (!writeSkin(target, option, depth.smoothing(), existing))
        return false;
    settings.setValue(kSaveFolderKey, QFileInfo(target).absolutePath());
    return true;
}

bool TForm1::writeSkin(const QString &target, const QString &option, bool smooth, IfExists existing)
{
    // A depth that merges colours drawn over each other, or brings a text
    // below the contrast threshold, makes text vanish on the phone: say
    // which, before anything is written.
    const QString warning = saveDepthWarning(option, smooth);
    if (!warning.isEmpty()
        && seams().ask(this, warning, {QStringLiteral("Сохранить всё равно"), QStringLiteral("Отмена")}) != 0)
        return false;
    Status status;
    {
        const BusyCursor busy;
        status = m_doc->saveTo(target, option, existing, smooth);
    }
    report(this, status);
    return status.ok();
}

} // namespace zelkor
