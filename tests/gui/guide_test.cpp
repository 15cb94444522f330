// The user's guide: every page of the built guide links only to pages and
// pictures that are there; "Руководство" and F1 open it at the page of the
// window in use, over a dialog that waits; a missing guide is named.
#include "app/helpwindow.h"
#include "app/seams.h"
#include "app/tform3.h"
#include "app/tform5.h"
#include "tform1testaccess.h"
#include "testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace zelkor;

namespace {

QString guideFolder()
{
    return QDir(test::programFolder()).filePath(QStringLiteral("guide"));
}

TEST(GuideTest, EveryLinkAndPictureOfEveryPageIsThere)
{
    const QDir guide(guideFolder());
    const QStringList pages = guide.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_GE(pages.size(), 6) << "no guide in " << guide.path().toStdString() << "; build zelkor_data";
    const QRegularExpression target(QStringLiteral(R"((?:href|src)="([^"#]+))"));
    for (const QString &page : pages) {
        QFile file(guide.filePath(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(html.contains(QStringLiteral("<html lang=\"ru\">"))) << page.toStdString();
        int targets = 0;
        for (const auto &m : target.globalMatch(html)) {
            ++targets;
            EXPECT_TRUE(QFileInfo(guide.filePath(m.captured(1))).isFile())
                << page.toStdString() << " points to the missing " << m.captured(1).toStdString();
        }
        EXPECT_GT(targets, 0) << page.toStdString();
    }
}

class GuideWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSeams();
        seams().critical = [this](QWidget *, const QString &text, const QString &) { errors << text; };
        if (!QFileInfo::exists(QDir(guideFolder()).filePath(QStringLiteral("index.html"))))
            GTEST_SKIP() << "no guide in the program folder; build zelkor_data";
    }
    void TearDown() override
    {
        if (HelpWindow::current())
            delete HelpWindow::current();
        resetSeams();
    }
    static QString shownPage() { return HelpWindow::current()->browser->source().fileName(); }

    QTemporaryDir work;
    QStringList errors;
};

TEST_F(GuideWindowTest, OpensAtThePageOfTheWindowInUse)
{
    TForm1 w(programFilesIn(test::programFolder()), work.path());
    w.show();
    ui(w)->N9->trigger();
    ASSERT_TRUE(HelpWindow::current());
    EXPECT_EQ(shownPage(), QStringLiteral("main.html"));
    EXPECT_TRUE(HelpWindow::current()->windowTitle().contains(QStringLiteral("Главное окно")));
    EXPECT_TRUE(HelpWindow::current()->browser->document()->toPlainText().contains(QStringLiteral("Цвета")));
    // "Содержание" leads to the contents.
    HelpWindow::current()->browser->home();
    EXPECT_EQ(shownPage(), QStringLiteral("index.html"));

    // F1 in a dialog: its page, in a help window of that dialog, which a
    // waiting dialog does not block.
    TForm5 depth(&w);
    TForm3 pictures(w.document(), w.watcher(), &w);
    for (const auto &[dialog, page] : {std::pair<QDialog *, const char *>{&depth, "save.html"},
                                       std::pair<QDialog *, const char *>{&pictures, "pictures.html"}}) {
        dialog->show();
        QTest::keyClick(dialog, Qt::Key_F1);
        ASSERT_TRUE(HelpWindow::current()) << page;
        EXPECT_EQ(shownPage(), QString::fromLatin1(page));
        EXPECT_EQ(HelpWindow::current()->parentWidget(), dialog);
        dialog->hide();
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(GuideWindowTest, AMissingGuideIsNamed)
{
    QTemporaryDir empty;
    TForm1 w(programFilesIn(empty.path()), work.path());
    errors.clear();  // what start-up says of the empty folder
    ui(w)->N9->trigger();
    EXPECT_FALSE(HelpWindow::current());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("Руководство не найдено")));
    EXPECT_TRUE(errors[0].contains(QDir::toNativeSeparators(QDir(empty.path()).filePath(QStringLiteral("guide/main.html")))))
        << errors[0].toStdString();
}

} // namespace
