// zelkor-skin as a user runs it: a separate process without a display, on
// files in a folder with blanks and Cyrillic in its name. Its pictures must be
// exactly the core's own; its failures must name the file and the cause.
#include "imaging/picturefile.h"
#include "design/legibility.h"
#include "design/legibilitytext.h"
#include "design/frompicture.h"
#include "preview/overview.h"
#include "preview/screenimage.h"
#include "skin/colourslots.h"
#include "skin/converter.h"
#include "skin/depthpreview.h"
#include "skin/filedepth.h"
#include "imaging/placement.h"
#include "skin/sheet.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace zelkor;
using namespace zelkor::test;

namespace {

using Outcome = ProcessOutcome;

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QDir program(programFolder());
        for (const char *name : {"zelkor-skin", "bmconv", "icons.bmp", "skn/176x208.mbm", "skn/416x352.mbm"})
            if (!QFileInfo::exists(program.filePath(QString::fromLatin1(name))))
                GTEST_SKIP() << name << " is not in the program folder " << programFolder().toStdString()
                             << "; build zelkor-skin, bmconv and zelkor_data first";
        ASSERT_TRUE(tmp.isValid());
        folder = QDir(tmp.path()).filePath(QStringLiteral("мои скины с пробелами"));
        ASSERT_TRUE(QDir().mkpath(folder));
    }

    // A copy of the template of `profile` under a name with blanks and Cyrillic.
    QString skin(int profile)
    {
        const QString copy = file(QStringLiteral("скин %1.mbm").arg(profile));
        if (!QFileInfo::exists(copy))
            EXPECT_TRUE(QFile::copy(QDir(programFolder()).filePath(QString::fromUtf8(profileByIndex(profile)->templateName)),
                                    copy));
        return copy;
    }
    QString file(const QString &name) const { return QDir(folder).filePath(name); }
    QString cacheFolder() const { return QDir(tmp.path()).filePath(QStringLiteral("cache")); }

    enum class Stdout { Pipe, Full, Closed };

    // Runs zelkor-skin with no display and no platform chosen, its work
    // folders below the test's own cache folder.
    Outcome cli(const QStringList &arguments, Stdout out = Stdout::Pipe)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), cacheFolder());
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder);
        if (out == Stdout::Full)
            process.setStandardOutputFile(QStringLiteral("/dev/full"));
        if (out == Stdout::Closed)  // a pipe nobody reads any more, as after `| head -1`
            process.setChildProcessModifier([] {
                int ends[2];
                if (::pipe(ends) == 0) {
                    ::close(ends[0]);
                    ::dup2(ends[1], STDOUT_FILENO);
                }
            });
        process.start(QDir(programFolder()).filePath(QStringLiteral("zelkor-skin")), arguments);
        return finishProcess(process, 60000);
    }

    // The core's picture of every named screen of `skinFile`, read as the editor reads it.
    std::array<QImage, kNamedScreenCount> coreScreens(const QString &skinFile, int *profile = nullptr)
    {
        const ProgramFiles files = programFilesIn(programFolder());
        SkinDocument doc(files, QDir(tmp.path()).filePath(QStringLiteral("work")));
        const Status loaded = doc.load(skinFile);
        EXPECT_TRUE(loaded.ok()) << loaded.message.toStdString();
        IconSheets icons;
        EXPECT_TRUE(readIconSheets(files, icons).ok());
        const PreviewInput in = skinPreviewInput(doc.sheet(), doc.profile(), icons, 0);
        std::array<QImage, kNamedScreenCount> screens;
        for (int i = 0; i < kNamedScreenCount; ++i)
            screens[i] = paintBoxPicture(namedScreens()[i], in);
        if (profile)
            *profile = doc.profile();
        return screens;
    }

    static QImage png(const QString &path) { return QImage(path).convertToFormat(QImage::Format_RGB32); }

    QTemporaryDir tmp;
    QString folder;
};

TEST_F(CliTest, RenderWritesExactlyTheCoresPictureOfEveryScreen)
{
    const QString skinFile = skin(6);
    const QString out = file(QStringLiteral("картинки/416 x 352"));
    const Outcome run = cli({QStringLiteral("render"), skinFile, QStringLiteral("-o"), out});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const auto expected = coreScreens(skinFile);
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), kNamedScreenCount);
    for (int i = 0; i < kNamedScreenCount; ++i) {
        const QString name = namedScreens()[i].nameText();
        const QImage written = png(QDir(out).filePath(name + QStringLiteral(".png")));
        ASSERT_FALSE(written.isNull()) << name.toStdString();
        EXPECT_EQ(written, expected[i]) << name.toStdString();
    }
}

TEST_F(CliTest, PortToAllWritesFiveSkinsTheConverterReadsBackAtTheDepth)
{
    const QString skinFile = skin(1);
    const QString out = file(QStringLiteral("перенос"));
    const Outcome run = cli({QStringLiteral("port"), skinFile, QStringLiteral("--to"), QStringLiteral("all"),
                             QStringLiteral("-o"), out, QStringLiteral("--depth"), QStringLiteral("c16")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const ProgramFiles files = programFilesIn(programFolder());
    const QString work = QDir(tmp.path()).filePath(QStringLiteral("work"));
    SkinImage source;
    ASSERT_TRUE(readSkinFile(files, work, skinFile, source).ok());
    ColourSlots at16 = readColourSlots(source.sheet, 1);
    for (QRgb &c : at16)  // RGB565 as the converter expands it
        c = qRgb((qRed(c) >> 3) * 255 / 31, (qGreen(c) >> 2) * 255 / 63, (qBlue(c) >> 3) * 255 / 31);
    for (int profile = 2; profile <= 6; ++profile) {
        const Profile *p = profileByIndex(profile);
        const QString written = QDir(out).filePath(QString::fromUtf8(p->savePrefix) + QStringLiteral("скин 1.mbm"));
        SkinImage back;
        const Status read = readSkinFile(files, work, written, back);
        ASSERT_TRUE(read.ok()) << read.message.toStdString();
        EXPECT_EQ(back.profile, profile);
        EXPECT_EQ(readColourSlots(back.sheet, profile), at16) << p->label;
    }
}

TEST_F(CliTest, OverviewIsTheCoresOverviewOfTheSkin)
{
    const QString skinFile = skin(1);
    const QString out = file(QStringLiteral("обзор.png"));
    int profile = 0;
    const auto screens = coreScreens(skinFile, &profile);
    const QImage picture = composeOverview(QFileInfo(skinFile).fileName(), profile, screens);
    for (int scale : {1, 3}) {
        const Outcome run = cli({QStringLiteral("overview"), skinFile, QStringLiteral("-o"), out,
                                 QStringLiteral("--scale"), QString::number(scale), QStringLiteral("--force")});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(png(out), enlargedByWholePixels(picture, scale)) << scale;
    }
    EXPECT_EQ(cli({QStringLiteral("overview"), skinFile, QStringLiteral("-o"), out, QStringLiteral("--scale"),
                   QStringLiteral("0"), QStringLiteral("--force")})
                  .code,
              2);
}

// The phone picture as the window shows it: the photo at (377, 3) and PaintBox1
// at the profile's place in the window; enlarged pixel by pixel.
TEST_F(CliTest, PhonePutsTheScreenWhereTheWindowDoes)
{
    struct Case {
        int profile;
        int scale;
    };
    const QPoint phoneInWindow(377, 3);
    for (const Case c : {Case{1, 1}, Case{6, 2}}) {
        const Profile &p = *profileByIndex(c.profile);
        const QString out = file(QStringLiteral("телефон %1").arg(c.profile));
        const Outcome run = cli({QStringLiteral("render"), skin(c.profile), QStringLiteral("-o"), out,
                             QStringLiteral("--phone"), QStringLiteral("--screen"), QStringLiteral("popup-2"),
                             QStringLiteral("--scale"), QString::number(c.scale)});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        QImage photo;
        ASSERT_TRUE(readPhonePicture(programFilesIn(programFolder()), c.profile, photo).ok());
        const QImage screen = coreScreens(skin(c.profile))[4];
        const QRect screenRect(p.paintBoxPos - phoneInWindow, p.screenSize());
        ASSERT_TRUE(photo.rect().contains(screenRect)) << c.profile;

        const QImage written = png(QDir(out).filePath(QStringLiteral("popup-2.png")));
        ASSERT_EQ(written.size(), photo.size() * c.scale) << c.profile;
        int wrong = 0;
        for (int y = 0; y < written.height() && wrong < 5; ++y)
            for (int x = 0; x < written.width() && wrong < 5; ++x) {
                const QPoint at(x / c.scale, y / c.scale);
                const QRgb want = screenRect.contains(at) ? screen.pixel(at - screenRect.topLeft()) : photo.pixel(at);
                if (written.pixel(x, y) != want && ++wrong)
                    ADD_FAILURE() << "profile " << c.profile << " differs at (" << x << ", " << y << ")";
            }
    }
}

// Exit codes and what the program says, on stdout or stderr. "%skin" and the
// other marks stand for the test's files.
TEST_F(CliTest, ExitCodesAndMessages)
{
    // A sheet of a width no phone has, packed by the real converter.
    QImage wide(300, 400, QImage::Format_RGB32);
    wide.fill(Qt::gray);
    ASSERT_TRUE(wide.save(file(QStringLiteral("wide.bmp")), "BMP"));
    const Status packed = runConverter(converterPath(programFolder()),
                                       {packArguments(QStringLiteral("широкий скин.mbm"), QStringLiteral("/c24"),
                                                      QStringLiteral("wide.bmp")),
                                        folder, file(QStringLiteral("широкий скин.mbm")), {}});
    ASSERT_TRUE(packed.ok()) << packed.message.toStdString();
    // A sheet of a phone's width that ends above its colour row, and a file
    // of two bitmaps.
    QImage shortSheet(240, 100, QImage::Format_RGB32);
    shortSheet.fill(Qt::gray);
    ASSERT_TRUE(shortSheet.save(file(QStringLiteral("short.bmp")), "BMP"));
    for (const auto &[name, bitmaps] :
         {std::pair{QStringLiteral("короткий.mbm"), QStringList{QStringLiteral("/c24short.bmp")}},
          std::pair{QStringLiteral("два.mbm"), QStringList{QStringLiteral("/c24short.bmp"), QStringLiteral("/c24wide.bmp")}}}) {
        const Status made =
            runConverter(converterPath(programFolder()), {QStringList{name} + bitmaps, folder, file(name), {}});
        ASSERT_TRUE(made.ok()) << made.message.toStdString();
    }
    QFile corrupt(file(QStringLiteral("битый скин.mbm")));
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write("not a multi-bitmap file at all");
    corrupt.close();

    const QList<QPair<QString, QString>> marks = {
        {QStringLiteral("%skin"), skin(6)},
        {QStringLiteral("%missing"), file(QStringLiteral("нет такого.mbm"))},
        {QStringLiteral("%corrupt"), file(QStringLiteral("битый скин.mbm"))},
        {QStringLiteral("%wide"), file(QStringLiteral("широкий скин.mbm"))},
        {QStringLiteral("%short"), file(QStringLiteral("короткий.mbm"))},
        {QStringLiteral("%two"), file(QStringLiteral("два.mbm"))},
        {QStringLiteral("%dir"), file(QStringLiteral("выход"))},
        {QStringLiteral("%version"), QStringLiteral(ZELKOR_VERSION)},
    };
    auto fill = [&](QString text) {
        for (const auto &[mark, value] : marks)
            text.replace(mark, value);
        return text;
    };
    struct Case {
        const char *arguments;  // separated by '|'
        int code;
        const char *out;  // texts stdout must hold, separated by '|'
        const char *err;  // the same for stderr
    };
    const Case cases[] = {
        {"--version", 0, "zelkor-skin %version", ""},
        {"--help", 0, "info|render|overview", ""},
        {"render|--help", 0, "--phone|--scale|contacts-2   Контакты, 2 колонки", ""},
        {"thumbnail|--help", 0, "ВХОД|РАЗМЕР", ""},
        {"", 2, "", "--help"},
        {"paint|%skin", 2, "", "paint"},
        {"render|%skin", 2, "", "-o"},
        {"render|%skin|-o|%dir|--screen|lobby", 2, "", "lobby|contacts-1"},
        {"render|%skin|-o|%dir|--scale|0", 2, "", "--scale"},
        {"overview|%skin|%skin|-o|%dir/o.png", 2, "", "один"},
        {"info|%skin", 0, "416x352|#ffffff|цвет окошка меню", ""},
        {"info|%missing", 1, "%missing", "%missing|не найден"},
        {"info|%short", 0, "240 x 100|нет строки цветов|нужно 740", ""},
        {"info|%two", 0, "картинок: 2|первая|нет строки цветов", ""},
        // No colour row: nothing to measure, a failure of the file, not a verdict.
        {"check|%short|--json", 1, "\"error\": true", "%short|нет строки цветов (строка 348)"},
        {"info|%skin|%missing", 1, "416x352|%missing", "%missing"},
        {"render|%corrupt|-o|%dir", 1, "", "%corrupt|не файл скина"},
        {"overview|%wide|-o|%dir/o.png", 1, "", "%wide|300"},
        {"set-picture|%skin|backdrop|%skin|-o|%dir/s.mbm", 2, "", "backdrop|contacts"},
        {"set-picture|%skin|chat|%skin|--fit|zoom|-o|%dir/s.mbm", 2, "", "zoom|contain"},
        {"set-picture|%skin|chat|%skin|--fit|contain|--focus|1,2|-o|%dir/s.mbm", 2, "", "--focus"},
        {"set-picture|%skin|chat|%missing|-o|%dir/s.mbm", 1, "", "%missing"},
        {"set-colour|%skin|13|#000000|-o|%dir/s.mbm", 2, "", "13"},
        {"set-colour|%skin|0|red|-o|%dir/s.mbm", 2, "", "#rrggbb"},
        // Every command that takes --depth names the same depths.
        {"set-colour|%skin|0|#000000|--depth|c5|-o|%dir/s.mbm", 2, "", "«c5»; есть c4, c8, c12, c16, c24."},
        {"port|%skin|--to|all|--depth|24|-o|%dir", 2, "", "«24»; есть c4, c8, c12, c16, c24."},
        {"from-picture|--help", 0, "c4, c8, c12, c16 или c24", ""},
        {"port|%skin|%skin|--to|all|-o|%dir", 2, "", "ровно один файл скина, указано: 2"},
    };
    for (const Case &c : cases) {
        const QStringList arguments = fill(QString::fromUtf8(c.arguments)).split(u'|', Qt::SkipEmptyParts);
        const Outcome run = cli(arguments);
        const std::string what = arguments.join(u' ').toStdString();
        EXPECT_EQ(run.code, c.code) << what << "\n" << run.err.toStdString();
        for (const auto &[stream, texts] : {std::pair{&run.out, c.out}, std::pair{&run.err, c.err}})
            for (const QString &text : fill(QString::fromUtf8(texts)).split(u'|', Qt::SkipEmptyParts))
                EXPECT_TRUE(stream->contains(text)) << what << ": no «" << text.toStdString() << "» in\n"
                                                    << stream->toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(file(QStringLiteral("выход/o.png"))));
}

// One picture to every screen size: six skins under Save's names, each the
// core's own sheet as a 16-bit save gives it back; a second run replaces
// nothing; a variant that does not exist is a mistake in the command line.
TEST_F(CliTest, FromPictureWritesEverySizeAsSaveNamesIt)
{
    QImage image(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / 319, 120, y * 255 / 239));
    const QString picture = file(QStringLiteral("закат.jpg"));
    ASSERT_TRUE(image.save(picture, "JPEG", 90));
    const QString out = file(QStringLiteral("из картинки"));
    const QStringList arguments{QStringLiteral("from-picture"), picture, QStringLiteral("--size"),
                                QStringLiteral("all"), QStringLiteral("-o"), out};
    const Outcome made = cli(arguments);
    ASSERT_EQ(made.code, 0) << made.err.toStdString();

    const ProgramFiles files = programFilesIn(programFolder());
    const QString work = QDir(tmp.path()).filePath(QStringLiteral("work"));
    IconSheets icons;
    QImage decoded;
    ASSERT_TRUE(readIconSheets(files, icons).ok() && design::readPicture(picture, 0, decoded).ok());
    for (const Profile &p : allProfiles()) {
        const QString written = QDir(out).filePath(QStringLiteral("extskin_%1_закат.mbm").arg(p.labelText()));
        EXPECT_TRUE(made.out.contains(QDir::toNativeSeparators(written)));
        SkinImage skin, base;
        ASSERT_TRUE(readSkinFile(files, work, written, skin).ok()) << p.label;
        ASSERT_TRUE(readSkinFile(files, work, files.dataPath(QString::fromUtf8(p.templateName)), base).ok());
        design::SkinFromPicture core;
        ASSERT_TRUE(design::makeSkinFromPicture(decoded, p.index, base.sheet, icons, {}, core).ok());
        EXPECT_TRUE(skin.sheet == sheetAtDepth(core.sheet, QStringLiteral("/c16"))) << p.label;
    }

    const Outcome again = cli(arguments);
    EXPECT_EQ(again.code, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("--force"))) << again.err.toStdString();
    const Outcome wrong = cli({QStringLiteral("from-picture"), picture, QStringLiteral("--size"),
                               QStringLiteral("all"), QStringLiteral("--variant"), QStringLiteral("pink"),
                               QStringLiteral("-o"), out});
    EXPECT_EQ(wrong.code, 2);

    // Among 256 colours no three tones part the 208 x 176 status line, the
    // contact under it and the list: that size is refused by name, the rest written.
    const QString few = file(QStringLiteral("256 цветов"));
    const Outcome refused = cli({QStringLiteral("from-picture"), picture, QStringLiteral("--size"),
                                 QStringLiteral("all"), QStringLiteral("--depth"), QStringLiteral("c8"),
                                 QStringLiteral("-o"), few});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("208x176"))) << refused.err.toStdString();
    EXPECT_EQ(QDir(few).entryList(QDir::Files).size(), 5);
}

// The rules every writing command keeps: an existing file or a planted link
// is never written without --force, and never followed even with it; names
// made from skin file names stay inside the output folder; a lost stdout is a
// failure; no work folder is left behind. "%out" is a fresh output folder,
// "%user" a file of the user's that must survive every case.
TEST_F(CliTest, WritingRulesAgainstHostileOutputs)
{
    const QString user = file(QStringLiteral("мой файл.txt"));
    const QString out = file(QStringLiteral("выход"));
    const QString dots = file(QStringLiteral("...mbm"));
    ASSERT_TRUE(QFile::copy(skin(6), dots));
    ASSERT_TRUE(QFile::copy(skin(6), file(QStringLiteral("..mbm"))));
    ASSERT_TRUE(QFile::copy(skin(6), file(QStringLiteral("-q"))));
    auto fill = [&](const char *text) {
        return QString::fromUtf8(text)
            .replace(QStringLiteral("%skin"), skin(6))
            .replace(QStringLiteral("%dots"), dots)
            .replace(QStringLiteral("%dot"), file(QStringLiteral("..mbm")))
            .replace(QStringLiteral("%out"), out);
    };
    struct Case {
        const char *arguments;  // separated by '|'
        Stdout stdoutTo;
        const char *plant;  // made before the run: a copy of %user, or a link to it
        bool link;
        int code;
        const char *err;      // texts stderr must hold, separated by '|'
        const char *absent;   // must not exist afterwards
        const char *written;  // must be a regular file afterwards
    };
    const Case cases[] = {
        {"render|%skin|-o|%out", Stdout::Pipe, "%out/chat.png", false, 1, "%out/chat.png|--force", "%out/account.png",
         ""},
        {"render|%skin|-o|%out|--force", Stdout::Pipe, "%out/chat.png", true, 0, "", "", "%out/chat.png"},
        {"overview|%skin|-o|%out/o.png", Stdout::Pipe, "%out/o.png", true, 1, "%out/o.png|--force", "", ""},
        {"render|%skin|%dots|%dot|-o|%out/sub|--screen|chat", Stdout::Pipe, "", false, 0, "", "%out/chat.png",
         "%out/sub/_../chat.png|%out/sub/_./chat.png"},
        {"port|%skin|--to|all|-o|%out", Stdout::Pipe, "%out/extskin_176x208_скин 6.mbm", false, 1, "--force",
         "%out/extskin_240x320_скин 6.mbm", ""},
        {"port|%skin|--to|176x208|-o|%out/p.mbm|--force", Stdout::Pipe, "%out/p.mbm", true, 0, "", "", "%out/p.mbm"},
        {"info|%skin", Stdout::Full, "", false, 1, "стандартный вывод", "", ""},
        // A skin whose name the converter would take for its option "-q".
        {"render|-o|%out|--|-q", Stdout::Pipe, "", false, 0, "", "", "%out/chat.png"},
        // More than a buffer of output: the first write fails while the work folder exists.
        {"info|%skin|%skin|%skin|%skin|%skin|%skin|%skin|%skin|%skin|%skin", Stdout::Closed, "", false, 1,
         "стандартный вывод", "", ""},
    };
    const QByteArray text = "мой текст, не картинка";
    for (const Case &c : cases) {
        const QStringList arguments = fill(c.arguments).split(u'|', Qt::SkipEmptyParts);
        const std::string what = arguments.join(u' ').toStdString();
        QDir(out).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(out));
        QFile::remove(user);
        QFile userFile(user);
        ASSERT_TRUE(userFile.open(QIODevice::WriteOnly) && userFile.write(text) == text.size());
        userFile.close();
        const QString plant = fill(c.plant);
        if (!plant.isEmpty())
            ASSERT_TRUE(c.link ? QFile::link(user, plant) : QFile::copy(user, plant)) << what;

        const Outcome run = cli(arguments, c.stdoutTo);
        EXPECT_EQ(run.code, c.code) << what << "\n" << run.err.toStdString();
        for (const QString &needed : fill(c.err).split(u'|', Qt::SkipEmptyParts))
            EXPECT_TRUE(run.err.contains(needed)) << what << ": no «" << needed.toStdString() << "» in\n"
                                                  << run.err.toStdString();
        for (const QString &path : {user, c.link ? QString() : plant})
            if (!path.isEmpty()) {
                QFile kept(path);
                EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == text)
                    << what << ": " << path.toStdString();
            }
        for (const QString &path : fill(c.absent).split(u'|', Qt::SkipEmptyParts))
            EXPECT_FALSE(QFileInfo::exists(path)) << what << ": " << path.toStdString();
        for (const QString &path : fill(c.written).split(u'|', Qt::SkipEmptyParts)) {
            EXPECT_TRUE(QFileInfo(path).isFile() && !QFileInfo(path).isSymLink()) << what << ": " << path.toStdString();
            if (c.stdoutTo == Stdout::Pipe)
                EXPECT_TRUE(run.out.contains(path)) << what << ": not listed " << path.toStdString();
        }
        const QDir cache(QDir(cacheFolder()).filePath(QStringLiteral("zelkor-skin-editor")));
        EXPECT_EQ(cache.entryList({QStringLiteral("instance-*")}, QDir::AllEntries | QDir::System).size(), 0) << what;
        EXPECT_EQ(QDir(out).entryList({QStringLiteral(".*part*")}, QDir::Files | QDir::Hidden).size(), 0) << what;
    }
}

// check: the exit codes, and a JSON document that says what the core measures.
TEST_F(CliTest, CheckSaysWhatTheCoreMeasuresAndFixes)
{
    // The 208 x 176 template's status line crosses the last contact's nick.
    const QString failing = skin(2), fixed = file(QStringLiteral("исправленный.mbm"));
    const struct {
        QStringList arguments;
        int code;
    } cases[] = {
        {{skin(1)}, 0},
        {{failing}, 3},
        {{QStringLiteral("--min-contrast"), QStringLiteral("1"), failing}, 0},
        {{skin(1), file(QStringLiteral("нет.mbm"))}, 1},
        {{QStringLiteral("--depth"), QStringLiteral("c5"), failing}, 2},
        {{QStringLiteral("--min-contrast"), QStringLiteral("22"), failing}, 2},
        {{QStringLiteral("--fix"), failing}, 2},
        {{QStringLiteral("-o"), fixed, failing}, 2},
    };
    for (const auto &c : cases)
        EXPECT_EQ(cli(QStringList{QStringLiteral("check")} + c.arguments).code, c.code) << c.arguments.join(u' ').toStdString();

    const ProgramFiles files = programFilesIn(programFolder());
    SkinDocument doc(files, QDir(tmp.path()).filePath(QStringLiteral("work")));
    ASSERT_TRUE(doc.load(failing).ok());
    IconSheets icons;
    ASSERT_TRUE(readIconSheets(files, icons).ok());
    const design::Legibility core = design::measureSkinLegibility(doc.sheet(), doc.profile(), icons);

    const Outcome run = cli({QStringLiteral("check"), QStringLiteral("--json"), failing});
    const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8()).object()[QStringLiteral("files")][0].toObject();
    EXPECT_EQ(json[QStringLiteral("profile")].toInt(), 2);
    EXPECT_EQ(json[QStringLiteral("depth")].toString(), QStringLiteral("as-is"));
    EXPECT_FALSE(json[QStringLiteral("ok")].toBool(true));
    const QJsonArray slotList = json[QStringLiteral("slots")].toArray();
    ASSERT_EQ(slotList.size(), qsizetype(core.perSlot.size()));
    for (qsizetype i = 0; i < slotList.size(); ++i) {
        const design::SlotLegibility &s = core.perSlot[size_t(i)];
        const QJsonObject entry = slotList[i].toObject();
        EXPECT_EQ(entry[QStringLiteral("slot")].toInt(), s.slot);
        EXPECT_DOUBLE_EQ(entry[QStringLiteral("worst")].toDouble(), design::cutRatio(s.worst, 2));
        EXPECT_EQ(entry[QStringLiteral("text")].toString(), core.texts[size_t(s.text)].text);
    }
    const QJsonArray texts = json[QStringLiteral("texts")].toArray();
    ASSERT_EQ(texts.size(), qsizetype(core.texts.size()));
    const QJsonObject first = texts[0].toObject();
    const QRect ink = core.texts[0].ink;
    EXPECT_EQ(first[QStringLiteral("ink")].toArray(), (QJsonArray{ink.x(), ink.y(), ink.width(), ink.height()}));
    EXPECT_EQ(first[QStringLiteral("colour")].toString(), QColor(core.texts[0].colour).name());

    // --fix: every slot it says it fixed reads in the file it wrote -- at
    // 7 : 1 on a template, and with a picture of ours behind the chat, where
    // the scrim under the outgoing messages reaches the texts fixed after it
    // and its pixels change again at the depth the skin is written at.
    const QString pictured = file(QStringLiteral("чат с картинкой.mbm"));
    ASSERT_EQ(cli({QStringLiteral("set-picture"), skin(3), QStringLiteral("chat"),
                   QStringLiteral(CLI_PICTURES_DIR "/scrim-then-colour.png"), QStringLiteral("--fit"),
                   QStringLiteral("as-is"), QStringLiteral("-o"), pictured})
                  .code,
              0);
    // At 208 x 176 a flat, a gradient and a noisy picture behind the
    // contacts, the chat and the menu line: the status line and the nick it
    // crosses move together until every text reads.
    const auto behindTexts = [&](const QString &name, QRgb top, QRgb bottom, int noise = 0) {
        QImage picture(200, 150, QImage::Format_RGB32);
        quint32 grain = 1;
        for (int y = 0; y < picture.height(); ++y) {
            const double t = y / double(picture.height() - 1);
            for (int x = 0; x < picture.width(); ++x) {
                grain = grain * 1664525u + 1013904223u;
                const int n = noise ? int(grain >> 24) % (2 * noise + 1) - noise : 0;
                auto channel = [&](int a, int b) { return qBound(0, int(a + t * (b - a)) + n, 255); };
                picture.setPixel(x, y, qRgb(channel(qRed(top), qRed(bottom)), channel(qGreen(top), qGreen(bottom)),
                                            channel(qBlue(top), qBlue(bottom))));
            }
        }
        const QString png = file(name + QStringLiteral(".png")), out = file(name + QStringLiteral(".mbm"));
        EXPECT_TRUE(picture.save(png));
        EXPECT_EQ(cli({QStringLiteral("set-picture"), failing, QStringLiteral("contacts"), png, QStringLiteral("chat"), png,
                       QStringLiteral("menuline"), png, QStringLiteral("-o"), out})
                      .code,
                  0);
        return out;
    };
    const struct {
        QString source;
        QString ratio;
        bool scrim;      // a scrim must be among the fixes (the texts of the chat's picture need one)
        bool everyText;  // every text of the written skin reads, not only the slots fixed
    } fixCases[] = {{failing, QStringLiteral("7"), false, false},
                    {pictured, QStringLiteral("4.5"), true, false},
                    {behindTexts(QStringLiteral("ровная"), qRgb(0x6a, 0x8c, 0xaf), qRgb(0x6a, 0x8c, 0xaf)),
                     QStringLiteral("4.5"), true, true},
                    {behindTexts(QStringLiteral("градиент"), qRgb(0x10, 0x20, 0x40), qRgb(0xf0, 0xd0, 0x80)),
                     QStringLiteral("4.5"), true, true},
                    {behindTexts(QStringLiteral("шум"), qRgb(0x80, 0x80, 0x80), qRgb(0x80, 0x80, 0x80), 100),
                     QStringLiteral("4.5"), true, true}};
    for (const auto &c : fixCases) {
        SCOPED_TRACE(c.ratio.toStdString());
        QFile::remove(fixed);
        const Outcome fix = cli({QStringLiteral("check"), QStringLiteral("--json"), QStringLiteral("--min-contrast"),
                                 c.ratio, QStringLiteral("--fix"), QStringLiteral("-o"), fixed, c.source});
        const QJsonObject made = QJsonDocument::fromJson(fix.out.toUtf8()).object()[QStringLiteral("files")][0].toObject();
        ASSERT_TRUE(QFileInfo::exists(fixed)) << fix.err.toStdString();
        const QJsonObject after = QJsonDocument::fromJson(cli({QStringLiteral("check"), QStringLiteral("--json"),
                                                               QStringLiteral("--min-contrast"), c.ratio, fixed})
                                                              .out.toUtf8())
                                      .object()[QStringLiteral("files")][0]
                                      .toObject();
        int fixedSlots = 0, scrims = 0;
        QSet<int> listed;  // a slot moved twice (alone, then with a text it crosses) is one fix
        for (const QJsonValue f : made[QStringLiteral("fixes")].toArray()) {
            EXPECT_FALSE(listed.contains(f[QStringLiteral("slot")].toInt())) << fix.out.toStdString();
            listed.insert(f[QStringLiteral("slot")].toInt());
            if (f[QStringLiteral("to")].isNull())
                continue;
            ++fixedSlots;
            scrims += f[QStringLiteral("scrim")].isDouble();
            for (const QJsonValue s : after[QStringLiteral("slots")].toArray())
                if (s[QStringLiteral("slot")] == f[QStringLiteral("slot")])
                    EXPECT_GE(s[QStringLiteral("worst")].toDouble(), c.ratio.toDouble())
                        << s[QStringLiteral("label")].toString().toStdString();
        }
        EXPECT_GT(fixedSlots, 0);
        if (c.scrim)
            EXPECT_GT(scrims, 0);
        if (c.everyText)
            EXPECT_TRUE(after[QStringLiteral("ok")].toBool()) << fix.out.toStdString();
    }
}

} // namespace

namespace {

// set-colour, then set-picture on its result: each applies its edits in
// order, writes at --depth or else at the depth the skin was saved at, and
// never replaces an existing file without --force.
TEST_F(CliTest, SetColourAndSetPictureEditInOrderAtTheSourcesDepth)
{
    const QString source = skin(3), coloured = file(QStringLiteral("цвета.mbm")), placed = file(QStringLiteral("картинки.mbm"));
    QImage big(1600, 1200, QImage::Format_RGB32), small(60, 40, QImage::Format_RGB32);
    for (QImage *img : {&big, &small})
        for (int y = 0; y < img->height(); ++y)
            for (int x = 0; x < img->width(); ++x)
                img->setPixel(x, y, qRgb(x * 255 / img->width(), y * 255 / img->height(), 90));
    ASSERT_TRUE(big.save(file(QStringLiteral("большая.jpg")), "JPEG", 95));
    ASSERT_TRUE(small.save(file(QStringLiteral("малая.png"))));

    Outcome run = cli({QStringLiteral("set-colour"), source, QStringLiteral("3"), QStringLiteral("#102030"),
                       colourSlotLabel(6).trimmed(), QStringLiteral("#a0b0c0"), QStringLiteral("3"),
                       QStringLiteral("#ffffff"), QStringLiteral("--depth"), QStringLiteral("c16"), QStringLiteral("-o"), coloured});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(coloured)) << run.out.toStdString();
    const QStringList pictureEdit = {QStringLiteral("set-picture"), coloured, QStringLiteral("contacts"),
                                     file(QStringLiteral("большая.jpg")), QStringLiteral("chat"), file(QStringLiteral("малая.png")),
                                     QStringLiteral("--fit"), QStringLiteral("cover"), QStringLiteral("--fit"),
                                     QStringLiteral("contain"), QStringLiteral("-o"), placed};
    run = cli(pictureEdit);
    ASSERT_EQ(run.code, 0) << run.err.toStdString();

    const ProgramFiles files = programFilesIn(programFolder());
    const QString work = QDir(tmp.path()).filePath(QStringLiteral("work"));
    SkinImage original, first, second;
    ASSERT_TRUE(readSkinFile(files, work, source, original).ok());
    ASSERT_TRUE(readSkinFile(files, work, coloured, first).ok());
    ASSERT_TRUE(readSkinFile(files, work, placed, second).ok());
    QImage expected = original.sheet;
    writeColourSlot(expected, 3, 3, qRgb(0x10, 0x20, 0x30));
    writeColourSlot(expected, 3, 6, qRgb(0xa0, 0xb0, 0xc0));
    writeColourSlot(expected, 3, 3, qRgb(0xff, 0xff, 0xff));
    EXPECT_EQ(first.sheet, sheetAtDepth(expected, QStringLiteral("/c16")));
    expected = first.sheet;
    QString error;
    placePicture(expected, 3, Contacts, readImageFile(file(QStringLiteral("большая.jpg")), error), {FitMode::Cover});
    placePicture(expected, 3, Chat, small, {FitMode::Contain});
    EXPECT_EQ(second.sheet, sheetAtDepth(expected, QStringLiteral("/c16")));
    EXPECT_EQ(storedDepthOption(placed), QStringLiteral("/c16"));

    QFile kept(placed);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    const QByteArray bytes = kept.readAll();
    kept.close();
    run = cli(QStringList(pictureEdit).replaceInStrings(QStringLiteral("contain"), QStringLiteral("stretch")));
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("--force"))) << run.err.toStdString();
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), bytes);
    kept.close();
    EXPECT_EQ(cli(pictureEdit + QStringList{QStringLiteral("--force")}).code, 0);
}

} // namespace

namespace {

// What stands at `path` without following a link: 'f' file, 'p' pipe, 'c'
// device, 'd' folder, 'l' link, '-' nothing.
char kindAt(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return '-';
    return S_ISREG(st.st_mode) ? 'f' : S_ISFIFO(st.st_mode) ? 'p' : S_ISCHR(st.st_mode) ? 'c' : S_ISDIR(st.st_mode) ? 'd' : 'l';
}

// Hostile things at the names a command reads or writes: pipes and devices
// (made here, so as root only), links to them, names the file system barely
// allows or that are not UTF-8, numbers that are no numbers. Each run ends
// at once, names what is wrong, and leaves what stood there as it was.
TEST_F(CliTest, HostileNamesFilesAndNumbers)
{
    const bool root = ::geteuid() == 0;
    const QString pipe = file(QStringLiteral("канал")), device = file(QStringLiteral("устройство"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    if (root)
        ASSERT_EQ(::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 7)), 0);  // like /dev/full
    ASSERT_TRUE(QFile::link(pipe, file(QStringLiteral("к каналу.mbm"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), file(QStringLiteral("к нулям.mbm"))));
    // 255 bytes, the most a name may have: no room for a longer name beside it.
    const QString longName = file(QString(125, QChar(0x044f)) + QStringLiteral("a.mbm"));
    ASSERT_EQ(QFile::encodeName(QFileInfo(longName).fileName()).size(), 255);
    ASSERT_TRUE(QFile::copy(skin(1), longName));
    const QByteArray latin1Name = QFile::encodeName(folder) + "/\xe9t\xe9.mbm";
    ASSERT_TRUE(QFile::copy(skin(1), QFile::decodeName(QFile::encodeName(folder) + "/tmp.mbm")));
    ASSERT_EQ(::rename(QFile::encodeName(file(QStringLiteral("tmp.mbm"))).constData(), latin1Name.constData()), 0);
    QFile plain(file(QStringLiteral("файл")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly) && plain.write("x") == 1);
    plain.close();
    // A JPEG that claims 30000 x 30000 pixels in its frame header.
    QImage tiny(8, 8, QImage::Format_RGB32);
    tiny.fill(Qt::gray);
    QByteArray huge;
    QBuffer hugeBuffer(&huge);
    ASSERT_TRUE(hugeBuffer.open(QIODevice::WriteOnly) && tiny.save(&hugeBuffer, "JPEG"));
    const qsizetype frame = huge.indexOf(QByteArray("\xff\xc0", 2));
    ASSERT_GT(frame, 0);
    for (const int at : {5, 7})  // height, then width, big-endian
        qToBigEndian<quint16>(30000, huge.data() + frame + at);
    QFile hugeFile(file(QStringLiteral("огромная.bmp")));
    ASSERT_TRUE(hugeFile.open(QIODevice::WriteOnly) && hugeFile.write(huge) == huge.size());
    hugeFile.close();
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(qRgb(200, 120, 40));
    ASSERT_TRUE(photo.save(file(QStringLiteral("фото.png"))));

    struct Case {
        const char *arguments;  // '|'-separated; %pipe, %device, %skin, %long, %latin1, %file, %photo
        bool needsRoot;
        int code;
        const char *err;     // must be on stderr
        const char *stands;  // what must stand at %pipe / %device afterwards
    };
    const Case cases[] = {
        {"set-colour|%skin|0|#000000|-o|%pipe|--force", false, 1, "именованный канал", "p"},
        {"port|%skin|--to|176x208|-o|%pipe|--force", false, 1, "именованный канал", "p"},
        {"check|--fix|%skin|-o|%pipe|--force|--min-contrast|21", false, 1, "именованный канал", "p"},
        {"from-picture|%photo|--size|240x320|-o|%device|--force", true, 1, "устройство", "c"},
        {"overview|%skin|-o|%device|--force", true, 1, "устройство", "c"},
        {"overview|%skin|-o|%device", true, 1, "устройство", "c"},
        {"info|%folder/к каналу.mbm", false, 1, "именованный канал", "p"},
        {"render|%folder/к нулям.mbm|-o|%folder/out", false, 1, "устройство", ""},
        {"check|%pipe", false, 1, "именованный канал", "p"},
        {"check|--min-contrast|nan|%skin", false, 2, "nan", ""},
        {"gallery|%skin|-o|%folder/site|--min-contrast|nan", false, 2, "nan", ""},
        {"set-colour|%long|0|#102030|-o|%long|--force", false, 0, "", ""},
        {"info|%latin1", false, 1, "UTF-8", ""},
        {"port|%skin|--to|all|-o|%file", false, 1, "не папка, а файл", ""},
        {"set-colour|%skin|-1|#000000|-o|%folder/s.mbm", false, 2, "«-1»", ""},
        {"from-picture|%photo|-o|%folder/f.mbm", false, 2, "--size", ""},
        {"set-picture|%skin|chat|%huge|-o|%folder/h.mbm", false, 1, "слишком велика", ""},
    };
    for (const Case &c : cases) {
        if (c.needsRoot && !root)
            continue;  // no device without root
        const QStringList arguments = QString::fromUtf8(c.arguments)
                                          .replace(QStringLiteral("%skin"), skin(2))
                                          .replace(QStringLiteral("%pipe"), pipe)
                                          .replace(QStringLiteral("%device"), device)
                                          .replace(QStringLiteral("%long"), longName)
                                          .replace(QStringLiteral("%latin1"), QFile::decodeName(latin1Name))
                                          .replace(QStringLiteral("%file"), plain.fileName())
                                          .replace(QStringLiteral("%photo"), file(QStringLiteral("фото.png")))
                                          .replace(QStringLiteral("%huge"), hugeFile.fileName())
                                          .replace(QStringLiteral("%folder"), folder)
                                          .split(u'|');
        const std::string what = arguments.join(u' ').toStdString();
        const Outcome run = cli(arguments);
        EXPECT_EQ(run.code, c.code) << what << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.err))) << what << "\n" << run.err.toStdString();
        const QString stands = QString::fromUtf8(c.stands);
        if (!stands.isEmpty())
            EXPECT_EQ(kindAt(stands == QLatin1String("p") ? pipe : device), stands.at(0).toLatin1()) << what;
    }
    EXPECT_EQ(kindAt(longName), 'f');
    SkinImage written;
    ASSERT_TRUE(readSkinFile(programFilesIn(programFolder()), QDir(tmp.path()).filePath(QStringLiteral("work")),
                             longName, written).ok());
    EXPECT_EQ(readColourSlot(written.sheet, 1, 0), qRgb(0x10, 0x20, 0x30));
}

} // namespace

namespace {

// A quit signal while skins are read and drawn: the program ends with the
// signal's code, and neither its work folder nor a converter of its own is
// left behind.
TEST_F(CliTest, QuitSignalsLeaveNoWorkFolderAndNoConverter)
{
    // --force: pictures written before an earlier signal do not stop a run.
    QStringList arguments{QStringLiteral("render"), QStringLiteral("-o"), file(QStringLiteral("сигнал")),
                          QStringLiteral("--force")};
    for (int i = 0; i < 40; ++i) {
        const QString copy = file(QStringLiteral("копия %1.mbm").arg(i));
        ASSERT_TRUE(QFile::copy(skin(1 + i % 6), copy));
        arguments << copy;
    }
    const QDir cache(QDir(cacheFolder()).filePath(QStringLiteral("zelkor-skin-editor")));
    const QString converter = QFileInfo(QDir(programFolder()).filePath(QStringLiteral("bmconv"))).canonicalFilePath();
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CACHE_HOME"), cacheFolder());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QDir(programFolder()).filePath(QStringLiteral("zelkor-skin")), arguments);
        ASSERT_TRUE(process.waitForStarted());
        QElapsedTimer clock;
        clock.start();
        while (cache.entryList({QStringLiteral("instance-*")}, QDir::Dirs).isEmpty() && clock.elapsed() < 10000)
            QThread::msleep(5);
        QThread::msleep(50);  // into the reading
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(5000)) << signal;
        EXPECT_EQ(process.exitCode(), 128 + signal);
        EXPECT_EQ(cache.entryList({QStringLiteral("instance-*")}, QDir::AllEntries | QDir::System).size(), 0) << signal;
        // An orphaned converter would have been handed to init.
        for (const QString &pid : QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs)) {
            const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
            const QByteArray stat = fileBytes(QStringLiteral("/proc/%1/stat").arg(pid));
            EXPECT_FALSE(exe == converter && stat.split(')').value(1).split(' ').value(2) == "1")
                << "orphaned converter " << pid.toStdString();
        }
    }
}

} // namespace
