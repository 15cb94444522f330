// Which recovery copy a starting editor offers when several editors are gone:
// the newest first, then the next, each exactly once.
#include "desktop/recovery.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "testsupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelkor;

TEST(RecoveryKeeper, OrphansAreOfferedNewestFirstAndEachOnce)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString folder = tmp.filePath(QStringLiteral("копии"));
    ASSERT_TRUE(QDir().mkpath(folder));
    // Three editors that are gone left copies, written in an order that is
    // neither the names' nor the newest's.
    const struct {
        const char *instance;
        int minutesAgo;
    } orphans[] = {{"b-old", 30}, {"a-new", 1}, {"c-mid", 10}};
    const QDateTime now = QDateTime::currentDateTime();
    for (const auto &o : orphans) {
        RecoveredSkin skin;
        skin.profile = 1;
        skin.sheet = zelkor::test::coordinateSheet(profileByIndex(1)->screenWidth, 600);
        skin.unsavedName = QString::fromLatin1(o.instance);
        const QString path = QDir(folder).filePath(QString::fromLatin1(o.instance) + QStringLiteral(".png"));
        ASSERT_TRUE(writeRecoveryFile(path, skin).ok()) << o.instance;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(now.addSecs(-60 * o.minutesAgo), QFileDevice::FileModificationTime));
    }
    SkinDocument doc(ProgramFiles{}, tmp.filePath(QStringLiteral("work")));
    RecoveryKeeper keeper(doc, folder, QStringLiteral("this-editor"));
    ASSERT_TRUE(keeper.isValid()) << keeper.error().toStdString();
    QStringList offered;
    for (QString claimed; !(claimed = keeper.claimOrphan()).isEmpty();) {
        offered << QFileInfo(claimed).completeBaseName();
        keeper.discardClaimed();
        ASSERT_LE(offered.size(), 3);
    }
    EXPECT_EQ(offered, (QStringList{QStringLiteral("a-new"), QStringLiteral("c-mid"), QStringLiteral("b-old")}));
}
