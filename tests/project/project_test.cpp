// Skin projects: the sheet of every size made from each kind of picture
// source, the file read back exactly as written, and archives that try to
// leave their folder, hide a link, explode, or come from a newer version.
#include "testsupport.h"

#include "design/scrim.h"
#include "imaging/picturefile.h"
#include "project/projectfile.h"
#include "project/projectsession.h"
#include "project/projectsheet.h"
#include "project/ziparchive.h"
#include "skin/port.h"
#include "skin/skindocument.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

namespace zelkor {
namespace {

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 90);
    return bytes;
}

// A photograph's stand-in: gradients and a disc, so every crop and scale shows.
QImage photo(QSize size, bool alpha = false)
{
    QImage image(size, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgba(255 * x / size.width(), 255 * y / size.height(), (x ^ y) & 0xff,
                                       alpha && x > size.width() / 2 ? 0 : 255));
    QPainter(&image).fillRect(QRect(QPoint(size.width() / 3, size.height() / 4), size / 5), Qt::yellow);
    return image;
}

class ProjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(QDir(test::programFolder()).filePath(QStringLiteral("skn/240x320.mbm"))))
            GTEST_SKIP() << "the templates are not in " << test::programFolder().toStdString()
                         << "; build bmconv and zelkor_data first";
        ASSERT_TRUE(work.isValid());
    }
    // The template of `profile` as New reads it.
    QImage templateOf(int profile)
    {
        if (!templates.count(profile)) {
            SkinImage skin;
            const QString path =
                files.dataPath(QString::fromUtf8(profileByIndex(profile)->templateName));
            EXPECT_TRUE(readSkinFile(files, work.path(), path, skin).ok());
            templates[profile] = skin.sheet;
        }
        return templates[profile];
    }
    TemplateReader reader()
    {
        return [this](int profile, QImage &out) {
            out = templateOf(profile);
            return out.isNull() ? Status::failure(QStringLiteral("no template")) : Status::success();
        };
    }

    ProgramFiles files = programFilesIn(test::programFolder());
    QTemporaryDir work;
    std::map<int, QImage> templates;
};

// What set-picture writes into picture `picture` of the template of `profile`:
// the file decoded whole, the focus in its pixels.
struct Given {
    int picture;
    QByteArray file;
    FitMode mode;
    std::optional<QPointF> focusPixels;
    double zoom = 1.0;
    std::optional<QRgb> margin;
    int onlySize = 0;  // an override for this size alone
};

TEST_F(ProjectTest, EverySizeIsMadeFromItsOwnSourcesAndTheFileReadsBackAsWritten)
{
    const QByteArray jpeg = encoded(photo({1201, 799}), "jpeg");
    const QByteArray png = encoded(photo({150, 61}, true), "png");
    const int home = 3;  // 240x320
    QImage imported = templateOf(home);
    ASSERT_FALSE(imported.isNull());
    {
        QPainter p(&imported);
        p.drawImage(pictureRect(Contacts, home)->rect(), photo(pictureRect(Contacts, home)->rect().size()));
    }
    for (int slot = 0; slot < kColourSlotCount; ++slot)
        writeColourSlot(imported, home, slot, qRgb(slot * 19, 200 - slot, 7 * slot));

    struct Case {
        const char *name;
        bool fromSheet;
        std::vector<Given> pictures;
        std::vector<std::tuple<int, int, QRgb>> colourOverrides;  // size, slot, colour
    };
    const std::vector<Case> cases{
        {"template only", false, {}, {}},
        {"imported sheet", true, {}, {}},
        {"a file in every mode",
         false,
         {{Contacts, jpeg, FitMode::Cover, QPointF(333, 411), 1.7},
          {Chat, jpeg, FitMode::Contain, {}, 1.0, qRgb(0x12, 0x34, 0x56)},
          {Select1, png, FitMode::AsIs},
          {SettingsEl, jpeg, FitMode::Stretch},
          {Menuline, png, FitMode::Cover}},
         {}},
        {"overrides over an imported sheet",
         true,
         {{Chat, jpeg, FitMode::Cover, QPointF(700, 381), 2.5},
          {Chat, jpeg, FitMode::Contain, {}, 1.0, {}, 1},
          {Contacts, png, FitMode::Stretch, {}, 1.0, {}, 5}},
         {{2, 3, qRgb(1, 2, 3)}, {6, 0, qRgb(250, 0, 0)}}},
    };

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SkinProject project = c.fromSheet ? projectFromSheet(home, imported, QStringLiteral("Море"))
                                          : projectFromTemplate(home, templateOf(home), QStringLiteral("Море"));
        for (const Given &g : c.pictures) {
            QString why;
            const QSize size = readImageData(g.file, {}, why).size();
            SourcePlacement placement{g.mode, {}, g.zoom, g.margin, {}};
            if (g.focusPixels)
                placement.focus = relativeFocus(*g.focusPixels, size);
            project.setPictureFile(g.picture, g.file, placement, g.onlySize);
        }
        for (const auto &[size, slot, colour] : c.colourOverrides)
            project.setColour(slot, colour, size);

        // Written and read back: the same text, the same bytes, the same sheets.
        QByteArray bytes;
        ASSERT_TRUE(projectFileBytes(project, QImage(), QStringLiteral("p.zskin"), bytes).ok());
        SkinProject back;
        QStringList notices;
        ASSERT_TRUE(readProjectBytes(bytes, QStringLiteral("p.zskin"), back, notices).ok());
        EXPECT_TRUE(notices.isEmpty());
        EXPECT_EQ(projectJson(back), projectJson(project));
        QByteArray again;
        ASSERT_TRUE(projectFileBytes(back, QImage(), QStringLiteral("p.zskin"), again).ok());
        EXPECT_EQ(again, bytes);

        // What a newer version writes at any level comes back as it was.
        if (!c.pictures.empty()) {
            QJsonObject o = QJsonDocument::fromJson(projectJson(project)).object();
            const QString name = QLatin1String(pictureInfo(c.pictures[0].picture).name);
            QJsonObject pictures = o[QStringLiteral("pictures")].toObject(), picture = pictures[name].toObject();
            QJsonObject placement = picture[QStringLiteral("placement")].toObject();
            QJsonObject exporting = o[QStringLiteral("export")].toObject();
            for (QJsonObject *level : {&o, &picture, &placement, &exporting})
                level->insert(QStringLiteral("later"), QJsonArray{1, QStringLiteral("два")});
            picture[QStringLiteral("placement")] = placement;
            pictures[name] = picture;
            o[QStringLiteral("pictures")] = pictures;
            o[QStringLiteral("export")] = exporting;
            SkinProject later;
            std::map<int, QString> entries;
            ASSERT_TRUE(parseProjectJson(QJsonDocument(o).toJson(), QStringLiteral("p.zskin"), later, entries).ok());
            EXPECT_EQ(QJsonDocument::fromJson(projectJson(later)).object(), o);
        }

        ProjectSheets sheets(reader()), readBack(reader());
        for (const Profile &p : allProfiles()) {
            SCOPED_TRACE(p.label);
            QImage sheet, sheetBack;
            ASSERT_TRUE(sheets.sheet(project, p.index, sheet).ok());
            ASSERT_TRUE(readBack.sheet(back, p.index, sheetBack).ok());
            EXPECT_TRUE(sheet == sheetBack);

            const ColourSlots base = readColourSlots(c.fromSheet ? imported : templateOf(home), home);
            for (int slot = 0; slot < kColourSlotCount; ++slot) {
                QRgb expected = base[size_t(slot)];
                for (const auto &[size, s, colour] : c.colourOverrides)
                    if (size == p.index && s == slot)
                        expected = colour;
                EXPECT_EQ(readColourSlot(sheet, p.index, slot), expected) << "slot " << slot;
            }
            // Each picture: what set-picture writes into this size's template,
            // else the template's own, else the imported pixels (ported at other sizes).
            const QImage canvas = templateCanvas(templateOf(p.index), p.index);
            const QImage ported = c.fromSheet ? portSheet(imported, home, templateOf(p.index), p.index) : canvas;
            for (int picture = 0; picture < kPictureCount; ++picture) {
                QImage expected = c.fromSheet ? (p.index == home ? imported : ported) : canvas;
                for (const Given &g : c.pictures)
                    if (g.picture == picture && (g.onlySize == 0 || g.onlySize == p.index)) {
                        expected = templateOf(p.index);
                        QString why;
                        const QImage image = readImageData(g.file, {}, why);
                        const QSize rect = pictureRect(picture, p.index)->rect().size();
                        const QRect crop = g.mode == FitMode::Cover
                                               ? coverCrop(image.size(), rect, g.focusPixels, g.zoom)
                                               : QRect();
                        placePicture(expected, p.index, picture, image, {g.mode, crop, g.margin});
                    }
                EXPECT_TRUE(cutOutPicture(sheet, p.index, picture) == cutOutPicture(expected, p.index, picture))
                    << pictureInfo(picture).name;
            }
        }
    }
}

// A scrim kept with a placement is made again for every framing and size:
// the pixels in the bands under the texts are moved toward one tone by its
// strength, every other pixel is the framing's own; it survives the file.
TEST_F(ProjectTest, AScrimFollowsEveryFramingAndSize)
{
    IconSheets icons;
    ASSERT_TRUE(readIconSheets(files, icons).ok());
    const QByteArray jpeg = encoded(photo({1201, 799}), "jpeg");
    const QSize size(1201, 799);
    const double strength = 0.5;
    struct Framing {
        std::optional<QPointF> focus;
        double zoom;
    };
    for (const Framing &f : {Framing{{}, 1.0}, Framing{QPointF(100, 700), 2.0}, Framing{QPointF(1100, 90), 3.5}}) {
        SkinProject bare = projectFromTemplate(3, templateOf(3), QStringLiteral("s"));
        SourcePlacement placement{FitMode::Cover, {}, f.zoom, {}, 0.0, {}};
        if (f.focus)
            placement.focus = relativeFocus(*f.focus, size);
        for (int picture : {int(Contacts), int(Chat)})
            bare.setPictureFile(picture, jpeg, placement);
        SkinProject scrimmed = bare;
        for (int picture : {int(Contacts), int(Chat)})
            scrimmed.pictures[size_t(picture)].placement.scrim = strength;

        QByteArray bytes;
        ASSERT_TRUE(projectFileBytes(scrimmed, QImage(), QStringLiteral("p.zskin"), bytes).ok());
        SkinProject back;
        QStringList notices;
        ASSERT_TRUE(readProjectBytes(bytes, QStringLiteral("p.zskin"), back, notices).ok());
        EXPECT_EQ(back.pictures[Chat].placement.scrim, strength);

        ProjectSheets sheets(reader());
        sheets.setIcons(&icons);
        for (const Profile &p : allProfiles()) {
            SCOPED_TRACE(p.label);
            QImage plain, veiled;
            ASSERT_TRUE(sheets.sheet(bare, p.index, plain).ok());
            ASSERT_TRUE(sheets.sheet(back, p.index, veiled).ok());
            std::vector<bool> inBand(size_t(plain.width()) * size_t(plain.height()), false);
            for (const design::TextBand &b : design::textBands(plain, p.index, icons, design::kEveryText))
                if (b.picture == Contacts || b.picture == Chat)
                    for (int y = b.rect.top(); y <= b.rect.bottom(); ++y)
                        for (int x = b.rect.left(); x <= b.rect.right(); ++x)
                            inBand[size_t(y) * size_t(plain.width()) + size_t(x)] = true;
            int moved = 0, wrong = 0;
            for (int y = 0; y < plain.height(); ++y)
                for (int x = 0; x < plain.width(); ++x) {
                    const QRgb a = plain.pixel(x, y), b = veiled.pixel(x, y);
                    if (!inBand[size_t(y) * size_t(plain.width()) + size_t(x)]) {
                        wrong += a != b;
                        continue;
                    }
                    // Halfway to black or to white, channel by channel.
                    const auto halfway = [&](int tone) {
                        for (int shift : {16, 8, 0})
                            if (std::abs(2 * (int(b >> shift & 0xff) - tone) - (int(a >> shift & 0xff) - tone)) > 2)
                                return false;
                        return true;
                    };
                    wrong += !(halfway(0) || halfway(255));
                    moved += a != b;
                }
            EXPECT_EQ(wrong, 0);
            EXPECT_GT(moved, 100);
        }
    }
}

// Sets the Unix mode of every central directory entry of `zip` (a link: 0120777).
QByteArray withUnixMode(QByteArray zip, quint32 mode)
{
    for (qsizetype at = zip.indexOf("PK\x01\x02"); at >= 0; at = zip.indexOf("PK\x01\x02", at + 4)) {
        zip[at + 5] = 3;  // made by: Unix
        qToLittleEndian<quint32>(mode << 16, zip.data() + at + 38);
    }
    return zip;
}

TEST_F(ProjectTest, HostileOrBrokenArchivesAreRefusedOrOpenWithTheirLossNamed)
{
    SkinProject project = projectFromTemplate(1, templateOf(1), QStringLiteral("x"));
    project.setPictureFile(Chat, encoded(photo({40, 30}), "png"), {});
    const QString hash = project.pictures[Chat].file;
    const QByteArray json = projectJson(project);
    QByteArray newer = json;
    newer.replace("\"version\": 1", "\"version\": 7");
    const QByteArray mimetype(kProjectMimeType);
    auto zip = [](std::vector<ZipEntry> entries) {
        QByteArray bytes;
        EXPECT_TRUE(zipArchive(entries, QStringLiteral("t"), bytes).ok());
        return bytes;
    };
    const QByteArray picture = project.pictureFiles.at(hash);
    // The same picture kept for 352x416 alone, a second one for that size's contact list.
    SkinProject bySize = project;
    bySize.setPictureFile(Contacts, encoded(photo({30, 40}), "png"), {}, 5);
    const QString ownHash = bySize.pictures[Contacts].overrides.at(5).file;
    const QByteArray bySizeJson = projectJson(bySize);

    struct Case {
        const char *name;
        QByteArray archive;
        bool opens;
        QStringList said;  // words the message (or notice) must hold
    };
    const std::vector<Case> cases{
        {"whole", zip({{"mimetype", mimetype, false}, {"project.json", json}, {pictureEntryName(hash), picture}}), true, {}},
        {"a name leaving the folder", zip({{"mimetype", mimetype}, {"project.json", json}, {"pictures/../../x", picture}}), false, {"../../x"}},
        {"an absolute name", zip({{"project.json", json}, {"/etc/x", picture}}), false, {"/etc/x"}},
        {"a drive name", zip({{"project.json", json}, {"C:x", picture}}), false, {"C:x"}},
        {"a scrim beyond 1", zip({{"mimetype", mimetype, false}, {"project.json", QByteArray(json).replace("\"mode\": \"cover\"", "\"mode\": \"cover\", \"scrim\": 1.5")}, {pictureEntryName(hash), picture}}), false, {"p.zskin"}},
        {"a link", withUnixMode(zip({{"project.json", json}, {"pictures/l", "/etc/passwd"}}), 0120777), false, {"ссылка"}},
        {"not a ZIP", QByteArray("PK\x03\x04 not really"), false, {"p.zskin"}},
        {"no project.json", zip({{"mimetype", mimetype}}), false, {"не проект"}},
        {"another mimetype", zip({{"mimetype", "application/zip"}, {"project.json", json}}), false, {"не проект"}},
        {"a newer version", zip({{"project.json", newer}}), false, {"версии 7", "версии 1"}},
        {"a picture missing", zip({{"project.json", json}}), true, {pictureEntryName(hash), "шаблона"}},
        {"a picture altered", zip({{"project.json", json}, {pictureEntryName(hash), picture + "x"}}), true, {"шаблона"}},
        {"a picture of one size missing too", zip({{"project.json", bySizeJson}}), true, {pictureEntryName(ownHash), "(contacts) для 352x416 взята"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SkinProject read;
        QStringList notices;
        const Status s = readProjectBytes(c.archive, QStringLiteral("p.zskin"), read, notices);
        EXPECT_EQ(s.ok(), c.opens) << s.message.toStdString();
        const QString text = s.message + notices.join(u'\n');
        for (const QString &word : c.said)
            EXPECT_TRUE(text.contains(word)) << text.toStdString() << " lacks " << word.toStdString();
        if (s.ok())
            EXPECT_EQ(read.pictures[Chat].kind, c.said.isEmpty() ? PictureSourceKind::File : PictureSourceKind::Template);
    }

    // A bomb: the size is refused from the directory, before anything is inflated.
    UnzippedArchive out;
    const Status bomb = unzipArchive(zip({{"project.json", QByteArray(4 << 20, '\0')}}), QStringLiteral("b.zskin"),
                                     ZipLimits{1 << 20, 1 << 20, 10}, out);
    EXPECT_FALSE(bomb.ok());
    EXPECT_TRUE(bomb.message.contains(QStringLiteral("слишком большой"))) << bomb.message.toStdString();
    EXPECT_TRUE(out.entries.empty());
}

// What the editor's document shows is folded back into the project: a colour
// for every size, a picture's pixels as that size's own (shared when that
// size's sheet is the one the others are ported from, else an override),
// and an earlier step brings back the project as it was.
TEST_F(ProjectTest, EditsOfTheShownSizeFoldIntoTheProjectAndEarlierStepsComeBack)
{
    const QRgb red = qRgb(210, 20, 30);
    const struct {
        bool fromSheet;  // a skin of 176 x 208 imported, else the template of 240 x 320
        bool picture;    // a picture painted at 240 x 320, else colour 5 changed there
        PictureSourceKind shared;
        bool override;
        size_t sheets;
    } cases[] = {
        {false, false, PictureSourceKind::Template, false, 0},
        {false, true, PictureSourceKind::Sheet, false, 1},
        {true, false, PictureSourceKind::Sheet, false, 1},
        {true, true, PictureSourceKind::Sheet, true, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.fromSheet * 2 + c.picture);
        SkinProject start = c.fromSheet ? projectFromSheet(1, templateOf(1), QStringLiteral("a"))
                                        : projectFromTemplate(3, templateOf(3), QStringLiteral("a"));
        start.setColour(5, qRgb(1, 1, 1), 3);  // an override the shared colour replaces
        ProjectSession session(start, reader());
        QImage sheet;
        ASSERT_TRUE(session.sheet(start.profile, sheet).ok());
        session.follow(0, sheet, start.profile);
        const QImage first = sheet;
        ASSERT_TRUE(session.sheet(3, sheet).ok());
        session.follow(1, sheet, 3);
        QImage painted = cutOutPicture(sheet, 3, 2);
        painted.fill(red);
        if (c.picture)
            writeBackPicture(sheet, 3, 2, painted);
        else
            writeColourSlot(sheet, 3, 5, red);
        session.follow(2, sheet, 3);

        const SkinProject &edited = session.project();
        EXPECT_EQ(edited.profile, 3);
        EXPECT_EQ(edited.pictures[2].kind, c.shared);
        EXPECT_EQ(edited.pictures[2].overrides.count(3), size_t(c.override));
        EXPECT_EQ(edited.sheets.size(), c.sheets);
        EXPECT_EQ(edited.colourAt(1, 5), c.picture ? start.colourAt(1, 5) : red);
        EXPECT_EQ(edited.colourAt(3, 5), c.picture ? qRgb(1, 1, 1) : red);
        QImage again;
        ASSERT_TRUE(session.sheet(3, again).ok());
        EXPECT_EQ(again, sheet);
        // 176 x 208 follows a shared edit and keeps its own picture otherwise.
        ASSERT_TRUE(session.sheet(1, again).ok());
        const QImage small = cutOutPicture(again, 1, 2);
        EXPECT_EQ(small.pixel(small.width() / 2, small.height() / 2) == red, c.picture && !c.override);

        // Undone to the first step, the document shows its first sheet again.
        session.follow(0, first, start.profile);
        EXPECT_EQ(projectJson(session.project()), projectJson(start));
    }
}

} // namespace
} // namespace zelkor

// The files "Экспорт скинов…" and export write: the prefix Save gives and
// ".mbm" once, whatever dots the project's name holds.
TEST(ProjectExportNames, PrefixAndOneSkinExtension)
{
    struct Case {
        const char *name;
        const char *written;  // at 240x320 in /f
    };
    const std::vector<Case> cases{
        {"Море", "/f/extskin_240x320_Море.mbm"},
        {"summer.v2", "/f/extskin_240x320_summer.v2.mbm"},
        {"..", "/f/extskin_240x320__...mbm"},
        {"old.MBM", "/f/extskin_240x320_old.MBM"},
        {"extskin_240x320_x", "/f/extskin_240x320_x.mbm"},
        {"a/b", "/f/extskin_240x320_a_b.mbm"},
        {"", "/f/extskin_240x320_skin.mbm"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(zelkor::exportTargets(QStringLiteral("/f"), QString::fromUtf8(c.name), {3}).join(u'|').toStdString(),
                  c.written);
}
