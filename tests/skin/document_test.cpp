// The skin document without any window: every failing step leaves it exactly
// as it was, edits are undone to the exact pixels, and its scratch files stay
// in its own work folder.
#include "editing/picturefiles.h"
#include "editing/workingfilewatcher.h"
#include "skin/converter.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "desktop/recovery.h"
#include "desktop/workfolder.h"
#include "testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QSysInfo>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>

#include <ctime>
#include <sys/time.h>

using namespace zelkor;
using namespace zelkor::test;

namespace {

// A program folder of the test's own whose converter is a shell script, with
// a phone-less copy of the real templates.
class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        root = QDir(tmp.path());
        ASSERT_TRUE(root.mkpath(QStringLiteral("программа/skn")));
        files = programFilesIn(root.filePath(QStringLiteral("программа")));
        doc = std::make_unique<SkinDocument>(files, root.filePath(QStringLiteral("работа")));
    }

    bool haveRealConverter() const { return QFileInfo(converterPath(programFolder())).isExecutable(); }
    void useRealConverter() { ASSERT_TRUE(QFile::link(converterPath(programFolder()), files.converter)); }
    void fakeConverter(const QByteArray &body)
    {
        QFile::remove(files.converter);
        QFile f(files.converter);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + body + "\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // A fake unpacker that hands out this file as the unpacked sheet.
    void unpackerGiving(const QByteArray &bitmap)
    {
        const QString given = root.filePath(QStringLiteral("given.bmp"));
        QFile f(given);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bitmap);
        f.close();
        fakeConverter("cp '" + given.toUtf8() + "' \"$4\"");
    }
    static QByteArray bmp(const QImage &image)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        return bytes;
    }
    QString userFile(const QString &name) const { return root.filePath(name); }
    void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    struct State {
        QImage sheet;
        int profile;
        QSize screen;
        QString file;
        bool modified;
        int steps;
    };
    State state() const
    {
        return {doc->sheet().copy(), doc->profile(), doc->screenSize(), doc->filePath(), doc->isModified(),
                doc->undoStack()->count()};
    }
    void expectSame(const State &a) const
    {
        const State b = state();
        EXPECT_EQ(b.sheet, a.sheet);
        EXPECT_EQ(b.profile, a.profile);
        EXPECT_EQ(b.screen, a.screen);
        EXPECT_EQ(b.file, a.file);
        EXPECT_EQ(b.modified, a.modified);
        EXPECT_EQ(b.steps, a.steps);
    }
    // A modified skin of profile 6 with one colour step, through a fake unpacker.
    void openModifiedSkin()
    {
        unpackerGiving(bmp(coordinateSheet(416, 962)));
        writeFile(userFile(QStringLiteral("мой.mbm")), "x");
        ASSERT_TRUE(doc->load(userFile(QStringLiteral("мой.mbm"))));
        ASSERT_TRUE(doc->setColourSlot(3, qRgb(9, 8, 7)));
    }

    QTemporaryDir tmp;
    QDir root;
    ProgramFiles files;
    std::unique_ptr<SkinDocument> doc;
};

enum Command { New, Load, Save };

struct Failure {
    const char *name;
    QByteArray script;  // empty: no converter at all
    int commands;       // bit per Command it applies to
    const char *mentions;
};

QByteArray bigBitmapHeader()
{
    // A bitmap header that claims 12000 x 12000 pixels and holds nothing.
    QByteArray h("BM", 2);
    auto put32 = [&](quint32 v) { h.append(reinterpret_cast<const char *>(&v), 4); };
    auto put16 = [&](quint16 v) { h.append(reinterpret_cast<const char *>(&v), 2); };
    put32(54 + 3u * 12000 * 12000), put32(0), put32(54);
    put32(40), put32(12000), put32(12000), put16(1), put16(24), put32(0), put32(0), put32(0), put32(0), put32(0),
        put32(0);
    return h;
}

const Failure kFailures[] = {
    {"no_converter", {}, 7, "не найден"},
    {"converter_fails", "echo 'bmconv: bad source file' >&2; exit 4", 7, "повреждён"},
    {"no_output", "exit 0", 7, "не создал"},
    {"unreadable_output", "echo junk > \"$4\"", 3, "Не удаётся прочитать"},
    {"unknown_width", "", 3, "300 точек"},
    {"bomb", "", 3, "12000 x 12000"},
};

std::vector<std::tuple<Command, Failure>> applicableFailures()
{
    std::vector<std::tuple<Command, Failure>> cases;
    for (Command c : {New, Load, Save})
        for (const Failure &f : kFailures)
            if (f.commands & (1 << c))
                cases.emplace_back(c, f);
    return cases;
}

std::string failureName(const ::testing::TestParamInfo<std::tuple<Command, Failure>> &info)
{
    static const char *const names[] = {"New", "Load", "Save"};
    return std::string(names[std::get<0>(info.param)]) + "_" + std::get<1>(info.param).name;
}

class DocumentFailureTest : public DocumentTest,
                            public ::testing::WithParamInterface<std::tuple<Command, Failure>> {};

TEST_P(DocumentFailureTest, LeavesTheDocumentExactlyAsItWas)
{
    const auto [command, f] = GetParam();
    writeFile(files.dataPath(QStringLiteral("skn/240x320.mbm")), "template");
    openModifiedSkin();
    const State before = state();
    if (QByteArrayView(f.name) == "unknown_width")
        unpackerGiving(bmp(coordinateSheet(300, 700)));
    else if (QByteArrayView(f.name) == "bomb")
        unpackerGiving(bigBitmapHeader());
    else
        fakeConverter(f.script);
    if (f.script.isEmpty() && QByteArrayView(f.name) == "no_converter")
        QFile::remove(files.converter);

    Status s;
    if (command == New)
        s = doc->newFromTemplate(3);
    else if (command == Load)
        s = doc->load(userFile(QStringLiteral("мой.mbm")));
    else
        s = doc->save(userFile(QStringLiteral("копия")), QStringLiteral("/c24"));
    EXPECT_EQ(s.code, Status::Failed);
    EXPECT_TRUE((s.message + s.details).contains(QString::fromUtf8(f.mentions)))
        << s.message.toStdString() << " / " << s.details.toStdString();
    const QString named = command == New ? QStringLiteral("240x320.mbm")
                          : command == Load ? QStringLiteral("мой.mbm")
                                            : QStringLiteral("extskin_416x352_копия.mbm");
    EXPECT_TRUE(s.message.contains(named)) << s.message.toStdString();
    expectSame(before);
    EXPECT_FALSE(QFileInfo::exists(userFile(QStringLiteral("extskin_416x352_копия.mbm"))));
    // No scratch file outlives the step.
    EXPECT_EQ(QDir(doc->workFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Steps, DocumentFailureTest,
                         ::testing::ValuesIn(applicableFailures()),
                         failureName);

TEST_F(DocumentTest, UndoAndRedoRestoreExactPixelsAndTheModifiedState)
{
    unpackerGiving(bmp(coordinateSheet(240, 740)));
    writeFile(userFile(QStringLiteral("a.mbm")), "x");
    ASSERT_TRUE(doc->load(userFile(QStringLiteral("a.mbm"))));
    EXPECT_FALSE(doc->isModified());
    const QImage original = doc->sheet().copy();

    ASSERT_TRUE(doc->setColourSlot(7, qRgb(1, 2, 3)));
    QImage picture(500, 10, QImage::Format_RGB32);  // wider than the picture: clipped
    picture.fill(qRgb(200, 100, 50));
    ASSERT_TRUE(doc->writeBackPicture(Select2, picture));
    const QImage edited = doc->sheet().copy();
    EXPECT_EQ(doc->colourSlot(7), qRgb(1, 2, 3));
    EXPECT_EQ(doc->sheet().pixel(119, 344), qRgb(200, 100, 50));
    EXPECT_EQ(doc->sheet().pixel(120, 344), original.pixel(120, 344));  // beyond select2: untouched
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->undoStack()->count(), 2);

    doc->undoStack()->undo();
    doc->undoStack()->undo();
    EXPECT_EQ(doc->sheet(), original);
    EXPECT_FALSE(doc->isModified());
    doc->undoStack()->redo();
    doc->undoStack()->redo();
    EXPECT_EQ(doc->sheet(), edited);

    // Load starts a fresh history.
    ASSERT_TRUE(doc->load(userFile(QStringLiteral("a.mbm"))));
    EXPECT_EQ(doc->undoStack()->count(), 0);
    EXPECT_FALSE(doc->isModified());
}

TEST_F(DocumentTest, SaveLoadAndNewThroughTheRealConverterLeaveTheProgramFolderAlone)
{
    if (!haveRealConverter() || !QFileInfo::exists(QDir(programFolder()).filePath(QStringLiteral("skn/176x208.mbm"))))
        GTEST_SKIP() << "bmconv or the templates are missing from " << programFolder().toStdString();
    useRealConverter();
    ASSERT_TRUE(QFile::copy(QDir(programFolder()).filePath(QStringLiteral("skn/176x208.mbm")),
                            files.dataPath(QStringLiteral("skn/176x208.mbm"))));
    const QDir program(files.dataFolder);
    const QStringList before = program.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QFile::setPermissions(files.dataFolder, QFile::ReadOwner | QFile::ExeOwner);

    ASSERT_TRUE(doc->newFromTemplate(1));
    EXPECT_EQ(doc->displayName(), QStringLiteral("176x208.mbm"));
    WorkingFileWatcher watcher(*doc);
    watcher.follow(Chat);
    ASSERT_TRUE(doc->setColourSlot(0, qRgb(10, 20, 30)));
    QString saved;
    const Status s = doc->save(userFile(QStringLiteral("с пробелом")), QStringLiteral("/c16"), &saved);
    ASSERT_TRUE(s) << s.message.toStdString();
    EXPECT_EQ(saved, userFile(QStringLiteral("extskin_176x208_с пробелом.mbm")));
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(doc->displayName(), QStringLiteral("extskin_176x208_с пробелом.mbm"));
    // Saving keeps the skin, so the image editor is still followed.
    EXPECT_TRUE(watcher.isFollowing(Chat));
    // An ordinary file, as any other the user makes there.
    writeFile(userFile(QStringLiteral("ordinary")), "x");
    EXPECT_EQ(QFileInfo(saved).permissions(), QFileInfo(userFile(QStringLiteral("ordinary"))).permissions());
    // Never over an existing file.
    EXPECT_EQ(doc->save(userFile(QStringLiteral("с пробелом")), {}).code, Status::Failed);
    ASSERT_TRUE(doc->load(saved));
    EXPECT_EQ(doc->profile(), 1);
    EXPECT_FALSE(watcher.isFollowing(Chat));
    // A cut-out goes to the work folder too.
    QString error;
    ASSERT_TRUE(writeWorkingFile(cutOutPicture(doc->sheet(), 1, Chat), workingFilePath(doc->workFolder(), Chat), error))
        << error.toStdString();

    QFile::setPermissions(files.dataFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(program.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

// Save replaces only the file the document saw: one that another program
// wrote since (even at the same size), or one it never saw (a skin restored
// from a recovery copy), is told apart; a file gone is nothing to lose.
TEST_F(DocumentTest, TheOwnFileChangedOnDiskIsToldApart)
{
    if (!haveRealConverter() || !QFileInfo::exists(QDir(programFolder()).filePath(QStringLiteral("skn/176x208.mbm"))))
        GTEST_SKIP() << "bmconv or the templates are missing from " << programFolder().toStdString();
    useRealConverter();
    const QString skin = userFile(QStringLiteral("свой.mbm"));
    const QString source = QDir(programFolder()).filePath(QStringLiteral("skn/176x208.mbm"));
    ASSERT_TRUE(QFile::copy(source, skin));
    const auto touch = [&](qint64 seconds) {
        QFile f(skin);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite) &&
                    f.setFileTime(QFileInfo(skin).lastModified().addSecs(seconds), QFileDevice::FileModificationTime));
    };
    const struct {
        const char *step;
        std::function<void()> act;
        bool changed;
    } cases[] = {
        {"just loaded", [&] { ASSERT_TRUE(doc->load(skin)); }, false},
        {"written by another program", [&] { writeFile(skin, fileBytes(source) + "x"); }, true},
        {"saved over", [&] { ASSERT_TRUE(doc->saveTo(skin, QStringLiteral("/c24"), IfExists::Replace)); }, false},
        {"same size, another time", [&] { touch(2); }, true},
        {"loaded again", [&] { ASSERT_TRUE(doc->load(skin)); }, false},
        {"removed", [&] { QFile::remove(skin); }, false},
        {"restored from a copy", [&] {
             ASSERT_TRUE(QFile::copy(source, skin));
             ASSERT_TRUE(adoptRecoveredSkin(*doc, {doc->sheet(), 1, skin, {}, true}));
         }, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.step);
        c.act();
        EXPECT_EQ(doc->ownFileChangedOnDisk(), c.changed);
    }
}

// A file system that is full: a tiny tmpfs, which only root may mount.
class FullDisk {
public:
    explicit FullDisk(const QString &path) : m_path(path)
    {
        QDir().mkpath(path);
        m_mounted = QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                                QStringLiteral("-o"), QStringLiteral("size=16k"),
                                                                QStringLiteral("tmpfs"), path}) == 0;
    }
    ~FullDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_path});
    }
    bool mounted() const { return m_mounted; }

private:
    QString m_path;
    bool m_mounted = false;
};

TEST_F(DocumentTest, SaveOnAFullDiskNamesTheCauseAndLeavesNothing)
{
    if (!haveRealConverter() || !QFileInfo::exists(QDir(programFolder()).filePath(QStringLiteral("skn/416x352.mbm"))))
        GTEST_SKIP() << "bmconv or the templates are missing from " << programFolder().toStdString();
    const FullDisk disk(userFile(QStringLiteral("полный диск")));
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    useRealConverter();
    ASSERT_TRUE(QFile::copy(QDir(programFolder()).filePath(QStringLiteral("skn/416x352.mbm")),
                            files.dataPath(QStringLiteral("skn/416x352.mbm"))));
    ASSERT_TRUE(doc->newFromTemplate(6));
    const Status s = doc->save(userFile(QStringLiteral("полный диск/скин")), QStringLiteral("/c24"));
    EXPECT_EQ(s.code, Status::Failed);
    EXPECT_TRUE(s.message.contains(QStringLiteral("нет места на диске"))) << s.message.toStdString();
    EXPECT_EQ(QDir(userFile(QStringLiteral("полный диск"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
}

TEST(WorkFolderTest, OnePerInstanceAndLeftoversOfACrashAreRemoved)
{
    QTemporaryDir base;
    // A folder left by a run that is gone: its lock names a process that does not exist.
    const QString stale = QDir(base.path()).filePath(QStringLiteral("instance-dead01"));
    ASSERT_TRUE(QDir().mkpath(stale));
    {
        QFile lock(QDir(stale).filePath(QStringLiteral(".lock")));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write("999999999\nzelkor-skin-editor\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    }
    QString firstPath;
    {
        const WorkFolder first(base.path());
        const WorkFolder second(base.path());
        ASSERT_TRUE(first.isValid() && second.isValid());
        EXPECT_NE(first.path(), second.path());
        EXPECT_FALSE(QFileInfo::exists(stale));
        // A third start keeps the folders of the two that still run.
        const WorkFolder third(base.path());
        EXPECT_TRUE(QFileInfo::exists(first.path()) && QFileInfo::exists(second.path()));
        firstPath = first.path();
    }
    EXPECT_FALSE(QFileInfo::exists(firstPath));
}

// Where the work folders go and what a start never touches: a relative
// XDG_CACHE_HOME is ignored, a missing home is not created, and a link
// planted under an instance's name is removed while its target stays whole.
TEST(WorkFolderTest, CacheFolderByTheXdgRulesAndPlantedLinksNeverFollowed)
{
    QTemporaryDir tmp;
    const QDir t(tmp.path());
    const QString home = t.filePath(QStringLiteral("дом")), missing = t.filePath(QStringLiteral("нет дома"));
    ASSERT_TRUE(QDir().mkpath(home));
    const QByteArray savedHome = qgetenv("HOME"), savedCache = qgetenv("XDG_CACHE_HOME");
    const QString ours = QStringLiteral("/zelkor-skin-editor");
    struct Case {
        QString home, cache, base;
    };
    const Case cases[] = {
        {home, t.filePath(QStringLiteral("кэш")), t.filePath(QStringLiteral("кэш")) + ours},
        {home, QStringLiteral("relative"), home + QStringLiteral("/.cache") + ours},
        {missing, QString(), QDir::tempPath() + ours},
        {missing, QStringLiteral("relative"), QDir::tempPath() + ours},
    };
    for (const Case &c : cases) {
        qputenv("HOME", c.home.toLocal8Bit());
        qputenv("XDG_CACHE_HOME", c.cache.toLocal8Bit());
        EXPECT_EQ(WorkFolder::defaultBase(), c.base) << c.home.toStdString() << " " << c.cache.toStdString();
    }
    qputenv("HOME", savedHome);
    savedCache.isNull() ? qunsetenv("XDG_CACHE_HOME") : qputenv("XDG_CACHE_HOME", savedCache);
    EXPECT_FALSE(QFileInfo::exists(missing));

    // A folder of the user's, old enough to pass for a crashed run's.
    const QString precious = t.filePath(QStringLiteral("мои файлы"));
    ASSERT_TRUE(QDir().mkpath(precious));
    QFile kept(QDir(precious).filePath(QStringLiteral("нужное.txt")));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly) && kept.write("keep") == 4);
    kept.close();
    const struct timeval old[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimes(QFile::encodeName(precious).constData(), old), 0);
    const QString base = t.filePath(QStringLiteral("base"));
    ASSERT_TRUE(QDir().mkpath(base));
    const QString link = QDir(base).filePath(QStringLiteral("instance-link01"));
    ASSERT_TRUE(QFile::link(precious, link));
    {
        const WorkFolder work(base);
        EXPECT_TRUE(work.isValid());
    }
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QDir(precious).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("нужное.txt")});
}

} // namespace
