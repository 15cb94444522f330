#pragma once
// The main window: a view of the skin document (skin/skindocument.h), which
// owns the sheet, the profile, the file and the undo history. The handlers
// ask (a dialog), call the document and show the result; the document's
// signals redraw the preview and the swatches. The controls and the rest of
// the window's state live in TForm1Private (tform1private.h). The window is
// split by concern over the files of this folder:
//   tform1.cpp       construction, the controls, paint/show/timer, the menu bar
//   filemenu.cpp     New, Load, porting and the modified-skin prompt
//   save.cpp         Save, Save As and the depth dialog
//   recentfiles.cpp  "Недавние файлы"
//   windowstate.cpp  the window's place, size and choices between runs
//   statusbar.cpp    the status bar's fields, tooltips and disabled commands
//   manual.cpp       "Справка" / "Руководство"
//   colours.cpp      the colour panel
//   preview.cpp      the preview's render and its selectors
//   viewmenu.cpp     "Вид": zoom, the dock of all screens, the eyedropper
//   previewmouse.cpp what lies under the mouse in the preview, and clicks on it
//   legibility.cpp   the legibility marks, the "Читаемость" dock and its fixes
//   drop.cpp         a skin file dropped on the window
//   editorwatch.cpp  following the image editor's saves
//   frompicture.cpp  a new skin made from a picture
//   recovery.cpp     recovery copies, a quit by signal, unwritable settings
//   welcome.cpp      the empty window's welcome view, thumbnails of skin files
//   project.cpp      skin projects: open, save, the size shown, export

#include "project/projectsheet.h"
#include "skin/skindocument.h"

#include <QMainWindow>
#include <QImage>

#include <memory>
#include <optional>
#include <vector>

class QMimeData;

namespace zelkor {

class ColourSwatch;
class ProjectSession;
class RecoveryKeeper;
class WorkingFileWatcher;
struct PreviewInput;
struct PreviewSpot;
struct TForm1Private;
struct TForm1TestAccess;
namespace design {
struct Legibility;
struct SlotFixes;
}

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // `files` are the converter and the read-only data; `workFolder` is
    // where the document keeps its scratch files (one per running editor).
    TForm1(const ProgramFiles &files, const QString &workFolder, QWidget *parent = nullptr);
    ~TForm1() override;

    SkinDocument &document() const;
    // Takes the image editor's saves into the document, dialog open or not.
    WorkingFileWatcher &watcher() const;

    // The window's caption without a skin.
    static QString baseCaption() { return QStringLiteral("Универсальный редактор skin-ов для Zelkor"); }

    // Load through the same road as "Загрузить" after its file dialog: the
    // modified-skin prompt, then the document. False when it did not load.
    bool loadSkinFile(const QString &path);
    // The skin has changes: the document's, or an editor's save not yet taken.
    bool isModified() const;

    // The real program also passes each recent file to the desktop's list
    // (an XBEL file); tests leave the desktop's list alone.
    void keepDesktopRecentList(const QString &listPath);
    // Window state between runs: the real program restores it after
    // construction and then keeps it on closing (tests stay untouched).
    void restoreWindowState();
    // Recovery copies (recovery.cpp): keeps a copy of the modified skin in
    // `folder` under `instance`; at start offers a copy an ended editor left
    // ("Восстановить несохранённый скин?"), true when it became the skin.
    void keepRecoveryCopies(const QString &folder, const QString &instance);
    bool offerRecovery();
    // A quit nobody can be asked about (a signal): the modified skin stays as
    // a recovery copy, the window state is kept, the editor ends.
    void quitWithoutAsking();
    // Says once per window when the author's choices cannot be written.
    void reportUnwritableSettings();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    friend struct TForm1TestAccess;

    // --- handlers ---
    void FormCreate();
    void FormShow();
    void FormPaint();
    void Timer1Timer();
    void N2Click();   // new skin from a template
    void N8Click();   // new skin from a picture
    void N3Click();   // load a skin file
    bool N6Click();   // save the skin to its own file, else as N10Click; true when it was saved
    bool N10Click();  // save the skin under a name and depth the user chooses
    void N7Click();   // port the skin to another screen size
    void N4Click();   // exit
    void N5Click();   // about box
    void N9Click();   // the manual
    void Button1Click();
    void RadioGroup1Click();
    void RadioGroup2Click();
    void RadioGroup3Click();
    void dx0Click(ColourSwatch *sender);

    // --- construction ---
    void createControls();
    void createMenu();
    void createViewMenu();
    void createColourPanel();
    void createWatcher();
    void createLegibility();
    void createStatusBar();
    void createRecentMenu();
    void createWelcome();
    // Sizes and places the window on its screen; the client scrolls when the
    // screen's available area is too small for it.
    void fitToScreen();
    // The same for a screen whose available area is `available` and a frame of `frame`.
    void fitToArea(const QRect &available, const QMargins &frame);

    // --- file ---
    // Offers to save a modified skin: true when the caller may go on (saved,
    // not wanted, or nothing to save), false on "Отмена" or a failed save.
    // A save of the image editor not yet taken into the sheet is asked about
    // too, with "Взять в скин" among the answers.
    bool maybeSave();
    bool openSkinFile(const QString &path);
    bool writeSkin(const QString &target, const QString &option, bool smooth, IfExists existing);
    void openRecentFile(const QString &path);
    void fillRecentMenu();
    void saveWindowState() const;
    void updateCaption();
    void updateStatusBar();
    void reportError(const QString &text);
    static QString openDialogFilter()
    {
        return QStringLiteral("Скины и проекты (*.mbm *.zskin);;Symbian Multibitmaps (*.mbm);;Проекты скинов (*.zskin)");
    }
    static QString saveAsFilter();
    // The skin file that a drag carries, or an empty string: one local .mbm file.
    static QString droppedSkinFile(const QMimeData *data);

    // --- projects (project.cpp) ---
    void createProjectControls();
    // A session of `project` (kept in the file `path`) that reads templates and icons as this window does.
    std::unique_ptr<ProjectSession> newSession(SkinProject project, const QString &path = {}) const;
    // The swatches' marks of colours the shown size has of its own.
    void showColourMarks();
    // The shown size takes the shared colour of `slot` again, one undo step.
    void resetColourOverride(int slot);
    bool openProject(const QString &path);
    // Makes `session` the document's project, its sheet shown (the file's own
    // when `ownFile` is given, else a new one called `name`).
    bool adoptProject(std::unique_ptr<ProjectSession> session, const QImage &sheet, const QString &ownFile,
                      const QString &name);
    // Writes the project to its file, or (`choose`, or none yet) to one the author names.
    bool saveProject(bool choose);
    void newProjectClick();     // Файл / Новый проект…: from a template or from a picture
    void newProjectFromPicture();
    bool saveAsProjectClick();  // Файл / Сохранить как проект…
    void exportSkinsClick();    // Файл / Экспорт скинов…
    void sizeChoiceClick(int profile);
    void showProjectControls();
    TemplateReader templateReader() const;
    // The recovery copy of a project keeps the whole project (recovery.cpp).
    void keepProjectInRecovery();
    // The claimed copy restored as the project of `companion`.
    Status restoreProjectCopy(const QString &companion);

    // --- preview ---
    // After the document's skin was replaced: the phone picture, PaintBox1's
    // place and size, the controls, the caption, one render.
    void adoptSheet();
    // Shows the controls that exist only once a skin does.
    void showSkinControls();
    // Composes the selected screen into PaintBox1.
    void renderPreview();
    // Copies the document's colour row into the swatches.
    void refreshSlots();
    // What a render reads, taken from the document and the swatches.
    PreviewInput previewInput() const;
    ColourSlots swatchColours() const;
    // The depth option the preview shows ("/c8"), empty for the sheet as it is.
    QString previewDepth() const;
    // Smoothed pictures in the preview at 4 and 8 bpp when the save it shows
    // would smooth: Save to the skin's own file at its depth as that file
    // was written, any other as the last depth dialog chose.
    bool smoothPreview() const;

    // The contact list on the phone for the skin's file, as saved.
    QImage skinThumbnail() const;

    // --- view ---
    // Вид / Масштаб: 1..4, or 0 for the largest factor that fits the window; remembered.
    void setZoomMode(int mode);
    // Brings the dock of all screens up to date with the preview's input.
    void refreshAllScreens();
    // The mouse over the preview: what lies under it goes to the status bar
    // and a tooltip; a click on a slot's pixel selects its swatch, a
    // double-click opens its colour dialog or, on a picture, the picture
    // editing dialog on that picture; with the eyedropper on, a click puts
    // the pixel's colour into the selected slot.
    void previewHovered(const PreviewSpot &spot, QPoint globalPos);
    void previewClicked(const PreviewSpot &spot);
    void previewDoubleClicked(const PreviewSpot &spot);
    // "#rrggbb — what painted it"; the eyedropper's loupe around the spot.
    QString spotText(const PreviewSpot &spot) const;
    QImage loupePatch(const PreviewSpot &spot) const;
    void selectSlot(int slot);
    // The picture editing dialog, opened on one picture.
    void editPicture(int picture);

    // --- legibility ---
    // Measures the skin as the preview shows it (at the selector's depth) and
    // shows the result; shows one measured text with a frame around it;
    // fixes a slot as one undo step.
    void updateLegibility();
    void showLegibility();
    // The texts of `sheet` (the skin's, or as a depth gives it back), with the
    // colours its own row carries.
    design::Legibility measureSheet(const QImage &sheet) const;
    void showLegibilityText(int text);
    // A project's "все размеры": every size measured off the GUI thread (only
    // the latest run's results are shown); a row chosen at another size shows that size.
    void measureAllSizes();
    void showSizeText(int profile, int text);
    void fixLegibility(int slot);
    // The same for several slots, as one undo step; one message for those that cannot be fixed.
    void fixLegibility(const std::vector<int> &which);
    // Fixes that need more than a slot's own colour -- the least scrim under
    // its texts, or a text moved together with one it crosses -- are offered
    // with what no fix saves; taken, the sheet they make is one undo step.
    // False when the author declines.
    bool offerScrims(const design::SlotFixes &made);
    // After a new step (an edit or a redo): texts it brought below the
    // threshold, compared with `before`, go to the banner.
    void noteLostTexts(const design::Legibility &before);
    // The frame shown around a text on the preview, in screen pixels; empty when none.
    QRect legibilityOutline() const;
    // What Save at `depthOption` should warn of: colours drawn together that
    // it makes equal, and texts it brings below the threshold; empty for none.
    QString saveDepthWarning(const QString &depthOption, bool smooth = false);
    // Save's question when that warning is not empty; false when it was
    // cancelled. `option` may become 16 bpp where that keeps every text.
    bool confirmSaveDepth(QString &option, bool &smooth);

    // --- the image editor ---
    // The placement step for an editor's save of another size (nothing when
    // declined); the question about saves not taken.
    std::optional<QImage> placeEditorSave(int picture, const QImage &image, const QString &path);
    bool askAboutUntaken(const std::vector<int> &pictures);

    std::unique_ptr<TForm1Private> d;
};

} // namespace zelkor
