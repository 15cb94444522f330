// zelkor-skin gallery as a user runs it, on the six templates, a family made
// by port and a file that is no skin; the page is checked with tidy and in
// Debian's headless Chromium.
#include "design/legibility.h"
#include "design/legibilitytext.h"
#include "preview/screenimage.h"
#include "project/ziparchive.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <map>

#include <cstdio>
#include <sys/stat.h>

using namespace zelkor;
using namespace zelkor::test;

namespace {

using Outcome = ProcessOutcome;

Outcome runProgram(const QString &program, const QStringList &arguments, int timeoutMs = 120000)
{
    QProcess process;
    process.start(program, arguments);
    return finishProcess(process, timeoutMs);
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Every file below `root` (hidden ones too): its content hash and its time of change.
using Tree = std::map<QString, std::pair<QByteArray, qint64>>;
Tree tree(const QString &root)
{
    Tree files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[QDir(root).relativeFilePath(path)] = {
            QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256),
            QFileInfo(path).lastModified().toMSecsSinceEpoch()};
    }
    return files;
}

std::string compact(const QJsonValue &value)
{
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).toStdString();
}

int count(const QString &text, const QString &pattern)
{
    return int(text.count(QRegularExpression(pattern)));
}

class GalleryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_tmp = new QTemporaryDir;
        s_input = QDir(s_tmp->path()).filePath(QStringLiteral("скины"));
        QDir().mkpath(s_input);
        const QDir program(programFolder());
        for (const Profile &p : allProfiles())
            QFile::copy(program.filePath(QString::fromUtf8(p.templateName)),
                        QDir(s_input).filePath(p.labelText() + QStringLiteral(".mbm")));
        const QString sea = QDir(s_input).filePath(QStringLiteral("extskin_176x208_Море.mbm"));
        QFile::copy(program.filePath(QStringLiteral("skn/176x208.mbm")), sea);
        s_portCode = runProgram(zelkorSkin(), {QStringLiteral("port"), sea, QStringLiteral("--to"), QStringLiteral("all"),
                                               QStringLiteral("-o"), s_input})
                         .code;
        writeAll(QDir(s_input).filePath(QStringLiteral("сломанный.mbm")), QByteArray(3000, 'x'));
        QFile huge(QDir(s_input).filePath(QStringLiteral("сломанный-огромный.mbm")));  // sparse: costs no disk
        if (huge.open(QIODevice::WriteOnly))
            huge.resize(qint64(1) << 30);
        writeAll(QDir(s_input).filePath(QStringLiteral("readme.txt")), "не скин и не .mbm");
    }
    static void TearDownTestSuite() { delete s_tmp; }

    void SetUp() override
    {
        for (const char *name : {"zelkor-skin", "bmconv", "icons.bmp", "skn/416x352.mbm"})
            if (!QFileInfo::exists(QDir(programFolder()).filePath(QString::fromLatin1(name))))
                GTEST_SKIP() << name << " is not in the program folder; build zelkor-skin, bmconv and zelkor_data first";
        ASSERT_EQ(s_portCode, 0);
        ASSERT_TRUE(tmp.isValid());
    }

    static QString zelkorSkin() { return QDir(programFolder()).filePath(QStringLiteral("zelkor-skin")); }
    QString path(const QString &name) const { return QDir(tmp.path()).filePath(name); }
    static Outcome gallery(const QString &input, const QString &site, const QStringList &more = {})
    {
        return runProgram(zelkorSkin(), QStringList{QStringLiteral("gallery"), input, QStringLiteral("-o"), site} + more);
    }

    static inline QTemporaryDir *s_tmp = nullptr;
    static inline QString s_input;
    static inline int s_portCode = -1;
    QTemporaryDir tmp;
};

TEST_F(GalleryTest, GroupsTheFamilyListsTheBrokenFileAndGivesValidPages)
{
    const QString site = path(QStringLiteral("сайт"));
    const Outcome run = gallery(s_input, site);
    EXPECT_EQ(run.code, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("сломанный.mbm"))) << run.err.toStdString();

    const QString index = QString::fromUtf8(fileBytes(QDir(site).filePath(QStringLiteral("index.html"))));
    EXPECT_EQ(count(index, QStringLiteral("<article ")), 7);  // six templates and one family
    const QString sea = index.section(QStringLiteral("Море</a></h2>"), 1).section(QStringLiteral("</article>"), 0, 0);
    EXPECT_EQ(count(sea, QStringLiteral("<div class=\"variant")), kProfileCount);
    EXPECT_EQ(count(index, QStringLiteral("<img ")), 12);  // the phone of every skin
    // The family's own page: the phone and the seven screens of each size, the
    // Russian names under them.
    const QString seaPage = QDir(site).filePath(sea.section(QStringLiteral("href=\""), 1).section(u'#', 0, 0));
    const QString design = QString::fromUtf8(fileBytes(seaPage));
    EXPECT_EQ(count(design, QStringLiteral("<img ")), kProfileCount * (1 + kNamedScreenCount)) << seaPage.toStdString();
    EXPECT_EQ(count(design, QStringLiteral("<figcaption>Контакты, 2 колонки</figcaption>")), kProfileCount);
    const QString broken = index.section(QStringLiteral("<section class=\"broken\""), 1);
    EXPECT_FALSE(broken.contains(s_input)) << "the page names files by their bare names";
    for (const auto &[name, reason] : {std::pair{"сломанный.mbm", "это не файл скина"},
                                       std::pair{"сломанный-огромный.mbm", "слишком велик"}}) {
        const QString item = broken.section(QStringLiteral("<b>%1</b>: ").arg(QString::fromUtf8(name)), 1)
                                 .section(QStringLiteral("</li>"), 0, 0);
        EXPECT_TRUE(item.contains(QString::fromUtf8(reason))) << name << ": " << broken.toStdString();
    }
    EXPECT_FALSE(index.contains(QStringLiteral("readme.txt")));

    const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
    for (const Profile &p : allProfiles()) {
        const QString page = QDir(site).filePath(QStringLiteral("size-%1.html").arg(p.labelText()));
        EXPECT_EQ(count(QString::fromUtf8(fileBytes(page)), QStringLiteral("<article ")), 2) << p.label;
    }
    const QStringList pages = QDir(site).entryList({QStringLiteral("*.html")}, QDir::Files);
    EXPECT_EQ(pages.size(), 1 + kProfileCount + 7);
    for (const QString &page : pages)
        if (!tidy.isEmpty()) {
            const Outcome check = runProgram(tidy, {QStringLiteral("-q"), QStringLiteral("-e"), QDir(site).filePath(page)});
            EXPECT_EQ(check.code, 0) << page.toStdString() << ": " << check.err.toStdString();
        }
    if (tidy.isEmpty())
        GTEST_SKIP() << "tidy is not installed (apt-get install tidy): the pages were not validated";
}

// The verdict is the legibility check's measure of the skin as read; the
// threshold only changes the words of the pages, so nothing is drawn again.
TEST_F(GalleryTest, LegibilityVerdictIsTheChecksMeasureAtTheThresholdAsked)
{
    const QString site = path(QStringLiteral("сайт"));
    ASSERT_EQ(gallery(s_input, site).code, 1);
    const ProgramFiles files = programFilesIn(programFolder());
    SkinImage skin;
    IconSheets icons;
    ASSERT_TRUE(readSkinFile(files, path(QStringLiteral("work")), QDir(s_input).filePath(QStringLiteral("176x208.mbm")),
                             skin).ok());
    ASSERT_TRUE(readIconSheets(files, icons).ok());
    const design::Legibility measure = design::measureSkinLegibility(skin.sheet, skin.profile, icons);

    for (const double threshold : {1.0, 21.0}) {
        const Outcome run = gallery(s_input, site, {QStringLiteral("--min-contrast"), QString::number(threshold)});
        EXPECT_EQ(run.code, 1);
        for (const QString &written : run.out.split(u'\n', Qt::SkipEmptyParts))
            EXPECT_TRUE(written.endsWith(QStringLiteral(".html")) || written.endsWith(QStringLiteral("files")))
                << written.toStdString();
        // The card says it in plain words, the design page names the colours.
        const QString index = QString::fromUtf8(fileBytes(QDir(site).filePath(QStringLiteral("index.html"))));
        const QString card = index.section(QStringLiteral(">176x208</a></h2>"), 0, 1).section(QStringLiteral("<article "), -1);
        const QString rest = index.section(QStringLiteral(">176x208</a></h2>"), 1).section(QStringLiteral("</article>"), 0, 0);
        const QString badge = rest.section(QStringLiteral("class=\"badge"), 1).section(QStringLiteral("</p>"), 0, 0);
        const size_t failing = measure.failingSlots(threshold).size();
        EXPECT_TRUE(failing ? badge.contains(QStringLiteral(">%1 цвет").arg(failing)) && badge.endsWith(QStringLiteral(" плохо"))
                            : badge.endsWith(QStringLiteral("Все надписи читаются")))
            << badge.toStdString();
        const QString design = QString::fromUtf8(
            fileBytes(QDir(site).filePath(card.section(QStringLiteral("href=\""), 1).section(u'"', 0, 0))));
        const QString details = design.section(QStringLiteral("<h2>Читаемость</h2>"), 1).section(QStringLiteral("<p class=\"get\">"), 0, 0);
        EXPECT_TRUE(details.contains(failing ? design::ratioText(threshold, 2) : design::ratioText(measure.lowest(), 2)))
            << details.toStdString();
        EXPECT_EQ(count(details, QStringLiteral("«")), int(failing)) << details.toStdString();
    }
}

TEST_F(GalleryTest, ReRunsRewriteOnlyWhatChangedAndGiveTheSameBytesAsAFreshRun)
{
    const QString input = path(QStringLiteral("вход"));
    ASSERT_TRUE(QDir().mkpath(input));
    for (const QString &name : QDir(s_input).entryList({QStringLiteral("*.mbm")}, QDir::Files))
        if (!name.startsWith(QStringLiteral("сломанный")))
            ASSERT_TRUE(QFile::copy(QDir(s_input).filePath(name), QDir(input).filePath(name)));
    const QString site = path(QStringLiteral("сайт"));
    ASSERT_EQ(gallery(input, site).code, 0);
    const Tree first = tree(site);

    const Outcome again = gallery(input, site);
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.out, QString()) << "nothing should be written";
    EXPECT_EQ(tree(site), first);

    // One skin's bytes change: only its files, the pages showing it and the
    // list of files change; its old files go.
    const QString changed = QDir(input).filePath(QStringLiteral("240x320.mbm"));
    ASSERT_TRUE(QFile::remove(changed));
    ASSERT_TRUE(QFile::copy(QDir(input).filePath(QStringLiteral("extskin_240x320_Море.mbm")), changed));
    ASSERT_EQ(gallery(input, site).code, 0);
    const Tree second = tree(site);
    QStringList differing;
    for (const auto &[name, state] : second)
        if (first.count(name) == 0 || first.at(name) != state)
            differing << name;
    int gone = 0;
    for (const auto &[name, state] : first)
        gone += second.count(name) == 0;
    EXPECT_EQ(gone, 1 + kNamedScreenCount + 2) << "the old phone, screens, copy and record";
    EXPECT_EQ(differing.size(), 1 + kNamedScreenCount + 2 + 4) << differing.join(u' ').toStdString();
    for (const QString &name : {QStringLiteral("index.html"), QStringLiteral("size-240x320.html"),
                                QStringLiteral(".gallery/files")})
        EXPECT_TRUE(differing.contains(name)) << name.toStdString();
    EXPECT_EQ(differing.filter(QStringLiteral("design-")).size(), 1) << "the page of that design alone";

    const QString fresh = path(QStringLiteral("заново"));
    ASSERT_EQ(gallery(input, fresh).code, 0);
    Tree a = tree(site), b = tree(fresh);
    for (Tree *t : {&a, &b})
        for (auto &entry : *t)
            entry.second.second = 0;  // bytes only
    EXPECT_EQ(a, b);
}

TEST_F(GalleryTest, ASiteFolderOfSomeoneElseIsLeftAloneAndLinksAreNotWrittenThrough)
{
    const QString site = path(QStringLiteral("чужая папка"));
    ASSERT_TRUE(QDir().mkpath(site));
    const QString notes = QDir(site).filePath(QStringLiteral("заметки.txt"));
    ASSERT_TRUE(writeAll(notes, "моё"));
    const Outcome refused = gallery(s_input, site);
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--force"))) << refused.err.toStdString();
    EXPECT_EQ(QDir(site).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("заметки.txt")});

    const QString outside = path(QStringLiteral("снаружи.html"));
    ASSERT_TRUE(writeAll(outside, "снаружи"));
    ASSERT_TRUE(QFile::link(outside, QDir(site).filePath(QStringLiteral("index.html"))));
    for (int run = 0; run < 2; ++run)  // taking the folder over, then as its own
        EXPECT_EQ(gallery(s_input, site, {QStringLiteral("--force")}).code, 1);
    EXPECT_EQ(QString::fromUtf8(fileBytes(outside)), QStringLiteral("снаружи"));
    EXPECT_FALSE(QFileInfo(QDir(site).filePath(QStringLiteral("index.html"))).isSymLink());
    EXPECT_EQ(QString::fromUtf8(fileBytes(notes)), QStringLiteral("моё"));
}

// Hostile files in the folders: each is listed with the reason or taken
// safely, the run ends at once, and the site holds no page but its own. A
// skin named as a web page with a script after it is published as a .mbm
// holding the skin alone.
TEST_F(GalleryTest, HostileInputsAreListedOrTakenSafely)
{
    const QString input = path(QStringLiteral("враждебное"));
    ASSERT_TRUE(QDir().mkpath(input));
    const QString sheet = QDir(programFolder()).filePath(QStringLiteral("skn/176x208.mbm"));
    const QByteArray skin = fileBytes(sheet);
    ASSERT_TRUE(writeAll(QDir(input).filePath(QStringLiteral("evil.html")), skin + "<script>alert(1)</script>"));
    ASSERT_TRUE(QFile::copy(sheet, QDir(input).filePath(QStringLiteral(".скрытый.mbm"))));
    ASSERT_TRUE(writeAll(QDir(input).filePath(QStringLiteral("latin1")), skin));
    ASSERT_EQ(::rename(QFile::encodeName(QDir(input).filePath(QStringLiteral("latin1"))).constData(),
                       (QFile::encodeName(input) + "/caf\xe9.mbm").constData()),
              0);
    const QString pipe = path(QStringLiteral("канал"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(pipe, QDir(input).filePath(QStringLiteral("канал.mbm"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), QDir(input).filePath(QStringLiteral("нули.mbm"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), QDir(input).filePath(QStringLiteral("нули без имени"))));

    const QString site = path(QStringLiteral("сайт"));
    const Outcome run = gallery(input, site);
    EXPECT_EQ(run.code, 1) << run.err.toStdString();
    const QString index = QString::fromUtf8(fileBytes(QDir(site).filePath(QStringLiteral("index.html"))));
    const QString broken = index.section(QStringLiteral("<section class=\"broken\""), 1);
    const struct {
        const char *name;  // as the page shows it
        const char *reason;
    } listed[] = {
        {".скрытый.mbm", "скрытый файл"},
        {"caf\xef\xbf\xbd.mbm", "не в кодировке UTF-8"},
        {"канал.mbm", "именованный канал"},
        {"нули.mbm", "устройство"},
    };
    for (const auto &l : listed) {
        const QString item = broken.section(QStringLiteral("<b>%1</b>: ").arg(QString::fromUtf8(l.name)), 1)
                                 .section(QStringLiteral("</li>"), 0, 0);
        EXPECT_TRUE(item.contains(QString::fromUtf8(l.reason))) << l.name << ": " << broken.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(l.reason))) << l.name;
    }
    EXPECT_FALSE(index.contains(QStringLiteral("нули без имени")));

    QStringList pages;
    QDirIterator it(site, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        if (const QString f = QDir(site).relativeFilePath(it.next()); !f.endsWith(QStringLiteral(".png")) &&
                                                                      !f.startsWith(QStringLiteral(".gallery/")))
            pages << f;
    pages.sort();
    ASSERT_EQ(pages.size(), 4) << pages.join(u' ').toStdString();
    EXPECT_TRUE(pages[0].startsWith(QStringLiteral("design-s-")) && pages[0].endsWith(QStringLiteral(".html")));
    EXPECT_TRUE(pages[1].startsWith(QStringLiteral("index.html")));
    EXPECT_TRUE(pages[2].startsWith(QStringLiteral("size-176x208.html")));
    EXPECT_TRUE(pages[3].startsWith(QStringLiteral("skins/")) && pages[3].endsWith(QStringLiteral("/evil.mbm")))
        << pages[3].toStdString();
    EXPECT_EQ(fileBytes(QDir(site).filePath(pages[3])), skin);
    EXPECT_TRUE(index.contains(QStringLiteral("Скачать evil.html")));

    EXPECT_EQ(gallery(input, path(QStringLiteral("другой")), {QStringLiteral("--min-contrast"), QStringLiteral("nan")}).code,
              2);
}

// A family whose name is markup: its card names it as text, whichever page.
TEST_F(GalleryTest, AFamilyNamedAsMarkupIsShownAsText)
{
    const QString input = path(QStringLiteral("разметка"));
    ASSERT_TRUE(QDir().mkpath(input));
    const QString name = QStringLiteral("<i>&\"Фам'");
    for (const char *size : {"176x208", "208x176"})
        ASSERT_TRUE(QFile::copy(QDir(programFolder()).filePath(QStringLiteral("skn/%1.mbm").arg(QLatin1String(size))),
                                QDir(input).filePath(QStringLiteral("extskin_%1_%2.mbm").arg(QLatin1String(size), name))));
    const QString site = path(QStringLiteral("сайт"));
    const Outcome run = gallery(input, site);
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    QDirIterator it(site, {QStringLiteral("*.html")}, QDir::Files, QDirIterator::Subdirectories);
    int pages = 0;
    while (it.hasNext()) {
        const QString page = QString::fromUtf8(fileBytes(it.next()));
        ++pages;
        EXPECT_FALSE(page.contains(QStringLiteral("<i>&"))) << it.filePath().toStdString();
    }
    EXPECT_GE(pages, 1);
    const QString index = QString::fromUtf8(fileBytes(QDir(site).filePath(QStringLiteral("index.html"))));
    EXPECT_TRUE(index.contains(name.toHtmlEscaped())) << index.toStdString();
}

// A skin project is one card with every size it exports, known by its first
// bytes whatever its name; each download is the file export writes for that
// size. A project that cannot be read is listed with the reason. A re-run
// writes nothing.
TEST_F(GalleryTest, AProjectIsOneCardWhoseDownloadsAreTheExportedSkins)
{
    const QString input = path(QStringLiteral("проекты"));
    ASSERT_TRUE(QDir().mkpath(input));
    const QString project = path(QStringLiteral("Лес.zskin"));
    ASSERT_EQ(runProgram(zelkorSkin(), {QStringLiteral("project"), QStringLiteral("new"), QStringLiteral("--template"),
                                        QStringLiteral("240x320"), QStringLiteral("-o"), project})
                  .code,
              0);
    // Its copy, named as markup and without an extension, has lost the
    // picture it was given: it opens from the template, which the card says.
    const QString picture = path(QStringLiteral("красный.png"));
    QImage red(100, 60, QImage::Format_RGB32);
    red.fill(qRgb(200, 30, 30));
    ASSERT_TRUE(red.save(picture));
    const QString withPicture = path(QStringLiteral("Лес с картинкой.zskin"));
    ASSERT_EQ(runProgram(zelkorSkin(), {QStringLiteral("set-picture"), project, QStringLiteral("contacts"), picture,
                                        QStringLiteral("-o"), withPicture})
                  .code,
              0);
    UnzippedArchive archive;
    ASSERT_TRUE(unzipArchive(fileBytes(withPicture), withPicture, {}, archive));
    std::vector<ZipEntry> kept;
    for (const QString &name : archive.order)
        if (!name.startsWith(QStringLiteral("pictures/")))
            kept.push_back({name, archive.entries[name], name != QStringLiteral("mimetype")});
    ASSERT_LT(kept.size(), archive.order.size());
    QByteArray stripped;
    ASSERT_TRUE(zipArchive(kept, withPicture, stripped));
    ASSERT_TRUE(writeAll(QDir(input).filePath(QStringLiteral("без <расширения>&")), stripped));
    ASSERT_TRUE(writeAll(QDir(input).filePath(QStringLiteral("битый.zskin")), "PK\x03\x04 и всё"));
    const QString exported = path(QStringLiteral("экспорт"));
    ASSERT_EQ(runProgram(zelkorSkin(), {QStringLiteral("export"), project, QStringLiteral("-o"), exported}).code, 0);

    const QString site = path(QStringLiteral("сайт"));
    const Outcome run = gallery(input, site);
    EXPECT_EQ(run.code, 1) << run.err.toStdString();
    const QString index = QString::fromUtf8(fileBytes(QDir(site).filePath(QStringLiteral("index.html"))));
    EXPECT_EQ(count(index, QStringLiteral("<article ")), 1);
    EXPECT_EQ(count(index, QStringLiteral("<div class=\"variant")), kProfileCount);
    const QString card = index.section(QStringLiteral("<article "), 1).section(QStringLiteral("</article>"), 0, 0);
    EXPECT_TRUE(card.contains(QStringLiteral("<ul class=\"notices\"><li>В проекте «без &lt;расширения&gt;&amp;» нет картинки")))
        << card.toStdString();
    EXPECT_FALSE(index.contains(QStringLiteral("без <расширения>")));
    const QString broken = index.section(QStringLiteral("<section class=\"broken\""), 1);
    EXPECT_TRUE(broken.contains(QStringLiteral("<b>битый.zskin</b>: Файл «битый.zskin» — не проект скина (.zskin)"))) << broken.toStdString();

    QStringList links;  // as the page links them, decoded
    for (const QString &piece : index.split(u'"'))
        links << QUrl::fromPercentEncoding(piece.toUtf8());
    const QStringList files = QDir(exported).entryList(QDir::Files);
    ASSERT_EQ(files.size(), kProfileCount);
    for (const QString &name : files) {
        const QStringList copies = links.filter(QRegularExpression(QStringLiteral("^skins/.*/%1$").arg(name)));
        ASSERT_EQ(copies.size(), 1) << name.toStdString();
        EXPECT_EQ(fileBytes(QDir(site).filePath(copies[0])), fileBytes(QDir(exported).filePath(name))) << name.toStdString();
    }

    const Tree first = tree(site);
    const Outcome again = gallery(input, site);
    EXPECT_EQ(again.out, QString()) << "nothing should be written";
    EXPECT_EQ(tree(site), first);
}

// The pages in a real browser, each case in a frame of its viewport size:
// every picture loads, nothing scrolls sideways, the family shows the size
// picked on its switcher (else the page's own size, else the largest), every
// other card shows one size, every download is a file of the site; at phone
// width the cards stand in one column with each phone whole on the screen,
// and twelve designs take at most four screen heights on a laptop.
TEST_F(GalleryTest, BrowserShowsEveryPictureTheChosenSizeAndCompactCards)
{
    QString chromium;
    for (const char *name : {"chromium", "chromium-browser"})
        if (chromium.isEmpty())
            chromium = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (chromium.isEmpty())
        GTEST_SKIP() << "no Chromium on the PATH (apt-get install chromium): the page was not checked in a browser";
    const QString site = path(QStringLiteral("site"));
    ASSERT_EQ(gallery(s_input, site).code, 1);
    const QString index = QString::fromUtf8(fileBytes(QDir(site).filePath(QStringLiteral("index.html"))));
    const QString seaPage = index.section(QStringLiteral("Море</a></h2>"), 0, 0).section(QStringLiteral("href=\""), -1)
                                .section(u'"', 0, 0);
    // Twelve designs of every size, one file each.
    const QString twelveInput = path(QStringLiteral("twelve-in"));
    ASSERT_TRUE(QDir().mkpath(twelveInput));
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(QFile::copy(QDir(programFolder()).filePath(QString::fromUtf8(profileByIndex(1 + i % 6)->templateName)),
                                QDir(twelveInput).filePath(QStringLiteral("Дизайн %1.mbm").arg(i + 10))));
    ASSERT_EQ(gallery(twelveInput, path(QStringLiteral("twelve"))).code, 0);

    struct Case {
        int width, height;
        QString page;
        const char *choose;  // a size to click on the family's switcher, or none
        const char *shown;   // the size the family then shows; none for a page without it
        bool compact;        // one column at phone width, four screens at most for twelve cards
    };
    const Case cases[] = {
        {390, 844, "site/index.html", "240x320", "240x320", true},
        {1280, 900, "site/size-416x352.html", "", "416x352", false},
        {1280, 900, "site/index.html", "", "416x352", false},
        {390, 844, "site/" + seaPage, "", "416x352", false},
        {1280, 900, "twelve/index.html", "", "", true},
        {390, 844, "twelve/index.html", "", "", true},
    };
    QString frames, list;
    for (const Case &c : cases) {
        const int i = int(&c - cases);
        frames += QStringLiteral("<iframe id=\"f%1\" width=\"%2\" height=\"%3\" src=\"%4\"></iframe>\n")
                      .arg(i)
                      .arg(c.width)
                      .arg(c.height)
                      .arg(c.page);
        list += QStringLiteral("{frame: 'f%1', choose: '%2'},").arg(i).arg(QString::fromLatin1(c.choose));
    }
    const QString harness = QStringLiteral(R"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>check</title></head><body>
%1<pre id="result">pending</pre>
<script>
const cases = [%2];
const frame = c => document.getElementById(c.frame).contentWindow;
const family = w => [...w.document.querySelectorAll('.card, .design')]
    .find(k => k.matches('.design') || k.querySelector('h2').textContent === 'Море');
const visible = (w, e) => w.getComputedStyle(e).display !== 'none';
const shown = (w, card) => [...card.querySelectorAll('.variant')].filter(v => visible(w, v))
    .map(v => v.dataset.size || v.id.split('-').pop());
addEventListener('load', () => {
  for (const c of cases)
    if (c.choose)
      [...family(frame(c)).querySelectorAll('label')].find(a => a.textContent === c.choose).click();
  setTimeout(() => {
    document.getElementById('result').textContent = JSON.stringify(cases.map(c => {
      const w = frame(c), d = w.document, cards = [...d.querySelectorAll('.card')];
      const phones = cards.map(k => [...k.querySelectorAll('.variant img')].find(i => i.offsetParent)?.getBoundingClientRect());
      const f = family(w);
      return {
        width: w.innerWidth,
        overflow: d.documentElement.scrollWidth - d.documentElement.clientWidth,
        screens: d.documentElement.scrollHeight / w.innerHeight,
        columns: new Set(cards.map(k => Math.round(k.getBoundingClientRect().left))).size,
        cut: phones.filter(r => !r || r.left < 0 || r.right > w.innerWidth || r.height > w.innerHeight).length,
        images: d.images.length,
        unloaded: [...d.images].filter(i => !(i.complete && i.naturalWidth > 0)).map(i => i.getAttribute('src')),
        family: f ? shown(w, f) : [],
        notOne: cards.filter(k => shown(w, k).length !== 1).map(k => k.id),
        downloads: [...d.querySelectorAll('a[download]')].map(a => decodeURIComponent(a.getAttribute('href'))),
      };
    }));
  }, 300);
});
</script></body></html>)")
                                .arg(frames, list);
    const QString check = path(QStringLiteral("check.html"));
    ASSERT_TRUE(writeAll(check, harness.toUtf8()));

    const QStringList browser{QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                              QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
                              QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
                              QStringLiteral("--hide-scrollbars")};
    const Outcome dom = runProgram(chromium, browser + QStringList{
        QStringLiteral("--user-data-dir=") + path(QStringLiteral("profile-1")), QStringLiteral("--allow-file-access-from-files"),
        QStringLiteral("--window-size=1400,1000"), QStringLiteral("--virtual-time-budget=15000"),
        QStringLiteral("--dump-dom"), QUrl::fromLocalFile(check).toString()});
    ASSERT_EQ(dom.code, 0) << dom.err.toStdString();
    QString json = dom.out.section(QStringLiteral("<pre id=\"result\">"), 1).section(QStringLiteral("</pre>"), 0, 0);
    json.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    const QJsonArray results = QJsonDocument::fromJson(json.toUtf8()).array();
    ASSERT_EQ(results.size(), qsizetype(std::size(cases))) << json.toStdString();
    for (const Case &c : cases) {
        const QJsonObject r = results[&c - cases].toObject();
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " " << c.page.toStdString());
        EXPECT_EQ(r[QStringLiteral("width")].toInt(), c.width);
        EXPECT_GT(r[QStringLiteral("images")].toInt(), 0);
        EXPECT_EQ(compact(r[QStringLiteral("unloaded")]), compact(QJsonArray())) << "pictures that did not load";
        EXPECT_LE(r[QStringLiteral("overflow")].toInt(), 0);
        if (*c.shown)
            EXPECT_EQ(compact(r[QStringLiteral("family")]), compact(QJsonArray{QString::fromLatin1(c.shown)}));
        EXPECT_EQ(compact(r[QStringLiteral("notOne")]), compact(QJsonArray())) << "cards not showing exactly one size";
        EXPECT_EQ(r[QStringLiteral("cut")].toInt(), 0) << "cards whose phone is not whole on the screen";
        if (c.compact && c.width < 500)
            EXPECT_EQ(r[QStringLiteral("columns")].toInt(), 1);
        if (c.compact && c.width >= 1280)
            EXPECT_LE(r[QStringLiteral("screens")].toDouble(), 4.0);
        const QJsonArray downloads = r[QStringLiteral("downloads")].toArray();
        EXPECT_FALSE(downloads.isEmpty());
        for (const QJsonValue &d : downloads)
            EXPECT_TRUE(QFileInfo(QDir(c.page.section(u'/', 0, 0) == QLatin1String("site") ? site : path(QStringLiteral("twelve")))
                                      .filePath(d.toString())).isFile())
                << d.toString().toStdString();
    }

    // The pictures of the page for the README and for looking at, from the same browser.
    for (const QSize size : {QSize(1280, 900), QSize(390, 844)}) {
        const QString shot = QString::fromUtf8(ZELKOR_GALLERY_SCREENSHOT)
                                 .replace(QStringLiteral("1280x900"), QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
        QFile::remove(shot);
        const Outcome screenshot = runProgram(chromium, browser + QStringList{
            QStringLiteral("--user-data-dir=") + path(QStringLiteral("profile-%1").arg(size.width())),
            QStringLiteral("--window-size=%1,%2").arg(size.width()).arg(size.height()),
            QStringLiteral("--screenshot=") + shot, QUrl::fromLocalFile(QDir(site).filePath(QStringLiteral("index.html"))).toString()});
        EXPECT_EQ(screenshot.code, 0) << screenshot.err.toStdString();
        const QImage picture(shot);
        EXPECT_EQ(picture.size(), size);
        EXPECT_GT(picture.convertToFormat(QImage::Format_Indexed8).colorCount(), 16) << "the screenshot is nearly blank";
    }
}

} // namespace
