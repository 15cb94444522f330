// Our entry in the desktop's list of recent files, merged into what other
// programs left there, and a list we do not understand left alone.
#include "desktop/desktoprecent.h"
#include "desktop/thumbnailcache.h"

#include <QDir>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace zelkor;

namespace {

// A bookmark another program wrote for `href`.
QByteArray othersBookmark(const QString &href)
{
    return QStringLiteral("<bookmark href=\"%1\" added=\"2020-01-02T03:04:05Z\" modified=\"2020-01-02T03:04:05Z\">"
                          "<title>x</title><info><metadata owner=\"http://freedesktop.org\"><mime:mime-type type=\"text/plain\"/>"
                          "<bookmark:applications><bookmark:application name=\"notes\" exec=\"&apos;notes %u&apos;\""
                          " modified=\"2020-01-02T03:04:05Z\" count=\"3\"/></bookmark:applications></metadata></info></bookmark>\n")
        .arg(href)
        .toUtf8();
}

// Each bookmark as a reader of the list sees it, one line: address, added,
// modified, file type, and each program with its count.
QStringList bookmarks(const QString &path)
{
    QFile file(path);
    QXmlStreamReader in(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    QStringList lines;
    const auto value = [&in](const char *name) { return in.attributes().value(QLatin1String(name)).toString(); };
    while (!in.atEnd()) {
        if (in.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (in.name() == u"bookmark")
            lines << QStringList{value("href"), value("added"), value("modified")}.join(u' ');
        else if (in.name() == u"mime-type")
            lines.last() += u' ' + value("type");
        else if (in.name() == u"application" && in.prefix() == u"bookmark")
            lines.last() += QStringLiteral(" %1=%2").arg(value("name"), value("count"));
    }
    EXPECT_FALSE(in.hasError()) << in.errorString().toStdString();
    return lines;
}

TEST(DesktopRecentList, MergesOurEntryAndLeavesAListItCannotReadAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString skin = dir.filePath(QStringLiteral("мой скин #1.mbm"));
    const QString ours = QUrl::fromLocalFile(skin).toString(QUrl::FullyEncoded);
    const QString other = QStringLiteral("file:///home/u/notes.txt");
    const QByteArray head = "<?xml version=\"1.0\"?>\n<xbel version=\"1.0\" xmlns:bookmark=\"http://www.freedesktop.org/"
                            "standards/desktop-bookmarks\" xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    const QString old = QStringLiteral(" 2020-01-02T03:04:05Z");
    const QString first = QStringLiteral(" 2026-03-04T05:06:07.800Z"), second = QStringLiteral(" 2026-03-04T05:07:07.800Z");
    const QString type = QStringLiteral(" image/x-symbian-mbm zelkor-skin-editor=");
    const QString others = other + old + old + QStringLiteral(" text/plain notes=3");

    const struct {
        const char *name;
        QByteArray existing;  // "-": no file at all
        int adds;
        QStringList after;    // empty: the list refused and left untouched
        char plant = 'f';     // 'p' a pipe, 'z' a link to /dev/zero instead; 'r' the file read-only
    } cases[] = {
        {"no list yet", "-", 1, {ours + first + first + type + u'1'}},
        {"an empty file", "", 1, {ours + first + first + type + u'1'}},
        {"another program's bookmark kept", head + othersBookmark(other) + "</xbel>\n", 1,
         {others, ours + first + first + type + u'1'}},
        {"opened twice", "-", 2, {ours + first + second + type + u'2'}},
        {"our file known to another program", head + othersBookmark(ours) + othersBookmark(other) + "</xbel>", 2,
         {ours + old + second + QStringLiteral(" text/plain notes=3 zelkor-skin-editor=2"), others}},
        {"broken XML", head + othersBookmark(other), 1, {}},
        {"XML of another kind", "<html><body/></html>", 1, {}},
        {"a pipe", "-", 1, {}, 'p'},
        {"a link to endless zeros", "-", 1, {}, 'z'},
        {"read-only, and kept so", "", 1, {ours + first + first + type + u'1'}, 'r'},
    };
    const QDateTime start(QDate(2026, 3, 4), QTime(5, 6, 7, 800), Qt::UTC);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString list = dir.filePath(QStringLiteral("share/%1.xbel").arg(QString::fromUtf8(c.name)));
        QFile file(list);
        if (c.existing != "-")
            ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("share"))) && file.open(QIODevice::WriteOnly) &&
                        file.write(c.existing) == c.existing.size() && file.flush());
        file.close();
        QDir().mkpath(dir.filePath(QStringLiteral("share")));
        if (c.plant == 'p')
            ASSERT_EQ(::mkfifo(QFile::encodeName(list).constData(), 0644), 0);
        if (c.plant == 'z')
            ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), list));
        if (c.plant == 'r')
            ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::ReadGroup));
        for (int i = 0; i < c.adds; ++i)
            EXPECT_EQ(addToDesktopRecentList(list, skin, start.addSecs(60 * i)).ok(), !c.after.isEmpty());
        struct stat st {};
        ::lstat(QFile::encodeName(list).constData(), &st);
        if (c.plant == 'p' || c.plant == 'z') {
            EXPECT_TRUE(c.plant == 'p' ? S_ISFIFO(st.st_mode) : S_ISLNK(st.st_mode));
        } else if (c.after.isEmpty()) {
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), c.existing);
        } else {
            EXPECT_EQ(bookmarks(list), c.after);
            if (c.plant == 'r')
                EXPECT_EQ(st.st_mode & 07777, 0440u);
        }
    }
}

} // namespace

namespace {

// The thumbnail the editor keeps for a skin file: scaled to the cache's
// size, found again for that file as it is, and no longer once it changed.
TEST(ThumbnailCache, KeptForTheFileAsItIs)
{
    QTemporaryDir dir;
    const QString skin = dir.filePath(QStringLiteral("мой скин.mbm")), other = dir.filePath(QStringLiteral("b.mbm"));
    for (const QString &path : {skin, other}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("x") == 1);
    }
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::red);
    EXPECT_FALSE(keepThumbnail(dir.path(), picture));  // a folder has no thumbnail of ours
    ASSERT_TRUE(keepThumbnail(skin, picture));
    EXPECT_TRUE(thumbnailPath(skin).contains(QStringLiteral("/thumbnails/normal/")));
    EXPECT_EQ(cachedThumbnail(skin).size(), QSize(128, 96));
    EXPECT_TRUE(cachedThumbnail(other).isNull());

    QFile f(skin);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    f.close();
    EXPECT_TRUE(cachedThumbnail(skin).isNull());
    QFile::remove(thumbnailPath(skin));
}

} // namespace
