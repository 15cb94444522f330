// Following the image editor: a stand-in editor saves a different picture
// into the working file it is given, the way real editors save, and the
// sheet, the preview and the undo history take it up on their own.
#include "picturefixture.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QUndoStack>

using namespace zelkor;
using zelkor::test::EditingFixture;
using zelkor::test::waitUntil;

namespace {

enum class Outcome { Taken, OneMessage, Ignored };

struct FollowCase {
    const char *name;
    const char *save;  // shell lines that save "$SRC" over "$1"; $HALF is half its size
    bool following;    // the checkbox
    bool dialogOpen;   // while the editor saves
    Outcome outcome;
};

} // namespace

class FollowTest : public EditingFixture, public ::testing::WithParamInterface<FollowCase> {};

TEST_P(FollowTest, EditorSavesReachTheSheetAndThePreview)
{
    const FollowCase c = GetParam();
    setSkin(1);
    // Only the document's change may refresh the preview, not the one-second timer.
    ui(*main)->Timer1->stop();
    ui(*main)->RadioGroup1->setItemIndex(ContactListScreen);
    main->show();  // the preview surface takes its size when shown
    ui(*main).renderPreview();
    ASSERT_FALSE(ui(*main)->PaintBox1->canvasImage().isNull());
    main->watcher().setPatience(1500);

    // The picture's own size: taken as it is (another size goes through the
    // placement step, tested with the saves not taken).
    const QImage replacement = test::pattern({176, 188});
    const QString source = folder.filePath(QStringLiteral("new picture.bmp"));
    ASSERT_TRUE(replacement.save(source, "BMP"));
    const QString saved = folder.filePath(QStringLiteral("saved"));
    const QString editor = folder.filePath(QStringLiteral("stand-in editor.sh"));
    ASSERT_TRUE(test::writeScript(editor, "#!/bin/sh\nSRC='" + source.toUtf8() + "'\nHALF="
                                              + QByteArray::number(QFileInfo(source).size() / 2) + "\nsleep 0.2\n"
                                              + c.save + "\ntouch '" + saved.toUtf8() + "'\n"));

    auto d = std::make_unique<TForm3>(doc(), main->watcher(), main.get());
    d->FormShow();
    if (!c.following)
        d->CheckBox1->click();
    answerOpenFile(editor);
    d->Button1Click();
    const QImage sheetBefore = doc().sheet();
    const QImage previewBefore = ui(*main)->PaintBox1->canvasImage().copy();
    d->BitBtn1Click();
    if (!c.dialogOpen)
        d.reset();
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(saved); }, 10000)) << "the stand-in editor did not run";

    // A half file is given up after the patience; a save not followed would
    // have been taken well within it.
    if (c.outcome == Outcome::OneMessage)
        waitUntil([&] { return !errors.isEmpty(); }, 4000);
    else if (c.outcome == Outcome::Taken)
        waitUntil([&] { return doc().undoStack()->count() > 0; }, 1500);
    waitUntil([&] { return false; }, 400);  // and nothing more comes of one save
    EXPECT_EQ(doc().undoStack()->count(), c.outcome == Outcome::Taken ? 1 : 0);
    ASSERT_EQ(errors.size(), c.outcome == Outcome::OneMessage ? 1 : 0) << errors.join(u'\n').toStdString();
    if (c.outcome != Outcome::Taken) {
        EXPECT_EQ(doc().sheet(), sheetBefore);
        if (!errors.isEmpty())
            EXPECT_TRUE(errors[0].contains(QStringLiteral("contacts.bmp"))) << errors[0].toStdString();
        return;
    }
    test::expectOnlyRectangleChanged(sheetBefore, doc().sheet(), pictureRect(Contacts, 1)->rect(), replacement);
    // The preview already shows the new sheet: rendering it again changes nothing.
    const QImage previewAfter = ui(*main)->PaintBox1->canvasImage().copy();
    EXPECT_NE(previewAfter, previewBefore);
    ui(*main).renderPreview();
    EXPECT_EQ(ui(*main)->PaintBox1->canvasImage(), previewAfter);
    if (d)
        EXPECT_EQ(d->picture().convertToFormat(QImage::Format_RGB32), replacement);

    doc().undoStack()->undo();
    EXPECT_EQ(doc().sheet(), sheetBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Saves, FollowTest,
    ::testing::Values(
        FollowCase{"in_place_dialog_open", R"(cat "$SRC" > "$1")", true, true, Outcome::Taken},
        FollowCase{"rename_dialog_closed", R"(cp "$SRC" "$1.part" && mv "$1.part" "$1")", true, false, Outcome::Taken},
        FollowCase{"two_halves_dialog_closed",
                   R"(head -c $HALF "$SRC" > "$1"; sleep 0.4; tail -c +$((HALF + 1)) "$SRC" >> "$1")", true, false,
                   Outcome::Taken},
        FollowCase{"never_complete", R"(head -c $HALF "$SRC" > "$1")", true, true, Outcome::OneMessage},
        FollowCase{"checkbox_off", R"(cp "$SRC" "$1.part" && mv "$1.part" "$1")", false, true, Outcome::Ignored},
        // A working file that is not a plain file is never read: a link (to a
        // picture, even), a pipe that would block the window for good.
        FollowCase{"replaced_by_a_link", R"(ln -sf "$SRC" "$1")", true, true, Outcome::OneMessage},
        FollowCase{"replaced_by_a_pipe", R"(rm -f "$1"; mkfifo "$1")", true, true, Outcome::OneMessage}),
    [](const auto &info) { return std::string(info.param.name); });
