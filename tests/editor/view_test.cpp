// The preview as a place to work: a window that grows, zoom by the keyboard
// and remembered, and the dock of all screens following edits and undo.
#include "app/allscreensdock.h"
#include "app/seams.h"
#include "app/tform1.h"
#include "app/zoomview.h"
#include "preview/screenimage.h"
#include "skin/skindocument.h"
#include "testsupport.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace zelkor;

namespace {

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSeams();
        QSettings().remove(QStringLiteral("view/zoom"));
        seams().critical = [this](QWidget *, const QString &text, const QString &) { errors << text; };
        seams().ask = [](QWidget *, const QString &, const QStringList &) { return 1; };
        ASSERT_TRUE(dir.isValid());
        QImage icons(32, 1520, QImage::Format_RGB32);
        icons.fill(Qt::white);
        ASSERT_TRUE(icons.save(dir.filePath(QStringLiteral("icons.bmp"))));
        ASSERT_TRUE(icons.scaled(64, 3040).save(dir.filePath(QStringLiteral("icons32.bmp"))));
        QImage photo(260, 400, QImage::Format_RGB32);
        photo.fill(Qt::darkGray);
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("devices")));
        ASSERT_TRUE(photo.save(dir.filePath(QStringLiteral("devices/176x208.jpg"))));
        w = std::make_unique<TForm1>(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
        ASSERT_TRUE(w->document().adoptUnsaved(test::coordinateSheet(176, 514), QStringLiteral("a.mbm")));
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
    void TearDown() override
    {
        w.reset();
        QSettings().remove(QStringLiteral("view/zoom"));
        resetSeams();
    }

    QTemporaryDir dir;
    QStringList errors;
    std::unique_ptr<TForm1> w;
};

TEST_F(ViewTest, TheWindowGrowsAndZoomFollowsTheKeyboardAndIsRemembered)
{
    EXPECT_EQ(w->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    const QSize before = w->previewArea->size();
    w->resize(w->size() + QSize(300, 200));
    QApplication::processEvents();
    EXPECT_GT(w->previewArea->width(), before.width());

    struct Step {
        QKeySequence keys;
        int zoom;
    };
    const Step steps[] = {{QKeySequence(Qt::CTRL | Qt::Key_Plus), 2}, {QKeySequence(Qt::CTRL | Qt::Key_Plus), 3},
                          {QKeySequence(Qt::CTRL | Qt::Key_Minus), 2}, {QKeySequence(Qt::CTRL | Qt::Key_0), 1},
                          {QKeySequence(Qt::CTRL | Qt::Key_Minus), 1}, {QKeySequence(Qt::CTRL | Qt::Key_Equal), 2}};
    for (const Step &s : steps) {
        QTest::keySequence(w.get(), s.keys);
        EXPECT_EQ(w->previewArea->zoom(), s.zoom) << s.keys.toString().toStdString();
        EXPECT_EQ(w->PaintBox1->size(), QSize(176, 208) * s.zoom);
        EXPECT_TRUE(w->zoomActions[s.zoom]->isChecked());
    }
    // The fitting factor is the largest whose whole picture fits.
    w->setZoomMode(ZoomView::kFitWindow);
    const int fit = w->previewArea->zoom();
    const QSize room = w->previewArea->maximumViewportSize();
    EXPECT_LE(w->previewArea->widget()->width(), room.width());
    EXPECT_LE(w->previewArea->widget()->height(), room.height());
    if (fit < ZoomView::kMaxZoom) {
        w->setZoomMode(fit + 1);
        EXPECT_FALSE(w->previewArea->widget()->width() <= room.width() && w->previewArea->widget()->height() <= room.height());
    }

    w->setZoomMode(3);
    TForm1 next(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
    EXPECT_EQ(next.previewArea->zoom(), 3);
}

TEST_F(ViewTest, TheDockRedrawsAfterAnEditAndAnUndoAndAClickPicksItsScreen)
{
    ASSERT_TRUE(w->allScreens->isVisible());
    const QImage before = w->allScreens->picture();
    ASSERT_FALSE(before.isNull());
    const auto fresh = [&] {
        LiveOverview overview;
        overview.update(w->document().displayName(), w->previewInput());
        return overview.image();
    };
    EXPECT_EQ(before, fresh());

    ASSERT_TRUE(w->document().setColourSlot(6, qRgb(255, 0, 0)));
    EXPECT_NE(w->allScreens->picture(), before);
    EXPECT_EQ(w->allScreens->picture(), fresh());
    w->document().undoStack()->undo();
    EXPECT_EQ(w->allScreens->picture(), before);

    const OverviewLayout layout = overviewLayout(w->document().displayName(), 1, QSize(176, 208));
    auto *picture = w->allScreens->findChild<QScrollArea *>()->widget();
    for (int i : {2, 3, 0}) {
        QTest::mouseClick(picture, Qt::LeftButton, {}, layout.screens[i].center());
        EXPECT_EQ(w->RadioGroup1->itemIndex(), namedScreens()[i].screen) << i;
        EXPECT_EQ(w->RadioGroup2->itemIndex(), namedScreens()[i].columns) << i;
        EXPECT_EQ(w->PaintBox1->canvasImage(), paintBoxPicture(namedScreens()[i], w->previewInput())) << i;
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

} // namespace
