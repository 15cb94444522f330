// A loaded picture of another size goes through the placement step; the
// dialog also saves a picture and restores the template's.
#include "picturefixture.h"

#include "app/placementdialog.h"
#include "app/radiogroup.h"
#include "skin/converter.h"
#include "design/legibility.h"
#include "design/scrim.h"
#include "desktop/preferences.h"
#include "imaging/placement.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QUndoStack>

using namespace zelkor;
using zelkor::test::EditingFixture;
using zelkor::test::pattern;

namespace {

QImage photograph()
{
    QImage img(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x * 255 / 1600, y * 255 / 1200, x < 800 ? 40 : 220));
    return img;
}

double meanDifference(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
    return sum / (a.width() * a.height());
}

TEST_F(EditingFixture, PlacementStepIsLiveThenOneUndoStepOrNothing)
{
    struct Row {
        FitMode mode;
        QPointF drag;
        bool accept;
        double scrim = 0;
    };
    const Row rows[] = {
        {FitMode::Cover, {5000, 0}, true},  // dragged past the right edge: the right end shows
        {FitMode::Cover, {5000, 0}, true, 0.8},  // the scrim set before the drag stays under the texts
        {FitMode::Contain, {}, true},
        {FitMode::Stretch, {}, true},
        {FitMode::Stretch, {}, false},
    };
    setSkin(3);
    const QImage photo = photograph();
    QTemporaryDir user;
    const QString file = user.filePath(QStringLiteral("фото.png"));
    ASSERT_TRUE(photo.save(file, "PNG"));
    const QRect rect = pictureRect(Contacts, 3)->rect();
    IconSheets icons;  // none in this folder: the dialog draws the screens without them too
    if (!readIconSheets(doc().programFiles(), icons))
        icons = {};
    std::vector<int> failingAfterDrag;
    for (const Row &row : rows) {
        SCOPED_TRACE(fitModeCaption(row.mode).toStdString() + (row.accept ? " Ok" : " Отмена"));
        const FitMode remembered = PlacementDialog::rememberedMode();
        const QImage before = doc().sheet();
        const int steps = doc().undoStack()->index();
        QImage shownLive;
        int failing[2] = {-1, -1};
        seams().execDialog = [&](QDialog *dialog) {
            auto *step = static_cast<PlacementDialog *>(dialog);
            step->setMode(row.mode);
            step->setScrim(row.scrim);
            failing[0] = step->failingTexts();
            step->moveCrop(row.drag);
            failing[1] = step->failingTexts();
            // "Лучший кадр" never leaves more texts below the threshold than the
            // framing it started from, and only frames a cover.
            const QRect dragged = step->crop();
            step->bestFrameButton->click();
            EXPECT_LE(step->failingTexts(), failing[1]);
            EXPECT_EQ(step->bestFrameButton->isEnabled(), row.mode == FitMode::Cover);
            step->setZoom(1);
            step->moveCrop(QRectF(dragged).center() - QRectF(step->crop()).center());
            EXPECT_EQ(step->crop(), dragged);
            shownLive = doc().shownSheet();
            return int(row.accept ? QDialog::Accepted : QDialog::Rejected);
        };
        TForm3 d(doc(), main->watcher(), main.get());
        d.FormShow();
        answerOpenFile(file);
        d.BitBtn2Click();
        EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
        EXPECT_EQ(doc().shownSheet(), doc().sheet());  // the trial ends with the step
        EXPECT_EQ(shownLive.copy(0, 0, 240, rect.top()), before.copy(0, 0, 240, rect.top()));
        EXPECT_NE(shownLive.copy(rect), before.copy(rect));
        if (!row.accept) {
            EXPECT_EQ(doc().sheet(), before);
            EXPECT_EQ(doc().undoStack()->index(), steps);
            EXPECT_EQ(PlacementDialog::rememberedMode(), remembered);
            continue;
        }
        const QRect crop = row.mode == FitMode::Cover ? QRect(1600 - 947, 0, 947, 1200) : QRect();
        QImage expected = before;
        writeBackPicture(expected, 3, Contacts, placeImage(photo, before.copy(rect), {row.mode, crop}));
        if (row.scrim > 0)
            expected = design::scrimUnderTexts(expected, 3, icons, Contacts, row.scrim);
        EXPECT_EQ(doc().sheet().copy(rect), expected.copy(rect));
        // The count follows the drag, and the scrim leaves fewer texts below the threshold.
        failingAfterDrag.push_back(failing[1]);
        const double min = prefs::minContrast;
        EXPECT_EQ(failing[1], int(design::measureSkinLegibility(doc().sheet(), 3, icons).failingTexts(min).size()));
        if (row.scrim > 0)
            EXPECT_LT(failing[1], failingAfterDrag.front());
        EXPECT_LT(meanDifference(shownLive.copy(rect), doc().sheet().copy(rect)), 1.0)
            << "the live preview differs from the result by more than rounding";
        EXPECT_EQ(doc().undoStack()->index(), steps + 1);
        EXPECT_EQ(PlacementDialog::rememberedMode(), row.mode);
        doc().undoStack()->undo();
        EXPECT_EQ(doc().sheet(), before);
    }
}

TEST_F(EditingFixture, SavedPictureAndTheTemplatesPictureBack)
{
    ASSERT_TRUE(QFile::link(converterPath(test::programFolder()), programFilesIn(folder.path()).converter));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("skn")));
    ASSERT_TRUE(QFile::link(QDir(test::programFolder()).filePath(QStringLiteral("skn/240x320.mbm")),
                            QDir(folder.path()).filePath(QStringLiteral("skn/240x320.mbm"))));
    ASSERT_TRUE(doc().newFromTemplate(3));
    const QImage original = doc().sheet();
    doc().writeBackPicture(Chat, pattern({240, 275}));
    TForm3 d(doc(), main->watcher(), main.get());
    d.RadioGroup1->button(Chat)->click();

    QTemporaryDir user;
    QString answer;
    seams().saveFile = [&](QWidget *, const QString &, const QString &, const QString &) { return answer; };
    for (const char *name : {"chat.png", "chat.BMP", "chat.gif"}) {
        answer = user.filePath(QString::fromLatin1(name));
        errors.clear();
        d.BitBtn3Click();
        const bool known = !answer.endsWith(QLatin1String(".gif"));
        EXPECT_EQ(errors.size(), known ? 0 : 1) << name;
        EXPECT_EQ(QFileInfo::exists(answer), known) << name;
        if (known)
            EXPECT_EQ(QImage(answer).convertToFormat(QImage::Format_RGB32), pattern({240, 275})) << name;
    }

    const int steps = doc().undoStack()->index();
    d.BitBtn4Click();
    EXPECT_EQ(errors.size(), 1);  // the .gif above, nothing new
    EXPECT_EQ(doc().sheet(), original);
    EXPECT_EQ(doc().undoStack()->index(), steps + 1);
    doc().undoStack()->undo();
    EXPECT_EQ(doc().sheet().copy(pictureRect(Chat, 3)->rect()), pattern({240, 275}));
}

} // namespace
