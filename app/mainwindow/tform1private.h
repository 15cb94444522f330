#pragma once
// The main window's controls and state, held by TForm1 as `d`. Only the
// window's own files (and the tests, through TForm1TestAccess) include this.

#include "app/colourswatch.h"
#include "app/paintbox.h"
#include "app/radiogroup.h"
#include "app/zoomview.h"
#include "design/legibility.h"
#include "desktop/recentfiles.h"
#include "preview/paintrecord.h"
#include "preview/preview.h"
#include "skin/depthpreview.h"

#include <QImage>
#include <QMargins>
#include <QRect>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>
#include <utility>

class QAction;
class QComboBox;
class QGroupBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;

namespace zelkor {

class AllScreensDock;
class ConverterProgressDialog;
class LegibilityBanner;
class Loupe;
class LegibilityDock;
class ProjectSession;
class RecoveryKeeper;
class SkinDocument;
class TextOutline;
class WelcomeView;
class WorkingFileWatcher;

struct TForm1Private {
    TForm1Private();
    ~TForm1Private();

    // --- controls ---
    QFrame *Shape1 = nullptr;
    QLabel *phone = nullptr;
    PaintBox *PaintBox1 = nullptr;
    RadioGroup *RadioGroup1 = nullptr;  // "Экран": which screen the preview shows
    RadioGroup *RadioGroup2 = nullptr;  // "Колонок": one or two contact columns
    RadioGroup *RadioGroup3 = nullptr;  // "Глубина цвета": the preview as a save at that depth gives it back
    QPushButton *Button1 = nullptr;     // "Редактировать картинки"
    QFrame *Panel1 = nullptr;           // the colour panel
    QScrollArea *controlsArea = nullptr;  // the controls' client, scrolled when the window is short
    std::array<ColourSwatch *, 13> dx{};
    std::array<QLabel *, 13> dxLabels{};
    QTimer *Timer1 = nullptr;
    QAction *N2 = nullptr;   // Файл / Новый
    QAction *N8 = nullptr;   // Файл / Новый из картинки…
    QAction *N3 = nullptr;   // Файл / Загрузить
    QAction *N6 = nullptr;   // Файл / Сохранить
    QAction *N10 = nullptr;  // Файл / Сохранить как…
    QMenu *recentMenu = nullptr;  // Файл / Недавние файлы
    QAction *N7 = nullptr;   // Файл / Перенести на разрешение…
    QAction *newProject = nullptr;     // Файл / Новый проект…
    QAction *saveAsProject = nullptr;  // Файл / Сохранить как проект…
    QAction *exportSkins = nullptr;    // Файл / Экспорт скинов… (Ctrl+E)
    QGroupBox *sizeBox = nullptr;      // "Размер": the project's size shown, beside the screen choice
    QComboBox *sizeChoice = nullptr;   // item i: profile i + 1
    QAction *N4 = nullptr;   // Файл / Выход
    QAction *N5 = nullptr;   // Справка / О программе
    QAction *N9 = nullptr;   // Справка / Руководство
    QAction *undoAction = nullptr;  // Правка / Отменить
    QAction *redoAction = nullptr;  // Правка / Повторить
    // The status bar's permanent fields: file, profile, depth, modified.
    QLabel *fileField = nullptr;
    QLabel *profileField = nullptr;
    QLabel *depthField = nullptr;
    QLabel *modifiedField = nullptr;
    ZoomView *previewArea = nullptr;       // the phone and PaintBox1, enlarged and scrolled
    AllScreensDock *allScreens = nullptr;  // "Все экраны"
    QMenu *viewMenu = nullptr;             // "Вид"
    // Вид / Масштаб: "По размеру окна", then ×1 to ×4 (index = ZoomView's zoom mode).
    std::array<QAction *, 5> zoomActions{};
    QAction *eyedropper = nullptr;             // Вид / Пипетка: a click on the preview takes its colour
    LegibilityDock *legibilityDock = nullptr;  // "Читаемость": texts below the contrast threshold
    QAction *legibilityAction = nullptr;       // Вид / Читаемость (F7): shows and hides the dock
    std::array<QLabel *, 13> legibilityMarks{};  // a warning on a swatch whose texts read badly
    std::array<QAction *, 13> legibilityFixes{};  // "Исправить" in each swatch's context menu
    TextOutline *textOutline = nullptr;
    QPushButton *legibilityBadge = nullptr;       // status bar: "Читаемость: 86 ниже 4,5", opens the dock
    LegibilityBanner *legibilityBanner = nullptr;
    WelcomeView *welcome = nullptr;
    Loupe *loupe = nullptr;          // follows the cursor in eyedropper mode  // the empty window: New, New from picture, Load, recent files  // over the preview: an action just made texts hard to read

    QImage smallIcons;  // icons.bmp
    QImage largeIcons;  // icons32.bmp

    // --- state ---
    SkinDocument *doc = nullptr;
    WorkingFileWatcher *watcher = nullptr;  // a child of the document
    std::unique_ptr<ConverterProgressDialog> progress;
    RecentFiles recentFiles;
    RecoveryKeeper *recovery = nullptr;
    int photoProfile = 0;    // the profile whose phone picture `phone` shows
    DepthPreview depthPreview;
    QImage shownSheet;       // the sheet the last render drew from
    PaintRecord record;      // what the last render drew
    int selectedSlot = -1;   // the swatch the eyedropper fills, -1 for none
    design::Legibility legibility;  // the last measure of the skin
    int legibilityStep = 0;              // the undo index of the last step seen
    design::Legibility legibilityBase;   // the measure at that step
    std::vector<int> bannerSlots;   // the slots of the texts the banner speaks of
    QTimer *allSizesTimer = nullptr;  // gathers the changes of one turn into one measure of every size
    quint64 allSizesRun = 0;          // the measure of every size last started
    quint64 allSizesShown = 0;        // the run whose results the dock shows
    QString allSizesKey;              // the sheet, step, size and depth that run measured
    std::optional<std::pair<int, QRgb>> colourTrial;  // slot and colour under choice in the colour dialog
    QMargins fittedFrame;           // the frame that the last fit assumed
    std::optional<QRect> keptGeometry;  // the frame's place and the window's size from the last run
    bool docksRestored = false;     // the docks' places and sizes came from the last run
    bool remembersState = false;    // restoreWindowState ran: closing keeps the state
    bool quitting = false;          // quitWithoutAsking ran: closing asks nothing
    bool settingsReported = false;  // unwritable settings were reported
    // The project the document shows a size of; null for a skin file on its own.
    std::unique_ptr<ProjectSession> project;
    quint64 projectGeneration = 0;  // the document's skin generation that is the project's
};

} // namespace zelkor
