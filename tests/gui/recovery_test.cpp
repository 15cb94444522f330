// What a killed, crashed or signalled editor leaves: a recovery copy of the
// modified skin (offered once at the next start), and nothing else; and the
// author told once when the settings cannot be kept.
#include "filesfixture.h"

#include "skin/profiles.h"
#include "desktop/recovery.h"
#include "project/projectfile.h"
#include "project/projectsession.h"
#include "testsupport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QThread>
#include <QUndoStack>

#include <csignal>
#include <functional>

#include <sys/stat.h>
#include <sys/types.h>

using namespace zelkor;
using namespace zelkor::test;

namespace {

bool waitFor(const std::function<bool()> &done, int ms = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return done();
}

class RecoveryTest : public FilesTest {
protected:
    QString copies() const { return QDir(tmp.path()).filePath(QStringLiteral("копии")); }
    QString copyOf(const char *instance, const char *suffix = ".png") const
    {
        return QDir(copies()).filePath(QString::fromLatin1(instance) + QString::fromLatin1(suffix));
    }
    std::unique_ptr<TForm1> start(const char *instance)
    {
        auto window = std::make_unique<TForm1>(programFilesIn(folder), work);
        window->keepRecoveryCopies(copies(), QString::fromLatin1(instance));
        return window;
    }
};

TEST_F(RecoveryTest, ACopyOutlivesOnlyACrashAndComesBackWhole)
{
    NEED_DATA(3);
    const QString skin = scratchFile(QStringLiteral("мой скин.mbm"));
    ASSERT_TRUE(QFile::copy(programFile(QStringLiteral("skn/240x320.mbm")), skin));
    load(skin);
    ASSERT_TRUE(form->document().saveTo(skin, QStringLiteral("/c16"), IfExists::Replace));
    const struct {
        const char *ending;
        std::function<void()> act;
        bool copyLeft;
    } cases[] = {
        {"a crash", [] {}, true},
        {"a clean save", [&] { EXPECT_TRUE(ui(*form).N6Click()); }, false},
        {"New, not saved", [&] { askAnswer = 1, newSkin(3); }, false},
        {"Load, not saved", [&] { askAnswer = 1, load(skin); }, false},
        {"an undo to the saved state", [&] { form->document().undoStack()->undo(); }, false},
    };
    int round = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.ending);
        form = start("instance-a");
        load(skin);
        ASSERT_TRUE(form->document().setColourSlot(0, qRgb(200, 40 * ++round, 8)));
        const QImage changed = form->document().sheet();
        EXPECT_FALSE(QFileInfo::exists(copyOf("instance-a")));  // not before a few seconds have passed
        if (round == 1)
            EXPECT_TRUE(waitFor([&] { return QFileInfo::exists(copyOf("instance-a")); }));
        else
            ASSERT_TRUE(ui(*form)->recovery->writeNow());
        c.act();
        EXPECT_EQ(QFileInfo::exists(copyOf("instance-a")), c.copyLeft);
        ui(*form)->recovery->keep();  // ends as a killed editor would: nothing removed
        form = start("instance-b");
        asked.clear();
        askAnswer = 0;
        EXPECT_EQ(form->offerRecovery(), c.copyLeft);
        EXPECT_EQ(asked, c.copyLeft ? QStringList{QStringLiteral("Восстановить несохранённый скин?")} : QStringList());
        if (!c.copyLeft)
            continue;
        const SkinDocument &doc = form->document();
        EXPECT_EQ(doc.sheet(), changed);
        EXPECT_EQ(doc.filePath(), skin);
        EXPECT_TRUE(doc.hasOwnFile());
        EXPECT_EQ(doc.fileDepth(), QStringLiteral("/c16"));
        EXPECT_TRUE(doc.isModified());
        EXPECT_FALSE(QFileInfo::exists(copyOf("instance-a")));
        EXPECT_TRUE(QFileInfo::exists(copyOf("instance-b")));  // the restored skin is this editor's now
    }
    EXPECT_EQ(errors, QStringList());

    // "Нет" removes the copy of an ended editor; a running editor's copy is never offered.
    const Profile *p = profileByIndex(3);
    std::unique_ptr<TForm1> editors[2] = {start("instance-ended"), start("instance-running")};
    for (auto &editor : editors) {
        ASSERT_TRUE(editor->document().adoptUnsaved(coordinateSheet(p->screenWidth, p->layoutRows), QStringLiteral("a.mbm")));
        ASSERT_TRUE(ui(*editor)->recovery->writeNow());
    }
    ui(*editors[0])->recovery->keep();
    editors[0].reset();
    // Neither a link nor a pipe planted among the copies is offered.
    ASSERT_TRUE(QFile::link(scratchFile(QStringLiteral("мой скин.mbm")), copyOf("instance-link")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(copyOf("instance-pipe")).constData(), 0600), 0);
    asked.clear();
    askAnswer = 1;
    form = start("instance-new");
    EXPECT_FALSE(form->offerRecovery());
    EXPECT_FALSE(form->offerRecovery());
    EXPECT_EQ(asked.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(copyOf("instance-ended")));
    EXPECT_TRUE(QFileInfo::exists(copyOf("instance-running")));
    EXPECT_FALSE(form->document().hasSkin());

    // A copy that cannot be read is said so and removed, not offered at every start.
    QFile junk(copyOf("instance-junk"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write("no picture") > 0);
    junk.close();
    errors.clear();
    askAnswer = 0;
    form = start("instance-after");
    EXPECT_FALSE(form->offerRecovery());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.front().contains(QStringLiteral("удалена"))) << errors.front().toStdString();
    EXPECT_FALSE(QFileInfo::exists(junk.fileName()));
}

TEST_F(RecoveryTest, AProjectsCopyBringsBackTheWholeProject)
{
    for (const Profile &p : allProfiles())
        if (!haveData(p.index))
            GTEST_SKIP() << "bmconv or the data of profile " << p.index << " are missing";
    form = start("instance-p");
    newSkin(3);
    QImage photo(300, 200, QImage::Format_RGB32);
    photo.fill(qRgb(30, 120, 60));
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && photo.save(&buffer, "png"));
    SkinProject made = projectFromTemplate(3, form->document().sheet(), QStringLiteral("Лес"));
    made.setPictureFile(0, png, {});
    const QString file = scratchFile(QStringLiteral("Лес.zskin"));
    ASSERT_TRUE(writeProjectFile(file, made, photo, IfExists::Refuse));
    ASSERT_TRUE(form->loadSkinFile(file));

    // Another size shown is no change and leaves no copy; an edit does.
    ui(*form).sizeChoiceClick(1);
    ASSERT_TRUE(ui(*form)->recovery->writeNow());
    EXPECT_FALSE(QFileInfo::exists(copyOf("instance-p")));
    ASSERT_TRUE(form->document().setColourSlot(2, qRgb(9, 8, 7)));
    ASSERT_TRUE(ui(*form)->recovery->writeNow());
    EXPECT_TRUE(QFileInfo::exists(copyOf("instance-p", ".zskin")));
    const QByteArray json = projectJson(ui(*form)->project->project());
    ui(*form)->recovery->keep();

    // A companion whose editor ended before writing its copy goes at the next start.
    ASSERT_TRUE(QFile::copy(file, copyOf("instance-gone", ".zskin")));
    form = start("instance-q");
    EXPECT_FALSE(QFileInfo::exists(copyOf("instance-gone", ".zskin")));
    asked.clear();
    askAnswer = 0;
    ASSERT_TRUE(form->offerRecovery());
    EXPECT_EQ(asked, QStringList{QStringLiteral("Восстановить несохранённый проект?")});
    ASSERT_TRUE(ui(*form)->project);
    EXPECT_EQ(projectJson(ui(*form)->project->project()), json);
    EXPECT_EQ(ui(*form)->project->project().pictureFiles.begin()->second, png);
    EXPECT_EQ(form->document().profile(), 1);
    EXPECT_EQ(form->document().colourSlot(2), qRgb(9, 8, 7));
    EXPECT_EQ(form->document().filePath(), file);
    EXPECT_TRUE(form->document().isModified());
    EXPECT_FALSE(QFileInfo::exists(copyOf("instance-p")) || QFileInfo::exists(copyOf("instance-p", ".zskin")));
    EXPECT_TRUE(QFileInfo::exists(copyOf("instance-q")) && QFileInfo::exists(copyOf("instance-q", ".zskin")));
    // Saved, it is the project file again.
    ASSERT_TRUE(ui(*form).N6Click());
    SkinProject reread;
    QStringList notices;
    ASSERT_TRUE(readProjectFile(file, reread, notices));
    EXPECT_EQ(projectJson(reread), json);

    // A skin file after it has a copy of its own, without a project beside it.
    load(programFile(QStringLiteral("skn/240x320.mbm")));
    ASSERT_TRUE(form->document().setColourSlot(2, qRgb(9, 8, 7)));
    ASSERT_TRUE(ui(*form)->recovery->writeNow());
    EXPECT_TRUE(QFileInfo::exists(copyOf("instance-q")));
    EXPECT_FALSE(QFileInfo::exists(copyOf("instance-q", ".zskin")));
    EXPECT_EQ(errors, QStringList());
}

TEST_F(RecoveryTest, UnwritableSettingsAreReportedOncePerRun)
{
    const QString settingsFile = QSettings().fileName();
    for (const bool blocked : {true, false}) {
        QFile::remove(settingsFile);
        QDir(settingsFile).removeRecursively();
        if (blocked)  // the settings file a folder
            ASSERT_TRUE(QDir().mkpath(settingsFile));
        warnings.clear();
        form.reset();
        form = start("instance-s");
        form->reportUnwritableSettings();
        form->reportUnwritableSettings();
        ASSERT_EQ(warnings.size(), blocked ? 1 : 0) << warnings.join(u'\n').toStdString();
        if (blocked)
            EXPECT_TRUE(warnings.front().contains(QDir::toNativeSeparators(settingsFile)));
    }
}

// The real editor, told to quit by a signal (at rest, or with the question
// about a copy open), leaves no work folder, keeps its window state and keeps
// an unanswered copy; a killed one leaves its folder to the next start.
TEST(EditorProcess, SignalsQuitThroughTheEditorsOwnWayOut)
{
    const QString editor = QDir(programFolder()).filePath(QStringLiteral("zelkor-skin-editor"));
    ASSERT_TRUE(QFileInfo(editor).isExecutable()) << editor.toStdString();
    QTemporaryDir home;
    const QDir root(home.path());
    const QDir work(root.filePath(QStringLiteral("cache/zelkor-skin-editor")));
    const QString copy = root.filePath(QStringLiteral("data/Zelkor/Zelkor Skin Editor/recovery/instance-old.png"));
    const QString settingsFile = root.filePath(QStringLiteral("config/Zelkor/Zelkor Skin Editor.conf"));
    const Profile *p = profileByIndex(3);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(copy).path()));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home.path());
    for (const char *name : {"cache", "data", "config"})
        env.insert(QStringLiteral("XDG_%1_HOME").arg(QString::fromLatin1(name).toUpper()), root.filePath(QString::fromLatin1(name)));

    enum Plant { Nothing, SettingsPipe, SettingsReadOnly, CopiesFolderAFile };
    const struct {
        int signal;
        bool copyPlanted;  // the question about it is open when the signal comes
        Plant plant = Nothing;
    } cases[] = {{SIGTERM, false}, {SIGINT, false}, {SIGHUP, true}, {SIGKILL, true}, {SIGTERM, true},
                 // The settings a pipe (which would block) or read-only (which must stay as it is).
                 {SIGTERM, false, SettingsPipe}, {SIGTERM, false, SettingsReadOnly},
                 // A warning of the start open when the signal comes.
                 {SIGTERM, false, CopiesFolderAFile}};
    const QByteArray readOnlySettings = "[window]\nmaximized=false\n";
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << "signal " << c.signal << (c.copyPlanted ? " at the question" : "")
                                          << " plant " << c.plant);
        if (c.copyPlanted && !QFileInfo::exists(copy))
            ASSERT_TRUE(writeRecoveryFile(copy, {coordinateSheet(p->screenWidth, p->layoutRows), 3}));
        if (!c.copyPlanted)
            QFile::remove(copy);
        QFile::remove(settingsFile);
        QDir().mkpath(QFileInfo(settingsFile).path());
        if (c.plant == SettingsPipe)
            ASSERT_EQ(::mkfifo(QFile::encodeName(settingsFile).constData(), 0600), 0);
        if (c.plant == SettingsReadOnly) {
            QFile f(settingsFile);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(readOnlySettings) > 0);
            f.close();
            ASSERT_TRUE(f.setPermissions(QFile::ReadOwner));
        }
        const QString copies = QFileInfo(copy).path();
        if (c.plant == CopiesFolderAFile) {
            QDir(copies).removeRecursively();
            QFile f(copies);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(editor, {});
        ASSERT_TRUE(process.waitForStarted());
        const QString pid = QString::number(process.processId());
        // Up: its work folder is locked, and a planted copy is claimed for the question.
        const QString claim = QFileInfo(copy).path() + QStringLiteral("/instance-old.lock");
        EXPECT_TRUE(waitFor([&] {
            QFile lock(c.copyPlanted ? claim : QString());
            return c.copyPlanted ? lock.open(QIODevice::ReadOnly) && lock.readLine().trimmed() == pid
                                 : !work.entryList({QStringLiteral("instance-*")}, QDir::Dirs).isEmpty();
        }));
        if (c.plant == CopiesFolderAFile)
            QThread::msleep(500);  // its warning up
        ::kill(pid_t(process.processId()), c.signal);
        ASSERT_TRUE(process.waitForFinished(20000));
        const bool killed = c.signal == SIGKILL;
        EXPECT_EQ(process.exitStatus(), killed ? QProcess::CrashExit : QProcess::NormalExit);
        if (!killed) {
            EXPECT_EQ(process.exitCode(), 0);
            if (c.plant == Nothing)
                EXPECT_TRUE(QSettings(settingsFile, QSettings::IniFormat).contains(QStringLiteral("window/geometry")));
            EXPECT_FALSE(QFileInfo::exists(claim));
        }
        EXPECT_EQ(work.entryList({QStringLiteral("instance-*")}, QDir::Dirs).size(), killed ? 1 : 0);
        EXPECT_EQ(QFileInfo::exists(copy), c.copyPlanted);
        struct stat st {};
        ::lstat(QFile::encodeName(settingsFile).constData(), &st);
        if (c.plant == SettingsPipe)
            EXPECT_TRUE(S_ISFIFO(st.st_mode));
        if (c.plant == SettingsReadOnly) {
            EXPECT_EQ(st.st_mode & 07777, 0400u);
            EXPECT_EQ(fileBytes(settingsFile), readOnlySettings);
            QFile::setPermissions(settingsFile, QFile::ReadOwner | QFile::WriteOwner);
        }
        if (c.plant == CopiesFolderAFile) {
            QFile::remove(copies);
            QDir().mkpath(copies);
        }
    }
}

} // namespace
