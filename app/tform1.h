#pragma once
// The main window. It owns the one skin document for the life of the process:
// the skin sheet, the current profile and screen size, and the thirteen colour
// swatches. The handlers keep the names by which the rest of the code refers
// to them. The window is split by topic over tform1*.cpp files:
//   tform1.cpp          construction, start-up, paint/show/timer, menu wiring
//   tform1_file.cpp     New, Load and Save through the converter
//   tform1_colours.cpp  the colour panel
//   tform1_preview.cpp  render preview and the two selectors
//   tform1_drop.cpp     a skin file dropped on the window

#include "colourswatch.h"
#include "paintbox.h"
#include "preview/preview.h"
#include "radiogroup.h"

#include <QImage>
#include <QMainWindow>
#include <QTimer>

#include <array>

class QAction;
class QFrame;
class QLabel;
class QMimeData;
class QPushButton;

namespace zelkor {

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // `programFolder` holds the converter and the data; the editor passes its
    // own folder, tests a folder of their own.
    explicit TForm1(const QString &programFolder, QWidget *parent = nullptr);

    // --- the skin document ---
    QImage sheet;                // 24-bit skin sheet; null until the first New or Load
    QImage smallIcons;           // icons.bmp
    QImage largeIcons;           // icons32.bmp
    quint8 profile = 0;          // 0: no skin
    qint32 screenWidth = 0;
    qint32 screenHeight = 0;
    const QString programFolder;

    // --- controls ---
    QFrame *Shape1 = nullptr;
    QLabel *phone = nullptr;
    PaintBox *PaintBox1 = nullptr;
    RadioGroup *RadioGroup1 = nullptr;  // "Экран": which screen the preview shows
    RadioGroup *RadioGroup2 = nullptr;  // "Колонок": one or two contact columns
    QPushButton *Button1 = nullptr;     // "Редактировать картинки"
    QFrame *Panel1 = nullptr;           // the colour panel
    std::array<ColourSwatch *, 13> dx{};
    std::array<QLabel *, 13> dxLabels{};
    QTimer *Timer1 = nullptr;
    QColor cdColor = Qt::black;         // the colour dialog opens with the last colour picked
    QAction *N2 = nullptr;  // Файл / Новый
    QAction *N3 = nullptr;  // Файл / Загрузить
    QAction *N6 = nullptr;  // Файл / Сохранить
    QAction *N4 = nullptr;  // Файл / Выход
    QAction *N5 = nullptr;  // О программе

    static QString openDialogFilter() { return QStringLiteral("Symbian Multibitmaps (*.mbm)"); }
    // "MS Sans Serif", 8 points at 96 dpi: the font of the main window and the about box.
    static QFont windowFont();

    // A path below the program folder ("skn/176x208.mbm").
    QString programPath(const QString &relative) const;

    // --- handlers ---
    void FormCreate();
    void FormShow();
    void FormPaint();
    void Timer1Timer();
    void N2Click();  // new skin from a template
    void N3Click();  // load a skin file
    // Load without the dialog: the road of N3Click after its dialog, also
    // taken by a file on the command line and a dropped file. Reports its
    // failures; returns false when one occurred.
    bool loadSkinFile(const QString &path);
    // The skin file that a drag carries, or an empty string: one local .mbm file.
    static QString droppedSkinFile(const QMimeData *data);
    void N6Click();  // save the skin
    void N4Click();  // exit
    void N5Click();  // about box
    void Button1Click();
    void RadioGroup1Click();
    void RadioGroup2Click();
    void dx0Click(ColourSwatch *sender);

    // Render preview: composes the selected screen into PaintBox1.
    void renderPreview();
    // Copies the colour row of the current profile into the swatches.
    void refreshSlots();
    // The same from the colour row of another profile (a 176 x 500 sheet is
    // read with profile 1's row before its profile is set).
    void refreshSlotsFrom(int colourRowProfile);
    // After New or Load replaced the sheet: recognise its profile, size
    // PaintBox1 and render once. Returns false when a step failed (reported).
    bool adoptSheet();
    // What a render reads, taken from the document and the swatches.
    PreviewInput previewInput() const;
    ColourSlots swatchColours() const;

    // Shows the controls that exist only once a skin does.
    void showSkinControls();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
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
    void createColourPanel();
    void reportError(const QString &text);
};

} // namespace zelkor
