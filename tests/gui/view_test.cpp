// The preview as a place to work: a window that grows, zoom by the keyboard
// and remembered, and the dock of all screens following edits and undo.
#include "app/allscreensdock.h"
#include "app/seams.h"
#include "app/colourdialog.h"
#include "app/loupe.h"
#include "tform1testaccess.h"
#include "app/zoomview.h"
#include "app/tform3.h"
#include "preview/overview.h"
#include "preview/screenimage.h"
#include "skin/colourslots.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "testsupport.h"

#include <QDir>
#include <QMouseEvent>
#include <QSettings>
#include <QToolTip>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <tuple>

#include <gtest/gtest.h>

using namespace zelkor;

namespace {

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSeams();
        // Remembered choices of this test alone: other tests run beside it.
        ASSERT_TRUE(settings.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
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
        resetSeams();
    }

    QTemporaryDir settings;
    QTemporaryDir dir;
    QStringList errors;
    std::unique_ptr<TForm1> w;
};

TEST_F(ViewTest, TheWindowGrowsAndZoomFollowsTheKeyboardAndIsRemembered)
{
    EXPECT_EQ(w->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    const QSize before = ui(*w)->previewArea->size();
    w->resize(w->size() + QSize(300, 200));
    QApplication::processEvents();
    EXPECT_GT(ui(*w)->previewArea->width(), before.width());

    struct Step {
        QKeySequence keys;
        int zoom;
    };
    const Step steps[] = {{QKeySequence(Qt::CTRL | Qt::Key_Plus), 2}, {QKeySequence(Qt::CTRL | Qt::Key_Plus), 3},
                          {QKeySequence(Qt::CTRL | Qt::Key_Minus), 2}, {QKeySequence(Qt::CTRL | Qt::Key_0), 1},
                          {QKeySequence(Qt::CTRL | Qt::Key_Minus), 1}, {QKeySequence(Qt::CTRL | Qt::Key_Equal), 2}};
    for (const Step &s : steps) {
        QTest::keySequence(w.get(), s.keys);
        EXPECT_EQ(ui(*w)->previewArea->zoom(), s.zoom) << s.keys.toString().toStdString();
        EXPECT_EQ(ui(*w)->PaintBox1->size(), QSize(176, 208) * s.zoom);
        EXPECT_TRUE(ui(*w)->zoomActions[s.zoom]->isChecked());
    }
    // The fitting factor is the largest whose whole picture fits.
    ui(*w).setZoomMode(ZoomView::kFitWindow);
    const int fit = ui(*w)->previewArea->zoom();
    const QSize room = ui(*w)->previewArea->maximumViewportSize();
    EXPECT_LE(ui(*w)->previewArea->widget()->width(), room.width());
    EXPECT_LE(ui(*w)->previewArea->widget()->height(), room.height());
    if (fit < ZoomView::kMaxZoom) {
        ui(*w).setZoomMode(fit + 1);
        EXPECT_FALSE(ui(*w)->previewArea->widget()->width() <= room.width() && ui(*w)->previewArea->widget()->height() <= room.height());
    }

    ui(*w).setZoomMode(3);
    TForm1 next(programFilesIn(dir.path()), test::workFolderIn(dir.path()));
    EXPECT_EQ(ui(next)->previewArea->zoom(), 3);
    // Without a skin there is no photograph: the white frame still holds the screen.
    EXPECT_TRUE(ui(next)->Shape1->geometry().contains(ui(next)->PaintBox1->geometry()))
        << ui(next)->PaintBox1->geometry().x() << "," << ui(next)->PaintBox1->geometry().y();
}

TEST_F(ViewTest, TheDockRedrawsAfterAnEditAndAnUndoAndAClickPicksItsScreen)
{
    ASSERT_TRUE(ui(*w)->allScreens->isVisible());
    const QImage before = ui(*w)->allScreens->picture();
    ASSERT_FALSE(before.isNull());
    const auto fresh = [&] {
        std::array<QImage, kNamedScreenCount> screens;
        for (int i = 0; i < kNamedScreenCount; ++i)
            screens[i] = paintBoxPicture(namedScreens()[i], ui(*w).previewInput());
        return composeOverview(w->document().displayName(), 1, screens);
    };
    EXPECT_EQ(before, fresh());

    ASSERT_TRUE(w->document().setColourSlot(6, qRgb(255, 0, 0)));
    EXPECT_NE(ui(*w)->allScreens->picture(), before);
    EXPECT_EQ(ui(*w)->allScreens->picture(), fresh());
    w->document().undoStack()->undo();
    EXPECT_EQ(ui(*w)->allScreens->picture(), before);
    // A save depth redraws it as the phone would show it, and back.
    ui(*w)->RadioGroup3->setItemIndex(2);
    ui(*w).RadioGroup3Click();
    EXPECT_NE(ui(*w)->allScreens->picture(), before);
    EXPECT_EQ(ui(*w)->allScreens->picture(), fresh());
    ui(*w)->RadioGroup3->setItemIndex(0);
    ui(*w).RadioGroup3Click();
    EXPECT_EQ(ui(*w)->allScreens->picture(), before);

    // The thumbnails fit the dock: every one inside it, none over another.
    QWidget *picture = ui(*w)->allScreens->thumbnails();
    const ThumbnailGrid grid = thumbnailGrid(picture->size(), QSize(176, 208), picture->fontMetrics().height() + 2);
    ASSERT_GT(grid.scale, 0);
    for (int i = 0; i < kNamedScreenCount; ++i) {
        EXPECT_TRUE(picture->rect().contains(grid.screens[i])) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_FALSE(grid.screens[i].intersects(grid.screens[j])) << i << " " << j;
    }
    for (int i : {2, 3, 0}) {
        QTest::mouseClick(picture, Qt::LeftButton, {}, grid.screens[i].center());
        EXPECT_EQ(ui(*w)->RadioGroup1->itemIndex(), namedScreens()[i].screen) << i;
        EXPECT_EQ(ui(*w)->RadioGroup2->itemIndex(), namedScreens()[i].columns) << i;
        EXPECT_EQ(ui(*w)->PaintBox1->canvasImage(), paintBoxPicture(namedScreens()[i], ui(*w).previewInput())) << i;
        // A title the dock shortens is whole in the tooltip over it.
        const QPoint title(grid.screens[i].left() + 2, grid.screens[i].top() - 3);
        QHelpEvent help(QEvent::ToolTip, title, picture->mapToGlobal(title));
        QApplication::sendEvent(picture, &help);
        EXPECT_EQ(QToolTip::text(), namedScreens()[i].titleText()) << i;
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

// A mouse event on a preview child at a pixel of its picture, at the view's zoom.
void mouse(QWidget *target, QEvent::Type type, QPoint pixel, int zoom)
{
    const QPointF at((pixel * zoom) + QPoint(zoom / 2, zoom / 2));
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, target->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

TEST_F(ViewTest, WhatIsUnderTheMouseIsNamedSelectedEditedAndTakenByTheEyedropper)
{
    ui(*w).setZoomMode(2);
    ui(*w)->RadioGroup1->setItemIndex(ContactListScreen);
    ui(*w).RadioGroup1Click();
    const PaintRecord &record = ui(*w)->record;
    // A nick's ink, and a pixel of the contacts picture.
    QPoint nick(-1, -1), background(-1, -1);
    QString nickText;
    for (size_t op = 0; op < record.ops().size(); ++op)
        if (const PaintOp &o = record.ops()[op]; o.kind == PaintOp::Text && o.slot == 6 && nick.x() < 0) {
            const auto ink = record.ink(int(op));
            ASSERT_FALSE(ink.empty());
            nick = QPoint(ink[0].x, ink[0].y);
            nickText = o.text;
        }
    for (int y = 0; y < record.size().height() && background.x() < 0; ++y)
        if (const PixelSource s = record.sourceAt(100, y); s.kind == PixelSource::Picture && s.picture == Contacts)
            background = QPoint(100, y);
    ASSERT_GE(nick.x(), 0);
    ASSERT_GE(background.x(), 0);
    const PixelSource bg = record.sourceAt(background.x(), background.y());

    // The colour first, as the pixel shows it, then what painted it.
    const auto hex = [](const QImage &image, QPoint at) { return QColor::fromRgb(image.pixel(at)).name() + u' '; };
    const QImage &canvas = ui(*w)->PaintBox1->canvasImage();
    mouse(ui(*w)->PaintBox1, QEvent::MouseMove, nick, 2);
    EXPECT_EQ(w->statusBar()->currentMessage(),
              hex(canvas, nick) + QStringLiteral("— ") + colourSlotLabel(6) + QStringLiteral(" — «") + nickText + u'»');
    mouse(ui(*w)->PaintBox1, QEvent::MouseMove, background, 2);
    EXPECT_EQ(w->statusBar()->currentMessage(), hex(canvas, background) + QStringLiteral("— Фоновая картинка в контактах, %1, %2")
                                                    .arg(bg.picturePixel.x()).arg(bg.picturePixel.y()));
    mouse(ui(*w)->phone, QEvent::MouseMove, QPoint(3, 5), 2);
    EXPECT_EQ(w->statusBar()->currentMessage(),
              hex(ui(*w)->previewArea->photo(), QPoint(3, 5)) + QStringLiteral("— Картинка телефона, 3, 5"));
    EXPECT_FALSE(ui(*w)->loupe->isVisibleTo(w.get()));

    // Click selects, double-click opens the colour dialog or the picture's
    // editing dialog. Between a text's strokes a click still means the text.
    const QRect nickBox = record.ops()[size_t(record.ownerAt(nick.x(), nick.y()))].rect;
    QPoint between(-1, -1);
    for (int x = nickBox.left(); x <= nickBox.right() && between.x() < 0; ++x)
        if (record.sourceAt(x, nickBox.center().y()).kind == PixelSource::Picture)
            between = QPoint(x, nickBox.center().y());
    ASSERT_GE(between.x(), 0);
    mouse(ui(*w)->PaintBox1, QEvent::MouseButtonPress, between, 2);
    EXPECT_EQ(ui(*w)->selectedSlot, 6);
    ui(*w).selectSlot(-1);
    mouse(ui(*w)->PaintBox1, QEvent::MouseButtonPress, nick, 2);
    EXPECT_EQ(ui(*w)->selectedSlot, 6);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(ui(*w)->dx[i]->isSelected(), i == 6) << i;
    seams().execDialog = [](QDialog *d) {
        auto *colour = qobject_cast<ColourDialog *>(d);
        if (!colour)
            return int(QDialog::Rejected);
        colour->setColour(qRgb(1, 2, 3));
        return int(QDialog::Accepted);
    };
    mouse(ui(*w)->PaintBox1, QEvent::MouseButtonDblClick, nick, 2);
    EXPECT_EQ(w->document().colourSlots()[6], qRgb(1, 2, 3));
    int editedPicture = -1;
    seams().execDialog = [&](QDialog *d) {
        editedPicture = qobject_cast<TForm3 *>(d)->RadioGroup1->itemIndex();
        return int(QDialog::Rejected);
    };
    mouse(ui(*w)->PaintBox1, QEvent::MouseButtonDblClick, background, 2);
    EXPECT_EQ(editedPicture, int(Contacts));

    // The eyedropper takes a phone pixel into the selected slot, as one undo
    // step; its loupe shows the pixels around the cursor, the screen's over the
    // phone's, and the corner beyond the picture empty.
    const int steps = w->document().undoStack()->count();
    ui(*w)->eyedropper->trigger();
    const QPoint offset = profileByIndex(w->document().profile())->previewOffset;
    for (const auto &[target, pixel, onPhone] : {std::tuple{static_cast<QWidget *>(ui(*w)->PaintBox1), nick, nick + offset},
                                                 std::tuple{static_cast<QWidget *>(ui(*w)->phone), QPoint(3, 5), QPoint(3, 5)}}) {
        mouse(target, QEvent::MouseMove, pixel, 2);
        ASSERT_TRUE(ui(*w)->loupe->isVisibleTo(w.get()));
        const QImage &patch = ui(*w)->loupe->patch();
        EXPECT_EQ(patch.pixel(5, 5), target == ui(*w)->phone ? ui(*w)->previewArea->photo().pixel(pixel) : canvas.pixel(pixel));
        EXPECT_EQ(qAlpha(patch.pixel(0, 0)), onPhone.x() < 5 ? 0 : 255);
    }
    // The screen's pixel right of the screen's left edge, the phone's left of it.
    mouse(ui(*w)->PaintBox1, QEvent::MouseMove, QPoint(0, 10), 2);
    EXPECT_EQ(ui(*w)->loupe->patch().pixel(5, 5), canvas.pixel(0, 10));
    EXPECT_EQ(ui(*w)->loupe->patch().pixel(4, 5), ui(*w)->previewArea->photo().pixel(offset + QPoint(-1, 10)));
    mouse(ui(*w)->phone, QEvent::MouseButtonPress, QPoint(3, 5), 2);
    EXPECT_EQ(w->document().colourSlots()[6], ui(*w)->previewArea->photo().pixel(3, 5));
    EXPECT_EQ(w->document().undoStack()->count(), steps + 1);
    w->document().undoStack()->undo();
    EXPECT_EQ(w->document().colourSlots()[6], qRgb(1, 2, 3));
    EXPECT_TRUE(ui(*w)->PaintBox1->toolTip().isEmpty());  // it would cover the loupe
    ui(*w)->eyedropper->trigger();
    EXPECT_FALSE(ui(*w)->loupe->isVisibleTo(w.get()));
    EXPECT_FALSE(ui(*w)->PaintBox1->toolTip().isEmpty());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

} // namespace
