// The file types that the install registers: a skin is known by its first
// eight bytes whatever its name, and by its .mbm name; a skin project by the
// stored mimetype entry its archive begins with, and by its .zskin name.
#include "datatests.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zelkor {
namespace {

TEST(SkinFileType, KnownByItsFirstBytesAndByItsName)
{
    const QString templ = test::programFile(QStringLiteral("skn/176x208.mbm"));
    QFile skin(templ);
    ASSERT_TRUE(skin.open(QIODevice::ReadOnly)) << qPrintable(templ);
    const QByteArray real = skin.readAll();

    // Our definition beside the system's, in one database as an install makes
    // it (Qt reads the XML of a data folder without a cache): magic of two
    // databases is not weighed against each other, so application/zip's own
    // would win over a project's.
    const QString system = QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml");
    if (!QFile::exists(system))
        GTEST_SKIP() << "no shared-mime-info database at " << qPrintable(system);
    QTemporaryDir data;
    ASSERT_TRUE(QDir(data.path()).mkpath(QStringLiteral("mime/packages")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZELKOR_MIME_XML), data.filePath(QStringLiteral("mime/packages/skin.xml"))));
    ASSERT_TRUE(QFile::copy(system, data.filePath(QStringLiteral("mime/packages/freedesktop.org.xml"))));
    qputenv("XDG_DATA_HOME", data.filePath(QStringLiteral("home")).toUtf8());
    qputenv("XDG_DATA_DIRS", data.path().toUtf8());

    QByteArray wrongSecondUid = real;
    wrongSecondUid[4] = 0x41;
    // A local file header (30 bytes) naming "mimetype", then its stored data.
    const QByteArray header = QByteArray("PK\x03\x04", 4) + QByteArray(22, '\0') + QByteArray("\x08\0\0\0", 4);
    const QByteArray project = header + "mimetypeapplication/x-zelkor-skin-project";
    const QByteArray otherZip = header + "mimetypeapplication/vnd.oasis.opendocument.text";
    const char *skinType = "image/x-symbian-mbm";
    const char *projectType = "application/x-zelkor-skin-project";
    const struct {
        const char *name;
        QByteArray bytes;
        const char *type;  // ours, or null for none of ours
    } cases[] = {
        {"skin.dat", real, skinType},
        {"skin", real.left(8), skinType},
        {"named.mbm", QByteArray("not a bitmap at all"), skinType},
        {"other.dat", wrongSecondUid, nullptr},
        {"short.dat", real.left(6), nullptr},
        {"design.dat", project, projectType},
        {"named.zskin", QByteArray("not an archive"), projectType},
        {"other.zip", otherZip, nullptr},
    };
    const QMimeDatabase db;
    for (const auto &c : cases) {
        const QString path = data.filePath(QString::fromLatin1(c.name));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        const QString type = db.mimeTypeForFile(path).name();
        if (c.type)
            EXPECT_EQ(type, QLatin1String(c.type)) << c.name;
        else
            EXPECT_TRUE(type != QLatin1String(skinType) && type != QLatin1String(projectType))
                << c.name << " is " << qPrintable(type);
    }
}

} // namespace
} // namespace zelkor
