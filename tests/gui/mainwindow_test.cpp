// The main window's start-up, its states before and after a skin exists, the
// about box, and adopting a sheet.
#include "app/colourdialog.h"
#include "app/seams.h"
#include "app/windowfont.h"
#include "tform1testaccess.h"
#include "app/tform4.h"
#include "skin/skindocument.h"
#include "skin/profiles.h"
#include "testsupport.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace zelkor;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSeams();
        seams().critical = [this](QWidget *, const QString &text, const QString &) { errors << text; };
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override { resetSeams(); }

    QString path(const QString &rel) const { return QDir(dir.path()).filePath(rel); }

    void writeIcons(bool small, bool large)
    {
        QImage s(32, 1520, QImage::Format_RGB32);
        s.fill(Qt::white);
        QImage l(64, 3040, QImage::Format_RGB32);
        l.fill(Qt::white);
        if (small)
            ASSERT_TRUE(s.save(path(QStringLiteral("icons.bmp"))));
        if (large)
            ASSERT_TRUE(l.save(path(QStringLiteral("icons32.bmp"))));
    }

    void writePhoto(int profile)
    {
        const Profile *p = profileByIndex(profile);
        QDir(dir.path()).mkpath(QStringLiteral("devices"));
        QImage photo(p->screenWidth + 2 * p->previewOffset.x(), p->screenHeight + 2 * p->previewOffset.y(),
                     QImage::Format_RGB32);
        photo.fill(Qt::darkGray);
        ASSERT_TRUE(photo.save(path(QString::fromUtf8(p->photoName)), "JPG"));
    }

    QTemporaryDir dir;
    QStringList errors;
};

TEST_F(MainWindowTest, StartsWithoutASkinAndTicksDrawNothing)
{
    writeIcons(true, true);
    TForm1 w(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Универсальный редактор skin-ов для Zelkor"));
    EXPECT_FALSE(w.document().hasSkin());
    EXPECT_EQ(w.document().screenSize(), QSize());
    EXPECT_EQ(ui(w)->smallIcons.size(), QSize(32, 1520));
    EXPECT_EQ(ui(w)->largeIcons.size(), QSize(64, 3040));
    EXPECT_TRUE(ui(w)->Timer1->isActive());
    EXPECT_EQ(ui(w)->Timer1->interval(), 1000);

    w.show();
    EXPECT_FALSE(ui(w)->RadioGroup1->isVisible());
    EXPECT_FALSE(ui(w)->RadioGroup2->isVisible());
    EXPECT_FALSE(ui(w)->Button1->isVisible());
    EXPECT_FALSE(ui(w)->Panel1->isVisible());
    EXPECT_TRUE(ui(w)->PaintBox1->isVisible());
    EXPECT_EQ(ui(w)->PaintBox1->geometry(), QRect(ui(w)->phone->pos() + QPoint(42, 91), QSize(176, 208)));

    const QImage before = ui(w)->PaintBox1->canvasImage().copy();
    const QRgb swatch = ui(w)->dx[4]->color();
    for (int i = 0; i < 3; ++i) {
        ui(w).Timer1Timer();
        ui(w).FormPaint();
        ui(w).FormShow();
    }
    EXPECT_EQ(ui(w)->PaintBox1->canvasImage(), before);
    EXPECT_EQ(ui(w)->dx[4]->color(), swatch);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(MainWindowTest, ControlsSitWhereTheLayoutPutsThem)
{
    writeIcons(true, true);
    TForm1 w(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
    EXPECT_EQ(ui(w)->RadioGroup1->geometry(), QRect(0, 0, 161, 241));
    EXPECT_EQ(ui(w)->RadioGroup1->count(), 6);
    EXPECT_EQ(ui(w)->RadioGroup1->itemIndex(), 0);
    EXPECT_EQ(ui(w)->RadioGroup2->geometry(), QRect(168, 8, 161, 49));
    EXPECT_EQ(ui(w)->RadioGroup2->itemIndex(), 0);
    EXPECT_EQ(ui(w)->Button1->geometry(), QRect(168, 64, 185, 25));
    EXPECT_EQ(ui(w)->Button1->text(), QStringLiteral("Редактировать картинки"));
    EXPECT_EQ(ui(w)->Panel1->geometry(), QRect(1, 248, 353, 375));

    // Menu texts without their mnemonic marks.
    const auto plain = [](const QAction *a) { return QString(a->text()).remove(u'&'); };
    const QList<QAction *> top = w.menuBar()->actions();
    ASSERT_EQ(top.size(), 4);
    EXPECT_EQ(plain(top[0]), QStringLiteral("Файл"));
    EXPECT_EQ(plain(top[1]), QStringLiteral("Правка"));
    EXPECT_EQ(plain(top[2]), QStringLiteral("Вид"));
    EXPECT_EQ(plain(top[3]), QStringLiteral("Справка"));
    QStringList items;
    for (QAction *a : top[0]->menu()->actions())
        items << plain(a);
    EXPECT_EQ(items, (QStringList{QStringLiteral("Новый"), QStringLiteral("Новый из картинки…"),
                                  QStringLiteral("Новый проект…"), QStringLiteral("Загрузить"),
                                  QStringLiteral("Сохранить"), QStringLiteral("Сохранить как…"),
                                  QStringLiteral("Сохранить как проект…"), QStringLiteral("Экспорт скинов…"),
                                  QStringLiteral("Недавние файлы"),
                                  QStringLiteral("Перенести на разрешение…"), QStringLiteral("Выход")}));
    items.clear();
    for (QAction *a : top[3]->menu()->actions())
        items << plain(a);
    EXPECT_EQ(items, (QStringList{QStringLiteral("Руководство"), QStringLiteral("О программе")}));
    // Without a skin nothing can be saved or ported; every command says what it does.
    for (QAction *a : {ui(w)->N6, ui(w)->N10, ui(w)->N7}) {
        EXPECT_FALSE(a->isEnabled()) << plain(a).toStdString();
        EXPECT_TRUE(a->toolTip().contains(QStringLiteral("Сначала создайте или загрузите скин")));
    }
    for (QAction *a : top[0]->menu()->actions() + top[3]->menu()->actions())
        EXPECT_FALSE(a->isSeparator() || a->toolTip().isEmpty() || a->toolTip() == plain(a)) << plain(a).toStdString();
}

TEST_F(MainWindowTest, MissingSmallIconSheetIsReportedOnceAndStartUpGoesOn)
{
    writeIcons(false, true);
    TForm1 w(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("icons.bmp")));
    // The large sheet is not read once the small one failed.
    EXPECT_TRUE(ui(w)->smallIcons.isNull());
    EXPECT_TRUE(ui(w)->largeIcons.isNull());
    w.show();
    ui(w).Timer1Timer();
    EXPECT_EQ(errors.size(), 1);
}

TEST_F(MainWindowTest, UnreadableLargeIconSheetIsReportedByName)
{
    writeIcons(true, false);
    QFile junk(path(QStringLiteral("icons32.bmp")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("BM not really a bitmap");
    junk.close();
    TForm1 w(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("icons32.bmp")));
    EXPECT_FALSE(ui(w)->smallIcons.isNull());
    EXPECT_TRUE(ui(w)->largeIcons.isNull());
}

TEST_F(MainWindowTest, OnAScreenTooSmallTheClientScrollsAndTheFrameStaysOnIt)
{
    writeIcons(true, true);
    TForm1 w(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
    w.show();
    const QRect avail = w.screen()->availableGeometry();
    EXPECT_TRUE(avail.contains(w.frameGeometry())) << avail.height() << " " << w.frameGeometry().height();
    auto *scroll = w.findChild<QScrollArea *>(QStringLiteral("controlsArea"));
    ASSERT_NE(scroll, nullptr);
    // The bottom swatch can be scrolled into view.
    ui(w).showSkinControls();
    scroll->ensureWidgetVisible(ui(w)->dx[12]);
    EXPECT_TRUE(scroll->viewport()->rect().contains(
        QRect(ui(w)->dx[12]->mapTo(scroll->viewport(), QPoint(0, 0)), ui(w)->dx[12]->size())));
}

TEST_F(MainWindowTest, KeyboardOpensTheMenuAndReachesEverySwatch)
{
    writeIcons(true, true);
    TForm1 w(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
    ASSERT_TRUE(w.document().adoptUnsaved(test::coordinateSheet(176, 514), QStringLiteral("x.mbm")));
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

    QMenu *file = w.menuBar()->actions().at(0)->menu();
    const auto altF = Qt::Key(QChar(u'Ф').unicode());
    QTest::sendKeyEvent(QTest::Press, &w, altF, QStringLiteral("ф"), Qt::AltModifier);
    QTest::sendKeyEvent(QTest::Release, &w, altF, QStringLiteral("ф"), Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return file->isVisible(); }, 1000)) << "Alt+Ф did not open Файл";
    file->close();

    // Tab leads from the button through the thirteen swatches in panel order.
    ui(w)->Button1->setFocus();
    for (ColourSwatch *swatch : ui(w)->dx) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), swatch) << swatch->tag();
    }

    // Space and Enter on a swatch ask for a colour, as a click does.
    int asked = 0;
    seams().execDialog = [&](QDialog *d) {
        asked += qobject_cast<ColourDialog *>(d) != nullptr;
        return int(QDialog::Rejected);
    };
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_A})
        QTest::keyClick(ui(w)->dx[5], key);
    EXPECT_EQ(asked, 3);
}

TEST_F(MainWindowTest, SwatchesAreNamedAfterTheirLabelsAndAWhiteOneShowsItsEdge)
{
    writeIcons(true, true);
    TForm1 w(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
    const auto accessibleName = [](QWidget *widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(accessibleName(ui(w)->dx[i]), ui(w)->dxLabels[i]->text().trimmed()) << i;
    EXPECT_FALSE(accessibleName(ui(w)->PaintBox1).isEmpty());
    EXPECT_FALSE(accessibleName(ui(w)->phone).isEmpty());

    ui(w)->dx[3]->setColor(qRgb(255, 255, 255));
    const QImage white = ui(w)->dx[3]->grab().toImage();
    EXPECT_NE(white.pixel(0, 0), ui(w)->Panel1->palette().color(QPalette::Window).rgb());
    EXPECT_NE(white.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(white.pixel(12, 12), qRgb(255, 255, 255));
}

TEST_F(MainWindowTest, AboutBoxShowsItsVersionWholeAndItsLinksOpen)
{
    TForm4 about;
    about.show();
    EXPECT_EQ(about.font(), windowFont());
    int links = 0;
    for (QLabel *l : about.findChildren<QLabel *>()) {
        if (l->text() == QStringLiteral("Версия 0.0.1alpha")) {
            EXPECT_GE(l->width(), l->sizeHint().width());
            EXPECT_LE(l->mapTo(&about, QPoint(l->width(), 0)).x(), 641);
        }
        if (l->text().contains(QStringLiteral("href=\"https://"))) {
            ++links;
            EXPECT_TRUE(l->openExternalLinks());
        }
    }
    EXPECT_EQ(links, 2);
}

TEST_F(MainWindowTest, AboutBoxIsANewBoxEachTimeAndCloses)
{
    writeIcons(true, true);
    TForm1 w(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
    std::vector<QDialog *> shown;
    seams().execDialog = [&](QDialog *d) {
        shown.push_back(d);
        auto *about = qobject_cast<TForm4 *>(d);
        EXPECT_NE(about, nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Редактор сконов для Zelkor "));
        EXPECT_EQ(d->size(), QSize(648, 279));
        EXPECT_EQ(about->closeButton()->text(), QStringLiteral("Закрыть"));
        bool hasVersion = false;
        for (QLabel *l : d->findChildren<QLabel *>())
            hasVersion |= l->text() == QStringLiteral("Версия 0.0.1alpha");
        EXPECT_TRUE(hasVersion);
        about->closeButton()->click();
        EXPECT_EQ(d->result(), QDialog::Accepted);
        return d->result();
    };
    ui(w).N5Click();
    ui(w).N5Click();
    ASSERT_EQ(shown.size(), 2u);
}

TEST_F(MainWindowTest, ExitClosesTheWindow)
{
    writeIcons(true, true);
    TForm1 w(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
    w.show();
    ASSERT_TRUE(w.isVisible());
    ui(w).N4Click();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindowTest, A176x500SheetIsProfileOneAndItsColoursShowAtOnce)
{
    writeIcons(true, true);
    writePhoto(1);
    TForm1 w(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
    ASSERT_TRUE(w.document().adoptUnsaved(test::coordinateSheet(176, 500), QStringLiteral("a.mbm")));
    EXPECT_EQ(w.document().profile(), 1);
    EXPECT_EQ(w.document().screenSize(), QSize(176, 208));
    EXPECT_EQ(ui(w)->PaintBox1->geometry(), QRect(ui(w)->phone->pos() + QPoint(42, 91), QSize(176, 208)));
    EXPECT_EQ(ui(w)->dx[7]->color(), test::coordinateColour(232, 97));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("a.mbm[*] — Универсальный редактор skin-ов для Zelkor"));
    EXPECT_TRUE(w.isWindowModified());
}

TEST_F(MainWindowTest, AMissingPhotographIsReportedAndTheSkinStillShows)
{
    writeIcons(true, true);
    TForm1 w(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
    ASSERT_TRUE(w.document().adoptUnsaved(test::coordinateSheet(320, 604), QStringLiteral("a.mbm")));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("320x240.jpg")));
    EXPECT_EQ(w.document().profile(), 4);
    EXPECT_TRUE(ui(w)->phone->pixmap().isNull());
    EXPECT_EQ(ui(w)->PaintBox1->geometry(), QRect(ui(w)->phone->pos() + QPoint(59, 121), QSize(320, 240)));
    EXPECT_TRUE(ui(w)->Panel1->isVisibleTo(&w));
}

} // namespace

namespace {

// The real save dialog: a typed name comes back exactly as typed, quotes and all.
TEST(FileDialogs, ATypedNameIsTakenAsTyped)
{
    resetSeams();
    QTemporaryDir dir;
    const auto openFile = seams().openFile, saveFile = seams().saveFile;
    for (const auto &[dialog, existing] : {std::pair{saveFile, false}, std::pair{openFile, true}})
        for (const QString &typed : {QStringLiteral("it's \"q\""), QStringLiteral("мой скин")}) {
            if (existing) {  // Open takes only a file that is there
                QFile f(QDir(dir.path()).filePath(typed));
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            }
            QTimer::singleShot(100, [&] {
                for (QWidget *w : QApplication::topLevelWidgets()) {
                    auto *fileDialog = qobject_cast<QFileDialog *>(w);
                    if (!fileDialog || !fileDialog->isVisible())
                        continue;
                    fileDialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
                    QMetaObject::invokeMethod(fileDialog, "accept");
                }
            });
            EXPECT_EQ(dialog(nullptr, QString(), dir.path(), QString()), QDir(dir.path()).filePath(typed))
                << typed.toStdString() << (existing ? " (open)" : " (save)");
        }
}

} // namespace
