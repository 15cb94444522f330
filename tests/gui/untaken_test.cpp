// An image editor's save the sheet has not taken (following off, or another
// size whose placement was declined) is a change of the skin: the caption
// says so, what would replace the skin asks, the working file survives.
#include "picturefixture.h"

#include "app/placementdialog.h"
#include "app/tform2.h"

#include <QSaveFile>
#include <QUndoStack>

using namespace zelkor;

namespace {
struct UntakenCase {
    const char *name;
    QSize save;                 // the editor's save; the place is 176 x 188
    bool following;
    void (TForm1TestAccess::*command)() const;  // nullptr: the save alone
    QStringList answers;        // buttons chosen, in order
    const char *asked;          // texts the questions hold, '|' between them
    bool taken, wentOn;         // in the sheet; the command went past its question
};
void PrintTo(const UntakenCase &c, std::ostream *os) { *os << c.name; }
const QString kTake = QStringLiteral("Взять в скин"), kCancel = QStringLiteral("Отмена"),
              kPlace = QStringLiteral("Разместить…");
} // namespace

class UntakenTest : public test::EditingFixture, public ::testing::WithParamInterface<UntakenCase> {};

TEST_P(UntakenTest, CountsAsAChangeUntilTheAuthorChose)
{
    const UntakenCase c = GetParam();
    main = std::make_unique<TForm1>(programFilesIn(test::programFolder()), test::workFolderIn(folder.path()));
    ASSERT_TRUE(doc().newFromTemplate(1));  // unmodified to begin with
    main->watcher().setEnabled(c.following);
    main->show();
    QStringList asked, answers = c.answers;
    int reached = 0;
    QImage placed;
    seams().ask = [&](QWidget *, const QString &text, const QStringList &buttons) {
        asked << text;
        return answers.isEmpty() ? -1 : int(buttons.indexOf(answers.takeFirst()));
    };
    seams().execDialog = [&](QDialog *dialog) {
        auto *step = qobject_cast<PlacementDialog *>(dialog);
        placed = step ? step->result() : placed;
        reached += qobject_cast<TForm2 *>(dialog) != nullptr;
        return int(step ? QDialog::Accepted : QDialog::Rejected);
    };
    seams().openFile = [&](QWidget *, const QString &, const QString &, const QString &) { return ++reached, QString(); };
    seams().saveFile = [](QWidget *, const QString &, const QString &, const QString &) { return QString(); };
    seams().startDetached = [](const QString &, const QStringList &) { return true; };
    {
        TForm3 d(doc(), main->watcher(), main.get());
        d.FormShow();
        d.BitBtn1Click();
    }
    const QImage before = doc().sheet();
    // Saved as editors save: a new file renamed over the old one.
    const QString path = tempPath(QStringLiteral("contacts.bmp"));
    const QImage edited = test::pattern(c.save);
    QSaveFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && edited.save(&file, "BMP") && file.commit());
    const QByteArray saved = test::fileBytes(path);
    ASSERT_TRUE(test::waitUntil([&] { return main->isWindowModified() || !asked.isEmpty(); }, 3000));
    if (c.command)
        (ui(*main).*c.command)();
    test::waitUntil([] { return false; }, 300);  // and nothing more comes of it

    EXPECT_EQ(asked.size(), c.answers.size()) << asked.join(u'\n').toStdString();
    for (const QString &text : QString::fromUtf8(c.asked).split(u'|'))
        EXPECT_TRUE(asked.join(u'\n').contains(text)) << text.toStdString() << " not in " << asked.join(u'\n').toStdString();
    EXPECT_EQ(reached > 0 || !main->isVisible(), c.wentOn);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(doc().undoStack()->count(), c.taken ? 1 : 0);
    if (!c.taken) {
        EXPECT_EQ(doc().sheet(), before);
        if (!c.wentOn) {  // still a change; a picture dialog opened again leaves the file alone
            EXPECT_TRUE(main->isWindowModified());
            EXPECT_EQ(ui(*main)->modifiedField->text(), QStringLiteral("Не сохранён в файл"));  // a skin without a file of its own
            TForm3(doc(), main->watcher(), main.get()).FormShow();
        }
        EXPECT_EQ(test::fileBytes(path), saved);
        return;
    }
    // Another size went through the placement step, never from the corner.
    const QImage inSheet = doc().sheet().copy(pictureRect(Contacts, 1)->rect());
    EXPECT_EQ(inSheet, placed.isNull() ? edited : placed.convertToFormat(inSheet.format()));
    EXPECT_EQ(inSheet == edited.copy(0, 0, 176, 188), c.save == QSize(176, 188));
    EXPECT_TRUE(main->isWindowModified());
}

INSTANTIATE_TEST_SUITE_P(
    Saves, UntakenTest,
    ::testing::Values(
        UntakenCase{"exit_cancelled", {176, 188}, false, &TForm1TestAccess::N4Click, {kCancel},
                    "«Фоновая картинка в контактах» (contacts.bmp) изменена в редакторе", false, false},
        UntakenCase{"exit_discarded", {176, 188}, false, &TForm1TestAccess::N4Click, {QStringLiteral("Не сохранять")},
                    "не взята в скин", false, true},
        UntakenCase{"exit_taken_then_kept", {176, 188}, false, &TForm1TestAccess::N4Click, {kTake, kCancel},
                    "не взята в скин|Скин изменён. Сохранить изменения?", true, false},
        UntakenCase{"new_cancelled", {176, 188}, false, &TForm1TestAccess::N2Click, {kCancel}, "не взята в скин", false, false},
        UntakenCase{"load_cancelled", {176, 188}, false, &TForm1TestAccess::N3Click, {kCancel}, "не взята в скин", false, false},
        // Saving takes the picture in first: the skin keeps it when Save As is cancelled.
        UntakenCase{"load_save_cancelled", {176, 188}, false, &TForm1TestAccess::N3Click, {QStringLiteral("Сохранить")},
                    "не взята в скин", true, false},
        UntakenCase{"port_double_size_placed", {352, 376}, false, &TForm1TestAccess::N7Click, {kTake, kPlace, kCancel},
                    "352 x 376|176 x 188|Скин изменён", true, false},
        UntakenCase{"following_tiny_placed", {10, 10}, true, nullptr, {kPlace}, "10 x 10|176 x 188", true, false},
        UntakenCase{"following_double_declined", {352, 376}, true, &TForm1TestAccess::N4Click,
                    {QStringLiteral("Не брать"), kCancel}, "352 x 376|не взята в скин", false, false},
        // A quit by signal asks nothing and takes the save, so the recovery copy has it.
        UntakenCase{"signal_quit_taken", {176, 188}, false, &TForm1TestAccess::quitWithoutAsking, {}, "", true, true}),
    [](const auto &info) { return std::string(info.param.name); });
