// Our entry in the desktop's list of recent files, merged into what other
// programs left there, and a list we do not understand left alone.
#include "skin/desktoprecent.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace zelkor;

namespace {

const char *const kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<xbel version=\"1.0\" xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\""
                            " xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";

// A bookmark another program wrote; %1 is its address.
QByteArray othersBookmark(const QString &href)
{
    return QStringLiteral("  <bookmark href=\"%1\" added=\"2020-01-02T03:04:05Z\" modified=\"2020-01-02T03:04:05Z\""
                          " visited=\"2020-01-02T03:04:05Z\"><title>x</title><info><metadata owner=\"http://freedesktop.org\">"
                          "<mime:mime-type type=\"text/plain\"/><bookmark:applications><bookmark:application name=\"notes\""
                          " exec=\"&apos;notes %u&apos;\" modified=\"2020-01-02T03:04:05Z\" count=\"3\"/>"
                          "</bookmark:applications></metadata></info></bookmark>\n")
        .arg(href)
        .toUtf8();
}

struct Bookmark {
    QString added, modified, mime;
    QMap<QString, int> counts;  // application name -> count
};

// The list as a reader of it sees it: bookmarks by address, in file order.
QList<std::pair<QString, Bookmark>> readList(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader in(&file);
    QList<std::pair<QString, Bookmark>> list;
    const QString ns = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
    while (!in.atEnd()) {
        if (in.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = in.attributes();
        if (in.name() == u"bookmark")
            list.append({a.value(QLatin1String("href")).toString(), {a.value(QLatin1String("added")).toString(), a.value(QLatin1String("modified")).toString()}});
        else if (in.name() == u"mime-type")
            list.back().second.mime = a.value(QLatin1String("type")).toString();
        else if (in.name() == u"application" && in.namespaceUri() == ns)
            list.back().second.counts[a.value(QLatin1String("name")).toString()] = a.value(QLatin1String("count")).toInt();
    }
    EXPECT_FALSE(in.hasError()) << in.errorString().toStdString();
    return list;
}

TEST(DesktopRecentList, MergesOurEntryAndLeavesAListItCannotReadAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString skin = dir.filePath(QStringLiteral("мой скин #1.mbm"));
    const QString ours = QUrl::fromLocalFile(skin).toString(QUrl::FullyEncoded);
    const QString other = QStringLiteral("file:///home/u/notes.txt");
    const QByteArray head(kHeader);

    const struct {
        const char *name;
        QByteArray existing;  // "-" : no file at all
        int adds;
        QStringList order;    // the bookmarks afterwards; empty: the list refused and untouched
        int ourCount;
        int notesCount;       // the other program's count on our file's bookmark
    } cases[] = {
        {"no list yet", "-", 1, {ours}, 1, 0},
        {"an empty file", "", 1, {ours}, 1, 0},
        {"another program's bookmark kept", head + othersBookmark(other) + "</xbel>\n", 1, {other, ours}, 1, 0},
        {"opened twice", "-", 2, {ours}, 2, 0},
        {"our file known to another program", head + othersBookmark(ours) + othersBookmark(other) + "</xbel>", 2,
         {ours, other}, 2, 3},
        {"broken XML", head + othersBookmark(other), 1, {}, 0, 0},
        {"XML of another kind", "<html><body/></html>", 1, {}, 0, 0},
    };
    const QDateTime first(QDate(2026, 3, 4), QTime(5, 6, 7, 800), Qt::UTC);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString list = dir.filePath(QStringLiteral("share/%1.xbel").arg(QString::fromUtf8(c.name)));
        if (c.existing != "-") {
            ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("share"))));
            QFile f(list);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(c.existing) == c.existing.size());
        }
        for (int i = 0; i < c.adds; ++i)
            EXPECT_EQ(addToDesktopRecentList(list, skin, first.addSecs(60 * i)).ok(), !c.order.isEmpty());
        if (c.order.isEmpty()) {
            QFile f(list);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), c.existing);
            continue;
        }
        const auto bookmarks = readList(list);
        QStringList order;
        for (const auto &b : bookmarks)
            order << b.first;
        ASSERT_EQ(order, c.order);
        for (const auto &[href, b] : bookmarks) {
            if (href == other) {
                EXPECT_EQ(b.counts, (QMap<QString, int>{{QStringLiteral("notes"), 3}}));
                EXPECT_EQ(b.modified, QStringLiteral("2020-01-02T03:04:05Z"));
                continue;
            }
            EXPECT_EQ(b.counts.value(QStringLiteral("zelkor-skin-editor")), c.ourCount);
            EXPECT_EQ(b.counts.value(QStringLiteral("notes")), c.notesCount);
            EXPECT_EQ(b.added, c.notesCount ? QStringLiteral("2020-01-02T03:04:05Z") : QStringLiteral("2026-03-04T05:06:07.800Z"));
            EXPECT_EQ(b.modified, first.addSecs(60 * (c.adds - 1)).toString(Qt::ISODateWithMs));
            EXPECT_EQ(b.mime, c.notesCount ? QStringLiteral("text/plain") : QStringLiteral("image/x-symbian-mbm"));
        }
    }
}

} // namespace
