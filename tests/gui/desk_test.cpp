// Recent files and the window's state between runs, in settings of the test's own.
#include "app/radiogroup.h"
#include "app/welcomeview.h"
#include "desktop/thumbnailcache.h"
#include "filesfixture.h"
#include "preview/preview.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QUndoStack>
#include <QUrl>

#include <functional>

using namespace zelkor;
using namespace zelkor::test;

namespace {

class DeskTest : public FilesTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        FilesTest::SetUp();
    }
    QTemporaryDir settingsDir;
};

TEST_F(DeskTest, RecentFilesAreTheTenNewestAndAMissingOneLeavesWithOneMessage)
{
    NEED_DATA(3);
    const auto skin = [&](int i) { return scratchFile(QStringLiteral("%1.mbm").arg(i)); };
    pack(coordinateSheet(240, 740), skin(0));
    for (int i = 1; i < 12; ++i)
        ASSERT_TRUE(QFile::copy(skin(0), skin(i)));
    form->keepDesktopRecentList(scratchFile(QStringLiteral("recent.xbel")));
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 5})
        load(skin(i));
    ASSERT_EQ(errors, QStringList());
    QStringList newest;
    for (int i : {5, 11, 10, 9, 8, 7, 6, 4, 3, 2})
        newest << skin(i);
    EXPECT_EQ(RecentFiles().files(), newest);
    emit ui(*form)->recentMenu->aboutToShow();
    ASSERT_EQ(ui(*form)->recentMenu->actions().size(), 10);
    EXPECT_EQ(ui(*form)->recentMenu->actions()[1]->toolTip(), skin(11));

    ASSERT_TRUE(QFile::remove(skin(11)));
    ui(*form)->recentMenu->actions()[1]->trigger();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(skin(11))) << errors[0].toStdString();
    newest.removeAt(1);
    EXPECT_EQ(RecentFiles().files(), newest);
    EXPECT_EQ(form->document().filePath(), skin(5));

    QFile desktopList(scratchFile(QStringLiteral("recent.xbel")));
    ASSERT_TRUE(desktopList.open(QIODevice::ReadOnly));
    const QByteArray xbel = desktopList.readAll();
    EXPECT_EQ(xbel.count("<bookmark "), 12) << xbel.constData();
    EXPECT_EQ(xbel.count(QUrl::fromLocalFile(skin(5)).toEncoded() + '"'), 1);
}

TEST_F(DeskTest, ChoicesAndPlaceComeBackInTheNextRunButNeverOffTheScreen)
{
    // A window that was not asked to remember keeps nothing.
    form->close();
    EXPECT_FALSE(QSettings().contains(QStringLiteral("window/screen")));

    form = std::make_unique<TForm1>(programFilesIn(folder), work);
    form->restoreWindowState();
    form->show();
    const QRect avail = form->screen()->availableGeometry();
    form->resize(form->size() - QSize(40, 30));
    form->move(form->pos() + QPoint(7, 5));
    ui(*form)->RadioGroup1->setItemIndex(ContactListScreen);
    ui(*form)->RadioGroup2->setItemIndex(1);
    ui(*form)->RadioGroup3->setItemIndex(2);
    const QRect placed = form->geometry();
    form->close();

    for (bool offScreen : {false, true}) {
        if (offScreen) {
            QSettings().setValue(QStringLiteral("window/geometry"),
                                 QRect(avail.right() + 500, avail.bottom() + 500, 800, 600));
        }
        form = std::make_unique<TForm1>(programFilesIn(folder), work);
        form->restoreWindowState();
        form->show();
        EXPECT_EQ(ui(*form)->RadioGroup1->itemIndex(), int(ContactListScreen));
        EXPECT_EQ(ui(*form)->RadioGroup2->itemIndex(), 1);
        EXPECT_EQ(ui(*form)->RadioGroup3->itemIndex(), 2);
        if (offScreen)
            EXPECT_TRUE(avail.contains(form->frameGeometry()));
        else
            EXPECT_EQ(form->geometry(), placed);
    }
}

} // namespace

// The status bar tells one state through a skin's life: never "Сохранён" for
// a skin that has no file of its own.
TEST_F(DeskTest, StatusBarTellsOneStateThroughNewEditSaveUndoAndLoad)
{
    NEED_DATA(3);
    const QString other = scratchFile(QStringLiteral("другой.mbm"));
    pack(coordinateSheet(240, 740), other);
    const struct {
        const char *step;
        std::function<void()> run;
        bool ownFile;
        const char *state;
    } steps[] = {
        {"new", [&] { newSkin(3); }, false, "Не сохранён в файл"},
        {"edit", [&] { ASSERT_TRUE(form->document().setColourSlot(2, qRgb(1, 2, 3))); }, false, "Не сохранён в файл"},
        {"save", [&] { save(scratchFile(QStringLiteral("мой.mbm"))); }, true, "Сохранён"},
        {"edit", [&] { ASSERT_TRUE(form->document().setColourSlot(2, qRgb(4, 5, 6))); }, true, "Изменён"},
        {"undo", [&] { form->document().undoStack()->undo(); }, true, "Сохранён"},
        {"load", [&] { load(other); }, true, "Сохранён"},
    };
    for (const auto &s : steps) {
        s.run();
        ASSERT_EQ(form->document().hasOwnFile(), s.ownFile) << s.step;
        EXPECT_EQ(ui(*form)->fileField->text(),
                  s.ownFile ? QDir::toNativeSeparators(form->document().filePath()) : QStringLiteral("240x320.mbm"))
            << s.step;
        EXPECT_EQ(ui(*form)->modifiedField->text(), QString::fromUtf8(s.state)) << s.step;
    }
    EXPECT_EQ(form->document().filePath(), other);
    EXPECT_EQ(errors, QStringList());
}

namespace {

// The empty window's welcome view: each button leads where the menu does,
// a loaded skin hides the view and leaves a thumbnail of its file, which the
// view's recent files then show and open.
TEST_F(DeskTest, WelcomeViewLeadsToASkinAndShowsRecentFilesWithTheirPictures)
{
    NEED_DATA(3);
    WelcomeView &welcome = *ui(*form)->welcome;
    ASSERT_TRUE(welcome.isVisibleTo(form.get()));
    welcome.fromPictureButton()->click();
    EXPECT_EQ(shown, QStringList{QStringLiteral("zelkor::NewFromPictureDialog")});
    EXPECT_TRUE(welcome.isVisibleTo(form.get()));

    const QString skin = scratchFile(QStringLiteral("лица.mbm"));
    pack(coordinateSheet(240, 740), skin);
    openAnswer = skin;
    welcome.loadButton()->click();
    EXPECT_EQ(form->document().filePath(), skin);
    EXPECT_FALSE(welcome.isVisibleTo(form.get()));
    QCoreApplication::processEvents();  // the thumbnail is drawn once the window has taken the skin
    const QImage thumbnail = cachedThumbnail(skin);
    ASSERT_FALSE(thumbnail.isNull());
    EXPECT_EQ(std::max(thumbnail.width(), thumbnail.height()), kThumbnailSize);

    welcome.setRecentFiles(RecentFiles().files());
    ASSERT_EQ(welcome.recentList()->count(), 1);
    QListWidgetItem *item = welcome.recentList()->item(0);
    EXPECT_EQ(item->text(), QStringLiteral("лица.mbm"));
    EXPECT_EQ(item->icon().actualSize(QSize(kThumbnailSize, kThumbnailSize)), thumbnail.size());
    form2Item = 0;
    welcome.newButton()->click();
    EXPECT_EQ(form->document().profile(), 1);
    emit welcome.recentList()->itemActivated(item);
    EXPECT_EQ(form->document().filePath(), skin);
    EXPECT_EQ(errors, QStringList());
    QFile::remove(thumbnailPath(skin));
}

} // namespace
