// Following the image editor: a stand-in editor saves a different picture
// into the working file it is given, the way real editors save, and the
// sheet, the preview and the undo history take it up on their own.
#include "fixture.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QUndoStack>

using namespace zelkor;
using zelkor::test::EditingFixture;
using zelkor::test::waitUntil;

namespace {

enum class Save {
    InPlace,        // truncates the file and writes it
    Rename,         // writes a new file beside it and renames it over
    TwoHalves,      // writes half, pauses, appends the rest
    NeverComplete,  // writes half and stops
};

struct FollowCase {
    const char *name;
    Save save;
    bool following;   // the checkbox
    bool dialogOpen;  // while the editor saves
};

void PrintTo(const FollowCase &c, std::ostream *os)
{
    *os << c.name;
}

// The shell lines that save `source` over "$1", each way; `half` is a byte count.
QByteArray saveLines(Save save, const QByteArray &source, qint64 half)
{
    const QByteArray h = QByteArray::number(half);
    switch (save) {
    case Save::InPlace:
        return "cat " + source + " > \"$1\"\n";
    case Save::Rename:
        return "cp " + source + " \"$1.part\" && mv \"$1.part\" \"$1\"\n";
    case Save::TwoHalves:
        return "head -c " + h + " " + source + " > \"$1\"\nsleep 0.4\ntail -c +" + QByteArray::number(half + 1)
               + " " + source + " >> \"$1\"\n";
    case Save::NeverComplete:
        return "head -c " + h + " " + source + " > \"$1\"\n";
    }
    return {};
}

QByteArray quoted(const QString &path)
{
    return "'" + path.toUtf8() + "'";
}

} // namespace

class FollowTest : public EditingFixture, public ::testing::WithParamInterface<FollowCase> {};

TEST_P(FollowTest, EditorSavesReachTheSheetAndThePreview)
{
    const FollowCase c = GetParam();
    setSkin(1);
    // Only the document's change may refresh the preview, not the one-second timer.
    main->Timer1->stop();
    main->RadioGroup1->setItemIndex(ContactListScreen);
    main->show();  // the preview surface takes its size when shown
    main->renderPreview();
    ASSERT_FALSE(main->PaintBox1->canvasImage().isNull());
    main->watcher().setPatience(1500);

    // Larger than the picture: it must be clipped, not scaled.
    const QImage replacement = test::pattern({176 + 24, 188 + 9});
    const QString source = folder.filePath(QStringLiteral("new picture.bmp"));
    ASSERT_TRUE(replacement.save(source, "BMP"));
    const QString saved = folder.filePath(QStringLiteral("saved"));
    const QString editor = folder.filePath(QStringLiteral("stand-in editor.sh"));
    ASSERT_TRUE(test::writeScript(editor, "#!/bin/sh\nsleep 0.2\n"
                                              + saveLines(c.save, quoted(source), QFileInfo(source).size() / 2)
                                              + "touch " + quoted(saved) + "\n"));

    auto d = std::make_unique<TForm3>(doc(), main->watcher(), main.get());
    d->FormShow();
    if (!c.following)
        d->CheckBox1->click();
    answerOpenFile(editor);
    d->Button1Click();
    const QImage sheetBefore = doc().sheet();
    const QImage previewBefore = main->PaintBox1->canvasImage().copy();
    d->BitBtn1Click();
    if (!c.dialogOpen)
        d.reset();
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(saved); }, 10000)) << "the stand-in editor did not run";

    if (!c.following || c.save == Save::NeverComplete) {
        // A half file is given up once; a save not followed would have been
        // taken well within this.
        if (c.following)
            waitUntil([&] { return !errors.isEmpty(); }, 4000);
        waitUntil([&] { return false; }, 500);
        EXPECT_EQ(doc().sheet(), sheetBefore);
        EXPECT_EQ(doc().undoStack()->count(), 0);
        if (c.following) {
            ASSERT_EQ(errors.size(), 1);
            EXPECT_TRUE(errors[0].contains(QStringLiteral("contacts.bmp"))) << errors[0].toStdString();
        } else {
            EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
        }
        return;
    }

    ASSERT_TRUE(waitUntil([&] { return doc().undoStack()->count() > 0; }, 1500)) << "the save was not taken";
    waitUntil([&] { return false; }, 300);  // nothing more comes of one save
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(doc().undoStack()->count(), 1);
    test::expectOnlyRectangleChanged(sheetBefore, doc().sheet(), pictureRect(Contacts, 1)->rect(), replacement);
    // The preview already shows the new sheet: rendering it again changes nothing.
    const QImage previewAfter = main->PaintBox1->canvasImage().copy();
    EXPECT_NE(previewAfter, previewBefore);
    main->renderPreview();
    EXPECT_EQ(main->PaintBox1->canvasImage(), previewAfter);
    if (d)
        EXPECT_EQ(d->picture().convertToFormat(QImage::Format_RGB32), replacement);

    doc().undoStack()->undo();
    EXPECT_EQ(doc().sheet(), sheetBefore);
}

INSTANTIATE_TEST_SUITE_P(Saves, FollowTest,
                         ::testing::Values(FollowCase{"in_place_dialog_open", Save::InPlace, true, true},
                                           FollowCase{"rename_dialog_closed", Save::Rename, true, false},
                                           FollowCase{"two_halves_dialog_closed", Save::TwoHalves, true, false},
                                           FollowCase{"never_complete", Save::NeverComplete, true, true},
                                           FollowCase{"checkbox_off", Save::Rename, false, true}),
                         [](const auto &info) { return std::string(info.param.name); });
