// Skin projects on the command line: made from a skin or a template, edited,
// exported; the bytes exported are those the skin commands write, run after
// run; mistakes in the command line and refused files give their exit codes.
#include "skin/profiles.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelkor;
using namespace zelkor::test;

namespace {

class ProjectCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QDir program(programFolder());
        for (const char *name : {"zelkor-skin", "bmconv", "icons.bmp", "skn/176x208.mbm", "skn/240x320.mbm"})
            if (!QFileInfo::exists(program.filePath(QString::fromLatin1(name))))
                GTEST_SKIP() << name << " is not in the program folder; build zelkor-skin, bmconv and zelkor_data first";
        ASSERT_TRUE(tmp.isValid());
        ASSERT_TRUE(QDir::setCurrent(tmp.path()));
    }
    ProcessOutcome cli(const QStringList &arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CACHE_HOME"), QDir(tmp.path()).filePath(QStringLiteral("cache")));
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(tmp.path());
        process.start(QDir(programFolder()).filePath(QStringLiteral("zelkor-skin")), arguments);
        return finishProcess(process, 60000);
    }
    QString templateCopy(int profile)
    {
        const QString copy = QStringLiteral("скин %1.mbm").arg(profileByIndex(profile)->label);
        QFile::copy(QDir(programFolder()).filePath(QString::fromUtf8(profileByIndex(profile)->templateName)),
                    QDir(tmp.path()).filePath(copy));
        return copy;
    }
    QTemporaryDir tmp;
};

TEST_F(ProjectCliTest, ExportsWriteWhatTheSkinCommandsWriteAndTheSameBytesEveryRun)
{
    QImage picture(1200, 900, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 255 / 1200, y * 255 / 900, (x * y) & 0xff));
    ASSERT_TRUE(picture.save(QStringLiteral("фото.jpg"), "jpeg", 90));
    QImage grey(200, 200, QImage::Format_RGB32);  // at 16 greys no text of 208x176 reads on it
    grey.fill(qRgb(119, 119, 119));
    ASSERT_TRUE(grey.save(QStringLiteral("серый.png")));
    const QString skin240 = templateCopy(3), skin176 = templateCopy(1);
    // Two files that exist and hold the same bytes.
    auto same = [](const QString &a, const QString &b) {
        const QByteArray bytes = fileBytes(a);
        EXPECT_FALSE(bytes.isEmpty()) << a.toStdString();
        EXPECT_EQ(bytes, fileBytes(b)) << a.toStdString() << " and " << b.toStdString();
    };
    auto ok = [&](const QStringList &args) {
        const ProcessOutcome o = cli(args);
        EXPECT_EQ(o.code, 0) << args.join(u' ').toStdString() << "\n" << o.err.toStdString();
    };

    // A project from a skin exports that size as a save of the skin at its depth does.
    ok({"project", "new", "--from-skin", skin240, "-o", "из скина.zskin"});
    ok({"export", "из скина.zskin", "--size", "240x320", "-o", "out"});
    ok({"set-colour", skin240, "0", "#1c5aa6", "-o", "resaved.mbm"});
    same("out/extskin_240x320_скин 240x320.mbm", "resaved.mbm");

    // A picture given to a project, exported at a size, is what set-picture
    // writes into that size's template; a focus in pixels or relative alike.
    ok({"project", "new", "--template", "176x208", "-o", "p.zskin"});
    ok({"set-picture", "p.zskin", "chat", "фото.jpg", "contacts", "фото.jpg", "--focus", "0.25,0.5", "--focus",
        "700,451", "--zoom", "1.5", "-o", "q.zskin"});
    ok({"set-picture", skin176, "chat", "фото.jpg", "contacts", "фото.jpg", "--focus", "300,450", "--focus", "700,451",
        "--zoom", "1.5", "--depth", "c24", "-o", "direct.mbm"});
    ok({"export", "q.zskin", "--depth", "c24", "-o", "a"});
    same("a/extskin_176x208_p.mbm", "direct.mbm");

    // Framed again without --scrim, a picture keeps the scrim it had.
    ok({"set-picture", "q.zskin", "chat", "фото.jpg", "--scrim", "0.5", "-o", "s.zskin"});
    ok({"set-picture", "s.zskin", "chat", "фото.jpg", "--focus", "0.7,0.5", "-o", "t.zskin"});
    ok({"set-picture", "direct.mbm", "chat", "фото.jpg", "--focus", "840,450", "--scrim", "0.5", "--depth", "c24", "-o",
        "direct2.mbm"});
    ok({"export", "t.zskin", "--depth", "c24", "--size", "176x208", "-o", "t"});
    same("t/extskin_176x208_p.mbm", "direct2.mbm");

    // Every size again: the same bytes.
    ok({"export", "q.zskin", "--depth", "c24", "-o", "b"});
    const QStringList names = QDir(QStringLiteral("a")).entryList(QDir::Files);
    EXPECT_EQ(names.size(), 6);
    for (const QString &name : names)
        same("a/" + name, "b/" + name);

    // A project from a picture exports what from-picture writes for every size.
    ok({"project", "new", "--from-picture", "фото.jpg", "-o", "фото.zskin"});
    ok({"export", "фото.zskin", "-o", "made"});
    ok({"from-picture", "фото.jpg", "--size", "all", "-o", "direct"});
    for (const Profile &p : allProfiles())
        same(QStringLiteral("made/extskin_%1_фото.mbm").arg(p.label), QStringLiteral("direct/extskin_%1_фото.mbm").arg(p.label));

    // Mistakes and refusals. A project that does not open is reported once,
    // not once for every size.
    QFile broken(QStringLiteral("сломан.zskin"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(fileBytes(QStringLiteral("q.zskin")).left(80));
    broken.close();
    // Two that are no project: text, and an empty ZIP archive (its end record only).
    for (const auto &[name, bytes] : {std::pair{"текст.zskin", QByteArray("hello\n")},
                                      std::pair{"пустой.zskin", QByteArray("PK\x05\x06", 4) + QByteArray(18, 0)}}) {
        QFile other(QString::fromUtf8(name));
        ASSERT_TRUE(other.open(QIODevice::WriteOnly) && other.write(bytes) == bytes.size());
    }
    struct Case {
        QStringList args;
        int code;
        const char *said;  // on stderr, or stdout for success
        bool once = false;
    };
    const std::vector<Case> cases{
        {{"project", "new", "-o", "x.zskin"}, 2, "ровно одно"},
        {{"project", "new", "--template", "100x100", "-o", "x.zskin"}, 2, "100x100"},
        {{"export", "q.zskin"}, 2, "-o"},
        {{"export", "q.zskin", "--size", "240x320,1x1", "-o", "c"}, 2, "1x1"},
        {{"export", "q.zskin", "-o", "a"}, 1, "--force"},
        {{"set-colour", "q.zskin", "--size", "9x9", "0", "#000000", "-o", "z.zskin"}, 2, "9x9"},
        {{"set-colour", skin176, "--size", "176x208", "0", "#000000", "-o", "z.mbm"}, 2, "--size"},
        {{"check", "--fix", "-o", "f.mbm", "q.zskin"}, 2, "проект"},
        {{"info", "q.zskin", "--size", "208x176"}, 0, "q.zskin [208x176]"},
        {{"project", "new", "--from-picture", "серый.png", "--depth", "c4", "-o", "серый 2.zskin"}, 0,
         "208x176: из этой картинки читаемый скин этого размера не получается; он перенесён с 176x208, и тексты могут "
         "читаться плохо — проверьте его: zelkor-skin check 'серый 2.zskin' --size 208x176",
         true},
        {{"export", "resaved.mbm", "-o", "c"}, 1, "не архив"},
        {{"info", "сломан.zskin"}, 1, "сломан.zskin»", true},
        {{"check", "сломан.zskin", "q.zskin", "--size", "176x208,240x320"}, 1, "сломан.zskin»", true},
        {{"info", "текст.zskin"}, 1, "«текст.zskin» — не проект скина (.zskin): это не архив ZIP.", true},
        {{"set-colour", "пустой.zskin", "0", "#000000", "-o", "z.zskin"}, 1, "«пустой.zskin» — не проект скина (.zskin)"},
        {{"thumbnail", "текст.zskin", "t.png", "128"}, 1, "«текст.zskin» — не проект скина (.zskin)"},
    };
    for (const Case &c : cases) {
        const ProcessOutcome o = cli(c.args);
        EXPECT_EQ(o.code, c.code) << c.args.join(u' ').toStdString();
        EXPECT_TRUE((o.err + o.out).contains(QString::fromUtf8(c.said))) << o.err.toStdString();
        if (c.once)
            EXPECT_EQ(o.err.count(QString::fromUtf8(c.said)), 1) << o.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("c")));
}

// What a file manager shows: the contact list on the phone as render --phone
// draws it (a project at the size it shows first), never larger than asked
// and never enlarged; OUT is replaced, as the file manager hands it over.
TEST_F(ProjectCliTest, ThumbnailIsThePhoneWithTheContactListWithinTheSize)
{
    const QString skin = templateCopy(3);
    auto ok = [&](const QStringList &args) {
        const ProcessOutcome o = cli(args);
        ASSERT_EQ(o.code, 0) << args.join(u' ').toStdString() << "\n" << o.err.toStdString();
    };
    ok({"project", "new", "--template", "208x176", "-o", "p.zskin"});
    ok({"render", skin, "p.zskin", "--size", "208x176", "--phone", "--screen", "contacts-1", "-o", "r"});
    QFile taken(QStringLiteral("taken.png"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly) && taken.write("old") == 3);
    taken.close();

    struct Case {
        QString in, out, size;
        int code;
        QSize drawn;          // empty: no picture written
        QString sameAs = {};  // the render it equals pixel for pixel
    };
    const std::vector<Case> cases{
        {skin, "a.png", "128", 0, {71, 128}},
        {skin, "taken.png", "1024", 0, {362, 648}, "r/скин 240x320/contacts-1.png"},
        {"p.zskin", "c.png", "256", 0, {207, 256}},
        {"p.zskin", "d.png", "512", 0, {333, 410}, "r/p-208x176/contacts-1.png"},
        {"p.zskin", "e.png", "0", 2, {}},
        {"missing.mbm", "f.png", "128", 1, {}},
        {"taken.png", "g.png", "128", 1, {}},
    };
    for (const Case &c : cases) {
        const ProcessOutcome o = cli({"thumbnail", c.in, c.out, c.size});
        EXPECT_EQ(o.code, c.code) << c.in.toStdString() << " " << c.size.toStdString() << "\n" << o.err.toStdString();
        EXPECT_TRUE(o.out.isEmpty()) << o.out.toStdString();
        const QImage drawn(c.out);
        EXPECT_EQ(drawn.isNull() ? QSize() : drawn.size(), c.drawn) << c.in.toStdString() << " " << c.size.toStdString();
        if (!c.sameAs.isEmpty())
            EXPECT_EQ(drawn.convertToFormat(QImage::Format_RGB32), QImage(c.sameAs).convertToFormat(QImage::Format_RGB32))
                << c.in.toStdString();
    }
}

} // namespace
