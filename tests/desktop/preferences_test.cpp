#include "desktop/preferences.h"
#include "desktop/recentfiles.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace zelkor {
namespace {

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        QSettings().clear();
    }
    QTemporaryDir dir;
};

// Settings as the earlier versions wrote them, by their own keys and value
// types, read back through the preferences; and values no version writes
// (out of range, not a number) read as the default.
TEST_F(PreferencesTest, SettingsOfEarlierVersionsReadAndStrangeValuesReadAsTheDefault)
{
    const struct {
        const char *key;
        QVariant written;
        std::function<QVariant()> read;
        QVariant expected;
    } cases[] = {
        {"view/zoom", 3, [] { return QVariant(prefs::zoomMode.get()); }, 3},
        {"view/zoom", 0, [] { return QVariant(prefs::zoomMode.get()); }, 0},
        {"view/zoom", 9, [] { return QVariant(prefs::zoomMode.get()); }, 1},
        {"window/screen", 5, [] { return QVariant(prefs::screenChoice.get()); }, 5},
        {"window/columns", 1, [] { return QVariant(prefs::columnsChoice.get()); }, 1},
        {"window/columns", -1, [] { return QVariant(prefs::columnsChoice.get()); }, 0},
        {"window/previewDepth", 4, [] { return QVariant(prefs::previewDepthChoice.get()); }, 4},
        {"window/previewDepth", "x", [] { return QVariant(prefs::previewDepthChoice.get()); }, 0},
        {"window/geometry", QRect(-7, 20, 1017, 683), [] { return QVariant(prefs::windowGeometry.get()); },
         QRect(-7, 20, 1017, 683)},
        {"window/maximized", true, [] { return QVariant(prefs::windowMaximized.get()); }, true},
        {"window/screenName", "HDMI-1", [] { return QVariant(prefs::windowScreen.get()); }, "HDMI-1"},
        {"window/docks", QByteArray("\0\xff\x01", 3), [] { return QVariant(prefs::windowDocks.get()); },
         QByteArray("\0\xff\x01", 3)},
        {"recentFiles", QStringList{"/a/б.mbm", "/c.mbm"}, [] { return QVariant(prefs::recentFiles.get()); },
         QStringList{"/a/б.mbm", "/c.mbm"}},
        {"save/folder", "/home/u/скины", [] { return QVariant(prefs::saveFolder.get()); }, "/home/u/скины"},
        {"save/depth", "/c12", [] { return QVariant(prefs::saveDepth.get()); }, "/c12"},
        {"save/smoothPictures", true, [] { return QVariant(prefs::smoothPictures.get()); }, true},
        {"placement/fit", "contain", [] { return QVariant(prefs::placementFit.get()); }, "contain"},
        {"legibility/minContrast", 7.25, [] { return QVariant(prefs::minContrast.get()); }, 7.25},
        {"legibility/minContrast", 30.0, [] { return QVariant(prefs::minContrast.get()); }, 4.5},
        {"legibility/minContrast", "много", [] { return QVariant(prefs::minContrast.get()); }, 4.5},
        {"editing/editor", "/opt/my paint/paint", [] { return QVariant(prefs::imageEditor.get()); },
         "/opt/my paint/paint"},
        {"editing/followEditor", false, [] { return QVariant(prefs::followEditor.get()); }, false},
        {"editing/pictureFolder", "/tmp", [] { return QVariant(prefs::pictureFolder.get()); }, "/tmp"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.key) + " = " + c.written.toString().toStdString());
        QSettings().clear();
        {
            QSettings old;
            old.setValue(QString::fromLatin1(c.key), c.written);
        }
        EXPECT_EQ(c.read(), c.expected);
    }
    // Nothing kept: every default.
    QSettings().clear();
    EXPECT_EQ(prefs::zoomMode.get(), 1);
    EXPECT_TRUE(prefs::followEditor.get());
    EXPECT_EQ(prefs::minContrast.get(), 4.5);
    EXPECT_FALSE(prefs::windowGeometry.isSet());
}

TEST_F(PreferencesTest, RecentFilesKeepTheTenNewestOnceEachAndSayWhenTheyChange)
{
    RecentFiles recent;
    QSignalSpy changed(&recent, &RecentFiles::changed);
    for (int i = 0; i < 12; ++i)
        recent.add(QStringLiteral("/skins/%1.mbm").arg(i));
    recent.add(QStringLiteral("/skins/5.mbm"));
    recent.remove(QStringLiteral("/skins/absent.mbm"));  // not in the list: no change
    recent.remove(QStringLiteral("/skins/11.mbm"));
    EXPECT_EQ(changed.count(), 14);
    const QStringList expected{"/skins/5.mbm", "/skins/10.mbm", "/skins/9.mbm", "/skins/8.mbm", "/skins/7.mbm",
                               "/skins/6.mbm", "/skins/4.mbm",  "/skins/3.mbm", "/skins/2.mbm"};
    EXPECT_EQ(recent.files(), expected);
    // Kept under the key earlier versions read.
    EXPECT_EQ(QSettings().value(QStringLiteral("recentFiles")).toStringList(), expected);
}

} // namespace
} // namespace zelkor
