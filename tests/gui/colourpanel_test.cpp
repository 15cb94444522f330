// The colour panel: thirteen swatches that show the sheet's colour row and
// write one pixel of it when the user picks a colour.
#include "filesfixture.h"
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "testsupport.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QUndoStack>

using namespace zelkor;
using namespace zelkor::test;

namespace {

class ColourPanelTest : public FilesTest {
protected:
    // A skin of `profile` put in place as New or Load would leave it.
    void useSheet(int profile)
    {
        const Profile *p = profileByIndex(profile);
        ASSERT_TRUE(form->document().adoptUnsaved(coordinateSheet(p->screenWidth, p->layoutRows),
                                                   QStringLiteral("test.mbm")));
        errors.clear();  // no phone pictures here
    }
    void click(int slot)
    {
        ColourSwatch *s = ui(*form)->dx[slot];
        const QPointF at(5, 5);
        QMouseEvent press(QEvent::MouseButtonPress, at, s->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, s->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(s, &press);
        QApplication::sendEvent(s, &release);
    }
};

TEST_F(ColourPanelTest, SwatchesAndLabels)
{
    const char *const labels[13] = {
        "текст исходящих сообщений", "текст входящих сообщений", "цвет входящего хстатуса", "цвет окошка меню",
        "цвет выделения в меню ", "цвет оконтовки выделения в меню", "цвет ника в списке контактов",
        "цвет группы в списке контактов", "цвет ника в списке контактов (вверху)", "цвет текста в MenuBarе",
        "цвет текста в меню", "цвет текста в настройках", "цвет времени в КЛе",
    };
    for (int i = 0; i < 13; ++i) {
        SCOPED_TRACE(i);
        const ColourSwatch *s = ui(*form)->dx[i];
        EXPECT_EQ(s->parentWidget(), ui(*form)->Panel1);
        EXPECT_EQ(s->objectName(), QStringLiteral("dx%1").arg(i));
        EXPECT_EQ(s->tag(), i);
        EXPECT_EQ(s->geometry(), QRect(8, 6 + 28 * i, 25, 25));
        EXPECT_EQ(s->cursor().shape(), Qt::PointingHandCursor);
        const QLabel *l = ui(*form)->dxLabels[i];
        EXPECT_EQ(l->parentWidget(), ui(*form)->Panel1);
        EXPECT_EQ(l->text(), QString::fromUtf8(labels[i]));
        EXPECT_EQ(l->pos(), QPoint(40, 14 + 28 * i));
        EXPECT_EQ(l->font().family(), QStringLiteral("Tahoma"));
        EXPECT_TRUE(l->font().bold());
        EXPECT_EQ(l->font().pixelSize(), 15);
    }
}

struct PickCase {
    int profile;
    int slot;
};

class PickTest : public ColourPanelTest, public ::testing::WithParamInterface<PickCase> {};

TEST_P(PickTest, ChangesExactlyOneSheetPixel)
{
    const auto [profile, slot] = GetParam();
    useSheet(profile);
    const QImage before = form->document().sheet().copy();
    const ColourSlots swatchesBefore = ui(*form).swatchColours();
    const QRgb chosen = qRgb(0x12, 0xab, 0xef);
    colourAnswer = QColor::fromRgb(chosen);
    click(slot);
    ASSERT_EQ(shown, QStringList{QStringLiteral("colour")});

    const auto row = *colourRow(profile);
    const QPoint target(row.firstColumn + slot, row.row);
    int changed = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (form->document().sheet().pixel(x, y) != before.pixel(x, y)) {
                ++changed;
                EXPECT_EQ(QPoint(x, y), target);
            }
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(form->document().sheet().pixel(target), chosen);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(ui(*form)->dx[i]->color(), i == slot ? chosen : swatchesBefore[i]) << "swatch " << i;
}

INSTANTIATE_TEST_SUITE_P(ProfilesAndSlots, PickTest,
                         ::testing::Values(PickCase{1, 0}, PickCase{1, 7}, PickCase{1, 12}, PickCase{2, 7},
                                           PickCase{3, 0}, PickCase{3, 12}, PickCase{4, 7}, PickCase{5, 7},
                                           PickCase{5, 12}, PickCase{6, 0}, PickCase{6, 7}));

TEST_F(ColourPanelTest, CancellingChangesNothing)
{
    useSheet(3);
    const QImage before = form->document().sheet().copy();
    const ColourSlots swatches = ui(*form).swatchColours();
    colourAnswer = QColor();
    click(4);
    EXPECT_EQ(shown, QStringList{QStringLiteral("colour")});
    EXPECT_EQ(form->document().sheet(), before);
    EXPECT_EQ(ui(*form).swatchColours(), swatches);
}

// The dialog opens on the slot's colour under the slot's label; the preview
// follows each colour tried; "Отмена" puts back the exact preview and sheet,
// "Ok" is one undo step.
TEST_F(ColourPanelTest, DialogOpensOnTheSlotAndThePreviewFollowsIt)
{
    useSheet(3);
    form->show();
    ui(*form)->RadioGroup1->button(ContactListScreen)->click();
    for (bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        const QImage sheet = form->document().sheet().copy();
        const QImage canvas = ui(*form)->PaintBox1->canvasImage().copy();
        const int steps = form->document().undoStack()->count();
        colourTrials = {QColor(Qt::red), QColor(0x12, 0x34, 0x56)};
        trialCanvases.clear();
        colourAnswer = ok ? colourTrials.last() : QColor();
        click(6);  // nickname in the contact list
        EXPECT_EQ(colourOffered.rgb(), sheet.pixel(colourRow(3)->firstColumn + 6, colourRow(3)->row));
        EXPECT_EQ(colourTitle, QStringLiteral("Цвет: цвет ника в списке контактов"));
        ASSERT_EQ(trialCanvases.size(), 2);
        EXPECT_NE(trialCanvases[0], canvas);
        EXPECT_NE(trialCanvases[1], trialCanvases[0]);
        EXPECT_EQ(form->document().undoStack()->count(), steps + (ok ? 1 : 0));
        if (ok) {
            EXPECT_EQ(ui(*form)->PaintBox1->canvasImage(), trialCanvases[1]);
            EXPECT_EQ(ui(*form)->dx[6]->color(), colourAnswer.rgb());
        } else {
            EXPECT_EQ(ui(*form)->PaintBox1->canvasImage(), canvas);
            EXPECT_EQ(form->document().sheet(), sheet);
            EXPECT_EQ(ui(*form)->dx[6]->color(), sheet.pixel(colourRow(3)->firstColumn + 6, colourRow(3)->row));
        }
    }
}

TEST_F(ColourPanelTest, WithoutASkinNothingIsAsked)
{
    colourAnswer = QColor(Qt::green);
    click(7);
    EXPECT_EQ(shown, QStringList());
    EXPECT_TRUE(form->document().sheet().isNull());
    EXPECT_EQ(errors, QStringList());
}

TEST_F(ColourPanelTest, UndoAndRedoOfAPickRestoreTheExactPixel)
{
    useSheet(4);
    const QImage original = form->document().sheet().copy();
    colourAnswer = QColor(1, 2, 3);
    click(11);
    const QImage picked = form->document().sheet().copy();
    ASSERT_TRUE(ui(*form)->undoAction->isEnabled());
    EXPECT_FALSE(ui(*form)->redoAction->isEnabled());
    ui(*form)->undoAction->trigger();
    EXPECT_EQ(form->document().sheet(), original);
    EXPECT_EQ(ui(*form).swatchColours(), readColourSlots(original, 4));
    EXPECT_FALSE(ui(*form)->undoAction->isEnabled());
    ui(*form)->redoAction->trigger();
    EXPECT_EQ(form->document().sheet(), picked);
    EXPECT_EQ(ui(*form)->dx[11]->color(), qRgb(1, 2, 3));
}

TEST_F(ColourPanelTest, APickOnASheetWithoutItsColourRowSaysSo)
{
    ASSERT_TRUE(form->document().adoptUnsaved(coordinateSheet(240, 300), QStringLiteral("short.mbm")));
    errors.clear();
    const QImage before = form->document().sheet().copy();
    colourAnswer = QColor(Qt::red);
    click(0);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("348"))) << errors[0].toStdString();
    EXPECT_EQ(form->document().sheet(), before);
}

} // namespace
