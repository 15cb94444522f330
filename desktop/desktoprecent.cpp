#include "desktoprecent.h"

#include "skin/filewrite.h"
#include "skin/userfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace zelkor {

namespace {

const QString kBookmarkNs = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
const QString kOwner = QStringLiteral("http://freedesktop.org");
const QString kAppName = QStringLiteral("zelkor-skin-editor");
// Quoted as the desktop's own toolkits write it; %u stands for the file's URI.
const QString kExec = QStringLiteral("'zelkor-skin-editor %u'");
const QString kMimeType = QStringLiteral("image/x-symbian-mbm");
// A list this large is not one a desktop wrote; we leave it alone.
constexpr qint64 kLargestList = qint64(64) << 20;

struct Entry {
    QString file;  // absolute, clean
    QString href;
    QString when;
};

bool isOurs(const QXmlStreamReader &in, const Entry &entry)
{
    const QUrl url(in.attributes().value(QStringLiteral("href")).toString());
    return url.isLocalFile() && QDir::cleanPath(url.toLocalFile()) == entry.file;
}

bool isBookmarkElement(const QXmlStreamReader &in, QStringView name)
{
    return in.namespaceUri() == kBookmarkNs && in.name() == name;
}

void writeApplication(QXmlStreamWriter &out, const Entry &entry, int count)
{
    out.writeEmptyElement(kBookmarkNs, QStringLiteral("application"));
    out.writeAttribute(QStringLiteral("name"), kAppName);
    out.writeAttribute(QStringLiteral("exec"), kExec);
    out.writeAttribute(QStringLiteral("modified"), entry.when);
    out.writeAttribute(QStringLiteral("count"), QString::number(count));
}

void writeInfo(QXmlStreamWriter &out, const Entry &entry)
{
    out.writeStartElement(QStringLiteral("info"));
    out.writeStartElement(QStringLiteral("metadata"));
    out.writeAttribute(QStringLiteral("owner"), kOwner);
    out.writeEmptyElement(kMimeNs, QStringLiteral("mime-type"));
    out.writeAttribute(QStringLiteral("type"), kMimeType);
    out.writeStartElement(kBookmarkNs, QStringLiteral("applications"));
    writeApplication(out, entry, 1);
    out.writeEndElement();
    out.writeEndElement();
    out.writeEndElement();
}

void writeBookmark(QXmlStreamWriter &out, const Entry &entry)
{
    out.writeCharacters(QStringLiteral("  "));
    out.writeStartElement(QStringLiteral("bookmark"));
    out.writeAttribute(QStringLiteral("href"), entry.href);
    for (const char *stamp : {"added", "modified", "visited"})
        out.writeAttribute(QString::fromLatin1(stamp), entry.when);
    writeInfo(out, entry);
    out.writeEndElement();
    out.writeCharacters(QStringLiteral("\n"));
}

// Our bookmark's opening tag with its times brought up to date.
void writeOurStart(const QXmlStreamReader &in, QXmlStreamWriter &out, const Entry &entry)
{
    out.writeStartElement(in.namespaceUri().toString(), in.name().toString());
    for (const auto &declaration : in.namespaceDeclarations())
        out.writeNamespace(declaration.namespaceUri().toString(), declaration.prefix().toString());
    const auto attributes = in.attributes();
    for (const auto &attribute : attributes)
        if (attribute.name() != u"modified" && attribute.name() != u"visited")
            out.writeAttribute(attribute);
    if (!attributes.hasAttribute(QStringLiteral("added")))
        out.writeAttribute(QStringLiteral("added"), entry.when);
    out.writeAttribute(QStringLiteral("modified"), entry.when);
    out.writeAttribute(QStringLiteral("visited"), entry.when);
}

// Copies the list in `in` to `out` with our entry updated or added; false when
// `in` is not a bookmark list.
bool merge(QXmlStreamReader &in, QXmlStreamWriter &out, const Entry &entry)
{
    int depth = 0;
    bool root = false, inOurs = false, appDone = false, bookmarkDone = false;
    while (!in.atEnd()) {
        const auto token = in.readNext();
        if (token == QXmlStreamReader::Invalid)
            return false;
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 1) {
                if (in.name() != u"xbel" || !in.namespaceUri().isEmpty())
                    return false;
                root = true;
            } else if (depth == 2 && !bookmarkDone && in.name() == u"bookmark" && isOurs(in, entry)) {
                inOurs = true;
                writeOurStart(in, out, entry);
                continue;
            } else if (inOurs && !appDone && isBookmarkElement(in, u"application") &&
                       in.attributes().value(QStringLiteral("name")) == kAppName) {
                writeApplication(out, entry, std::max(in.attributes().value(QStringLiteral("count")).toInt(), 0) + 1);
                appDone = true;
                in.skipCurrentElement();
                --depth;
                continue;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (inOurs && !appDone && isBookmarkElement(in, u"applications")) {
                writeApplication(out, entry, 1);
                appDone = true;
            }
            if (inOurs && depth == 2) {
                if (!appDone)
                    writeInfo(out, entry);
                inOurs = false;
                bookmarkDone = true;
            }
            if (depth == 1 && !bookmarkDone) {
                writeBookmark(out, entry);
                bookmarkDone = true;
            }
            --depth;
        }
        out.writeCurrentToken(in);
    }
    return root && !in.hasError();
}

QByteArray freshList(const Entry &entry)
{
    QByteArray bytes;
    QXmlStreamWriter out(&bytes);
    out.writeStartDocument();
    out.writeCharacters(QStringLiteral("\n"));
    out.writeStartElement(QStringLiteral("xbel"));
    out.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    out.writeNamespace(kBookmarkNs, QStringLiteral("bookmark"));
    out.writeNamespace(kMimeNs, QStringLiteral("mime"));
    out.writeCharacters(QStringLiteral("\n"));
    writeBookmark(out, entry);
    out.writeEndElement();
    out.writeEndDocument();
    return bytes;
}

} // namespace

QString desktopRecentListPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("recently-used.xbel"));
}

Status addToDesktopRecentList(const QString &listPath, const QString &file, const QDateTime &when)
{
    const QString shown = QDir::toNativeSeparators(listPath);
    Entry entry;
    entry.file = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    entry.href = QUrl::fromLocalFile(entry.file).toString(QUrl::FullyEncoded);
    entry.when = when.toUTC().toString(Qt::ISODateWithMs);

    // Only a regular file is read, and never more than a list can hold: a
    // pipe or a link to a device there is left alone.
    QByteArray old;
    if (pathTaken(listPath))
        if (const Status s = readUserFile(listPath, kLargestList, old); !s)
            return Status::failure(QStringLiteral("Список недавних файлов «%1» не прочитан; он оставлен как есть.")
                                       .arg(shown),
                                   s.message);

    QByteArray bytes;
    if (old.trimmed().isEmpty()) {
        bytes = freshList(entry);
    } else {
        QXmlStreamReader in(old);
        QXmlStreamWriter out(&bytes);
        if (!merge(in, out, entry))
            return Status::failure(QStringLiteral("Файл «%1» — не список недавних файлов; он оставлен как есть.").arg(shown),
                                   in.errorString());
    }

    QDir().mkpath(QFileInfo(listPath).absolutePath());
    // Written as every file of ours is: whole, keeping the list's permissions.
    if (const Status s = writeFileWhole(listPath, bytes, IfExists::Replace); !s)
        return Status::failure(QStringLiteral("Список недавних файлов «%1» не записан.").arg(shown), s.message);
    return Status::success();
}

} // namespace zelkor
