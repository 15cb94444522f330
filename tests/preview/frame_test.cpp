// The preview frame: preview bitmap, masked icons, the render dispatch and the
// main window's two selectors around it.
#include "app/seams.h"
#include "tform1testaccess.h"
#include "preview/screenimage.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "testsupport.h"
#include "screenmodel.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace zelkor;
using namespace zelkor::test;

namespace {

TEST(PreviewFrame, NewBitmapIsWhiteAndScreenSized)
{
    const QImage img = newPreviewBitmap(QSize(416, 352));
    ASSERT_EQ(img.size(), QSize(416, 352));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ASSERT_EQ(img.pixel(x, y), 0xffffffffu);
    EXPECT_TRUE(newPreviewBitmap(QSize()).isNull());
}

// A one-cell sheet whose mask is `mask` everywhere and whose image is `image`
// where the mask is black (and black elsewhere).
QImage oneCell(int size, QRgb mask, QRgb image)
{
    QImage img(2 * size, 2 * size, QImage::Format_RGB32);
    img.fill(0xff000000u);
    for (int y = size; y < 2 * size; ++y)
        for (int x = 0; x < size; ++x) {
            img.setPixel(size + x, y, mask);
            img.setPixel(x, y, mask == 0xffffffffu ? 0xff000000u : image);
        }
    return img;
}

TEST(MaskedIcon, WhiteMaskLeavesTargetAndBlackMaskReplacesIt)
{
    for (int size : {16, 32}) {
        const QImage background = coordinateSheet(50, 50);
        QImage target = background.copy();
        Canvas c(&target);
        const QImage transparent = oneCell(size, 0xffffffffu, 0);
        drawMaskedIcon(c, &transparent, size, size, 5, 7);
        EXPECT_EQ(target, background) << size;

        const QImage opaque = oneCell(size, 0xff000000u, qRgb(0x11, 0x22, 0x33));
        drawMaskedIcon(c, &opaque, size, size, 5, 7);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x) {
                const bool in = x >= 5 && x < 5 + size && y >= 7 && y < 7 + size;
                ASSERT_EQ(target.pixel(x, y), in ? qRgb(0x11, 0x22, 0x33) : background.pixel(x, y))
                    << size << ": " << x << ", " << y;
            }
    }
}

TEST(MaskedIcon, MissingSheetOrCellDrawsNothing)
{
    const QImage background = coordinateSheet(40, 40);
    QImage target = background.copy();
    Canvas c(&target);
    const QImage sheet = iconSheet(16, 4);  // rows 0..63
    drawMaskedIcon(c, nullptr, 16, 0, 0, 0);
    const QImage empty;
    drawMaskedIcon(c, &empty, 16, 0, 0, 0);
    drawMaskedIcon(c, &sheet, 16, 64, 0, 0);    // past the end
    drawMaskedIcon(c, &sheet, 16, 56, 0, 0);    // cut off by the end
    drawMaskedIcon(c, &sheet, 32, 0, 0, 0);     // sheet narrower than a 32 cell pair
    drawMaskedIcon(c, &sheet, 16, -8, 0, 0);
    EXPECT_EQ(target, background);
    drawMaskedIcon(c, &sheet, 16, 48, 0, 0);    // the last whole cell draws
    EXPECT_NE(target, background);
}

TEST(MaskedIcon, SheetPerProfile)
{
    const QImage small = iconSheet(16, 1), large = iconSheet(32, 1);
    PreviewInput in;
    in.smallIcons = &small;
    in.largeIcons = &large;
    for (int p = 1; p <= 6; ++p) {
        in.profile = p;
        const IconSource s = iconSourceFor(in);
        EXPECT_EQ(s.sheet, p >= 5 ? &large : &small) << p;
        EXPECT_EQ(s.cellSize, p >= 5 ? 32 : 16) << p;
    }
}

QImage marked(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(qRgb(0x12, 0x34, 0x56));
    return img;
}

TEST(RenderPreview, ProfileZeroAndScreenFiveDrawNothing)
{
    ScreenFixture skin;
    for (int screen = 0; screen < 6; ++screen) {
        PreviewInput in = skin.input(3, 1);
        in.profile = 0;
        in.screen = QSize();
        QImage img = marked(QSize(240, 320));
        Canvas c(&img);
        renderPreview(screen, in, c);
        EXPECT_EQ(img, marked(QSize(240, 320))) << "screen " << screen << " with no skin";
    }
    PreviewInput in = skin.input(6, 0);
    QImage img = marked(in.screen);
    Canvas c(&img);
    renderPreview(MessageIndicatorScreen, in, c);
    EXPECT_EQ(img, marked(in.screen));
    renderPreview(ContactListScreen, in, c);
    EXPECT_EQ(img, composeContactList(in));
}

// --- the main window around the preview ---

class MainWindowPreview : public testing::Test {
protected:
    void SetUp() override
    {
        resetSeams();
        seams().critical = [this](QWidget *, const QString &text, const QString &) { messages << text; };
        form = std::make_unique<TForm1>(programFilesIn(programFolder()), workFolderIn(work.path()));
        // A synthetic 240 x 320 skin put in place the way adopting a sheet does.
        ui(*form)->smallIcons = iconSheet(16, 95);
        ui(*form)->largeIcons = iconSheet(32, 95);
        ASSERT_TRUE(form->document().adoptUnsaved(coordinateSheet(240, 740), QStringLiteral("synthetic.mbm")));
        form->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        form.reset();
        resetSeams();
    }
    void clickScreen(int index) { ui(*form)->RadioGroup1->button(index)->click(); }
    // Changes one pixel of the contacts picture through the document.
    void setContactsPixel(int x, int y, QRgb colour)
    {
        QImage picture = cutOutPicture(form->document().sheet(), 3, Contacts);
        picture.setPixel(x, y, colour);
        ASSERT_TRUE(form->document().writeBackPicture(Contacts, picture));
    }
    void clickColumns(int index) { ui(*form)->RadioGroup2->button(index)->click(); }
    QImage contactList(int columns)
    {
        PreviewInput in = ui(*form).previewInput();
        in.columns = columns;
        return composeContactList(in);
    }

    QTemporaryDir work;
    std::unique_ptr<TForm1> form;
    QStringList messages;
};

TEST_F(MainWindowPreview, ColumnSelectorShowsOnlyWithContactListAndKeepsItsIndex)
{
    EXPECT_FALSE(ui(*form)->RadioGroup2->isVisible());
    clickScreen(ContactListScreen);
    EXPECT_TRUE(ui(*form)->RadioGroup2->isVisible());
    clickColumns(1);
    EXPECT_EQ(ui(*form)->PaintBox1->canvasImage(), contactList(1));

    clickScreen(ChatScreen);
    EXPECT_FALSE(ui(*form)->RadioGroup2->isVisible());
    EXPECT_EQ(ui(*form)->RadioGroup2->itemIndex(), 1);
    clickScreen(ContactListScreen);
    EXPECT_TRUE(ui(*form)->RadioGroup2->isVisible());
    EXPECT_TRUE(ui(*form)->RadioGroup2->button(1)->isChecked());
    EXPECT_EQ(ui(*form)->PaintBox1->canvasImage(), contactList(1));
    EXPECT_NE(contactList(1), contactList(0));
}

TEST_F(MainWindowPreview, PopupMenuShowsTheChosenColumns)
{
    clickScreen(ContactListScreen);
    clickColumns(1);
    clickScreen(PopupMenuScreen);
    EXPECT_FALSE(ui(*form)->RadioGroup2->isVisible());
    const QImage &shown = ui(*form)->PaintBox1->canvasImage();
    const QImage two = contactList(1), one = contactList(0);
    // Outside the menu window (x from 120 on, in 240 x 320) the contact list shows.
    int sameAsTwo = 0, sameAsOne = 0, total = 0;
    for (int y = 0; y < 320; ++y)
        for (int x = 120; x < 240; ++x) {
            ++total;
            sameAsTwo += shown.pixel(x, y) == two.pixel(x, y);
            sameAsOne += shown.pixel(x, y) == one.pixel(x, y);
        }
    EXPECT_EQ(sameAsTwo, total);
    EXPECT_LT(sameAsOne, total);
    // Column 0 under the window keeps the contact list's pixels.
    for (int y = 180; y < 297; ++y)
        ASSERT_EQ(shown.pixel(0, y), two.pixel(0, y)) << y;
}

TEST_F(MainWindowPreview, EveryTriggerRendersTheSelectedScreen)
{
    clickScreen(ContactListScreen);
    QImage &canvas = ui(*form)->PaintBox1->canvasImage();
    // A picture change reaches the preview at the next tick without any user action.
    setContactsPixel(3, 0, qRgb(1, 2, 3));
    ui(*form).Timer1Timer();
    EXPECT_EQ(canvas.pixel(3, 0), qRgb(1, 2, 3));
    setContactsPixel(3, 0, qRgb(4, 5, 6));
    ui(*form).FormPaint();
    EXPECT_EQ(canvas.pixel(3, 0), qRgb(4, 5, 6));
    clickColumns(0);
    EXPECT_EQ(canvas, contactList(0));
    // Screen 5 keeps what the last render put there.
    const QImage before = canvas.copy();
    clickScreen(MessageIndicatorScreen);
    ui(*form).Timer1Timer();
    EXPECT_EQ(canvas, before);
}

// Counts paint events of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(MainWindowPreview, UnchangedScreenCausesNoRepaint)
{
    for (int screen : {ContactListScreen, PopupMenuScreen}) {
        clickScreen(screen);
        QApplication::processEvents();
        PaintCounter box, window;
        ui(*form)->PaintBox1->installEventFilter(&box);
        form->installEventFilter(&window);
        for (int tick = 0; tick < 3; ++tick) {
            ui(*form).Timer1Timer();
            QApplication::processEvents();
        }
        EXPECT_EQ(box.paints, 0) << screen;
        EXPECT_EQ(window.paints, 0) << screen;
        // A real change repaints the preview.
        setContactsPixel(3, 0, qRgb(9, 9, 9 + screen));
        ui(*form).Timer1Timer();
        QApplication::processEvents();
        EXPECT_GE(box.paints, 1) << screen;
        ui(*form)->PaintBox1->removeEventFilter(&box);
        form->removeEventFilter(&window);
    }
}

TEST_F(MainWindowPreview, NoSkinDrawsNothingAndReportsNothing)
{
    TForm1 fresh(programFilesIn(programFolder()), workFolderIn(work.path()));
    messages.clear();
    fresh.show();
    QApplication::processEvents();
    QImage before = ui(fresh)->PaintBox1->canvasImage().copy();
    ui(fresh).Timer1Timer();
    ui(fresh).FormPaint();
    ui(fresh)->RadioGroup1->button(PopupMenuScreen)->click();
    EXPECT_EQ(ui(fresh)->PaintBox1->canvasImage(), before);
    EXPECT_TRUE(messages.isEmpty());
}

// The real templates through the real converter, as the user loads them: every
// named screen shows in PaintBox1 exactly as the core's picture of it, and the
// phone area of the window is the core's phone picture of the screen. With
// ZELKOR_SCREENSHOT_DIR set, the window is saved there once per template and
// screen, to be looked at.
TEST(PreviewOnPhone, TemplatesShowInTheWindowAsTheCoresPictures)
{
    const QDir program(programFolder());
    if (!QFileInfo::exists(program.filePath(QStringLiteral("bmconv"))))
        GTEST_SKIP() << "no converter in the program folder";
    const QString shots = qEnvironmentVariable("ZELKOR_SCREENSHOT_DIR");
    const ProgramFiles files = programFilesIn(programFolder());
    IconSheets icons;
    ASSERT_TRUE(readIconSheets(files, icons).ok());
    // The zoom this test sets is remembered here, not where tests beside it look.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    for (int p = 1; p <= 6; ++p) {
        const Profile *profile = profileByIndex(p);
        const QString file = program.filePath(QString::fromUtf8(profile->templateName));
        if (!QFileInfo::exists(file))
            GTEST_SKIP() << "no template " << file.toStdString();
        resetSeams();
        QStringList messages;
        seams().critical = [&](QWidget *, const QString &text, const QString &) { messages << text; };
        seams().openFile = [&](QWidget *, const QString &, const QString &, const QString &) { return file; };
        QTemporaryDir work;
        TForm1 form(files, workFolderIn(work.path()));
        form.show();
        QApplication::processEvents();
        ui(form).N3Click();
        ASSERT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        ASSERT_EQ(form.document().profile(), p);
        EXPECT_EQ(ui(form)->PaintBox1->geometry(), QRect(ui(form)->phone->pos() + profile->previewOffset, profile->screenSize()));
        const PreviewInput in = skinPreviewInput(form.document().sheet(), p, icons, 0);
        for (const NamedScreen &shot : namedScreens()) {
            // The column choice is made on the contact list, where the selector shows.
            ui(form)->RadioGroup1->button(ContactListScreen)->click();
            ui(form)->RadioGroup2->button(shot.columns)->click();
            ui(form)->RadioGroup1->button(shot.screen)->click();
            QApplication::processEvents();
            ui(form).Timer1Timer();
            const QImage expected = paintBoxPicture(shot, in);
            const QImage &shown = ui(form)->PaintBox1->canvasImage();
            ASSERT_EQ(shown.size(), expected.size());
            EXPECT_TRUE(shown == expected) << "profile " << p << ", " << shot.name;
            if (!shots.isEmpty())
                form.grab().save(QDir(shots).filePath(QStringLiteral("p%1_%2.png").arg(p).arg(shot.nameText())));
        }
        QImage photo;
        ASSERT_TRUE(readPhonePicture(files, p, photo).ok());
        const QImage onPhone = onPhonePicture(photo, p, ui(form)->PaintBox1->canvasImage());
        // The preview area's own picture, not the window: the window scrolls it.
        // At every zoom it is the phone as at x1 (without its white
        // surround), enlarged by whole pixels.
        const QRect shown = ui(form)->previewArea->shownPart() & onPhone.rect();
        for (int zoom : {1, 3}) {
            ui(form).setZoomMode(zoom);
            const QRect onStage(ui(form)->phone->pos() + shown.topLeft() * zoom, shown.size() * zoom);
            const QImage window = ui(form)->phone->parentWidget()->grab(onStage).toImage();
            EXPECT_TRUE(window.convertToFormat(QImage::Format_RGB32) == enlargedByWholePixels(onPhone.copy(shown), zoom))
                << "profile " << p << " x" << zoom;
        }
        ui(form).setZoomMode(1);
    }
    resetSeams();
}

} // namespace
