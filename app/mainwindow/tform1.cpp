#include "tform1.h"
#include "tform1private.h"

#include "app/tform3.h"
#include "app/seams.h"
#include "skin/profiles.h"
#include "app/allscreensdock.h"
#include "app/converterprogress.h"
#include "app/helpwindow.h"
#include "skin/savename.h"
#include "preview/screenimage.h"
#include "skin/sheet.h"
#include "skin/skindocument.h"
#include "app/tform4.h"
#include "app/windowfont.h"
#include "app/windowfit.h"
#include "app/zoomview.h"
#include "project/projectsession.h"

#include <QApplication>
#include <QCloseEvent>
#include <QUndoStack>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QWindow>

namespace zelkor {

namespace {

// The fixed client of the controls at the left, and the window's first size
// inside its frame less the menu bar (which shows the preview at ×1 beside them).
constexpr QSize kControlsSize(361, 623);
constexpr QSize kWindowClientSize(1016, 684);
// The largest phone picture at ×1 (416 x 352's is 630 pixels wide, 240 x 320's
// and 352 x 416's 680 tall): the window opens with room for it beside the
// controls, so that no phone needs scrolling.
constexpr QSize kLargestPhone(630, 680);
// "Все экраны" goes beside the phone when at least this much width is left
// for it, else it is a strip of this height below.
constexpr int kDockBeside = 280;
constexpr int kDockBelow = 150;
constexpr int kDockNarrow = 160;
constexpr int kDockSlack = 16;

} // namespace

TForm1Private::TForm1Private() = default;
TForm1Private::~TForm1Private() = default;

TForm1::TForm1(const ProgramFiles &files, const QString &workFolder, QWidget *parent)
    : QMainWindow(parent), d(std::make_unique<TForm1Private>())
{
    d->doc = new SkinDocument(files, workFolder, this);
    d->progress = std::make_unique<ConverterProgressDialog>(this);
    d->doc->setConverterProgress(d->progress.get());
    createWatcher();
    setWindowTitle(baseCaption());
    setFont(windowFont());

    createControls();
    createMenu();
    createLegibility();
    createStatusBar();
    createRecentMenu();
    createWelcome();
    createProjectControls();
    setAcceptDrops(true);
    FormCreate();
    fitToScreen();

    connect(d->doc, &SkinDocument::skinReplaced, this, [this] { adoptSheet(); });
    // The swatches first: the preview draws with their colours, so an undone
    // colour shows at once rather than at the next tick.
    connect(d->doc, &SkinDocument::sheetChanged, this, [this] {
        refreshSlots();
        renderPreview();
    });
    connect(d->doc, &SkinDocument::modifiedChanged, this, [this] { updateCaption(); });
    connect(d->doc, &SkinDocument::fileNameChanged, this, [this] { updateCaption(); });
}

SkinDocument &TForm1::document() const
{
    return *d->doc;
}

WorkingFileWatcher &TForm1::watcher() const
{
    return *d->watcher;
}

void TForm1::fitToScreen()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    fitToArea(screen->availableGeometry(), frameOrUsual(windowHandle()));
    // The last run's place counts once the real frame is known; later fits start afresh.
    if (windowHandle() && !windowHandle()->frameMargins().isNull())
        d->keptGeometry.reset();
}

void TForm1::fitToArea(const QRect &available, const QMargins &frame)
{
    d->fittedFrame = frame;
    // The window opens with room for the controls and the largest phone at
    // ×1, and "Все экраны" beside them when the screen is wide enough, else
    // below; larger on a large screen. It may then be resized and maximised.
    // Where the last run left it, it opens again, if that is on a screen still.
    const int bars = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    const QSize stage = kLargestPhone + QSize(2 * ZoomView::kMargin, 2 * ZoomView::kMargin);
    // The dock's separator and frame take a few pixels of their own.
    const QSize phoneRoom(d->controlsArea->width() + stage.width() + kDockSlack,
                          std::max(kControlsSize.height(), stage.height()) + bars);
    const int roomBeside = available.width() - frame.left() - frame.right() - phoneRoom.width();
    const int roomBelow = available.height() - frame.top() - frame.bottom() - phoneRoom.height();
    // Where neither fits (1280 x 720: a large screen at scale factor 2), a
    // narrower dock beside still leaves the controls and the phone whole.
    const bool beside = roomBeside >= kDockBeside || (roomBelow < kDockBelow && roomBeside >= kDockNarrow);
    const QSize wanted = (beside ? phoneRoom + QSize(kDockBeside, 0) : phoneRoom + QSize(0, kDockBelow))
                             .expandedTo(kWindowClientSize + QSize(0, bars))
                             .expandedTo(available.size() * 9 / 10);
    const WindowFit fit = keptOnScreen(available,
                                       fitWindow(available, wanted, frame,
                                                 style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this)),
                                       frame, d->keptGeometry);
    resize(fit.size);
    move(fit.framePos);
    // The dock's place and size, unless the last run's were restored.
    if (d->docksRestored)
        return;
    const Qt::DockWidgetArea area = beside ? Qt::RightDockWidgetArea : Qt::BottomDockWidgetArea;
    if (dockWidgetArea(d->allScreens) != area)
        addDockWidget(area, d->allScreens);
    if (beside)
        resizeDocks({d->allScreens}, {std::max(std::min(kDockBeside, roomBeside), fit.size.width() - phoneRoom.width())},
                    Qt::Horizontal);
    else
        resizeDocks({d->allScreens}, {kDockBelow}, Qt::Vertical);
}

TForm1::~TForm1()
{
    // The document goes before the progress window it points to. Its history
    // empties as it goes and would say so to the window, which would then ask
    // a document that is half gone: on its way out it says nothing.
    d->doc->undoStack()->blockSignals(true);
    d->doc->blockSignals(true);
    delete d->doc;
    d->doc = nullptr;
}

void TForm1::updateCaption()
{
    if (!d->doc->hasSkin()) {
        setWindowTitle(baseCaption());
        setWindowModified(false);
        return;
    }
    setWindowTitle(d->doc->displayName() + QStringLiteral("[*] — ") + baseCaption());
    setWindowModified(isModified());
}

void TForm1::createControls()
{
    // The controls keep their fixed places on a client of their own at the
    // left, which scrolls when the window is too short for it; the preview
    // area takes the rest of the window.
    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto *scroll = new QScrollArea(central);
    scroll->setObjectName(QStringLiteral("controlsArea"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *client = new QWidget;
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kControlsSize);
    scroll->setWidget(client);
    // Both transparent (setWidget made the client opaque), so that painting
    // the client still paints the window and runs its paint handler.
    scroll->viewport()->setAutoFillBackground(false);
    client->setAutoFillBackground(false);
    scroll->setFixedWidth(kControlsSize.width() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll));
    d->controlsArea = scroll;
    row->addWidget(scroll);
    d->previewArea = new ZoomView(central);
    row->addWidget(d->previewArea, 1);
    setCentralWidget(central);

    d->Shape1 = d->previewArea->frame();
    d->phone = d->previewArea->phone();
    d->phone->setAccessibleName(QStringLiteral("Телефон"));
    d->PaintBox1 = d->previewArea->paintBox();
    d->PaintBox1->setAccessibleName(QStringLiteral("Предпросмотр экрана"));

    d->RadioGroup1 = new RadioGroup(QStringLiteral("Экран"),
                                 {QStringLiteral("Выбор аккаунта"), QStringLiteral("Экран контактов"),
                                  QStringLiteral("Всплывающие меню"), QStringLiteral("Экран чата"),
                                  QStringLiteral("Экран настроек"), QStringLiteral("Индикатор сообщений")},
                                 client);
    d->RadioGroup1->setGeometry(0, 0, 161, 241);
    d->RadioGroup1->setItemIndex(0);
    d->RadioGroup1->hide();
    connect(d->RadioGroup1, &RadioGroup::clicked, this, [this] { RadioGroup1Click(); });

    d->RadioGroup2 = new RadioGroup(QStringLiteral("Колонок"), {QStringLiteral("одна"), QStringLiteral("две")}, client);
    d->RadioGroup2->setGeometry(168, 8, 161, 49);
    d->RadioGroup2->setItemIndex(0);
    d->RadioGroup2->hide();
    connect(d->RadioGroup2, &RadioGroup::clicked, this, [this] { RadioGroup2Click(); });

    QStringList depths{QStringLiteral("как есть")};
    for (const ColourDepth &d : kColourDepths)
        depths << QString::fromLatin1(d.option + 2) + QStringLiteral(" bpp");
    d->RadioGroup3 = new RadioGroup(QStringLiteral("Глубина цвета"), depths, client);
    d->RadioGroup3->setGeometry(168, 96, 185, 145);
    d->RadioGroup3->setItemIndex(0);
    d->RadioGroup3->hide();
    connect(d->RadioGroup3, &RadioGroup::clicked, this, [this] { RadioGroup3Click(); });

    d->Button1 = new QPushButton(QStringLiteral("Редактировать картинки"), client);
    d->Button1->setGeometry(168, 64, 185, 25);
    d->Button1->hide();
    connect(d->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    d->Panel1 = new QFrame(client);
    d->Panel1->setGeometry(1, 248, 353, kControlsSize.height() - 248);
    d->Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    d->Panel1->hide();
    createColourPanel();
    // A swatch is named after its label for screen readers.
    for (int i = 0; i < 13; ++i)
        d->dx[i]->setAccessibleName(d->dxLabels[i]->text().trimmed());

    d->Timer1 = new QTimer(this);
    d->Timer1->setInterval(1000);
    connect(d->Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    d->Timer1->start();
}

void TForm1::createMenu()
{
    // Mnemonics: Alt+Ф opens "Файл", Alt+П "Правка", Alt+О the about box.
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Файл"));
    d->N2 = file->addAction(QStringLiteral("&Новый"), this, [this] { N2Click(); });
    d->N2->setShortcut(QKeySequence::New);
    d->N8 = file->addAction(QStringLiteral("Новый из &картинки…"), this, [this] { N8Click(); });
    d->newProject = file->addAction(QStringLiteral("Новый п&роект…"), this, [this] { newProjectClick(); });
    d->N3 = file->addAction(QStringLiteral("&Загрузить"), this, [this] { N3Click(); });
    d->N3->setShortcut(QKeySequence::Open);
    d->N6 = file->addAction(QStringLiteral("&Сохранить"), this, [this] { N6Click(); });
    d->N6->setShortcut(QKeySequence::Save);
    d->N10 = file->addAction(QStringLiteral("Сохранить &как…"), this, [this] { N10Click(); });
    d->N10->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    d->saveAsProject = file->addAction(QStringLiteral("Сохранить как &проект…"), this, [this] { saveAsProjectClick(); });
    d->exportSkins = file->addAction(QStringLiteral("&Экспорт скинов…"), this, [this] { exportSkinsClick(); });
    d->exportSkins->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    d->recentMenu = file->addMenu(QStringLiteral("Н&едавние файлы"));
    d->N7 = file->addAction(QStringLiteral("П&еренести на разрешение…"), this, [this] { N7Click(); });
    d->N7->setEnabled(false);
    d->N4 = file->addAction(QStringLiteral("&Выход"), this, [this] { N4Click(); });
    d->N4->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Правка"));
    QUndoStack *stack = d->doc->undoStack();
    d->undoAction = edit->addAction(QStringLiteral("&Отменить"), stack, &QUndoStack::undo);
    d->undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    d->undoAction->setEnabled(false);
    connect(stack, &QUndoStack::canUndoChanged, d->undoAction, &QAction::setEnabled);
    d->redoAction = edit->addAction(QStringLiteral("&Повторить"), stack, &QUndoStack::redo);
    d->redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    d->redoAction->setEnabled(false);
    connect(stack, &QUndoStack::canRedoChanged, d->redoAction, &QAction::setEnabled);

    createViewMenu();

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Справка"));
    d->N9 = help->addAction(QStringLiteral("&Руководство"), this, [this] { N9Click(); });
    d->N9->setShortcut(QKeySequence::HelpContents);
    installGuideKey(this, d->doc->programFiles().dataPath(QStringLiteral("guide")));
    d->N5 = help->addAction(QStringLiteral("&О программе"), this, [this] { N5Click(); });
}

void TForm1::reportError(const QString &text)
{
    seams().critical(this, text, QString());
}

void TForm1::FormCreate()
{
    d->smallIcons = QImage();
    d->largeIcons = QImage();
    // A sheet that fails stays empty and the icon draws show nothing; when the
    // small sheet fails the large one is not tried, and start-up goes on.
    const ProgramFiles &files = d->doc->programFiles();
    if (const Status s = readBitmap(files.dataPath(QStringLiteral("icons.bmp")), d->smallIcons); !s) {
        report(this, s);
        return;
    }
    report(this, readBitmap(files.dataPath(QStringLiteral("icons32.bmp")), d->largeIcons));
}

void TForm1::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    FormPaint();
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    FormShow();
}

void TForm1::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    // The window manager's frame becomes known only after it has framed the
    // window, which moves it: fit again with the real frame instead of the guess.
    if (windowHandle() && !windowHandle()->frameMargins().isNull() && windowHandle()->frameMargins() != d->fittedFrame)
        fitToScreen();
}

void TForm1::FormShow()
{
    renderPreview();
    refreshSlots();
}

void TForm1::FormPaint()
{
    renderPreview();
    refreshSlots();
}

void TForm1::Timer1Timer()
{
    renderPreview();
    refreshSlots();
}

void TForm1::N4Click()
{
    close();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (!d->quitting && !maybeSave()) {
        event->ignore();
        return;
    }
    if (d->remembersState)
        saveWindowState();
    event->accept();
}

void TForm1::N5Click()
{
    TForm4 about(this);
    seams().execDialog(&about);
}

void TForm1::Button1Click()
{
    TForm3 dialog(*d->doc, *d->watcher, this);
    dialog.setProject(d->project.get());
    seams().execDialog(&dialog);
}

void TForm1::showSkinControls()
{
    d->RadioGroup1->setEnabled(true);
    d->RadioGroup1->show();
    d->RadioGroup3->setVisible(d->RadioGroup1->isVisibleTo(this));
    d->RadioGroup2->setVisible(d->RadioGroup1->itemIndex() == ContactListScreen);
    d->Button1->show();
    d->N7->setEnabled(true);
    d->Panel1->show();
}

void TForm1::adoptSheet()
{
    const Profile *p = profileByIndex(d->doc->profile());
    if (!p) {
        updateCaption();
        return;
    }
    // A phone picture that cannot be read does not stand in the skin's way:
    // the preview shows on the white frame.
    if (d->photoProfile != p->index) {
        QImage photo;
        d->photoProfile = p->index;
        if (const Status s = readPhonePicture(d->doc->programFiles(), p->index, photo)) {
            d->previewArea->setPhoto(photo);
        } else {
            d->previewArea->setPhoto({});
            reportError(QStringLiteral("Картинка телефона не загружена; предпросмотр показан без неё.\n") + s.message);
        }
    }
    d->previewArea->setScreen(p->previewOffset, p->screenSize());
    if (d->previewArea->zoomMode() == ZoomView::kFitWindow)
        d->previewArea->setZoomMode(ZoomView::kFitWindow);
    showSkinControls();
    updateCaption();
    // The document's sheetChanged, which follows, renders and refreshes the swatches.
}

} // namespace zelkor
