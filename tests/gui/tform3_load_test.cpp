// Loading a replacement picture and writing it back into the sheet.
#include "picturefixture.h"

#include "app/placementdialog.h"
#include <sys/stat.h>

#include "app/radiogroup.h"

#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QRadioButton>

#include <cctype>

using namespace zelkor;
using zelkor::test::EditingFixture;
using zelkor::test::expectOnlyRectangleChanged;
using zelkor::test::pattern;

enum class Fit { Exact, Larger, Smaller };

struct LoadCase {
    int picture;
    int profile;
    Fit fit;
};

static std::string fitName(Fit fit)
{
    return fit == Fit::Exact ? "exact" : fit == Fit::Larger ? "larger" : "smaller";
}

void PrintTo(const LoadCase &c, std::ostream *os)
{
    *os << pictureInfo(c.picture).name << " of profile " << c.profile << ", " << fitName(c.fit);
}

class LoadTest : public EditingFixture, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadTest, WritesBackClippedAndChangesNothingElse)
{
    const LoadCase c = GetParam();
    setSkin(c.profile);
    const PictureRect r = *pictureRect(c.picture, c.profile);
    const QSize size = c.fit == Fit::Exact    ? QSize(r.width, r.height)
                       : c.fit == Fit::Larger ? QSize(r.width + 37, r.height + 11)
                                              : QSize(r.width / 2, r.height / 3);
    const QImage replacement = pattern(size);
    QTemporaryDir user;
    const QString file = user.filePath(QStringLiteral("new.bmp"));
    ASSERT_TRUE(replacement.save(file, "BMP"));

    TForm3 d(doc(), main->watcher(), main.get());
    d.FormShow();
    d.RadioGroup1->button(c.picture)->click();
    const QString cutLabel = d.Label1->text();
    const QImage before = doc().sheet();
    answerOpenFile(file);
    // Another size asks how to place it: "Как есть" is today's unscaled copy.
    int asked = 0;
    seams().execDialog = [&](QDialog *dialog) {
        ++asked;
        static_cast<PlacementDialog *>(dialog)->setMode(FitMode::AsIs);
        return int(QDialog::Accepted);
    };
    d.BitBtn2Click();

    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(asked, c.fit == Fit::Exact ? 0 : 1);
    ASSERT_EQ(openDirs.size(), 1);
    EXPECT_NE(QDir(openDirs[0]), QDir(tempPath(QString())));  // the user's folder, not the editor's own
    EXPECT_TRUE(QFileInfo(openDirs[0]).isDir());
    EXPECT_EQ(openFilters[0], TForm3::openiFilter());
    const QRect changed(0, r.y, std::min(r.width, size.width()), std::min(r.height, size.height()));
    expectOnlyRectangleChanged(before, doc().sheet(), changed, replacement);
    EXPECT_EQ(d.Label1->text(), cutLabel);  // the cut-out's size, not the loaded picture's
    EXPECT_TRUE(d.Label3->text().contains(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
    EXPECT_EQ(d.picture(), doc().sheet().copy(r.rect()));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, LoadTest,
    ::testing::Values(LoadCase{Contacts, 1, Fit::Exact}, LoadCase{Contacts, 1, Fit::Larger},
                      LoadCase{Contacts, 1, Fit::Smaller}, LoadCase{Select2, 1, Fit::Larger},
                      LoadCase{Select2, 5, Fit::Exact}, LoadCase{Select1, 3, Fit::Larger},
                      LoadCase{Menuline, 4, Fit::Smaller}, LoadCase{AccountSel, 6, Fit::Larger},
                      LoadCase{SettingsEl, 2, Fit::Exact}),
    [](const auto &info) {
        return std::string(pictureInfo(info.param.picture).name) + "_profile" + std::to_string(info.param.profile)
               + "_" + fitName(info.param.fit);
    });

TEST_F(EditingFixture, LoadedPictureComesBackOnTheNextCutOut)
{
    setSkin(3);
    const QImage replacement = pattern({240, 275});
    QTemporaryDir user;
    const QString file = user.filePath(QStringLiteral("chat.bmp"));
    ASSERT_TRUE(replacement.save(file, "BMP"));
    TForm3 d(doc(), main->watcher(), main.get());
    d.RadioGroup1->button(Chat)->click();
    answerOpenFile(file);
    d.BitBtn2Click();
    d.RadioGroup1->button(Contacts)->click();
    d.RadioGroup1->button(Chat)->click();
    EXPECT_TRUE(errors.isEmpty());
    QImageReader reader(tempPath(QStringLiteral("chat.bmp")));
    EXPECT_EQ(reader.read().convertToFormat(QImage::Format_RGB32), replacement);
}

class JpegSuffixTest : public EditingFixture, public ::testing::WithParamInterface<const char *> {};

TEST_P(JpegSuffixTest, LoadsByContentAndWritesNothingBesideIt)
{
    setSkin(1);
    QTemporaryDir user;
    const QString jpeg = user.filePath(QStringLiteral("фото") + QString::fromLatin1(GetParam()));
    QImage flat(176, 188, QImage::Format_RGB32);
    flat.fill(qRgb(200, 40, 90));
    ASSERT_TRUE(flat.save(jpeg, "JPEG", 95));
    // A bitmap of the user's that a conversion beside the JPEG would clobber and delete.
    const QString bystander = user.filePath(QStringLiteral("фото.bmp"));
    {
        QFile f(bystander);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the user's own file");
    }
    const QStringList filesBefore = QDir(user.path()).entryList(QDir::Files, QDir::Name);

    TForm3 d(doc(), main->watcher(), main.get());
    d.FormShow();
    const QImage before = doc().sheet();
    answerOpenFile(jpeg);
    d.BitBtn2Click();

    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(QDir(user.path()).entryList(QDir::Files, QDir::Name), filesBefore);
    QFile f(bystander);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("the user's own file"));

    const QRect rect = pictureRect(Contacts, 1)->rect();
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            const QRgb got = doc().sheet().pixel(x, y);
            if (rect.contains(x, y)) {
                ASSERT_LE(std::abs(qRed(got) - 200) + std::abs(qGreen(got) - 40) + std::abs(qBlue(got) - 90), 9)
                    << "decoded JPEG pixel (" << x << ", " << y << ")";
            } else {
                ASSERT_EQ(got & 0xffffff, before.pixel(x, y) & 0xffffff) << "pixel (" << x << ", " << y << ")";
            }
        }
}

INSTANTIATE_TEST_SUITE_P(Suffixes, JpegSuffixTest, ::testing::Values(".jpg", ".JPG", ".jpeg", ".bmp.jpg"),
                         [](const auto &info) {
                             std::string name;
                             for (const char *c = info.param; *c; ++c)
                                 name += *c == '.' ? '_' : *c;
                             return name;
                         });

struct BrokenCase {
    const char *name;
    QByteArray content;
    bool pipe = false;  // a named pipe nobody writes to, instead of a file
};

void PrintTo(const BrokenCase &c, std::ostream *os)
{
    *os << c.name;
}

class BrokenFileTest : public EditingFixture, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenFileTest, ShowsOneErrorAndLeavesTheSheetAlone)
{
    setSkin(1);
    QTemporaryDir user;
    const QString file = user.filePath(QString::fromLatin1(GetParam().name));
    if (GetParam().pipe) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    } else {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(GetParam().content);
    }
    TForm3 d(doc(), main->watcher(), main.get());
    d.FormShow();
    const QImage sheetBefore = doc().sheet();
    const QImage shownBefore = d.picture();
    answerOpenFile(file);
    d.BitBtn2Click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QString::fromLatin1(GetParam().name))) << errors[0].toStdString();
    EXPECT_EQ(doc().sheet(), sheetBefore);
    EXPECT_EQ(d.picture(), shownBefore);
}

// The first `keep` bytes (a fraction when below 1) of a picture saved as
// `format`; from about half a JPEG on, Qt decodes what is there and fills the
// rest with grey.
static QByteArray cutShort(const char *format, double keep)
{
    QImage img(176, 188, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x, y, (x * y) & 0xff));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return bytes.left(keep < 1 ? int(bytes.size() * keep) : int(keep));
}

INSTANTIATE_TEST_SUITE_P(Files, BrokenFileTest,
                         ::testing::Values(BrokenCase{"garbage.bmp", QByteArray(300, 'x')},
                                           BrokenCase{"header-only.bmp", QByteArray("BM\x36\x00\x00\x00", 6)},
                                           BrokenCase{"cut-short.jpg", cutShort("JPEG", 20)},
                                           BrokenCase{"half.jpg", cutShort("JPEG", 0.5)},
                                           BrokenCase{"cut-short.bmp", cutShort("BMP", 50000)},
                                           BrokenCase{"empty.jpeg", QByteArray()},
                                           BrokenCase{"pipe.bmp", QByteArray(), true}),
                         [](const auto &info) {
                             std::string name = info.param.name;
                             for (char &c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST_F(EditingFixture, CancelledLoadChangesNothing)
{
    setSkin(2);
    TForm3 d(doc(), main->watcher(), main.get());
    d.FormShow();
    const QImage before = doc().sheet();
    answerOpenFile(QString());
    d.BitBtn2Click();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(doc().sheet(), before);
    EXPECT_EQ(d.Label1->text(), QStringLiteral("208 x 160"));
}

TEST_F(EditingFixture, WithoutSkinLoadShowsThePictureButWritesNothing)
{
    QTemporaryDir user;
    const QString file = user.filePath(QStringLiteral("p.bmp"));
    ASSERT_TRUE(pattern({50, 40}).save(file, "BMP"));
    TForm3 d(doc(), main->watcher(), main.get());
    d.FormShow();
    answerOpenFile(file);
    d.BitBtn2Click();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(doc().sheet().isNull());
    EXPECT_EQ(d.picture().size(), QSize(50, 40));
    EXPECT_EQ(d.ttt->size(), QSize(500, 400));  // enlarged by whole pixels
    EXPECT_EQ(d.Label1->text(), QStringLiteral("610 x 111"));
}
