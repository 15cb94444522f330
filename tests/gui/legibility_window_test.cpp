// Legibility in the window: the swatches' marks, the badge, the "Читаемость"
// dock grouped by slot, its fix as one undo step, the banner after an edit
// that makes texts fail, and the marks following the depth selector. Save
// warns of a text that its depth brings below the threshold and offers
// 16 bpp where that keeps it. A white sheet with black texts reads at
// 21 : 1; two slots are made to fail.
#include "app/colourdialog.h"
#include "app/legibilitybanner.h"
#include "app/legibilitydock.h"
#include "app/placementdialog.h"
#include "filesfixture.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>

using namespace zelkor;
using namespace zelkor::test;

namespace {

constexpr int kProfile = 1;
constexpr QRgb kPaleSettings = 0xffeeeeeeu, kGreyOutgoing = 0xff999999u;

class LegibilityWindowTest : public FilesTest {
protected:
    void useSheet(bool chequeredChat = false)
    {
        const Profile *p = profileByIndex(kProfile);
        QImage sheet(p->screenWidth, p->layoutRows, QImage::Format_RGB32);
        sheet.fill(0xffffffffu);
        for (int slot : {0, 1, 2, 6, 7, 8, 9, 10, 11, 12})
            writeColourSlot(sheet, kProfile, slot, 0xff000000u);
        writeColourSlot(sheet, kProfile, 11, kPaleSettings);
        writeColourSlot(sheet, kProfile, 0, kGreyOutgoing);
        if (chequeredChat) {
            // Black and light grey: no text colour parts from both by 4.5 : 1.
            const QRect chat = pictureRect(Chat, kProfile)->rect();
            for (int y = chat.top(); y <= chat.bottom(); ++y)
                for (int x = chat.left(); x <= chat.right(); ++x)
                    sheet.setPixel(x, y, (x / 2 + y / 2) % 2 ? 0xff000000u : 0xffc0c0c0u);
        }
        // Made for 16 bits, as a skin from a picture is.
        ASSERT_TRUE(form->document().adoptUnsaved(sheet, QStringLiteral("test.mbm"), QStringLiteral("/c16")));
        errors.clear();  // no phone pictures here
    }
    std::vector<int> markedSlots() const
    {
        std::vector<int> marked;
        for (int i = 0; i < kColourSlotCount; ++i)
            if (ui(*form)->legibilityMarks[size_t(i)]->isVisibleTo(ui(*form)->Panel1))
                marked.push_back(i);
        return marked;
    }
};

TEST_F(LegibilityWindowTest, MarksDockFixUndoAndDepth)
{
    useSheet();
    EXPECT_EQ(markedSlots(), (std::vector<int>{0, 11}));
    EXPECT_EQ(ui(*form)->dx[11]->toolTip(),
              QStringLiteral("1,1 : 1 — «Проверка на обновление» на экране настроек; нужно не меньше 4,5 : 1"));
    EXPECT_EQ(ui(*form)->legibilityMarks[11]->toolTip(), ui(*form)->dx[11]->toolTip());
    EXPECT_TRUE(ui(*form)->dx[1]->toolTip().isEmpty());

    // A row per slot, worst first: the two pale settings captions (1.16), then the grey chat line (2.85).
    EXPECT_EQ(ui(*form)->legibilityBadge->text(), QStringLiteral("Читаемость: 3 ниже 4,5"));
    LegibilityDock &dock = *ui(*form)->legibilityDock;
    ASSERT_EQ(dock.rowCount(), 2);
    EXPECT_EQ(dock.list()->topLevelItem(0)->childCount(), 2);
    EXPECT_FALSE(dock.isVisibleTo(form.get()));
    ui(*form)->legibilityBadge->click();
    EXPECT_TRUE(dock.isVisibleTo(form.get()));

    // The top row fixed from the dock: the list on screen is the one left
    // (the rows below it stayed drawn where they had been, one row too many).
    form->show();
    dock.chooseRow(0);
    QApplication::processEvents();
    dock.fixButton()->click();
    QApplication::processEvents();
    ASSERT_EQ(dock.rowCount(), 1);
    QWidget *rows = dock.list()->viewport();
    const QImage onScreen = form->screen()->grabWindow(form->winId()).toImage().copy(
        QRect(rows->mapTo(form.get(), QPoint()), rows->size()));
    EXPECT_TRUE(onScreen == rows->grab().toImage().convertToFormat(onScreen.format()));
    form->document().undoStack()->undo();
    const auto chosen = [&](int row) {
        dock.chooseRow(row);
        return ui(*form)->legibility.texts[size_t(dock.currentText())];
    };
    const design::TextLegibility settings = chosen(0);
    EXPECT_EQ(ui(*form)->RadioGroup1->itemIndex(), SettingsScreen);
    EXPECT_EQ(ui(*form).legibilityOutline(), settings.ink);
    const design::TextLegibility chat = chosen(1);
    EXPECT_EQ(chat.text, QStringLiteral("[13:34]-> Привет!"));
    EXPECT_EQ(ui(*form)->RadioGroup1->itemIndex(), ChatScreen);
    EXPECT_EQ(ui(*form).legibilityOutline(), chat.ink);

    // The nearest grey that reads at 4.5 : 1 on white, as one named undo step.
    dock.fixButton()->click();
    EXPECT_EQ(form->document().colourSlot(0), 0xff767676u);
    EXPECT_EQ(form->document().undoStack()->undoText(), QStringLiteral("исправление цвета «текст исходящих сообщений»"));
    EXPECT_EQ(markedSlots(), (std::vector<int>{11}));
    form->document().undoStack()->undo();
    EXPECT_EQ(form->document().colourSlot(0), kGreyOutgoing);
    EXPECT_EQ(markedSlots(), (std::vector<int>{0, 11}));
    form->document().undoStack()->redo();
    EXPECT_FALSE(ui(*form)->legibilityBanner->isVisibleTo(form.get()));

    // A pale nick makes the contact names fail: the banner says so after the
    // step, and its "Исправить" mends the nick as one more step.
    form->resize(form->minimumSizeHint().width(), form->height());
    form->show();
    QApplication::processEvents();
    ASSERT_TRUE(form->document().setColourSlot(6, kPaleSettings));
    const int nicks = int(std::count_if(ui(*form)->legibility.texts.begin(), ui(*form)->legibility.texts.end(),
                                        [](const design::TextLegibility &t) { return t.slot == 6 && t.contrast < 4.5; }));
    EXPECT_EQ(nicks, 42);
    EXPECT_TRUE(ui(*form)->legibilityBanner->isVisibleTo(form.get()));
    EXPECT_EQ(ui(*form)->legibilityBanner->message(),
              QStringLiteral("После изменения цвета 42 надписи читаются хуже 4,5 : 1"));
    // The banner shows every line of its message: here, in a narrow window,
    // at its first showing and again with a longer one.
    LegibilityBanner &banner = *ui(*form)->legibilityBanner;
    for (const QString &more : {QString(), QStringLiteral(" и ещё много слов, которые не уместятся в одну строку")}) {
        banner.showMessage(banner.message() + more);
        QApplication::processEvents();
        EXPECT_GT(banner.heightForWidth(banner.width()), banner.sizeHint().height()) << more.size();
        EXPECT_GE(banner.height(), banner.heightForWidth(banner.width())) << more.size();
    }
    // Over the preview of 1366 x 768 with both docks, and a wide one: the
    // links whole and every word of the message within its lines.
    const QWidget *preview = banner.parentWidget();
    for (const int width : {250, 900}) {
        form->resize(form->width() + width - preview->width(), form->height());
        QApplication::processEvents();
        ASSERT_NEAR(preview->width(), width, 20);
        for (const QToolButton *link : {banner.showButton(), banner.fixButton()}) {
            EXPECT_GE(link->width(), link->sizeHint().width()) << width;
            EXPECT_TRUE(banner.rect().contains(QRect(link->mapTo(&banner, QPoint()), link->size()))) << width;
        }
        const QLabel *text = banner.findChild<QLabel *>(QStringLiteral("message"));
        ASSERT_NE(text, nullptr);
        for (const QString &word : banner.message().split(u' '))
            EXPECT_LE(text->fontMetrics().horizontalAdvance(word), text->contentsRect().width()) << width;
        EXPECT_GE(banner.height(), banner.heightForWidth(banner.width())) << width;
    }
    ui(*form)->legibilityBanner->fixButton()->click();
    EXPECT_FALSE(ui(*form)->legibilityBanner->isVisibleTo(form.get()));
    EXPECT_EQ(markedSlots(), (std::vector<int>{11}));
    EXPECT_EQ(form->document().undoStack()->undoText(), QStringLiteral("исправление цвета «цвет ника в списке контактов»"));
    form->document().undoStack()->undo();
    form->document().undoStack()->undo();
    EXPECT_FALSE(ui(*form)->legibilityBanner->isVisibleTo(form.get()));

    // #767676 comes back from 12 bits as #777777, which falls short again.
    ui(*form)->RadioGroup3->button(3)->click();
    ASSERT_EQ(ui(*form).previewDepth(), QStringLiteral("/c12"));
    EXPECT_EQ(markedSlots(), (std::vector<int>{0, 11}));
    ui(*form)->RadioGroup3->button(0)->click();
    EXPECT_EQ(markedSlots(), (std::vector<int>{11}));

    // Save at 12 bits warns of that text (not of the settings, pale at any depth); "Отмена" writes nothing.
    save(QDir(scratch).filePath(QStringLiteral("a.mbm")), 2);  // "Color 12 bpp"
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].contains(QStringLiteral(
        "• «текст исходящих сообщений»: «[13:34]-> Привет!» на экране чата: 4,4 : 1 вместо 4,5 : 1")))
        << asked[0].toStdString();
    EXPECT_FALSE(asked[0].contains(QStringLiteral("Проверка на обновление")));
    EXPECT_TRUE(QDir(scratch).isEmpty());
    EXPECT_EQ(form5Offered, 3);  // the depth the skin was made for

    // 16 bits keep that text (#767676 comes back darker), so the warning offers them instead.
    askAnswer = 1;
    save(QDir(scratch).filePath(QStringLiteral("a.mbm")), 2);
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(form->document().fileDepth(), QStringLiteral("/c16"));
    EXPECT_TRUE(QFileInfo(form->document().filePath()).isFile());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

// A slot no lightness saves is offered the least scrim under its texts:
// "Отмена" leaves the skin, the offer taken is one undo step that changes
// only the chat picture and brings the slot to the threshold.
TEST_F(LegibilityWindowTest, ScrimOfferedWhereNoColourReads)
{
    useSheet(true);
    constexpr int kIncoming = 1;
    ASSERT_NE(ui(*form)->legibility.slot(kIncoming), nullptr);
    ASSERT_LT(ui(*form)->legibility.slot(kIncoming)->worst, 4.5);
    const QImage before = form->document().sheet();
    const QRect chat = pictureRect(Chat, kProfile)->rect();
    for (const int answer : {1, 0}) {
        SCOPED_TRACE(answer);
        askAnswer = answer;
        asked.clear();
        ui(*form)->legibilityFixes[kIncoming]->trigger();
        ASSERT_EQ(asked.size(), 1);
        EXPECT_TRUE(asked[0].contains(QStringLiteral("поставить подложку под тексты (сила 0,"))) << asked[0].toStdString();
        EXPECT_EQ(form->document().sheet() == before, answer == 1);
    }
    const QImage after = form->document().sheet();
    EXPECT_EQ(form->document().undoStack()->undoText(), QStringLiteral("подложка под тексты «текст входящих сообщений»"));
    EXPECT_GE(ui(*form)->legibility.slot(kIncoming)->worst, 4.5);
    int changed = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (after.pixel(x, y) != before.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(chat.contains(x, y)) << x << "," << y;
            }
    EXPECT_GT(changed, 0);
    form->document().undoStack()->undo();
    EXPECT_TRUE(form->document().sheet() == before);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

// At 208 x 176 the status line crosses the last contact's nick: with a
// picture behind the contacts, the chat and the menu line, no colour of one
// slot and no scrim under one saves both. "Исправить" on every failing slot,
// its offer taken, moves the two together: every text reads at the
// preview's depth, and one undo gives the sheet back.
TEST_F(LegibilityWindowTest, CrossingTextsAreFixedTogetherAsOneStep)
{
    constexpr int k208 = 2;
    if (!haveData(k208))
        GTEST_SKIP() << "bmconv or the data of profile " << k208 << " are missing";
    const struct {
        QRgb top, bottom;
        int depthItem;  // the preview's: as it is, 16 bits
    } pictures[] = {{0xff6a8cafu, 0xff6a8cafu, 0}, {0xff102040u, 0xfff0d080u, 4}};
    for (const auto &c : pictures) {
        SCOPED_TRACE(c.bottom);
        newSkin(k208);
        QImage picture(200, 150, QImage::Format_RGB32), sheet = form->document().sheet();
        for (int y = 0; y < picture.height(); ++y) {
            const double t = y / double(picture.height() - 1);
            const auto mix = [t](int a, int b) { return int(a + t * (b - a)); };
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb(mix(qRed(c.top), qRed(c.bottom)), mix(qGreen(c.top), qGreen(c.bottom)),
                                            mix(qBlue(c.top), qBlue(c.bottom))));
        }
        for (const Picture at : {Contacts, Chat, Menuline})
            ASSERT_TRUE(placePicture(sheet, k208, at, picture, {}));
        ASSERT_TRUE(form->document().replaceSheet(sheet, QStringLiteral("замена картинки")).ok());
        ui(*form)->RadioGroup3->button(c.depthItem)->click();
        std::vector<int> failing;
        for (const design::SlotLegibility &s : ui(*form)->legibility.failingSlots(4.5))
            failing.push_back(s.slot);
        askAnswer = 0;
        asked.clear();
        ui(*form).fixLegibility(failing);
        ASSERT_EQ(asked.size(), 1);
        EXPECT_TRUE(asked[0].contains(QStringLiteral("» вместе с «"))) << asked[0].toStdString();
        EXPECT_GE(ui(*form)->legibility.lowest(), 4.5) << asked[0].toStdString();
        form->document().undoStack()->undo();
        EXPECT_TRUE(form->document().sheet() == sheet);
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

// A busy photograph placed over a picture whose texts read: the placement
// step opens with the least scrim that keeps them as legible as before.
TEST_F(LegibilityWindowTest, PlacementStartsWithTheScrimThatKeepsTheTextsLegible)
{
    useSheet();
    const int before = int(ui(*form)->legibility.failingTexts(4.5).size());
    QImage photo(500, 700, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, (x / 3 + y / 3) % 2 ? 0xff000000u : 0xffc0c0c0u);
    PlacementDialog step(form->document(), Contacts, photo);
    const double opened = step.scrim();
    ASSERT_GT(opened, 0);
    EXPECT_LE(step.failingTexts(), before);
    step.setScrim(opened - 0.01);
    EXPECT_GT(step.failingTexts(), before);
}

} // namespace

namespace {

// The colour dialog's readout against the texts of slot 0 (the chat's
// outgoing line on white): known pairs, the AA/AAA marks, the fields kept
// in step, and the nearest passing colour in one click.
TEST_F(LegibilityWindowTest, ColourDialogReadsContrastAsTheColourChanges)
{
    useSheet();
    ColourContext context;
    context.slot = 0;
    context.measure = ui(*form)->legibility;
    ColourDialog dialog(kGreyOutgoing, QStringLiteral("Цвет: текст исходящих сообщений"), context);
    const struct {
        QRgb colour;
        const char *readout;
        bool nearest;
    } cases[] = {
        {0xff000000u, "Худший контраст: 21,0 : 1   ✓ AA 4,5 : 1   ✓ AAA 7,0 : 1\n✓ Чат: 21,0 : 1 (1 надпись)", false},
        {kGreyOutgoing, "Худший контраст: 2,8 : 1   ✗ AA 4,5 : 1   ✗ AAA 7,0 : 1\n✗ Чат: 2,8 : 1 (1 надпись)", true},
        {0xff767676u, "Худший контраст: 4,5 : 1   ✓ AA 4,5 : 1   ✗ AAA 7,0 : 1\n✓ Чат: 4,5 : 1 (1 надпись)", false},
    };
    for (const auto &c : cases) {
        dialog.setColour(c.colour);
        EXPECT_EQ(dialog.readout()->text(), QString::fromUtf8(c.readout));
        EXPECT_EQ(dialog.nearestButton()->isEnabled(), c.nearest);
    }
    QList<QRgb> reported;
    QObject::connect(&dialog, &ColourDialog::colourChanged, [&](QRgb c) { reported << c; });
    dialog.setColour(kGreyOutgoing);
    dialog.nearestButton()->click();
    EXPECT_EQ(dialog.colour(), 0xff767676u);
    EXPECT_EQ(dialog.hexField()->text(), QStringLiteral("#767676"));
    dialog.hexField()->setText(QStringLiteral("12345"));
    emit dialog.hexField()->textEdited(dialog.hexField()->text());  // still typing: nothing changes
    EXPECT_EQ(dialog.colour(), 0xff767676u);
    dialog.hexField()->setText(QStringLiteral("#123456"));
    emit dialog.hexField()->textEdited(dialog.hexField()->text());
    EXPECT_EQ(dialog.colour(), 0xff123456u);
    EXPECT_EQ(reported, (QList<QRgb>{kGreyOutgoing, 0xff767676u, 0xff123456u}));
    EXPECT_EQ(dialog.initialColour(), kGreyOutgoing);

    // "Пипетка": the next click anywhere takes the colour under it, here a
    // pixel of the preview's screen; a click without it picks nothing.
    form->show();
    QApplication::processEvents();
    const QImage &canvas = ui(*form)->PaintBox1->canvasImage();
    const QPoint pixel(canvas.width() / 2, canvas.height() - 3);
    const QPoint at = ui(*form)->PaintBox1->mapToGlobal(pixel * ui(*form)->previewArea->zoom());
    const auto click = [&] {
        QMouseEvent press(QEvent::MouseButtonPress, dialog.mapFromGlobal(at), at, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&dialog, &press);
    };
    click();
    EXPECT_EQ(dialog.colour(), 0xff123456u);
    for (QPushButton *b : dialog.findChildren<QPushButton *>())
        if (b->text() == QStringLiteral("Пипетка"))
            b->click();
    click();
    EXPECT_EQ(dialog.colour(), canvas.pixel(pixel) | 0xff000000u);
    EXPECT_NE(dialog.colour(), 0xff123456u);
}

} // namespace
