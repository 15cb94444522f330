#pragma once
// The main window: a view of the skin document (skin/skindocument.h), which
// owns the sheet, the profile, the file and the undo history. The handlers
// ask (a dialog), call the document and show the result; the document's
// signals redraw the preview and the swatches. The handlers keep the names by
// which the rest of the code refers to them. The window is split by topic over
// tform1*.cpp files:
//   tform1.cpp          construction, start-up, paint/show/timer, menu wiring
//   tform1_file.cpp     New, Load, porting and the modified-skin prompt
//   tform1_save.cpp     Save, Save As and the depth dialog
//   tform1_desk.cpp     recent files, window state, status bar, tooltips, Справка
//   tform1_colours.cpp  the colour panel
//   tform1_preview.cpp  render preview and the two selectors
//   tform1_drop.cpp     a skin file dropped on the window
//   tform1_watch.cpp    following the image editor's saves
//   tform1_view.cpp     the "Вид" menu: zoom, the dock of all screens, and
//                       what lies under the mouse in the preview
//   tform1_legibility.cpp  the legibility marks, the "Читаемость" dock and its fixes
//   tform1_frompicture.cpp  a new skin made from a picture
//   tform1_recovery.cpp  recovery copies, a quit by signal, unwritable settings

#include "colourswatch.h"
#include "design/legibility.h"
#include "paintbox.h"
#include "preview/paintrecord.h"
#include "preview/preview.h"
#include "radiogroup.h"
#include "skin/depthpreview.h"
#include "skin/programfiles.h"
#include "skin/skindocument.h"
#include "zoomview.h"

#include <QImage>
#include <QMainWindow>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QMimeData;
class QPushButton;

namespace zelkor {

class AllScreensDock;
class ConverterProgressDialog;
class LegibilityDock;
class RecoveryKeeper;
class TextOutline;
class SkinDocument;
class WorkingFileWatcher;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // `files` are the converter and the read-only data; `workFolder` is
    // where the document keeps its scratch files (one per running editor).
    TForm1(const ProgramFiles &files, const QString &workFolder, QWidget *parent = nullptr);
    ~TForm1() override;

    SkinDocument &document() const { return *m_doc; }
    // Takes the image editor's saves into the document, dialog open or not.
    WorkingFileWatcher &watcher() const { return *m_watcher; }
    QImage smallIcons;           // icons.bmp
    QImage largeIcons;           // icons32.bmp

    // --- controls ---
    QFrame *Shape1 = nullptr;
    QLabel *phone = nullptr;
    PaintBox *PaintBox1 = nullptr;
    RadioGroup *RadioGroup1 = nullptr;  // "Экран": which screen the preview shows
    RadioGroup *RadioGroup2 = nullptr;  // "Колонок": one or two contact columns
    RadioGroup *RadioGroup3 = nullptr;  // "Глубина цвета": the preview as a save at that depth gives it back
    QPushButton *Button1 = nullptr;     // "Редактировать картинки"
    QFrame *Panel1 = nullptr;           // the colour panel
    std::array<ColourSwatch *, 13> dx{};
    std::array<QLabel *, 13> dxLabels{};
    QTimer *Timer1 = nullptr;
    QAction *N2 = nullptr;  // Файл / Новый
    QAction *N8 = nullptr;  // Файл / Новый из картинки…
    QAction *N3 = nullptr;  // Файл / Загрузить
    QAction *N6 = nullptr;  // Файл / Сохранить
    QAction *N10 = nullptr;  // Файл / Сохранить как…
    QMenu *recentMenu = nullptr;  // Файл / Недавние файлы
    QAction *N7 = nullptr;  // Файл / Перенести на разрешение…
    QAction *N4 = nullptr;  // Файл / Выход
    QAction *N5 = nullptr;  // Справка / О программе
    QAction *N9 = nullptr;  // Справка / Руководство
    // The status bar's permanent fields: file, profile, depth, modified.
    QLabel *fileField = nullptr;
    QLabel *profileField = nullptr;
    QLabel *depthField = nullptr;
    QLabel *modifiedField = nullptr;
    QAction *undoAction = nullptr;  // Правка / Отменить
    QAction *redoAction = nullptr;  // Правка / Повторить
    ZoomView *previewArea = nullptr;      // the phone and PaintBox1, enlarged and scrolled
    AllScreensDock *allScreens = nullptr; // "Все экраны"
    QMenu *viewMenu = nullptr;            // "Вид"
    // Вид / Масштаб: "По размеру окна", then ×1 to ×4 (index = ZoomView's zoom mode).
    std::array<QAction *, 5> zoomActions{};
    QAction *eyedropper = nullptr;        // Вид / Пипетка: a click on the preview takes its colour
    LegibilityDock *legibilityDock = nullptr;  // "Читаемость": texts below the contrast threshold
    QAction *legibilityAction = nullptr;       // Вид / Читаемость (F7): shows and hides the dock
    std::array<QLabel *, 13> legibilityMarks{};  // a warning on a swatch whose texts read badly

    static QString openDialogFilter() { return QStringLiteral("Symbian Multibitmaps (*.mbm)"); }
    static QString saveAsFilter();
    // The window's caption without a skin.
    static QString baseCaption() { return QStringLiteral("Универсальный редактор skin-ов для Zelkor"); }
    // "MS Sans Serif", 8 points at 96 dpi: the font of the main window and the about box.
    static QFont windowFont();

    // Load through the same road as "Загрузить" after its file dialog: the
    // modified-skin prompt, then the document. False when it did not load.
    bool loadSkinFile(const QString &path);
    // Offers to save a modified skin: true when the caller may go on (saved,
    // not wanted, or nothing to save), false on "Отмена" or a failed save.
    // A save of the image editor not yet taken into the sheet is asked about
    // too, with "Взять в скин" among the answers.
    bool maybeSave();
    // The skin has changes: the document's, or an editor's save not yet taken.
    bool isModified() const;

    // --- handlers ---
    void FormCreate();
    void FormShow();
    void FormPaint();
    void Timer1Timer();
    void N2Click();  // new skin from a template
    void N8Click();  // new skin from a picture (tform1_frompicture.cpp)
    void N3Click();  // load a skin file
    // The skin file that a drag carries, or an empty string: one local .mbm file.
    static QString droppedSkinFile(const QMimeData *data);
    bool N6Click();  // save the skin to its own file, else as N10Click; true when it was saved
    bool N10Click();  // save the skin under a name and depth the user chooses
    void N7Click();  // port the skin to another screen size
    void N4Click();  // exit
    void N5Click();  // about box
    void N9Click();  // the manual in the desktop's viewer

    // Recent files, newest first, kept in the settings.
    static QStringList recentFiles();
    void openRecentFile(const QString &path);
    // The real program also passes each recent file to the desktop's list
    // (an XBEL file); tests leave the desktop's list alone.
    void keepDesktopRecentList(const QString &listPath) { m_desktopRecentList = listPath; }
    // Window state between runs: the real program restores it after
    // construction and then keeps it on closing (tests stay untouched).
    void restoreWindowState();
    void saveWindowState() const;
    // Smoothed pictures in the preview at 4 and 8 bpp, as the last save chose.
    static bool smoothPreview();
    void Button1Click();
    void RadioGroup1Click();
    void RadioGroup2Click();
    void RadioGroup3Click();
    // The depth option the preview shows ("/c8"), empty for the sheet as it is.
    QString previewDepth() const;
    void dx0Click(ColourSwatch *sender);
    // Вид / Масштаб: 1..4, or 0 for the largest factor that fits the window; remembered.
    void setZoomMode(int mode);
    // Brings the dock of all screens up to date with the preview's input.
    void refreshAllScreens();
    // The mouse over the preview (tform1_view.cpp): what lies under it goes to
    // the status bar and a tooltip; a click on a slot's pixel selects its
    // swatch, a double-click opens its colour dialog or, on a picture, the
    // picture editing dialog on that picture; with the eyedropper on, a click
    // puts the pixel's colour into the selected slot.
    void previewHovered(const PreviewSpot &spot, QPoint globalPos);
    void previewClicked(const PreviewSpot &spot);
    void previewDoubleClicked(const PreviewSpot &spot);
    QString spotText(const PreviewSpot &spot) const;
    // The swatch the eyedropper fills, -1 for none.
    int selectedSlot() const { return m_selectedSlot; }
    void selectSlot(int slot);
    // The picture editing dialog, opened on one picture.
    void editPicture(int picture);
    // What the last render of PaintBox1 drew, step by step.
    const PaintRecord &paintRecord() const { return m_record; }

    // Render preview: composes the selected screen into PaintBox1.
    void renderPreview();
    // Copies the document's colour row into the swatches.
    void refreshSlots();
    // After the document's skin was replaced: the phone picture, PaintBox1's
    // place and size, the controls, the caption, one render.
    void adoptSheet();
    // What a render reads, taken from the document and the swatches.
    PreviewInput previewInput() const;
    ColourSlots swatchColours() const;

    // Legibility (tform1_legibility.cpp): measures the skin as the preview
    // shows it (at the selector's depth) and shows the result; shows one
    // measured text with a frame around it; fixes a slot as one undo step.
    void updateLegibility();
    // The texts of `sheet` (the skin's, or as a depth gives it back), with the
    // colours its own row carries.
    design::Legibility measureSheet(const QImage &sheet) const;
    void showLegibilityText(int text);
    void fixLegibility(int slot);
    const design::Legibility &legibility() const { return m_legibility; }
    // The frame shown around a text on the preview, in screen pixels; empty when none.
    QRect legibilityOutline() const;
    // What Save at `depthOption` should warn of: colours drawn together that
    // it makes equal, and texts it brings below the threshold; empty for none.
    QString saveDepthWarning(const QString &depthOption, bool smooth = false);

    // Shows the controls that exist only once a skin does.
    void showSkinControls();

    // Recovery copies (tform1_recovery.cpp): keeps a copy of the modified skin
    // in `folder` under `instance`; at start offers a copy an ended editor
    // left ("Восстановить несохранённый скин?"), true when it became the skin.
    void keepRecoveryCopies(const QString &folder, const QString &instance);
    bool offerRecovery();
    RecoveryKeeper *recoveryKeeper() const { return m_recovery; }
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
    // Sizes and places the window on its screen; the client scrolls when the
    // screen's available area is too small for it.
    void fitToScreen();
    QMargins m_fittedFrame;  // the frame that the last fit assumed
    void createControls();
    void createMenu();
    void createViewMenu();
    void createColourPanel();
    void createWatcher();
    void createLegibility();
    void showLegibility();
    void reportError(const QString &text);
    // tform1_watch.cpp: the placement step for an editor's save of another
    // size (nothing when declined); the question about saves not taken.
    std::optional<QImage> placeEditorSave(int picture, const QImage &image, const QString &path);
    bool askAboutUntaken(const std::vector<int> &pictures);
    void updateCaption();
    bool openSkinFile(const QString &path);
    bool writeSkin(const QString &target, const QString &option, bool smooth, IfExists existing);
    void createDesk();
    void updateDesk();
    void addRecentFile(const QString &path);
    void fillRecentMenu();

    SkinDocument *m_doc;
    WorkingFileWatcher *m_watcher = nullptr;  // a child of the document
    std::unique_ptr<ConverterProgressDialog> m_progress;
    int m_photoProfile = 0;  // the profile whose phone picture `phone` shows
    DepthPreview m_depthPreview;
    QImage m_shownSheet;     // the sheet the last render drew from
    PaintRecord m_record;    // what the last render drew
    int m_selectedSlot = -1;
    design::Legibility m_legibility;  // the last measure of the skin
    TextOutline *m_textOutline = nullptr;
    std::array<QAction *, 13> m_legibilityFixes{};  // "Исправить" in each swatch's context menu
    std::optional<std::pair<int, QRgb>> m_colourTrial;  // slot and colour under choice in the colour dialog
    bool m_remembersState = false;  // restoreWindowState ran: closing keeps the state
    QString m_desktopRecentList;    // the desktop's recent list, empty: not passed on
    std::optional<QRect> m_keptGeometry;  // the frame's place and the window's size from the last run
    RecoveryKeeper *m_recovery = nullptr;
    bool m_quitting = false;          // quitWithoutAsking ran: closing asks nothing
    bool m_settingsReported = false;  // unwritable settings were reported
};

} // namespace zelkor
