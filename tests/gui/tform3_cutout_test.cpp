// Cutting pictures out into their working files, and the dialog as it opens.
#include "picturefixture.h"

#include "app/radiogroup.h"

#include <QFileInfo>
#include <QImageReader>
#include <QUndoStack>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace zelkor;
using zelkor::test::EditingFixture;

namespace {

QImage readBack(const QString &path)
{
    QImageReader reader(path);
    return reader.read();
}

// Every pixel of `cut` must be the sheet pixel of the picture rectangle it came from.
void expectFromRectangle(const QImage &cut, int top)
{
    for (int y = 0; y < cut.height(); ++y)
        for (int x = 0; x < cut.width(); ++x) {
            const auto c = test::decodeCoordinate(cut.pixel(x, y));
            ASSERT_TRUE(c.row == top + y && c.column == x)
                << "cut-out pixel (" << x << ", " << y << ") came from row " << c.row << ", column " << c.column;
        }
}

} // namespace

TEST_F(EditingFixture, DialogLooksAsBuilt)
{
    TForm3 d(doc(), main->watcher(), main.get());
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Редактирование скина"));
    EXPECT_EQ(d.size(), QSize(802, 540));
    EXPECT_EQ(d.pos(), QPoint(254, 219));
    EXPECT_EQ(d.font().pixelSize(), 11);
    ASSERT_EQ(d.RadioGroup1->count(), kPictureCount);
    for (int i = 0; i < kPictureCount; ++i)
        EXPECT_EQ(d.RadioGroup1->button(i)->text(), QString::fromUtf8(pictureInfo(i).caption));
    EXPECT_EQ(d.RadioGroup1->itemIndex(), Contacts);
    EXPECT_EQ(d.RadioGroup1->geometry(), QRect(8, 8, 241, 257));
    EXPECT_EQ(d.ttt->pos(), QPoint(256, 48));
    EXPECT_EQ(d.ttt->width(), TForm3::viewArea().width());  // the placeholder, reduced to fit
    EXPECT_EQ(d.Label1->pos(), QPoint(8, 272));
    EXPECT_EQ(d.Label1->font().pixelSize(), 19);
    EXPECT_TRUE(d.Label1->text().isEmpty());
    EXPECT_EQ(d.BitBtn1->text(), QStringLiteral("Открыть в редакторе"));
    EXPECT_EQ(d.BitBtn1->geometry(), QRect(256, 16, 137, 25));
    EXPECT_EQ(d.BitBtn2->text(), QStringLiteral("Загрузить"));
    EXPECT_EQ(d.BitBtn2->geometry(), QRect(400, 16, 145, 25));
    EXPECT_EQ(d.CheckBox1->text(), QStringLiteral("Подхватывать изменения из редактора"));
    EXPECT_TRUE(d.CheckBox1->isChecked());
    EXPECT_EQ(d.Edit1->geometry(), QRect(8, 496, 465, 21));
    EXPECT_FALSE(d.Edit1->text().isEmpty());
    EXPECT_EQ(d.Button1->text(), QStringLiteral("Выбрать…"));
    EXPECT_EQ(d.Button1->geometry(), QRect(488, 496, 169, 25));
}

struct CutCase {
    int picture;
    int profile;
    QSize size;
};

void PrintTo(const CutCase &c, std::ostream *os)
{
    *os << pictureInfo(c.picture).name << " of profile " << c.profile;
}

class CutOutTest : public EditingFixture, public ::testing::WithParamInterface<CutCase> {};

TEST_P(CutOutTest, WritesTheWorkingFileAndShowsItsSize)
{
    const CutCase c = GetParam();
    setSkin(c.profile);
    TForm3 d(doc(), main->watcher(), main.get());
    d.FormShow();  // contacts first, as the dialog opens
    d.RadioGroup1->button(c.picture)->click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(d.RadioGroup1->itemIndex(), c.picture);

    const QString path = tempPath(QString::fromUtf8(pictureInfo(c.picture).name) + QStringLiteral(".bmp"));
    const QImage file = readBack(path);
    ASSERT_FALSE(file.isNull()) << path.toStdString();
    EXPECT_EQ(file.size(), c.size);
    expectFromRectangle(file, pictureRect(c.picture, c.profile)->y);
    // Shown whole, enlarged by the largest whole factor that fits the view.
    const int factor = d.ttt->width() / c.size.width();
    EXPECT_EQ(d.ttt->size(), c.size * factor);
    EXPECT_TRUE(QRect(QPoint(), TForm3::viewArea()).contains(QRect(QPoint(), c.size * factor)));
    EXPECT_FALSE(QRect(QPoint(), TForm3::viewArea()).contains(QRect(QPoint(), c.size * (factor + 1))));
    EXPECT_EQ(d.picture().convertToFormat(QImage::Format_RGB32), file.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(d.Label1->text(), QStringLiteral("%1 x %2").arg(c.size.width()).arg(c.size.height()));
}

INSTANTIATE_TEST_SUITE_P(Pictures, CutOutTest,
                         ::testing::Values(CutCase{Contacts, 1, {176, 188}}, CutCase{SettingsEl, 1, {176, 33}},
                                           CutCase{Menuline, 4, {320, 18}}, CutCase{Contacts, 3, {240, 304}},
                                           CutCase{Select2, 1, {89, 18}}, CutCase{SettingsSelect, 5, {352, 66}},
                                           CutCase{AccountSel, 6, {416, 36}}, CutCase{Chat, 2, {208, 164}}),
                         [](const auto &info) {
                             return std::string(pictureInfo(info.param.picture).name) + "_profile"
                                    + std::to_string(info.param.profile);
                         });

TEST_F(EditingFixture, ShowingTheDialogCutsOutContacts)
{
    setSkin(3);
    TForm3 d(doc(), main->watcher(), main.get());
    d.show();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(d.Label1->text(), QStringLiteral("240 x 304"));
    EXPECT_EQ(readBack(tempPath(QStringLiteral("contacts.bmp"))).size(), QSize(240, 304));
    d.hide();
}

TEST_F(EditingFixture, CutOutsNeverOverwriteTheEditorsWorkNotYetInTheSheet)
{
    setSkin(1);
    TForm3 d(doc(), main->watcher(), main.get());
    d.FormShow();
    const QString path = tempPath(QStringLiteral("contacts.bmp"));
    // What an image editor saved but nobody took into the sheet yet must
    // survive a click on the same picture and a new selection of it.
    QImage edited(176, 188, QImage::Format_RGB32);
    edited.fill(Qt::green);
    ASSERT_TRUE(edited.save(path, "BMP"));
    d.RadioGroup1->button(Contacts)->click();
    EXPECT_EQ(readBack(path).pixel(5, 5), qRgb(0, 255, 0));
    d.RadioGroup1->button(Chat)->click();
    d.RadioGroup1->button(Contacts)->click();
    EXPECT_EQ(readBack(path).pixel(5, 5), qRgb(0, 255, 0));
    EXPECT_EQ(d.picture().pixel(5, 5), qRgb(0, 255, 0));
    // Loaded by hand it is in the sheet; undone, the sheet is the original
    // again and the next cut-out writes that.
    answerOpenFile(path);
    d.BitBtn2Click();
    doc().undoStack()->undo();
    d.RadioGroup1->button(Chat)->click();
    d.RadioGroup1->button(Contacts)->click();
    expectFromRectangle(readBack(path), 20);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

// An image editor that put a link where the working file was: the next
// cut-out of a new skin replaces the link and leaves its target whole.
TEST_F(EditingFixture, ALinkAtTheWorkingFileIsReplacedNeverWrittenThrough)
{
    setSkin(1);
    const QString path = tempPath(QStringLiteral("contacts.bmp"));
    {
        TForm3 d(doc(), main->watcher(), main.get());
        d.FormShow();
    }
    const QString users = folder.filePath(QStringLiteral("файл пользователя.txt"));
    QFile f(users);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("keep") == 4);
    f.close();
    ASSERT_TRUE(QFile::remove(path) && QFile::link(users, path));
    setSkin(1);
    TForm3 d(doc(), main->watcher(), main.get());
    d.FormShow();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep"));
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    expectFromRectangle(readBack(path), 20);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(EditingFixture, ShortSheetCutsOutWhiteBelowItsEnd)
{
    // Ends inside account_sel (rows 494..513).
    ASSERT_TRUE(doc().adoptUnsaved(test::coordinateSheet(176, 500), QStringLiteral("short.mbm")));
    TForm3 d(doc(), main->watcher(), main.get());
    d.RadioGroup1->button(AccountSel)->click();
    const QImage file = readBack(tempPath(QStringLiteral("account_sel.bmp")));
    ASSERT_EQ(file.size(), QSize(176, 20));
    expectFromRectangle(file.copy(0, 0, 176, 6), 494);
    for (int y = 6; y < 20; ++y)
        EXPECT_EQ(file.pixel(0, y) & 0xffffff, 0xffffffu) << "row " << y;
}

TEST_F(EditingFixture, WithoutSkinNothingIsCutAndThePlaceholderSizeIsShown)
{
    TForm3 d(doc(), main->watcher(), main.get());
    d.FormShow();
    d.RadioGroup1->button(Chat)->click();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(d.Label1->text(), QStringLiteral("610 x 111"));
    EXPECT_EQ(d.picture().size(), QSize(610, 111));
    EXPECT_TRUE(QDir(tempPath(QString())).isEmpty());
}
