#include "tform1.h"

#include "seams.h"
#include "skin/converter.h"
#include "skin/profiles.h"
#include "skin/savename.h"
#include "skin/sheet.h"
#include "skin/tform2.h"
#include "skin/tform5.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zelkor {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The window stays unresponsive while the converter runs; say so.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// Removes a transient file when the command is over, however it ends.
class TransientFile {
public:
    explicit TransientFile(QString path) : m_path(std::move(path)) { QFile::remove(m_path); }
    ~TransientFile() { QFile::remove(m_path); }
    TransientFile(const TransientFile &) = delete;
    TransientFile &operator=(const TransientFile &) = delete;
    const QString &path() const { return m_path; }

private:
    QString m_path;
};

} // namespace

// Unpacks `skinFile` with the converter into the program folder's temp.bmp
// and reads that into `into`. Reports a failure and returns false; `into` is
// then untouched.
static bool unpackSkin(TForm1 *form, const QString &skinFile, QImage &into)
{
    const TransientFile temp(form->programPath(QStringLiteral("temp.bmp")));
    ConverterResult result;
    {
        const BusyCursor busy;
        result = runConverter(form->programFolder,
                              {unpackArguments(skinFile, temp.path()), QString(), temp.path(), skinFile});
    }
    if (!result) {
        seams().critical(form, result.message);
        return false;
    }
    QString error;
    const QImage loaded = readImageFile(temp.path(), error);
    if (loaded.isNull()) {
        seams().critical(form, error);
        return false;
    }
    into = normalisedSheet(loaded);
    return true;
}

void TForm1::N2Click()
{
    TForm2 dialog(this);
    if (seams().execDialog(&dialog) != QDialog::Accepted)
        return;
    showSkinControls();
    profile = quint8(dialog.chosenProfile());
    const Profile *p = profileByIndex(profile);
    if (!p)
        return;
    if (!unpackSkin(this, programPath(QString::fromUtf8(p->templateName)), sheet))
        return;
    adoptSheet();
}

void TForm1::N3Click()
{
    const QString chosen = seams().openFile(this, QString(), programPath(QStringLiteral("skn")), openDialogFilter());
    if (chosen.isEmpty())
        return;
    loadSkinFile(chosen);
}

bool TForm1::loadSkinFile(const QString &path)
{
    if (!unpackSkin(this, QFileInfo(path).absoluteFilePath(), sheet))
        return false;
    showSkinControls();
    return adoptSheet();
}

void TForm1::N6Click()
{
    const QString chosen = seams().saveFile(this, QString(), QString(), QString());
    if (chosen.isEmpty())
        return;
    QString option;
    {
        TForm5 depth(this);
        if (seams().execDialog(&depth) == QDialog::Accepted)
            option = depth.depthOption();
    }
    const SaveTarget target = saveTarget(QFileInfo(chosen).absoluteFilePath(), profile);
    const QString output = programPath(target.outputName);
    // Saving into the program folder itself: the converter's output is already in place.
    const bool savingInPlace =
        QFileInfo(target.targetPath).dir().canonicalPath() == QDir(programFolder).canonicalPath();

    // Saving never replaces a file: say so before any work is done.
    if (QFileInfo::exists(target.targetPath)) {
        seams().critical(this, QStringLiteral("Файл «%1» уже существует. Скин не сохранён.")
                                   .arg(native(target.targetPath)));
        return;
    }

    // The converter writes its output into the program folder first; a file of
    // that name there (an earlier save into the program folder) would be
    // overwritten, and would pass for this save's output if the converter failed.
    if (!savingInPlace && QFileInfo::exists(output)) {
        seams().critical(this, QStringLiteral("В папке программы уже есть файл «%1»; он не будет перезаписан. "
                                              "Скин не сохранён.")
                                   .arg(native(output)));
        return;
    }

    const TransientFile local(programPath(QStringLiteral("local.bmp")));
    if (sheet.isNull() || !sheet.save(local.path(), "BMP")) {
        seams().critical(this, QStringLiteral("Не удаётся записать файл «%1»%2")
                                   .arg(native(local.path()),
                                        sheet.isNull() ? QStringLiteral(": скин не создан и не загружен.")
                                                       : QStringLiteral(".")));
        return;
    }

    ConverterResult result;
    {
        const BusyCursor busy;
        result = runConverter(programFolder,
                              {packArguments(target.outputName, option), programFolder, output, target.targetPath});
    }
    if (!result) {
        seams().critical(this, result.message);
        return;
    }
    if (savingInPlace)
        return;

    QFile produced(output);
    if (!produced.rename(target.targetPath)) {
        const QString reason = produced.errorString();
        QFile::remove(output);  // a stray copy would only confuse the next save
        seams().critical(this, QStringLiteral("Не удаётся переместить файл «%1» в «%2»: %3")
                                   .arg(native(output), native(target.targetPath), reason));
    }
}

} // namespace zelkor
