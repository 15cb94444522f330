// Skin projects in the window: a new project edited at one size shows the
// edit at another, one history undoes across sizes and brings the project
// back exactly, Save writes the .zskin it reopens from, and "Экспорт скинов…"
// writes what the command line writes, asking once before replacing. A skin
// file saved as a project exports its own size byte for byte.
#include "filesfixture.h"

#include "app/colourdialog.h"
#include "app/colourswatch.h"
#include "app/exportdialog.h"
#include "app/legibilitydock.h"
#include "app/newfrompicture.h"
#include "app/placementdialog.h"
#include "app/radiogroup.h"
#include "app/seams.h"
#include "app/tform3.h"
#include "project/projectfile.h"
#include "project/projectsession.h"
#include "skin/profiles.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTreeWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QUndoStack>

#include <optional>

using namespace zelkor;
using namespace zelkor::test;

namespace {

class ProjectWindowTest : public FilesTest {
protected:
    void SetUp() override
    {
        FilesTest::SetUp();
        for (const Profile &p : allProfiles())
            if (!haveData(p.index))
                GTEST_SKIP() << "bmconv or the data of profile " << p.index << " are missing";
        auto answered = seams().execDialog;
        seams().execDialog = [this, answered](QDialog *d) {
            if (auto *e = qobject_cast<ExportDialog *>(d)) {
                shown << QStringLiteral("ExportDialog");
                exportOffered.profiles = e->profiles();
                exportOffered.depthOption = e->depthOption();
                exportOffered.smooth = e->smooth->isChecked();
                e->folder->setText(exportFolder);
                e->setDepthOption(exportDepth);
                if (exportChoice) {
                    e->setProfiles(exportChoice->profiles);
                    e->smooth->setChecked(exportChoice->smooth);
                }
                return int(QDialog::Accepted);
            }
            if (auto *n = qobject_cast<NewFromPictureDialog *>(d)) {
                shown << QStringLiteral("NewFromPictureDialog");
                n->setProfile(4);
                return n->setPicture(pictureAnswer) ? int(QDialog::Accepted) : int(QDialog::Rejected);
            }
            return answered(d);
        };
    }
    const SkinProject &project() const { return ui(*form)->project->project(); }
    // A new project from the template of Form2's item `item`, saved as `name` when given.
    void newProject(int item, const QString &name = {})
    {
        form2Item = item;
        askAnswer = 0;  // from a template
        ui(*form).newProjectClick();
        ASSERT_TRUE(ui(*form)->project);
        if (!name.isEmpty()) {
            saveAnswer = scratchFile(name);
            ASSERT_TRUE(ui(*form).N6Click());
        }
    }
    // Until the dock shows the measure of every size asked for last.
    void settleAllSizes() const
    {
        QElapsedTimer waited;
        waited.start();
        while ((ui(*form)->allSizesTimer->isActive() || ui(*form)->allSizesShown != ui(*form)->allSizesRun)
               && waited.elapsed() < 30000) {
            QCoreApplication::processEvents();
            QThread::msleep(2);
        }
    }
    QStringList exported() const { return QDir(exportFolder).entryList(QDir::Files, QDir::Name); }

    QString exportFolder;
    QString exportDepth = QStringLiteral("/c24");
    std::optional<ExportSettings> exportChoice;  // sizes and smoothing chosen in the dialog
    ExportSettings exportOffered;                // what the dialog started from
    QString pictureAnswer;
};

QImage filled(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST_F(ProjectWindowTest, OneDesignAtEverySizeWithOneHistorySavedAndExported)
{
    SkinDocument &doc = form->document();
    form2Item = 2;  // 240x320
    askAnswer = 0;  // from a template
    ui(*form).newProjectClick();
    ASSERT_EQ(errors, QStringList());
    ASSERT_TRUE(ui(*form)->project);
    EXPECT_EQ(doc.profile(), 3);
    EXPECT_FALSE(ui(*form)->sizeBox->isHidden());
    const SkinProject fresh = project();
    const QImage freshSheet = doc.sheet();

    // A colour and a picture changed at 240 x 320 show at 176 x 208 too.
    const QRgb red = qRgb(200, 10, 10), blue = qRgb(10, 20, 220);
    ASSERT_TRUE(doc.setColourSlot(0, red).ok());
    ASSERT_TRUE(doc.writeBackPicture(0, filled(pictureRect(0, 3)->rect().size(), blue)).ok());
    ui(*form).sizeChoiceClick(1);
    ASSERT_EQ(errors, QStringList());
    EXPECT_EQ(doc.profile(), 1);
    EXPECT_EQ(ui(*form)->sizeChoice->currentIndex(), 0);
    EXPECT_EQ(doc.colourSlot(0), red);
    EXPECT_EQ(cutOutPicture(doc.sheet(), 1, 0), filled(pictureRect(0, 1)->rect().size(), blue));

    // Undo goes back across the size and then the edits, the project with them.
    QUndoStack *history = doc.undoStack();
    history->undo();
    EXPECT_EQ(doc.profile(), 3);
    EXPECT_EQ(ui(*form)->sizeChoice->currentIndex(), 2);
    history->undo();
    history->undo();
    EXPECT_EQ(doc.sheet(), freshSheet);
    EXPECT_EQ(projectJson(project()), projectJson(fresh));
    history->redo();
    history->redo();
    history->redo();
    EXPECT_EQ(doc.profile(), 1);
    EXPECT_EQ(doc.colourSlot(0), red);

    // Save names the file it wrote, which opens on the size shown.
    saveAnswer = scratchFile(QStringLiteral("Море"));
    ASSERT_TRUE(ui(*form).N6Click());
    const QString file = scratchFile(QStringLiteral("Море.zskin"));
    ASSERT_TRUE(isProjectFile(file));
    EXPECT_EQ(ui(*form)->fileField->text(), QDir::toNativeSeparators(file));
    EXPECT_FALSE(doc.isModified());
    const QByteArray savedJson = projectJson(project());
    ASSERT_TRUE(form->loadSkinFile(file));
    EXPECT_EQ(doc.profile(), 1);
    EXPECT_EQ(doc.colourSlot(0), red);
    EXPECT_EQ(projectJson(project()), savedJson);

    // Every size into a folder, as the command line exports the same file;
    // a second export asks once before replacing.
    exportFolder = scratchFile(QStringLiteral("скины"));
    ui(*form).exportSkinsClick();
    ASSERT_EQ(errors, QStringList());
    const QStringList names = exported();
    ASSERT_EQ(names.size(), 6);
    EXPECT_TRUE(names.contains(QStringLiteral("extskin_176x208_Море.mbm"))) << names.join(u' ').toStdString();
    QProcess cli;
    const QString cliFolder = scratchFile(QStringLiteral("cli"));
    cli.start(QDir(programFolder()).filePath(QStringLiteral("zelkor-skin")),
              {QStringLiteral("export"), file, QStringLiteral("-o"), cliFolder});
    ASSERT_EQ(finishProcess(cli, 60000).code, 0);
    for (const QString &name : names)
        EXPECT_EQ(fileBytes(QDir(exportFolder).filePath(name)), fileBytes(QDir(cliFolder).filePath(name)))
            << name.toStdString();
    asked.clear();
    askAnswer = 1;
    ui(*form).exportSkinsClick();
    EXPECT_EQ(asked.size(), 1);
    askAnswer = 0;
    ui(*form).exportSkinsClick();
    EXPECT_EQ(asked.size(), 2);
    EXPECT_EQ(errors, QStringList());

    // From a picture: every size made from it, the picture kept, the chosen size shown.
    QImage picture(900, 700, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 255 / 900, 90, y * 255 / 700));
    pictureAnswer = scratchFile(QStringLiteral("закат.png"));
    ASSERT_TRUE(picture.save(pictureAnswer));
    askAnswer = 1;
    ui(*form).newProjectClick();
    ASSERT_EQ(errors, QStringList());
    ASSERT_TRUE(ui(*form)->project);
    EXPECT_EQ(doc.profile(), 4);
    EXPECT_EQ(project().sheets.size(), 6u);
    EXPECT_EQ(project().pictureFiles.size(), 1u);
    EXPECT_EQ(project().pictureFiles.begin()->second, fileBytes(pictureAnswer));

    // A skin file loaded after it is a skin file again.
    load(programFile(QStringLiteral("skn/240x320.mbm")));
    EXPECT_FALSE(ui(*form)->project);
    EXPECT_TRUE(ui(*form)->sizeBox->isHidden());
    EXPECT_FALSE(ui(*form)->exportSkins->isEnabled());
}

TEST_F(ProjectWindowTest, ASkinSavedAsAProjectExportsItsOwnSizeByteForByte)
{
    load(programFile(QStringLiteral("skn/320x240.mbm")));
    ASSERT_TRUE(form->document().setColourSlot(3, qRgb(1, 2, 3)).ok());
    const QString skin = scratchFile(QStringLiteral("extskin_320x240_Лес.mbm"));
    save(scratchFile(QStringLiteral("Лес")), 3);  // 16 bpp
    ASSERT_TRUE(QFileInfo::exists(skin));
    saveAnswer = scratchFile(QStringLiteral("Лес.zskin"));
    ASSERT_TRUE(ui(*form).saveAsProjectClick());
    ASSERT_EQ(errors, QStringList());
    EXPECT_EQ(project().name, QStringLiteral("Лес"));
    EXPECT_EQ(project().exporting.depthOption, QStringLiteral("/c16"));
    EXPECT_EQ(form->document().filePath(), saveAnswer);

    exportFolder = scratchFile(QStringLiteral("экспорт"));
    exportDepth = QStringLiteral("/c16");
    ui(*form).exportSkinsClick();
    ASSERT_EQ(errors, QStringList());
    EXPECT_EQ(fileBytes(QDir(exportFolder).filePath(QFileInfo(skin).fileName())), fileBytes(skin));
}

// A picture placed from a file at 240 x 320 is the source of every size,
// re-framed from that source as often as wanted; a colour or a picture for
// this size only leaves the others alone and is marked until it is reset;
// every change is one step, undone and redone with the project exactly.
TEST_F(ProjectWindowTest, SourcesOverridesAndResetsAtOneSizeWithAnExactHistory)
{
    SkinDocument &doc = form->document();
    form2Item = 2;  // 240x320
    askAnswer = 0;
    ui(*form).newProjectClick();
    ASSERT_TRUE(ui(*form)->project);
    QImage photo(900, 700, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x * 255 / 900, (x ^ y) & 255, y * 255 / 700));
    const QString photoFile = scratchFile(QStringLiteral("фото.png"));
    ASSERT_TRUE(photo.save(photoFile));
    const QByteArray photoBytes = fileBytes(photoFile);

    enum Action { Load, Reframe, Colour, SharedPicture, SharedColour };
    struct Row {
        Action action;
        bool only = false;  // "только для этого размера"
        SourcePlacement framing{};
        const char *what = "";
    };
    const QRgb red = qRgb(210, 30, 40);
    const Row rows[] = {
        {Load, false, {FitMode::Cover, QPointF(0.3, 0.6), 1.5}, "placed for every size"},
        {Reframe, false, {FitMode::Contain, {}, 1.0, qRgb(0, 80, 0), 0.4}, "contained, with a scrim"},
        {Reframe, false, {FitMode::Stretch}, "stretched"},
        {Reframe, false, {FitMode::Cover, QPointF(0.7, 0.4), 2.0}, "cover again"},
        {Reframe, true, {FitMode::Cover, QPointF(0.2, 0.2), 3.0}, "framed for this size only"},
        {Colour, true, {}, "the colour as it is, made this size's own: a step with no pixel changed"},
        {Colour, true, {}, "a colour for this size only"},
        {SharedPicture, false, {}, "the shared picture back"},
        {SharedColour, false, {}, "the shared colour back"},
    };
    const Row *row = nullptr;
    std::optional<SourcePlacement> offered, chosen;
    QString pictureTip;
    auto answered = seams().execDialog;
    seams().execDialog = [&](QDialog *d) {
        if (auto *f3 = qobject_cast<TForm3 *>(d)) {
            f3->RadioGroup1->setItemIndex(Contacts);
            f3->RadioGroup1Click();
            if (row->action == Load)
                f3->BitBtn2Click();
            else
                f3->BitBtn5Click();  // "Вернуть общий" too is in the placement step
            pictureTip = f3->RadioGroup1->button(Contacts)->toolTip();
            return int(QDialog::Rejected);
        }
        if (auto *step = qobject_cast<PlacementDialog *>(d)) {
            offered = step->framing();
            if (row->action == SharedPicture) {
                step->sharedButton->click();
                return PlacementDialog::kSharedResult;
            }
            step->setFraming(row->framing);
            step->thisSizeOnly->setChecked(row->only);
            chosen = step->framing();
            return int(QDialog::Accepted);
        }
        if (auto *colour = qobject_cast<ColourDialog *>(d))
            colour->findChild<QCheckBox *>(QStringLiteral("sizeOnly"))->setChecked(row->only);
        return answered(d);
    };
    openAnswer = photoFile;

    QAction *sharedColour = ui(*form)->dx[2]->findChild<QAction *>(QStringLiteral("sharedColour"));
    ASSERT_TRUE(sharedColour);
    bool ownColourBefore = false;
    QUndoStack *history = doc.undoStack();
    std::vector<QByteArray> states{projectJson(project())};
    std::optional<SourcePlacement> last;
    QImage other;
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        row = &r;
        offered.reset();
        QImage otherBefore;
        ASSERT_TRUE(ui(*form)->project->sheet(1, otherBefore).ok());
        colourAnswer = QColor::fromRgb(ownColourBefore ? red : doc.colourSlot(2));
        if (r.action == Colour)
            emit ui(*form)->dx[2]->clicked(ui(*form)->dx[2]);
        else if (r.action == SharedColour)
            sharedColour->trigger();
        else
            ui(*form).Button1Click();
        ASSERT_EQ(errors, QStringList());
        EXPECT_EQ(history->index(), int(states.size()));
        states.push_back(projectJson(project()));

        const PictureSource &contacts = project().pictures[Contacts];
        if (r.action == Reframe || r.action == SharedPicture)
            EXPECT_EQ(offered, contacts.at(3).kind == PictureSourceKind::File ? last : std::nullopt);
        // The file kept byte for byte, whatever was done with it.
        ASSERT_EQ(project().pictureFiles.size(), 1u);
        EXPECT_EQ(project().pictureFiles.begin()->second, photoBytes);
        const bool ownPicture = contacts.overrides.count(3) > 0, ownColour = project().colourOverrides.count(3) > 0;
        ownColourBefore = ownColour;
        EXPECT_EQ(ownPicture, r.action == Reframe && r.only || r.action == Colour);
        EXPECT_EQ(ownColour, r.action == Colour || r.action == SharedPicture);
        if (r.action != Colour && r.action != SharedColour)
            EXPECT_EQ(pictureTip.isEmpty(), !ownPicture);
        EXPECT_EQ(ui(*form)->dx[2]->note(), ownColour ? QStringLiteral("Только для размера 240x320") : QString());
        EXPECT_EQ(sharedColour->isVisible(), ownColour);
        EXPECT_EQ(doc.colourSlot(2), project().colourAt(3, 2));
        QImage otherAfter;
        ASSERT_TRUE(ui(*form)->project->sheet(1, otherAfter).ok());
        if (r.only || r.action == SharedPicture || r.action == SharedColour)
            EXPECT_EQ(otherAfter, otherBefore) << "another size changed";
        if (r.action == Load || r.action == Reframe) {
            EXPECT_EQ(contacts.at(3).placement, chosen);
            last = chosen;
            if (!r.only)
                EXPECT_EQ(contacts.at(1), contacts.at(3));
        }
    }

    // Back to the empty project step by step, and forward again.
    for (size_t i = states.size() - 1; i > 0; --i) {
        history->undo();
        EXPECT_EQ(projectJson(project()), states[i - 1]) << "undone to step " << i - 1;
    }
    for (size_t i = 1; i < states.size(); ++i)
        history->redo();
    EXPECT_EQ(projectJson(project()), states.back());

    // What export writes at another size is what set-picture writes into its template.
    const SourcePlacement shared = project().pictures[Contacts].placement;
    QImage exported;
    ASSERT_TRUE(ui(*form)->project->exportSheet(1, exported).ok());
    const QString placed = scratchFile(QStringLiteral("176.mbm"));
    QProcess cli;
    cli.start(QDir(programFolder()).filePath(QStringLiteral("zelkor-skin")),
              {QStringLiteral("set-picture"), programFile(QStringLiteral("skn/176x208.mbm")), QStringLiteral("contacts"),
               photoFile, QStringLiteral("--focus"),
               QStringLiteral("%1,%2").arg(shared.focus->x() * 900, 0, 'f', 6).arg(shared.focus->y() * 700, 0, 'f', 6),
               QStringLiteral("--zoom"), QString::number(shared.zoom), QStringLiteral("--depth"), QStringLiteral("c24"),
               QStringLiteral("-o"), placed});
    ASSERT_EQ(finishProcess(cli, 60000).code, 0);
    SkinImage written;
    ASSERT_TRUE(readSkinFile(doc.programFiles(), doc.workFolder(), placed, written).ok());
    EXPECT_EQ(cutOutPicture(exported, 1, Contacts), cutOutPicture(written.sheet, 1, Contacts));
}

TEST_F(ProjectWindowTest, TheLegibilityDockListsEverySizeAndChoosingARowShowsItsSize)
{
    SkinDocument &doc = form->document();
    newProject(2);  // 240x320
    LegibilityDock &dock = *ui(*form)->legibilityDock;
    EXPECT_FALSE(dock.allSizesBox()->isHidden());
    dock.allSizesBox()->setChecked(true);
    settleAllSizes();
    QTreeWidget *list = dock.list();
    const auto listed = [list] {
        QStringList sizes;
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            sizes << list->topLevelItem(row)->text(1) + u' ' + list->topLevelItem(row)->text(4);
        return sizes;
    };
    const QStringList before = listed();
    // A pale outgoing message on the white chat reads badly at every size.
    const QRgb colour = doc.colourSlot(0);
    ASSERT_TRUE(doc.setColourSlot(0, qRgb(235, 235, 235)).ok());
    const int shownFailing = dock.failingCount();
    ASSERT_GT(shownFailing, 0);
    settleAllSizes();
    ASSERT_EQ(list->topLevelItemCount(), 6);
    int other = -1;
    for (int row = 0; row < 6; ++row) {
        const QTreeWidgetItem *size = list->topLevelItem(row);
        EXPECT_EQ(size->text(1), profileByIndex(row + 1)->labelText());
        if (row + 1 == doc.profile())
            EXPECT_EQ(size->text(4).toInt(), shownFailing);
        else
            other = row;
    }

    // A text at another size: "Размер" follows, the size's own measure agrees
    // with the list and the text is framed on the preview.
    const QTreeWidgetItem *size = list->topLevelItem(other);
    const int otherProfile = other + 1, count = size->text(4).toInt();
    // A colour's row: the size's worst text.
    list->setCurrentItem(size->child(0));
    const QString row = size->child(0)->text(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(doc.profile(), otherProfile);
    EXPECT_EQ(ui(*form)->sizeChoice->currentIndex(), other);
    EXPECT_EQ(dock.failingCount(), count);
    const design::TextLegibility chosen = dock.sizeMeasure(otherProfile)->texts[size_t(dock.currentText())];
    EXPECT_EQ(ui(*form).legibilityOutline(), chosen.ink);
    EXPECT_LT(chosen.contrast, dock.minContrast());
    // The list, measured again after the switch, keeps that row chosen.
    settleAllSizes();
    ASSERT_NE(list->currentItem(), nullptr);
    ASSERT_NE(list->currentItem()->parent(), nullptr);
    EXPECT_EQ(list->currentItem()->text(1), row);
    EXPECT_EQ(list->currentItem()->parent()->text(1), profileByIndex(otherProfile)->labelText());
    // A colour's row asked for by the window (the banner) is the one of the size shown.
    ASSERT_TRUE(dock.chooseSlot(0));
    QCoreApplication::processEvents();
    EXPECT_EQ(doc.profile(), otherProfile);
    EXPECT_EQ(list->currentItem()->parent()->text(1), profileByIndex(otherProfile)->labelText());

    // The colour as it was: every size as it was.
    ASSERT_TRUE(doc.setColourSlot(0, colour).ok());
    settleAllSizes();
    EXPECT_EQ(listed(), before);

    // A skin file on its own has one size only.
    askAnswer = 1;  // not saved
    load(programFile(QStringLiteral("skn/240x320.mbm")));
    EXPECT_TRUE(dock.allSizesBox()->isHidden());
    EXPECT_FALSE(dock.allSizes());
}

TEST_F(ProjectWindowTest, ShowingAnotherSizeIsNoChangeAcrossUndoAndSave)
{
    SkinDocument &doc = form->document();
    newProject(2, QStringLiteral("Размеры"));  // 240x320
    QUndoStack *history = doc.undoStack();
    int size = 3;
    const struct {
        const char *step;
        bool modified;
    } steps[] = {
        {"switch", false}, {"edit", true},  {"undo", false}, {"undo", false}, {"redo", false}, {"redo", true},
        {"save", false},   {"switch", false}, {"undo", false}, {"undo", true}, {"redo", false}, {"redo", false},
    };
    int n = 0;
    for (const auto &[step, modified] : steps) {
        const std::string what = std::to_string(++n) + ' ' + step;
        if (std::string_view(step) == "switch")
            ui(*form).sizeChoiceClick(size = size % 6 + 1);
        else if (std::string_view(step) == "edit")
            ASSERT_TRUE(doc.setColourSlot(0, qRgb(n * 20, 0, 0)).ok());
        else if (std::string_view(step) == "undo")
            history->undo();
        else if (std::string_view(step) == "redo")
            history->redo();
        else
            ASSERT_TRUE(ui(*form).N6Click()) << what;
        ASSERT_EQ(errors, QStringList()) << what;
        EXPECT_EQ(doc.isModified(), modified) << what;
        EXPECT_EQ(form->isWindowModified(), modified) << what;
        EXPECT_EQ(ui(*form)->modifiedField->text(), modified ? QStringLiteral("Изменён") : QStringLiteral("Сохранён"))
            << what;
    }
}

TEST_F(ProjectWindowTest, TheExportChoicesBecomeTheProjectsAndSaveKeepsThem)
{
    SkinDocument &doc = form->document();
    newProject(0, QStringLiteral("Выбор"));  // 176x208
    const ExportSettings defaults = project().exporting;
    exportFolder = scratchFile(QStringLiteral("выбор"));
    exportDepth = QStringLiteral("/c8");
    ExportSettings chosen = defaults;
    chosen.profiles = {1, 3};
    chosen.depthOption = exportDepth;
    chosen.smooth = true;
    exportChoice = chosen;
    ui(*form).exportSkinsClick();
    ASSERT_EQ(errors, QStringList());
    EXPECT_EQ(exported(), (QStringList{QStringLiteral("extskin_176x208_Выбор.mbm"),
                                       QStringLiteral("extskin_240x320_Выбор.mbm")}));
    EXPECT_EQ(project().exporting, chosen);
    EXPECT_TRUE(doc.isModified());

    // The next dialog starts from them; the same choices again are no new step.
    const int steps = doc.undoStack()->count();
    askAnswer = 0;  // replace
    ui(*form).exportSkinsClick();
    EXPECT_EQ(exportOffered.profiles, chosen.profiles);
    EXPECT_EQ(exportOffered.depthOption, chosen.depthOption);
    EXPECT_EQ(exportOffered.smooth, chosen.smooth);
    EXPECT_EQ(doc.undoStack()->count(), steps);

    // Save keeps them; undo gives the former ones back.
    ASSERT_TRUE(ui(*form).N6Click());
    SkinProject saved;
    QStringList notices;
    ASSERT_TRUE(readProjectFile(doc.filePath(), saved, notices));
    EXPECT_EQ(saved.exporting, chosen);
    // The command line exports the saved file with them, byte for byte what the window wrote.
    QProcess cli;
    const QString cliFolder = scratchFile(QStringLiteral("cli-выбор"));
    cli.start(QDir(programFolder()).filePath(QStringLiteral("zelkor-skin")),
              {QStringLiteral("export"), doc.filePath(), QStringLiteral("-o"), cliFolder});
    ASSERT_EQ(finishProcess(cli, 60000).code, 0);
    EXPECT_EQ(QDir(cliFolder).entryList(QDir::Files, QDir::Name), exported());
    for (const QString &name : exported())
        EXPECT_EQ(fileBytes(QDir(exportFolder).filePath(name)), fileBytes(QDir(cliFolder).filePath(name)))
            << name.toStdString();
    doc.undoStack()->undo();
    EXPECT_EQ(project().exporting, defaults);
    EXPECT_TRUE(doc.isModified());
}

} // namespace
