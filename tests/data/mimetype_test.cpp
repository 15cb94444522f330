// The file type that the install registers for skins: a skin is known by its
// first eight bytes whatever its name, and by its .mbm name.
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

    // Only our definition and the system's: Qt reads the XML of a data folder without a cache.
    QTemporaryDir data;
    ASSERT_TRUE(QDir(data.path()).mkpath(QStringLiteral("mime/packages")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZELKOR_MIME_XML), data.filePath(QStringLiteral("mime/packages/skin.xml"))));
    qputenv("XDG_DATA_HOME", data.filePath(QStringLiteral("home")).toUtf8());
    qputenv("XDG_DATA_DIRS", (data.path() + QStringLiteral(":/usr/share")).toUtf8());

    QByteArray wrongSecondUid = real;
    wrongSecondUid[4] = 0x41;
    const struct {
        const char *name;
        QByteArray bytes;
        bool skin;
    } cases[] = {
        {"skin.dat", real, true},
        {"skin", real.left(8), true},
        {"named.mbm", QByteArray("not a bitmap at all"), true},
        {"other.dat", wrongSecondUid, false},
        {"short.dat", real.left(6), false},
    };
    const QMimeDatabase db;
    for (const auto &c : cases) {
        const QString path = data.filePath(QString::fromLatin1(c.name));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        EXPECT_EQ(db.mimeTypeForFile(path).name() == QLatin1String("image/x-symbian-mbm"), c.skin)
            << c.name << " is " << qPrintable(db.mimeTypeForFile(path).name());
    }
}

} // namespace
} // namespace zelkor
