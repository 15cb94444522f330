#include "tform1.h"

#include "editing/tform3.h"
#include "seams.h"
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "tform4.h"
#include "windowfit.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWindow>

namespace zelkor {

TForm1::TForm1(const QString &folder, QWidget *parent) : QMainWindow(parent), programFolder(folder)
{
    setWindowTitle(QStringLiteral("Универсальный редактор skin-ов для Zelkor"));
    setFont(windowFont());

    createControls();
    createMenu();
    setAcceptDrops(true);
    FormCreate();
    fitToScreen();
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
    const auto *scroll = static_cast<QScrollArea *>(centralWidget());
    const QSize wanted = scroll->widget()->size() + QSize(0, menuBar()->sizeHint().height());
    const WindowFit fit = fitWindow(screen->availableGeometry(), wanted, frame,
                                    style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll));
    setFixedSize(fit.size);
    move(fit.framePos);
}

QString TForm1::programPath(const QString &relative) const
{
    return QDir(programFolder).filePath(relative);
}

void TForm1::createControls()
{
    // The client area keeps its fixed size; on a screen too small for it the
    // scroll area around it shows scroll bars instead of cutting it off.
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *client = new QWidget;
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(1016, 684);
    scroll->setWidget(client);
    // Both transparent (setWidget made the client opaque), so that painting
    // the client still paints the window and runs its paint handler.
    scroll->viewport()->setAutoFillBackground(false);
    client->setAutoFillBackground(false);
    setCentralWidget(scroll);

    Shape1 = new QFrame(client);
    Shape1->setGeometry(368, 0, 641, 777);
    Shape1->setStyleSheet(QStringLiteral("background: white; border: 1px solid black;"));

    phone = new QLabel(client);
    phone->move(377, 3);
    phone->setAccessibleName(QStringLiteral("Телефон"));

    PaintBox1 = new PaintBox(client);
    PaintBox1->setGeometry(419, 94, 176, 208);
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
    // Mnemonics: Alt+Ф opens "Файл", Alt+О the about box.
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Файл"));
    N2 = file->addAction(QStringLiteral("&Новый"), this, [this] { N2Click(); });
    N3 = file->addAction(QStringLiteral("&Загрузить"), this, [this] { N3Click(); });
    N6 = file->addAction(QStringLiteral("&Сохранить"), this, [this] { N6Click(); });
    N4 = file->addAction(QStringLiteral("&Выход"), this, [this] { N4Click(); });
    N5 = menuBar()->addAction(QStringLiteral("&О программе"));
    connect(N5, &QAction::triggered, this, [this] { N5Click(); });
}

void TForm1::reportError(const QString &text)
{
    seams().critical(this, text);
}

// Reads an image as the 24-bit bitmaps the screens draw from.
static bool loadImage(const QString &path, QImage &into, QString &error)
{
    const QImage img = readImageFile(path, error);
    if (img.isNull())
        return false;
    into = img.convertToFormat(QImage::Format_RGB32);
    return true;
}

void TForm1::FormCreate()
{
    sheet = QImage();
    smallIcons = QImage();
    largeIcons = QImage();
    // A sheet that fails stays empty and the icon draws show nothing; when the
    // small sheet fails the large one is not tried, and start-up goes on.
    QString error;
    if (!loadImage(programPath(QStringLiteral("icons.bmp")), smallIcons, error)) {
        reportError(error);
        return;
    }
    if (!loadImage(programPath(QStringLiteral("icons32.bmp")), largeIcons, error))
        reportError(error);
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

void TForm1::N5Click()
{
    TForm4 about(this);
    seams().execDialog(&about);
}

void TForm1::Button1Click()
{
    TForm3 dialog(this);
    seams().execDialog(&dialog);
}

void TForm1::showSkinControls()
{
    RadioGroup1->setEnabled(true);
    RadioGroup1->show();
    Button1->show();
    Panel1->show();
}

bool TForm1::adoptSheet()
{
    const Recognition rec = recogniseSheet(sheet.size());
    if (rec.resetFor176x500) {
        screenWidth = 176;
        screenHeight = 208;
        refreshSlotsFrom(1);
        profile = 0;
    }
    if (const Profile *p = profileByIndex(rec.profile)) {
        screenWidth = p->screenWidth;
        screenHeight = p->screenHeight;
        QImage photo;
        QString error;
        if (!loadImage(programPath(QString::fromUtf8(p->photoName)), photo, error)) {
            reportError(error);
            return false;
        }
        phone->setPixmap(QPixmap::fromImage(photo));
        phone->resize(photo.size());
        profile = quint8(p->index);
        PaintBox1->move(p->paintBoxPos);
    }
    PaintBox1->resize(screenWidth, screenHeight);
    renderPreview();
    return true;
}

} // namespace zelkor
