// New, Load and Save through the converter, end to end on a program folder
// whose path holds blanks and Cyrillic letters.
#include "app/radiogroup.h"
#include "desktop/preferences.h"
#include "filesfixture.h"
#include "skin/profiles.h"
#include "preview/preview.h"
#include "skin/colourslots.h"
#include "skin/depthpreview.h"
#include "skin/sheet.h"
#include "app/tform2.h"
#include "app/tform5.h"
#include "testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QMenu>

#include <functional>

using namespace zelkor;
using namespace zelkor::test;

namespace {

// ---------------------------------------------------------------- dialogs

TEST(Dialogs, ResolutionDialog)
{
    TForm2 d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Сщздание скина"));
    EXPECT_EQ(d.size(), QSize(417, 217));
    EXPECT_EQ(d.pos(), QPoint(406, 299));
    EXPECT_EQ(d.RadioGroup1->geometry(), QRect(8, 8, 401, 161));
    EXPECT_EQ(d.RadioGroup1->title(), QStringLiteral("Укажите разрешение  экрана телефона"));
    ASSERT_EQ(d.RadioGroup1->count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(d.RadioGroup1->button(i)->text(), QString::fromUtf8(profileByIndex(i + 1)->dialogItem));
    EXPECT_EQ(d.RadioGroup1->itemIndex(), 2);
    EXPECT_EQ(d.chosenProfile(), 3);
    EXPECT_EQ(d.Button1->text(), QStringLiteral("Продолжить"));
    EXPECT_EQ(d.Button1->geometry(), QRect(160, 184, 81, 25));
    d.Button1->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST(Dialogs, ColourDepthDialog)
{
    TForm5 d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Глубина цвета"));
    EXPECT_FALSE(d.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
    EXPECT_EQ(d.colorgl->title(), QStringLiteral("Цветоность"));
    const char *const items[] = {"Color 4 bpp", "Color 8 bpp", "Color 12 bpp", "Color 16 bpp", "Color 24 bpp"};
    ASSERT_EQ(d.colorgl->count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(d.colorgl->button(i)->text(), QString::fromLatin1(items[i]));
    EXPECT_EQ(d.colorgl->itemIndex(), 4);
    EXPECT_EQ(d.depthOption(), QStringLiteral("/c24"));
    // Sizes beside the depths, the smoothed ones where smoothing is on and allowed.
    d.setFileSizes({{100, 2048, 300, 400, 500}, {150, 4096, -1, -1, -1}});
    EXPECT_FALSE(d.smoothBox->isEnabled());
    d.colorgl->button(1)->click();
    EXPECT_EQ(d.depthOption(), QStringLiteral("/c8"));
    EXPECT_TRUE(d.smoothBox->isEnabled());
    EXPECT_EQ(d.sizeLabels[1]->text(), QStringLiteral("2,0 КБ"));
    d.setSmoothing(true);
    EXPECT_TRUE(d.smoothing());
    EXPECT_EQ(d.sizeLabels[1]->text(), QStringLiteral("4,0 КБ"));
    EXPECT_EQ(d.sizeLabels[4]->text(), QStringLiteral("500 Б"));
    d.colorgl->button(3)->click();
    EXPECT_FALSE(d.smoothing());
    EXPECT_EQ(d.Button1->text(), QStringLiteral("Ok"));
    EXPECT_EQ(d.Button2->text(), QStringLiteral("Отмена"));
    d.Button2->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    d.Button1->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

// ---------------------------------------------------------------- New

class NewSkinTest : public FilesTest, public ::testing::WithParamInterface<int> {};

TEST_P(NewSkinTest, TemplateBecomesTheSheet)
{
    const int profile = GetParam();
    NEED_DATA(profile);
    const Profile *p = profileByIndex(profile);
    newSkin(profile);
    ASSERT_EQ(errors, QStringList());
    EXPECT_EQ(form->document().profile(), profile);
    EXPECT_EQ(form->document().sheet().width(), p->screenWidth);
    EXPECT_GE(form->document().sheet().height(), p->layoutRows);
    EXPECT_EQ(form->document().screenSize(), p->screenSize());
    EXPECT_EQ(ui(*form)->PaintBox1->geometry(), QRect(ui(*form)->phone->pos() + p->previewOffset, p->screenSize()));
    EXPECT_EQ(ui(*form)->phone->pixmap().size(), QImageReader(programFile(QString::fromUtf8(p->photoName))).size());
    EXPECT_FALSE(ui(*form)->RadioGroup1->isHidden());
    EXPECT_TRUE(ui(*form)->RadioGroup1->isEnabled());
    EXPECT_FALSE(ui(*form)->Button1->isHidden());
    EXPECT_FALSE(ui(*form)->Panel1->isHidden());
    EXPECT_EQ(strayFiles(), QStringList());
    // The next tick shows the template's colours on the swatches.
    ui(*form).Timer1Timer();
    EXPECT_EQ(ui(*form).swatchColours(), readColourSlots(form->document().sheet(), profile));
}

INSTANTIATE_TEST_SUITE_P(Profiles, NewSkinTest, ::testing::Range(1, 7));

// ---------------------------------------------------------------- Save then Load

// A sheet of profile 3 whose every pixel differs from its neighbours, so a
// mixed-up row or column shows, with the extreme colours in the corner.
QImage varietySheet()
{
    QImage s = coordinateSheet(240, 740);
    const QRgb extremes[] = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(128, 128, 128), qRgb(192, 192, 192),
                             qRgb(0x12, 0x34, 0x56), qRgb(0xc8, 0x64, 0x32), qRgb(0x08, 0x04, 0x02)};
    for (int i = 0; i < int(std::size(extremes)); ++i)
        s.setPixel(i, 0, extremes[i]);
    return s;
}

struct DepthCase {
    int item;
    int bits;
};

class RoundTripTest : public FilesTest, public ::testing::WithParamInterface<DepthCase> {};

TEST_P(RoundTripTest, SaveThenLoadGivesTheQuantisedSheet)
{
    NEED_DATA(3);
    const QImage original = varietySheet();
    const QString source = scratchFile(QStringLiteral("исходный скин.mbm"));
    pack(original, source);
    load(source);
    ASSERT_EQ(errors, QStringList());
    ASSERT_EQ(form->document().sheet(), original);
    ASSERT_EQ(form->document().profile(), 3);

    askAnswer = 0;  // save even where the depth merges colours
    save(scratchFile(QStringLiteral("new skin")), GetParam().item);
    ASSERT_EQ(errors, QStringList());
    const QString saved = scratchFile(QStringLiteral("extskin_240x320_new skin.mbm"));
    ASSERT_TRUE(QFileInfo::exists(saved));
    EXPECT_EQ(strayFiles(), QStringList());
    EXPECT_EQ(shown.mid(0, 3), (QStringList{QStringLiteral("open"), QStringLiteral("save"), QStringLiteral("zelkor::TForm5")}));

    load(saved);
    ASSERT_EQ(errors, QStringList());
    ASSERT_EQ(form->document().sheet().size(), original.size());
    int wrong = 0;
    for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x) {
            const QRgb want = quantised(original.pixel(x, y), GetParam().bits);
            if (form->document().sheet().pixel(x, y) != want && wrong++ < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << form->document().sheet().pixel(x, y)
                              << " instead of " << want;
        }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, RoundTripTest,
                         ::testing::Values(DepthCase{4, 24}, DepthCase{3, 16}, DepthCase{2, 12}),
                         [](const auto &info) { return "bits" + std::to_string(info.param.bits); });

class FileCommandsTest : public FilesTest {
protected:
    // A loaded skin of profile 3 that failures must leave alone.
    void loadSkin()
    {
        pack(varietySheet(), scratchFile(QStringLiteral("скин.mbm")));
        load(scratchFile(QStringLiteral("скин.mbm")));
        ASSERT_EQ(errors, QStringList());
        ASSERT_EQ(form->document().profile(), 3);
        shown.clear();
    }
};

TEST_F(FileCommandsTest, LoadOpensInTheTemplateFolderForSkinFiles)
{
    openAnswer.clear();
    const Snapshot before = snapshot();
    ui(*form).N3Click();
    EXPECT_EQ(openDir, programFile(QStringLiteral("skn")));
    EXPECT_TRUE(openFilter.startsWith(QStringLiteral("Скины и проекты (*.mbm *.zskin)"))) << openFilter.toStdString();
    expectUnchanged(before);
    EXPECT_TRUE(ui(*form)->Panel1->isHidden());
    EXPECT_EQ(errors, QStringList());
}

TEST_F(FileCommandsTest, ClosingTheResolutionDialogChangesNothing)
{
    acceptForm2 = false;
    const Snapshot before = snapshot();
    newSkin(5);
    expectUnchanged(before);
    EXPECT_TRUE(ui(*form)->RadioGroup1->isHidden());
    EXPECT_TRUE(ui(*form)->Panel1->isHidden());
    EXPECT_EQ(shown, QStringList{QStringLiteral("zelkor::TForm2")});
    EXPECT_EQ(errors, QStringList());
    EXPECT_EQ(strayFiles(), QStringList());
}

TEST_F(FileCommandsTest, CancelledSaveDialogWritesNothing)
{
    NEED_DATA(3);
    loadSkin();
    save(QString());
    EXPECT_EQ(shown, QStringList{QStringLiteral("save")});
    EXPECT_EQ(strayFiles(), QStringList());
    EXPECT_EQ(QDir(scratch).entryList(QDir::Files), QStringList{QStringLiteral("скин.mbm")});
}

TEST_F(FileCommandsTest, ClosedDepthDialogCancelsTheSave)
{
    NEED_DATA(3);
    loadSkin();
    acceptForm5 = false;
    save(scratchFile(QStringLiteral("x")), 0);
    EXPECT_EQ(errors, QStringList());
    EXPECT_EQ(QDir(scratch).entryList(QDir::Files), QStringList{QStringLiteral("скин.mbm")});
    EXPECT_EQ(strayFiles(), QStringList());
}

TEST_F(FileCommandsTest, ANarrowTallSheetIsProfileOne)
{
    NEED_DATA(1);
    pack(coordinateSheet(176, 500), scratchFile(QStringLiteral("tall.mbm")));
    load(scratchFile(QStringLiteral("tall.mbm")));
    EXPECT_EQ(errors, QStringList());
    EXPECT_EQ(form->document().profile(), 1);
    EXPECT_EQ(form->document().screenSize(), QSize(176, 208));
    EXPECT_EQ(ui(*form)->PaintBox1->geometry(), QRect(ui(*form)->phone->pos() + QPoint(42, 91), QSize(176, 208)));
}

// ---------------------------------------------------------------- failures

// The commands the tables run; Exit only where a modified skin is at stake.
enum class Command { New, Load, Save, Exit };

// "<command>_<case>" for a test over (command, case) pairs.
template <class Case>
std::string commandCaseName(const ::testing::TestParamInfo<std::tuple<Command, Case>> &info)
{
    static const char *const names[] = {"New", "Load", "Save", "Exit"};
    return std::string(names[int(std::get<0>(info.param))]) + "_" + std::get<1>(info.param).name;
}
struct Fault {
    const char *name;
    QByteArray script;  // empty: no converter
    const char *mentions;
};

const Fault kFaults[] = {
    {"missing", {}, "не найден"},
    {"fails", "echo 'bmconv: сломался' >&2; exit 4", "сломался"},
    {"silent", "exit 0", "не создал файл"},
    // Exits 0 but leaves 100 bytes where a sheet or a skin should be.
    {"truncated", "if [ \"$2\" = /u ]; then out=$4; else out=$1; fi; head -c 100 /dev/zero > \"$out\"", "выдал"},
};

class ConverterFaultTest : public FileCommandsTest,
                           public ::testing::WithParamInterface<std::tuple<Command, Fault>> {};

TEST_P(ConverterFaultTest, OneMessageAndTheSkinStays)
{
    NEED_DATA(3);
    const auto [command, fault] = GetParam();
    loadSkin();
    const Snapshot before = snapshot();
    fakeConverter(fault.script);
    QString named;
    switch (command) {
    case Command::New:
        newSkin(5);
        named = QStringLiteral("352x416.mbm");
        break;
    case Command::Load:
        load(scratchFile(QStringLiteral("скин.mbm")));
        named = QStringLiteral("скин.mbm");
        break;
    case Command::Save:
    case Command::Exit:  // not in this table
        save(scratchFile(QStringLiteral("копия")));
        named = QStringLiteral("extskin_240x320_копия.mbm");
        EXPECT_FALSE(QFileInfo::exists(scratchFile(named)));
        break;
    }
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(named)) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(QString::fromUtf8(fault.mentions))) << errors[0].toStdString();
    expectUnchanged(before);
    EXPECT_EQ(strayFiles(), QStringList());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the busy cursor is gone again
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ConverterFaultTest,
    ::testing::Combine(::testing::Values(Command::New, Command::Load, Command::Save), ::testing::ValuesIn(kFaults)),
    commandCaseName<Fault>);

// A sheet of a phone's width but shorter than its layout opens, with one
// warning naming the rows needed and the rows there, the colour row above all.
TEST_F(FileCommandsTest, AShortSheetOpensWithOneWarning)
{
    NEED_DATA(3);
    struct Case {
        int rows;
        bool colourRowMissing;
    };
    for (const Case c : {Case{1, true}, Case{100, true}, Case{700, false}}) {
        QImage sheet(240, c.rows, QImage::Format_RGB32);
        sheet.fill(Qt::gray);
        const QString file = scratchFile(QStringLiteral("короткий %1.mbm").arg(c.rows));
        pack(sheet, file);
        warnings.clear();
        load(file);
        EXPECT_EQ(errors, QStringList());
        ASSERT_EQ(warnings.size(), 1) << c.rows;
        EXPECT_TRUE(warnings[0].contains(file) && warnings[0].contains(QStringLiteral(" %1 строк").arg(c.rows)) &&
                    warnings[0].contains(QStringLiteral("нужно 740")))
            << warnings[0].toStdString();
        EXPECT_EQ(warnings[0].contains(QStringLiteral("нет строки цветов")), c.colourRowMissing) << c.rows;
        EXPECT_EQ(form->document().sheet().size(), QSize(240, c.rows));
        EXPECT_FALSE(form->document().isModified());
    }
}

TEST_F(FileCommandsTest, ABrokenSkinFileIsReportedByTheConverter)
{
    NEED_DATA(3);
    loadSkin();
    const Snapshot before = snapshot();
    QFile broken(scratchFile(QStringLiteral("битый.mbm")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(100, '\x37'));
    broken.close();
    load(broken.fileName());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("битый.mbm"))) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(QStringLiteral("bmconv:"))) << errors[0].toStdString();
    expectUnchanged(before);
    EXPECT_EQ(strayFiles(), QStringList());
}

// Save As onto an existing file asks once, naming it; "Отмена" keeps it whole.
// The prefix is added only when the typed name lacks it.
TEST_F(FileCommandsTest, SaveAsAsksBeforeReplacingAFile)
{
    NEED_DATA(3);
    loadSkin();
    const QString taken = scratchFile(QStringLiteral("extskin_240x320_занято.mbm"));
    for (const QString &typed : {QStringLiteral("занято"), QStringLiteral("extskin_240x320_занято")})
        for (int answer : {1, -1, 0}) {
            SCOPED_TRACE(typed.toStdString() + " " + std::to_string(answer));
            QFile file(taken);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("keep me");
            file.close();
            asked.clear();
            askAnswer = answer;
            save(scratchFile(typed));
            ASSERT_EQ(asked.size(), 1);
            EXPECT_TRUE(asked[0].contains(taken) && asked[0].contains(QStringLiteral("Заменить?")))
                << asked[0].toStdString();
            EXPECT_EQ(skinFileDepth(taken).isEmpty(), answer != 0);
            if (answer == 0)
                EXPECT_EQ(form->document().filePath(), taken);
        }
    EXPECT_EQ(errors, QStringList());
    EXPECT_EQ(QDir(scratch).entryList(QDir::Files),
              (QStringList{QStringLiteral("extskin_240x320_занято.mbm"), QStringLiteral("скин.mbm")}));
}

// "Сохранить" on a skin with a file of its own writes that file at its depth
// without a dialog; a new skin goes through Save As.
TEST_F(FileCommandsTest, SaveWritesTheOwnFileAgainAtItsDepth)
{
    NEED_DATA(3);
    const QString own = scratchFile(QStringLiteral("скин.mbm"));
    pack(varietySheet(), own, QStringLiteral("/c16"));
    load(own);
    ASSERT_EQ(errors, QStringList());
    shown.clear();
    ASSERT_TRUE(form->document().setColourSlot(2, qRgb(10, 20, 30)));
    EXPECT_TRUE(ui(*form).N6Click());
    EXPECT_EQ(shown, QStringList());
    EXPECT_EQ(skinFileDepth(own), QStringLiteral("/c16"));
    EXPECT_FALSE(form->document().isModified());
    EXPECT_EQ(strayFiles(), QStringList());

    newSkin(3);
    shown.clear();
    saveAnswer = scratchFile(QStringLiteral("новый"));
    form5Item = 1;
    EXPECT_TRUE(ui(*form).N6Click());
    EXPECT_EQ(shown, (QStringList{QStringLiteral("save"), QStringLiteral("zelkor::TForm5")}));
    EXPECT_EQ(form->document().filePath(), scratchFile(QStringLiteral("extskin_240x320_новый.mbm")));
    EXPECT_EQ(form->document().fileDepth(), QStringLiteral("/c8"));
}

TEST_F(FileCommandsTest, AFailedMoveIsReportedAndLeavesNoStrayFile)
{
    NEED_DATA(3);
    loadSkin();
    save(scratchFile(QStringLiteral("нет такой папки/x")));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("extskin_240x320_x.mbm"))) << errors[0].toStdString();
    EXPECT_EQ(strayFiles(), QStringList());
}

TEST_F(FileCommandsTest, SaveIntoTheProgramFolderItself)
{
    NEED_DATA(3);
    loadSkin();
    save(programFile(QStringLiteral("сюда")));
    EXPECT_EQ(errors, QStringList());
    EXPECT_EQ(strayFiles(), QStringList{QStringLiteral("extskin_240x320_сюда.mbm")});
}

TEST_F(FileCommandsTest, AFileOfTheSameNameInTheProgramFolderNeitherBlocksNorSuffers)
{
    NEED_DATA(3);
    loadSkin();
    const QString there = programFile(QStringLiteral("extskin_240x320_снова.mbm"));
    QFile taken(there);
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("keep me");
    taken.close();
    save(scratchFile(QStringLiteral("снова")));
    EXPECT_EQ(errors, QStringList());
    EXPECT_TRUE(QFileInfo::exists(scratchFile(QStringLiteral("extskin_240x320_снова.mbm"))));
    ASSERT_TRUE(taken.open(QIODevice::ReadOnly));
    EXPECT_EQ(taken.readAll(), QByteArray("keep me"));
}

TEST_F(FileCommandsTest, SaveWithoutASkinSaysSo)
{
    save(scratchFile(QStringLiteral("пусто")));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("сохранять нечего"))) << errors[0].toStdString();
    EXPECT_EQ(shown, QStringList());
    EXPECT_EQ(strayFiles(), QStringList());
    EXPECT_EQ(QDir(scratch).entryList(QDir::Files), QStringList());
}

// ---------------------------------------------------------------- the modified-skin prompt

struct PromptCase {
    const char *name;
    int answer;        // 0 save, 1 don't save, 2 cancel, -1 Esc
    bool goesOn;       // the command continues
    bool saved;        // the skin was written first
};

class PromptTest : public FileCommandsTest,
                   public ::testing::WithParamInterface<std::tuple<Command, PromptCase>> {};

TEST_P(PromptTest, AModifiedSkinIsOfferedForSaving)
{
    NEED_DATA(3);
    const auto [command, c] = GetParam();
    loadSkin();
    ASSERT_TRUE(form->document().setColourSlot(2, qRgb(1, 2, 3)));
    askAnswer = c.answer;
    const QByteArray before = fileBytes(scratchFile(QStringLiteral("скин.mbm")));
    openAnswer = scratchFile(QStringLiteral("скин.mbm"));
    form->show();
    if (command == Command::New)
        ui(*form).N2Click();
    else if (command == Command::Load)
        ui(*form).N3Click();
    else
        ui(*form).N4Click();
    EXPECT_EQ(asked, QStringList{QStringLiteral("Скин изменён. Сохранить изменения?")});
    EXPECT_EQ(errors, QStringList());
    // "Сохранить" writes the loaded skin's own file.
    EXPECT_EQ(fileBytes(scratchFile(QStringLiteral("скин.mbm"))) != before, c.saved);
    const bool went = command == Command::Exit ? !form->isVisible()
                                               : !form->document().isModified();
    EXPECT_EQ(went, c.goesOn);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PromptTest,
    ::testing::Combine(::testing::Values(Command::New, Command::Load, Command::Exit),
                       ::testing::Values(PromptCase{"save", 0, true, true}, PromptCase{"discard", 1, true, false},
                                         PromptCase{"cancel", 2, false, false}, PromptCase{"esc", -1, false, false})),
    commandCaseName<PromptCase>);

} // namespace

namespace {

// ---------------------------------------------------------------- save depth and porting

TEST_F(FileCommandsTest, APreviewDepthDrawsTheSavedSheetAndSwatchesKeepTheTruth)
{
    NEED_DATA(3);
    loadSkin();
    form->show();
    ui(*form)->RadioGroup1->button(ContactListScreen)->click();
    const ColourSlots truth = ui(*form).swatchColours();
    ASSERT_TRUE(ui(*form)->RadioGroup3->isVisibleTo(form.get()));
    ui(*form)->RadioGroup3->button(2)->click();  // 8 bpp
    PreviewInput in = ui(*form).previewInput();
    const QImage atDepth = sheetAtDepth(form->document().sheet(), QStringLiteral("/c8"));
    in.sheet = &atDepth;
    in.colours = readColourSlots(atDepth, 3);
    EXPECT_EQ(ui(*form)->PaintBox1->canvasImage(), composeContactList(in));
    EXPECT_EQ(ui(*form).swatchColours(), truth);
}

TEST_F(FileCommandsTest, ADepthThatMergesColoursDrawnTogetherAsksFirst)
{
    NEED_DATA(3);
    loadSkin();
    // Menu text over the menu fill: two greys that 4 bits per channel make one.
    ASSERT_TRUE(form->document().setColourSlot(3, qRgb(0x80, 0x80, 0x80)));
    ASSERT_TRUE(form->document().setColourSlot(10, qRgb(0x81, 0x81, 0x81)));
    askAnswer = 1;  // "Отмена"
    save(scratchFile(QStringLiteral("серый")), 2);  // 12 bpp
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].contains(colourSlotLabel(3)) && asked[0].contains(colourSlotLabel(10))) << asked[0].toStdString();
    EXPECT_TRUE(asked[0].contains(QStringLiteral("12 bpp"))) << asked[0].toStdString();
    EXPECT_FALSE(QFileInfo::exists(scratchFile(QStringLiteral("extskin_240x320_серый.mbm"))));
    askAnswer = 0;  // "Сохранить всё равно"
    save(scratchFile(QStringLiteral("серый")), 2);
    EXPECT_TRUE(QFileInfo::exists(scratchFile(QStringLiteral("extskin_240x320_серый.mbm"))));
}

TEST_F(FileCommandsTest, PortingMakesAnUnsavedSkinOfTheOtherSize)
{
    NEED_DATA(3);
    NEED_DATA(6);
    loadSkin();
    const ColourSlots colours = form->document().colourSlots();
    form2Item = 5;
    ui(*form).N7Click();
    ASSERT_EQ(errors, QStringList());
    EXPECT_EQ(shown, QStringList{QStringLiteral("zelkor::TForm2")});
    EXPECT_EQ(form->document().profile(), 6);
    EXPECT_EQ(form->document().colourSlots(), colours);
    EXPECT_TRUE(form->document().isModified());
    EXPECT_FALSE(ui(*form)->undoAction->isEnabled());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("extskin_416x352_скин.mbm[*] — ") + TForm1::baseCaption());
    EXPECT_EQ(ui(*form)->PaintBox1->geometry(), QRect(ui(*form)->phone->pos() + QPoint(166, 78), QSize(416, 352)));
}

// Every replacement of the skin (port, Load, New) leaves Undo, Redo and the
// caption's mark exactly as for a fresh skin; a ported skin stays modified
// until saved, whatever its history says.
TEST_F(FileCommandsTest, HistoryAndModifiedStateThroughPortLoadAndNew)
{
    NEED_DATA(3);
    NEED_DATA(6);
    loadSkin();
    form->show();
    askAnswer = 1;  // "Не сохранять"
    openAnswer = scratchFile(QStringLiteral("скин.mbm"));
    int colour = 0;
    const auto change = [&] { ASSERT_TRUE(form->document().setColourSlot(2, qRgb(++colour, 2, 3))); };
    const auto port = [&] {
        form2Item = 5;
        ui(*form).N7Click();
    };
    const auto newSkin = [&] {
        form2Item = 2;
        ui(*form).N2Click();
    };
    struct Step {
        const char *what;
        std::function<void()> act;
        bool undo, redo, modified;
    };
    const Step steps[] = {
        {"colour", change, true, false, true},
        {"undo", [&] { ui(*form)->undoAction->trigger(); }, false, true, false},
        {"redo", [&] { ui(*form)->redoAction->trigger(); }, true, false, true},
        {"port", port, false, false, true},
        {"undo after port", [&] { ui(*form)->undoAction->trigger(); }, false, false, true},
        {"colour of the ported skin", change, true, false, true},
        {"its undo", [&] { ui(*form)->undoAction->trigger(); }, false, true, true},
        {"load", [&] { ui(*form).N3Click(); }, false, false, false},
        {"colour, undo", [&] { change(), ui(*form)->undoAction->trigger(); }, false, true, false},
        {"new", newSkin, false, false, false},
        {"port again", port, false, false, true},
        {"new after port", newSkin, false, false, false},
    };
    for (const Step &step : steps) {
        step.act();
        EXPECT_EQ(errors, QStringList()) << step.what;
        EXPECT_EQ(ui(*form)->undoAction->isEnabled(), step.undo) << step.what;
        EXPECT_EQ(ui(*form)->redoAction->isEnabled(), step.redo) << step.what;
        EXPECT_EQ(form->document().isModified(), step.modified) << step.what;
        EXPECT_EQ(form->isWindowModified(), step.modified) << step.what;
    }
    // Asked only where something unsaved stood: before the first port, before
    // the load and before the last new.
    EXPECT_EQ(asked.size(), 3);
}

} // namespace

namespace {

// Save, Save As and the recent files against what another program or a
// planted file put there: another program's save is not replaced without a
// word, a folder is no file to save over, a list longer than the menu keeps
// shows ten, a device in it is called a device, and a skin's name is text.
TEST_F(FileCommandsTest, SaveAndRecentFilesAgainstOtherProgramsAndPlantedFiles)
{
    NEED_DATA(3);
    const QString markup = scratchFile(QStringLiteral("<b>BOLD<i>свой.mbm"));
    // 255 bytes, the most a name may have: no room for a longer temporary name beside it.
    const QString longest = scratchFile(QString(251, QLatin1Char('x')) + QStringLiteral(".mbm"));
    ASSERT_EQ(QFile::encodeName(QFileInfo(longest).fileName()).size(), 255);
    const QByteArray others = "другая программа";
    const struct {
        const char *name;
        bool otherProgram;  // wrote the file after it was loaded
        int answer;         // to "изменён другой программой"
        bool written;
        bool saveAsOpened;
        bool longName = false;
    } cases[] = {
        {"nobody else wrote it", false, -1, true, false},
        {"Отмена keeps the other program's file", true, 2, false, false},
        {"Заменить writes over it", true, 0, true, false},
        {"Сохранить как… opens the dialog instead", true, 1, false, true},
        {"a name of 255 bytes", false, -1, true, false, true},
    };
    QString own;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        own = c.longName ? longest : markup;
        QFile::remove(own);
        pack(varietySheet(), own, QStringLiteral("/c16"));
        load(own);
        const QRgb before = form->document().colourSlot(2);
        ASSERT_TRUE(form->document().setColourSlot(2, qRgb(10, 20, 30)));
        if (c.otherProgram) {
            QFile file(own);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(others) == others.size());
        }
        asked.clear();
        shown.clear();
        askAnswer = c.answer;
        saveAnswer.clear();  // a Save As dialog is cancelled
        ui(*form).N6Click();
        ASSERT_EQ(asked.size(), c.otherProgram ? 1 : 0);
        if (c.otherProgram)
            EXPECT_TRUE(asked[0].contains(QStringLiteral("изменён другой программой"))) << asked[0].toStdString();
        EXPECT_EQ(fileBytes(own) != others, c.written || !c.otherProgram);
        EXPECT_EQ(shown.contains(QStringLiteral("save")), c.saveAsOpened);
        if (c.written) {
            EXPECT_FALSE(form->document().isModified());
            load(own);
            EXPECT_NE(form->document().colourSlot(2), before);
        }
    }
    EXPECT_EQ(errors, QStringList());
    own = markup;
    load(own);
    // The skin's name in the status bar is text, not markup.
    EXPECT_TRUE(ui(*form)->fileField->textFormat() == Qt::PlainText || !Qt::mightBeRichText(ui(*form)->fileField->text()));

    // Save As onto a folder: said at once, before the replace question and the depth.
    ASSERT_TRUE(QDir().mkpath(scratchFile(QStringLiteral("extskin_240x320_папка.mbm"))));
    asked.clear();
    shown.clear();
    saveAnswer = scratchFile(QStringLiteral("папка"));
    EXPECT_FALSE(ui(*form).N10Click());
    EXPECT_EQ(asked, QStringList());
    EXPECT_FALSE(shown.contains(QStringLiteral("zelkor::TForm5")));
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_TRUE(errors.last().contains(QStringLiteral("папка"))) << errors.last().toStdString();

    // A planted list of ten thousand: the menu shows the ten it keeps.
    QStringList planted;
    for (int i = 0; i < 10000; ++i)
        planted << scratchFile(QStringLiteral("%1.mbm").arg(i));
    prefs::recentFiles.set(planted);
    emit ui(*form)->recentMenu->aboutToShow();
    EXPECT_EQ(ui(*form)->recentMenu->actions().size(), 10);
    // A device in it is called what it is.
    errors.clear();
    ui(*form).openRecentFile(QStringLiteral("/dev/zero"));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("устройство"))) << errors[0].toStdString();
}

} // namespace
