#include "tform1.h"

#include "editing/tform3.h"
#include "seams.h"
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "tform4.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

namespace zelkor {

TForm1::TForm1(const QString &folder, QWidget *parent) : QMainWindow(parent), programFolder(folder)
{
    setWindowTitle(QStringLiteral("Универсальный редактор skin-ов для Zelkor"));
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(11);
    setFont(f);

    createControls();
    createMenu();
    FormCreate();

    // Fixed client area below the menu, centred on the desktop.
    centralWidget()->setFixedSize(1016, 684);
    setFixedSize(sizeHint());
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.center() - rect().center());
    }
}

QString TForm1::programPath(const QString &relative) const
{
    return QDir(programFolder).filePath(relative);
}

void TForm1::createControls()
{
    auto *client = new QWidget(this);
    setCentralWidget(client);

    Shape1 = new QFrame(client);
    Shape1->setGeometry(368, 0, 641, 777);
    Shape1->setStyleSheet(QStringLiteral("background: white; border: 1px solid black;"));

    phone = new QLabel(client);
    phone->move(377, 3);

    PaintBox1 = new PaintBox(client);
    PaintBox1->setGeometry(419, 94, 176, 208);

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

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Timer1->start();
}

void TForm1::createMenu()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("Файл"));
    N2 = file->addAction(QStringLiteral("Новый"), this, [this] { N2Click(); });
    N3 = file->addAction(QStringLiteral("Загрузить"), this, [this] { N3Click(); });
    N6 = file->addAction(QStringLiteral("Сохранить"), this, [this] { N6Click(); });
    N4 = file->addAction(QStringLiteral("Выход"), this, [this] { N4Click(); });
    N5 = menuBar()->addAction(QStringLiteral("О программе"));
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
