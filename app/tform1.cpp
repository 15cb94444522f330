#include "tform1.h"

#include "tform3.h"
#include "seams.h"
#include "skin/profiles.h"
#include "converterprogress.h"
#include "skin/savename.h"
#include "preview/screenimage.h"
#include "skin/sheet.h"
#include "skin/skindocument.h"
#include "tform4.h"
#include "windowfit.h"
#include "zoomview.h"

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
constexpr QSize kControlsSize(361, 713);
constexpr QSize kWindowClientSize(1016, 684);

} // namespace

TForm1::TForm1(const ProgramFiles &files, const QString &workFolder, QWidget *parent)
    : QMainWindow(parent),
      m_doc(new SkinDocument(files, workFolder, this)),
      m_progress(std::make_unique<ConverterProgressDialog>(this))
{
    m_doc->setConverterProgress(m_progress.get());
    createWatcher();
    setWindowTitle(baseCaption());
    setFont(windowFont());

    createControls();
    createMenu();
    createLegibility();
    createDesk();
    setAcceptDrops(true);
    FormCreate();
    fitToScreen();

    connect(m_doc, &SkinDocument::skinReplaced, this, [this] { adoptSheet(); });
    // The swatches first: the preview draws with their colours, so an undone
    // colour shows at once rather than at the next tick.
    connect(m_doc, &SkinDocument::sheetChanged, this, [this] {
        refreshSlots();
        renderPreview();
    });
    connect(m_doc, &SkinDocument::modifiedChanged, this, [this] { updateCaption(); });
    connect(m_doc, &SkinDocument::fileNameChanged, this, [this] { updateCaption(); });
}

QFont TForm1::windowFont()
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(11);
    return f;
}

void TForm1::fitToScreen()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Before the window manager has framed the window its frame is not known;
    // assume a common title bar so that the frame still fits the screen.
    QMargins frame(4, 32, 4, 4);
    if (windowHandle() && !windowHandle()->frameMargins().isNull())
        frame = windowHandle()->frameMargins();
    m_fittedFrame = frame;
    // The window opens at least as large as it always was, and larger on a
    // large screen, so that the dock of all screens has room; it may then be
    // resized and maximised. Where the last run left it, it opens again, if
    // that is on a screen still.
    const QSize wanted = (kWindowClientSize + QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height()))
                             .expandedTo(screen->availableGeometry().size() * 9 / 10);
    const WindowFit fit = keptOnScreen(screen->availableGeometry(),
                                       fitWindow(screen->availableGeometry(), wanted, frame,
                                                 style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this)),
                                       frame, m_keptGeometry);
    resize(fit.size);
    move(fit.framePos);
    // The last run's place counts once the real frame is known; later fits start afresh.
    if (windowHandle() && !windowHandle()->frameMargins().isNull())
        m_keptGeometry.reset();
}

TForm1::~TForm1()
{
    // The document goes before the progress window it points to.
    delete m_doc;
}

void TForm1::updateCaption()
{
    if (!m_doc->hasSkin()) {
        setWindowTitle(baseCaption());
        setWindowModified(false);
        return;
    }
    setWindowTitle(m_doc->displayName() + QStringLiteral("[*] — ") + baseCaption());
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
    row->addWidget(scroll);
    previewArea = new ZoomView(central);
    row->addWidget(previewArea, 1);
    setCentralWidget(central);

    Shape1 = previewArea->frame();
    phone = previewArea->phone();
    phone->setAccessibleName(QStringLiteral("Телефон"));
    PaintBox1 = previewArea->paintBox();
    PaintBox1->setAccessibleName(QStringLiteral("Предпросмотр экрана"));

    RadioGroup1 = new RadioGroup(QStringLiteral("Экран"),
                                 {QStringLiteral("Выбор аккаунта"), QStringLiteral("Экран контактов"),
                                  QStringLiteral("Всплывающие меню"), QStringLiteral("Экран чата"),
                                  QStringLiteral("Экран настроек"), QStringLiteral("Индикатор сообщений")},
                                 client);
    RadioGroup1->setGeometry(0, 0, 161, 241);
    RadioGroup1->setItemIndex(0);
    RadioGroup1->hide();
    connect(RadioGroup1, &RadioGroup::clicked, this, [this] { RadioGroup1Click(); });

    RadioGroup2 = new RadioGroup(QStringLiteral("Колонок"), {QStringLiteral("одна"), QStringLiteral("две")}, client);
    RadioGroup2->setGeometry(168, 8, 161, 49);
    RadioGroup2->setItemIndex(0);
    RadioGroup2->hide();
    connect(RadioGroup2, &RadioGroup::clicked, this, [this] { RadioGroup2Click(); });

    QStringList depths{QStringLiteral("как есть")};
    for (const ColourDepth &d : kColourDepths)
        depths << QString::fromLatin1(d.option + 2) + QStringLiteral(" bpp");
    RadioGroup3 = new RadioGroup(QStringLiteral("Глубина цвета"), depths, client);
    RadioGroup3->setGeometry(168, 96, 185, 145);
    RadioGroup3->setItemIndex(0);
    RadioGroup3->hide();
    connect(RadioGroup3, &RadioGroup::clicked, this, [this] { RadioGroup3Click(); });

    Button1 = new QPushButton(QStringLiteral("Редактировать картинки"), client);
    Button1->setGeometry(168, 64, 185, 25);
    Button1->hide();
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    Panel1 = new QFrame(client);
    Panel1->setGeometry(1, 248, 353, 465);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->hide();
    createColourPanel();
    // A swatch is named after its label for screen readers.
    for (int i = 0; i < 13; ++i)
        dx[i]->setAccessibleName(dxLabels[i]->text().trimmed());

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Timer1->start();
}

void TForm1::createMenu()
{
    // Mnemonics: Alt+Ф opens "Файл", Alt+П "Правка", Alt+О the about box.
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Файл"));
    N2 = file->addAction(QStringLiteral("&Новый"), this, [this] { N2Click(); });
    N2->setShortcut(QKeySequence::New);
    N8 = file->addAction(QStringLiteral("Новый из &картинки…"), this, [this] { N8Click(); });
    N3 = file->addAction(QStringLiteral("&Загрузить"), this, [this] { N3Click(); });
    N3->setShortcut(QKeySequence::Open);
    N6 = file->addAction(QStringLiteral("&Сохранить"), this, [this] { N6Click(); });
    N6->setShortcut(QKeySequence::Save);
    N10 = file->addAction(QStringLiteral("Сохранить &как…"), this, [this] { N10Click(); });
    N10->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    recentMenu = file->addMenu(QStringLiteral("Н&едавние файлы"));
    N7 = file->addAction(QStringLiteral("П&еренести на разрешение…"), this, [this] { N7Click(); });
    N7->setEnabled(false);
    N4 = file->addAction(QStringLiteral("&Выход"), this, [this] { N4Click(); });
    N4->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Правка"));
    QUndoStack *stack = m_doc->undoStack();
    undoAction = edit->addAction(QStringLiteral("&Отменить"), stack, &QUndoStack::undo);
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undoAction->setEnabled(false);
    connect(stack, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
    redoAction = edit->addAction(QStringLiteral("&Повторить"), stack, &QUndoStack::redo);
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    redoAction->setEnabled(false);
    connect(stack, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);

    createViewMenu();

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Справка"));
    N9 = help->addAction(QStringLiteral("&Руководство"), this, [this] { N9Click(); });
    N9->setShortcut(QKeySequence::HelpContents);
    N5 = help->addAction(QStringLiteral("&О программе"), this, [this] { N5Click(); });
}

void TForm1::reportError(const QString &text)
{
    seams().critical(this, text, QString());
}

void TForm1::FormCreate()
{
    smallIcons = QImage();
    largeIcons = QImage();
    // A sheet that fails stays empty and the icon draws show nothing; when the
    // small sheet fails the large one is not tried, and start-up goes on.
    const ProgramFiles &files = m_doc->programFiles();
    if (const Status s = readBitmap(files.dataPath(QStringLiteral("icons.bmp")), smallIcons); !s) {
        report(this, s);
        return;
    }
    report(this, readBitmap(files.dataPath(QStringLiteral("icons32.bmp")), largeIcons));
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
    if (windowHandle() && !windowHandle()->frameMargins().isNull() && windowHandle()->frameMargins() != m_fittedFrame)
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
    if (!m_quitting && !maybeSave()) {
        event->ignore();
        return;
    }
    if (m_remembersState)
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
    TForm3 dialog(*m_doc, *m_watcher, this);
    seams().execDialog(&dialog);
}

void TForm1::showSkinControls()
{
    RadioGroup1->setEnabled(true);
    RadioGroup1->show();
    RadioGroup3->setVisible(RadioGroup1->isVisibleTo(this));
    RadioGroup2->setVisible(RadioGroup1->itemIndex() == ContactListScreen);
    Button1->show();
    N7->setEnabled(true);
    Panel1->show();
}

void TForm1::adoptSheet()
{
    const Profile *p = profileByIndex(m_doc->profile());
    if (!p) {
        updateCaption();
        return;
    }
    // A phone picture that cannot be read does not stand in the skin's way:
    // the preview shows on the white frame.
    if (m_photoProfile != p->index) {
        QImage photo;
        m_photoProfile = p->index;
        if (const Status s = readPhonePicture(m_doc->programFiles(), p->index, photo)) {
            previewArea->setPhoto(photo);
        } else {
            previewArea->setPhoto({});
            reportError(QStringLiteral("Картинка телефона не загружена; предпросмотр показан без неё.\n") + s.message);
        }
    }
    previewArea->setScreen(p->previewOffset, p->screenSize());
    if (previewArea->zoomMode() == ZoomView::kFitWindow)
        previewArea->setZoomMode(ZoomView::kFitWindow);
    showSkinControls();
    updateCaption();
    // The document's sheetChanged, which follows, renders and refreshes the swatches.
}

} // namespace zelkor
