// A skin opened without the Load dialog: named on the command line or dropped
// on the window. Both take the Load command's road, with its messages.
#include "filesfixture.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

using namespace zelkor;
using namespace zelkor::test;

namespace {

TEST(DroppedFile, OnlyOneLocalSkinFileIsTaken)
{
    const QString skin = QStringLiteral("/tmp/Мои скины/a skin.MBM");
    const struct {
        QList<QUrl> urls;
        QString taken;
    } cases[] = {
        {{QUrl::fromLocalFile(skin)}, skin},
        {{QUrl::fromLocalFile(QStringLiteral("/tmp/a.mbm"))}, QStringLiteral("/tmp/a.mbm")},
        {{QUrl::fromLocalFile(QStringLiteral("/tmp/проект.ZSKIN"))}, QStringLiteral("/tmp/проект.ZSKIN")},
        {{QUrl::fromLocalFile(QStringLiteral("/tmp/a.bmp"))}, {}},
        {{QUrl::fromLocalFile(QStringLiteral("/tmp/mbm"))}, {}},
        {{QUrl(QStringLiteral("https://example.org/a.mbm"))}, {}},
        {{QUrl::fromLocalFile(skin), QUrl::fromLocalFile(QStringLiteral("/tmp/b.mbm"))}, {}},
        {{}, {}},
    };
    for (const auto &c : cases) {
        QMimeData data;
        data.setUrls(c.urls);
        EXPECT_EQ(TForm1TestAccess::droppedSkinFile(&data), c.taken) << c.urls.size();
    }
    QMimeData text;
    text.setText(QStringLiteral("/tmp/a.mbm"));
    EXPECT_EQ(TForm1TestAccess::droppedSkinFile(&text), QString());
}

class StartFileTest : public FilesTest {};

TEST_F(StartFileTest, ADroppedSkinLoadsAsTheLoadCommandWould)
{
    NEED_DATA(3);
    const QString skin = scratchFile(QStringLiteral("перенесённый скин.mbm"));
    ASSERT_TRUE(QFile::copy(programFile(QStringLiteral("skn/240x320.mbm")), skin));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(skin)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    QApplication::processEvents();
    ASSERT_EQ(errors, QStringList());
    EXPECT_EQ(form->document().profile(), 3);
    const QImage dropped = form->document().sheet();

    load(skin);
    EXPECT_EQ(form->document().sheet(), dropped);
    EXPECT_FALSE(ui(*form)->Panel1->isHidden());
}

TEST_F(StartFileTest, AMissingFileIsReportedByNameAndChangesNothing)
{
    NEED_DATA(3);
    const Snapshot before = snapshot();
    const QString missing = scratchFile(QStringLiteral("нет такого.mbm"));
    EXPECT_FALSE(form->loadSkinFile(missing));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(missing)) << errors[0].toStdString();
    expectUnchanged(before);
    EXPECT_TRUE(ui(*form)->Panel1->isHidden());
}

} // namespace
