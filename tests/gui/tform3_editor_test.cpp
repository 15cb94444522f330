// Starting the image editor on a working file, choosing it, its default, and
// what the dialog remembers of it.
#include "desktop/preferences.h"
#include "picturefixture.h"

#include "app/radiogroup.h"
#include "editing/picturefiles.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

using namespace zelkor;
using zelkor::test::EditingFixture;
using zelkor::test::waitUntil;
using zelkor::test::writeScript;

// The real detached start: the path, blanks and all, arrives as one argument.
TEST_F(EditingFixture, EditorGetsTheWorkingFileAsItsOneArgument)
{
    setSkin(1);
    const QString record = folder.filePath(QStringLiteral("arguments.txt"));
    const QString editor = folder.filePath(QStringLiteral("fake editor.sh"));
    ASSERT_TRUE(writeScript(editor, "#!/bin/sh\n{ echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; echo '<end>'; } > '"
                                        + record.toUtf8() + "'\n"));
    TForm3 d(doc(), main->watcher(), main.get());
    d.FormShow();
    d.RadioGroup1->button(SettingsTop)->click();
    d.Edit1->setText(editor);
    d.BitBtn1Click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();

    QByteArray got;
    ASSERT_TRUE(waitUntil(
        [&] {
            QFile f(record);
            got = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
            return got.endsWith("<end>\n");
        },
        15000))
        << "the fake editor did not run";
    const QString expectedPath = tempPath(QStringLiteral("settings_top.bmp"));
    EXPECT_EQ(QString::fromUtf8(got), QStringLiteral("1\n") + expectedPath + QStringLiteral("\n<end>\n"));
}

TEST_F(EditingFixture, EditorPathIsPassedUnchangedAndFileNeedNotExist)
{
    // No skin: nothing was cut out, the editor still gets the selected picture's path.
    QString program;
    QStringList arguments;
    seams().startDetached = [&](const QString &p, const QStringList &a) {
        program = p;
        arguments = a;
        return true;
    };
    TForm3 d(doc(), main->watcher(), main.get());
    d.RadioGroup1->button(AccountSel)->click();
    d.Edit1->setText(QStringLiteral("/opt/my paint/bin/paint --x"));
    d.BitBtn1Click();
    EXPECT_EQ(program, QStringLiteral("/opt/my paint/bin/paint --x"));
    EXPECT_EQ(arguments, QStringList{tempPath(QStringLiteral("account_sel.bmp"))});
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(EditingFixture, EditorThatCannotStartIsReportedByName)
{
    setSkin(1);
    TForm3 d(doc(), main->watcher(), main.get());
    d.FormShow();
    const QString missing = folder.filePath(QStringLiteral("нет такого редактора"));
    d.Edit1->setText(missing);
    d.BitBtn1Click();  // the real start
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(missing)) << errors[0].toStdString();
}

TEST_F(EditingFixture, ChoosingTheEditorTakesTheConfirmedPathOnly)
{
    TForm3 d(doc(), main->watcher(), main.get());
    d.Edit1->setText(QStringLiteral("/usr/bin/first"));
    answerOpenFile(QString());
    d.Button1Click();
    EXPECT_EQ(d.Edit1->text(), QStringLiteral("/usr/bin/first"));
    answerOpenFile(QStringLiteral("/opt/my paint/paint"));
    d.Button1Click();
    EXPECT_EQ(d.Edit1->text(), QStringLiteral("/opt/my paint/paint"));
    ASSERT_EQ(openFilters.size(), 2);
    EXPECT_EQ(openFilters[0], TForm3::opendFilter());
    EXPECT_EQ(openDirs[0], QStringLiteral("/usr/bin"));
}

TEST_F(EditingFixture, EachOpeningStartsWithContactsAndTheAuthorsEditorAndFollowing)
{
    setSkin(1);
    QList<int> items;
    QStringList editors;
    QList<bool> following;
    answerOpenFile(QStringLiteral("/somewhere/else"));
    seams().execDialog = [&](QDialog *dialog) {
        auto *d = qobject_cast<TForm3 *>(dialog);
        EXPECT_NE(d, nullptr);
        if (!d)
            return 0;
        items << d->RadioGroup1->itemIndex();
        editors << d->Edit1->text();
        following << d->CheckBox1->isChecked();
        if (items.size() == 1) {
            d->RadioGroup1->button(Chat)->click();
            d->Button1Click();
            d->CheckBox1->click();
        }
        return 0;
    };
    ui(*main).Button1Click();
    ui(*main).Button1Click();
    EXPECT_EQ(items, (QList<int>{Contacts, Contacts}));
    EXPECT_EQ(editors, (QStringList{defaultEditorPath(), QStringLiteral("/somewhere/else")}));
    EXPECT_EQ(following, (QList<bool>{true, false}));
    EXPECT_FALSE(main->watcher().isEnabled());
    // What the next run of the program starts with.
    EXPECT_EQ(prefs::imageEditor.get(), QStringLiteral("/somewhere/else"));
    EXPECT_FALSE(prefs::followEditor.get());
}

class DefaultEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedPath = qgetenv("PATH");
        savedEditor = qgetenv("ZELKOR_IMAGE_EDITOR");
        qunsetenv("ZELKOR_IMAGE_EDITOR");
    }
    void TearDown() override
    {
        qputenv("PATH", savedPath);
        if (!savedEditor.isEmpty())
            qputenv("ZELKOR_IMAGE_EDITOR", savedEditor);
    }

    void putOnPath(const QStringList &programs)
    {
        for (const QString &name : programs)
            ASSERT_TRUE(writeScript(bin.filePath(name), "#!/bin/sh\n"));
        qputenv("PATH", QFile::encodeName(bin.path()));
    }

    QTemporaryDir bin;
    QByteArray savedPath;
    QByteArray savedEditor;
};

TEST_F(DefaultEditorTest, EnvironmentFirstThenTheFirstKnownPaintProgramOnThePath)
{
    putOnPath({QStringLiteral("krita"), QStringLiteral("mtpaint"), QStringLiteral("gimp")});
    EXPECT_EQ(defaultEditorPath(), bin.filePath(QStringLiteral("mtpaint")));
    // The environment names the editor before any guess.
    qputenv("ZELKOR_IMAGE_EDITOR", "/opt/my paint/paint");
    EXPECT_EQ(defaultEditorPath(), QStringLiteral("/opt/my paint/paint"));
    qunsetenv("ZELKOR_IMAGE_EDITOR");
}

TEST_F(DefaultEditorTest, WithoutAnyFallsBackToTheDesktopOpener)
{
    putOnPath({QStringLiteral("xdg-open")});
    EXPECT_EQ(defaultEditorPath(), bin.filePath(QStringLiteral("xdg-open")));
    QTemporaryDir empty;
    qputenv("PATH", QFile::encodeName(empty.path()));
    EXPECT_EQ(defaultEditorPath(), QStringLiteral("xdg-open"));
}
