// Starting the image editor on a working file, choosing it, and its default.
#include "fixture.h"

#include "app/radiogroup.h"
#include "editing/picturefiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QThread>

using namespace zelkor;
using zelkor::test::EditingFixture;

namespace {

bool writeScript(const QString &path, const QByteArray &text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(text);
    f.close();
    return f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

QByteArray waitForFile(const QString &path)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 15000) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray content = f.readAll();
            if (content.endsWith("<end>\n"))
                return content;
        }
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return {};
}

} // namespace

// The real detached start: the path, blanks and all, arrives as one argument.
TEST_F(EditingFixture, EditorGetsTheWorkingFileAsItsOneArgument)
{
    setSkin(1);
    const QString record = folder.filePath(QStringLiteral("arguments.txt"));
    const QString editor = folder.filePath(QStringLiteral("fake editor.sh"));
    ASSERT_TRUE(writeScript(editor, "#!/bin/sh\n{ echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; echo '<end>'; } > '"
                                        + record.toUtf8() + "'\n"));
    TForm3 d(doc(), main.get());
    d.FormShow();
    d.RadioGroup1->button(SettingsTop)->click();
    d.Edit1->setText(editor);
    d.BitBtn1Click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();

    const QByteArray got = waitForFile(record);
    ASSERT_FALSE(got.isEmpty()) << "the fake editor did not run";
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
    TForm3 d(doc(), main.get());
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
    TForm3 d(doc(), main.get());
    d.FormShow();
    const QString missing = folder.filePath(QStringLiteral("нет такого редактора"));
    d.Edit1->setText(missing);
    d.BitBtn1Click();  // the real start
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(missing)) << errors[0].toStdString();
}

TEST_F(EditingFixture, ChoosingTheEditorTakesTheConfirmedPathOnly)
{
    TForm3 d(doc(), main.get());
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

TEST_F(EditingFixture, EachOpeningStartsWithContactsAndTheDefaultEditor)
{
    setSkin(1);
    QList<int> items;
    QStringList editors;
    seams().execDialog = [&](QDialog *dialog) {
        auto *d = qobject_cast<TForm3 *>(dialog);
        EXPECT_NE(d, nullptr);
        if (!d)
            return 0;
        items << d->RadioGroup1->itemIndex();
        editors << d->Edit1->text();
        d->RadioGroup1->button(Chat)->click();
        d->Edit1->setText(QStringLiteral("/somewhere/else"));
        return 0;
    };
    main->Button1Click();
    main->Button1Click();
    EXPECT_EQ(items, (QList<int>{Contacts, Contacts}));
    EXPECT_EQ(editors, (QStringList{defaultEditorPath(), defaultEditorPath()}));
}

class DefaultEditorTest : public ::testing::Test {
protected:
    void SetUp() override { savedPath = qgetenv("PATH"); }
    void TearDown() override { qputenv("PATH", savedPath); }

    void putOnPath(const QStringList &programs)
    {
        for (const QString &name : programs)
            ASSERT_TRUE(writeScript(bin.filePath(name), "#!/bin/sh\n"));
        qputenv("PATH", QFile::encodeName(bin.path()));
    }

    QTemporaryDir bin;
    QByteArray savedPath;
};

TEST_F(DefaultEditorTest, FirstKnownPaintProgramOnThePathWins)
{
    putOnPath({QStringLiteral("krita"), QStringLiteral("mtpaint"), QStringLiteral("gimp")});
    EXPECT_EQ(defaultEditorPath(), bin.filePath(QStringLiteral("mtpaint")));
}

TEST_F(DefaultEditorTest, WithoutAnyFallsBackToTheDesktopOpener)
{
    putOnPath({QStringLiteral("xdg-open")});
    EXPECT_EQ(defaultEditorPath(), bin.filePath(QStringLiteral("xdg-open")));
    QTemporaryDir empty;
    qputenv("PATH", QFile::encodeName(empty.path()));
    EXPECT_EQ(defaultEditorPath(), QStringLiteral("xdg-open"));
}
