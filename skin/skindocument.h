#pragma once
// The skin document: the one owner of the skin sheet, its profile, its screen
// size, the file it came from, the modified state and the undo history. The
// main window and the picture editing dialog are views of it; the
// command-line program uses it too. Every operation returns one status and
// either succeeds completely or changes nothing: all work happens in locals
// and is assigned only once every step has succeeded.

#include "filewrite.h"
#include "programfiles.h"
#include "sheet.h"
#include "imaging/status.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <cstdint>

class QUndoStack;

namespace zelkor {

class ConverterProgress;
struct RecoveredSkin;

// A skin read from a file: its sheet (24-bit) and its profile (1..6), and
// what the author must hear of a file that is a skin but not a whole one (a
// sheet shorter than its layout, several bitmaps), empty when nothing is amiss;
// and the depth the file stores it at ("/c16"; empty when that is none of
// the save depths).
struct SkinImage {
    QImage sheet;
    int profile = 0;
    QString notice;
    QString depth;
};

// The save depth option ("/c8") of the skin file at `path`, read from its
// header; empty for a file that is no skin or one at another depth.
QString skinFileDepth(const QString &path);

// The largest sheet any skin can need, with a generous margin: a bitmap
// claiming more is refused before it is unpacked or read.
std::int64_t maxSheetPixels();
// The largest file that can hold such a sheet, uncompressed: a larger file is
// refused unread.
qint64 maxSkinFileBytes();

// Reads a skin file through the converter (unpacking into a fresh folder below
// `workFolder`), checks its size and recognises its profile. Shared by the
// document and the command-line program, so both read a skin the same way.
// Only a regular file (or a link to one) of at most maxSkinFileBytes() is
// read, once: the converter gets a copy of those bytes.
Status readSkinFile(const ProgramFiles &files, const QString &workFolder, const QString &path, SkinImage &out,
                    ConverterProgress *progress = nullptr);
// The same for the bytes of a skin file already read; `path` is the file
// they came from, named in messages.
Status readSkinBytes(const ProgramFiles &files, const QString &workFolder, const QByteArray &bytes,
                     const QString &path, SkinImage &out, ConverterProgress *progress = nullptr);

// The name Save gives a skin of `profile` that was called `name`: the
// profile's prefix in place of any earlier one ("extskin_240x320_a.mbm" ->
// "extskin_320x240_a.mbm"), ".mbm" when it has no extension.
QString portedName(const QString &name, int profile);

// Ports `skin` to `toProfile` from that profile's template, read through the
// converter like any skin.
Status portSkin(const ProgramFiles &files, const QString &workFolder, const SkinImage &skin, int toProfile,
                SkinImage &out, ConverterProgress *progress = nullptr);

// Writes `sheet` as a skin at `depthOption` ("/c24", empty for the
// converter's default) to `targetPath`, which must not exist yet unless
// `ifExists` is Replace. The converter writes into a fresh folder below
// `workFolder`; the result is copied beside the target under a temporary name
// and renamed only when complete, so a failure leaves nothing behind.
Status writeSkinFile(const ProgramFiles &files, const QString &workFolder, const QImage &sheet,
                     const QString &depthOption, const QString &targetPath, ConverterProgress *progress = nullptr,
                     IfExists ifExists = IfExists::Refuse);

class SkinDocument : public QObject {
    Q_OBJECT
public:
    SkinDocument(ProgramFiles files, QString workFolder, QObject *parent = nullptr);
    ~SkinDocument() override;

    const ProgramFiles &programFiles() const { return m_files; }
    const QString &workFolder() const { return m_workFolder; }
    // Shown while a slow converter runs; owned by the caller.
    void setConverterProgress(ConverterProgress *progress) { m_progress = progress; }

    bool hasSkin() const { return m_profile != 0; }
    const QImage &sheet() const { return m_sheet; }
    int profile() const { return m_profile; }   // 0: no skin
    QSize screenSize() const { return m_screen; }
    // The file the skin came from or was last saved to (the template after New).
    const QString &filePath() const { return m_filePath; }
    // True when the skin has a file of its own (loaded or saved), which Save
    // may replace; false after New, a port or with no skin.
    bool hasOwnFile() const { return hasSkin() && m_ownFile; }
    // Whether Save would replace a file that is not the one loaded or last
    // saved: another program wrote it since (its size or time of change
    // differ), or the document never saw it (a skin restored from a recovery
    // copy). False when there is no own file or it is gone.
    bool ownFileChangedOnDisk() const;
    // How the own file was last written: its depth option (empty when
    // unknown) and whether the pictures were smoothed for it. A skin without
    // a file of its own may carry the depth it was made for (a port keeps
    // its source's, a skin from a picture is made for one).
    const QString &fileDepth() const { return m_fileDepth; }
    bool fileSmoothed() const { return m_fileSmoothed; }
    // The name shown in the caption: the file's name, or the name a ported skin would be saved under.
    QString displayName() const;
    // Changed since loaded or saved; a switch to another size (switchSheet) is no change.
    bool isModified() const;
    QUndoStack *undoStack() const { return m_undo; }

    QRgb colourSlot(int slot) const { return readColourSlot(m_sheet, m_profile, slot); }
    ColourSlots colourSlots() const { return readColourSlots(m_sheet, m_profile); }

    // New from the template of `profile` (1..6), Load from a skin file. Both
    // start a fresh history. A skin read with a notice (SkinImage) succeeds
    // with the notice as the status's message.
    Status newFromTemplate(int profile);
    Status load(const QString &path);
    // Save under the name the user chose: the profile's prefix goes in front
    // of the name, ".mbm" is appended when it has no extension, and an
    // existing file is never replaced. `savedPath` gets the file written.
    Status save(const QString &chosenPath, const QString &depthOption, QString *savedPath = nullptr);
    // Save to exactly `targetPath`, which becomes the skin's own file; a
    // replaced file keeps its permissions. With `smooth` the pictures are
    // error-diffused to the depth's palette first (smoothedSheet); the
    // document's sheet itself stays as it is.
    Status saveTo(const QString &targetPath, const QString &depthOption, IfExists ifExists, bool smooth = false);
    // Replaces the skin by a sheet made here (a port to another profile): the
    // result is unsaved and modified, named `name`, with a fresh history.
    // `depthOption` is the depth it was made for (fileDepth() until saved).
    Status adoptUnsaved(const QImage &sheet, const QString &name, const QString &depthOption = {});
    // Ports the skin to `profile`: the pictures scaled into that profile's
    // template, the colours carried over. The result is unsaved and named as
    // Save would name it for the new profile; the port itself cannot be undone.
    Status portTo(int profile);

    // A sheet made elsewhere from the file at `ownFile` (a project, which the
    // caller reads and writes): that file becomes the skin's own, with a fresh
    // history. Without a file the skin is a new one called `name`, unsaved.
    Status adoptMade(const QImage &sheet, const QString &ownFile, const QString &name = {});
    // The caller wrote the skin to `path` (a project): it is the own file, as saved.
    void markSaved(const QString &path);
    // The same design at another size: sheet and profile replaced as one undo
    // step, the history kept (undoing it shows the former size again).
    Status switchSheet(const QImage &sheet, const QString &undoText);
    // Counts whole replacements of the skin (New, Load, a port, adoptMade);
    // switchSheet keeps it.
    quint64 skinGeneration() const { return m_generation; }

    // One undo step each; `undoText` names a colour change that is more than a pick.
    Status setColourSlot(int slot, QRgb colour, const QString &undoText = {});
    Status writeBackPicture(int picture, const QImage &replacement, const QString &source = {});
    // `sheet` (the same size, from an edit of the whole sheet such as a scrim
    // under texts) as one undo step named `undoText`; only the box of the
    // changed pixels is kept for undo.
    Status replaceSheet(const QImage &sheet, const QString &undoText);
    // A step of the history that changes no pixel, for a change kept beside
    // the sheet (a project's: which size a colour is for, where a picture
    // comes from), so that undo and redo pass it like any other.
    void noteChange(const QString &undoText);

    // A picture being tried out before it is placed (a live preview): the
    // sheet shown has `pixels` in the picture's rectangle, while sheet(), the
    // history and the modified state stay as they are. Each change signals
    // sheetChanged; a new skin or an edit ends the trial.
    void showTrialPicture(int picture, const QImage &pixels);
    void endTrial();
    const QImage &shownSheet() const { return m_trialSheet.isNull() ? m_sheet : m_trialSheet; }

signals:
    // Pixels of the sheet changed (an edit, an undo or a redo).
    void sheetChanged();
    // The whole skin was replaced: profile, screen size and file may differ.
    void skinReplaced();
    // The same skin was saved (perhaps to another file, at another depth): only its name may have changed.
    void fileNameChanged();
    void modifiedChanged(bool modified);

private:
    friend class SheetEditCommand;
    friend class SheetSwitchCommand;
    // A recovery copy holds and restores what the accessors do not show.
    friend RecoveredSkin recoveredSkinOf(const SkinDocument &doc);
    friend Status adoptRecoveredSkin(SkinDocument &doc, const RecoveredSkin &skin);
    void replaceSkin(const QImage &sheet, int profile, const QString &filePath, bool modified,
                     const QString &unsavedName = {}, bool ownFile = false, const QString &fileDepth = {});
    void applyPixels(const QPoint &at, const QImage &pixels);
    void applySheet(const QImage &sheet, int profile);
    // Emits modifiedChanged when isModified() differs from what was last said.
    void reportModified();

    ProgramFiles m_files;
    QString m_workFolder;
    ConverterProgress *m_progress = nullptr;
    QImage m_sheet;
    int m_profile = 0;
    QSize m_screen;
    QString m_filePath;
    QString m_unsavedName;
    // Made here and never saved (a port): modified whatever the history says.
    bool m_unsaved = false;
    bool m_reportedModified = false;
    QImage m_trialSheet;  // the sheet with a tried-out picture; null without a trial
    // Size and time of change (ns) of the own file when last loaded or
    // saved; a size below 0 when not seen.
    std::pair<qint64, qint64> m_fileStamp{-1, 0};
    bool m_ownFile = false;
    QString m_fileDepth;
    bool m_fileSmoothed = false;
    quint64 m_generation = 0;
    QUndoStack *m_undo;
};

} // namespace zelkor
