// A recovery copy read back: a copy planted or damaged by someone else is
// believed in nothing it says about files, depths or sizes.
#include "skin/profiles.h"
#include "desktop/recovery.h"
#include "skin/skindocument.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QBuffer>
#include <QImageWriter>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using namespace zelkor;

namespace {

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG whose header claims `height` rows, whatever its data holds.
void claimHeight(QByteArray &png, quint32 height)
{
    const int ihdr = 12;  // after the signature and the chunk's length
    for (int i = 0; i < 4; ++i)
        png[ihdr + 8 + i] = char(height >> (24 - 8 * i));
    const quint32 crc = crc32(png.mid(ihdr, 4 + 13));
    for (int i = 0; i < 4; ++i)
        png[ihdr + 17 + i] = char(crc >> (24 - 8 * i));
}

TEST(RecoveryFile, FieldsOfAPlantedCopyAreNotBelieved)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Profile &p = *profileByIndex(3);
    const QString skinFile = dir.filePath(QStringLiteral("настоящий.mbm"));
    const QString source = QDir(test::programFolder()).filePath(QString::fromUtf8(p.templateName));
    if (!QFile::exists(source))
        GTEST_SKIP() << "no template in the program folder; build zelkor_data first";
    ASSERT_TRUE(QFile::copy(source, skinFile));
    const QString notASkin = dir.filePath(QStringLiteral("passwd"));
    QFile text(notASkin);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("root:x:0:0\n") > 0);
    text.close();

    const struct {
        const char *name;
        const char *file, *own, *depth, *unsaved;
        quint32 height;  // claimed in the PNG header; 0: as drawn
        bool readable;
        const char *filePath;  // expected; "%skin" the real skin file
        bool ownFile;
        const char *fileDepth, *unsavedName;
    } cases[] = {
        {"a real skin file of its own", "%skin", "1", "/c16", "", 0, true, "%skin", true, "/c16", ""},
        {"a file that is no skin", "%passwd", "1", "/c16", "", 0, true, "", false, "/c16", "восстановленный.mbm"},
        {"a skin file gone since", "%gone", "1", "/c8", "", 0, true, "", false, "/c8", "ушедший.mbm"},
        {"a junk depth", "%skin", "1", "nk", "", 0, true, "%skin", true, "", ""},
        {"a depth that would be a path", "%skin", "0", "/../../x", "", 0, true, "%skin", false, "", ""},
        {"a name that is a path", "", "0", "", "../../etc/новый.mbm", 0, true, "", false, "", "новый.mbm"},
        {"a sheet far beyond any layout", "%skin", "1", "/c16", "", 500000, false, "", false, "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto fill = [&](const char *text) {
            return QString::fromUtf8(text)
                .replace(QStringLiteral("%skin"), skinFile)
                .replace(QStringLiteral("%passwd"), notASkin)
                .replace(QStringLiteral("%gone"), dir.filePath(QStringLiteral("ушедший.mbm")));
        };
        QImage sheet(p.screenWidth, 300, QImage::Format_RGB32);
        sheet.fill(Qt::gray);
        sheet.setText(QStringLiteral("zelkor-profile"), QString::number(p.index));
        sheet.setText(QStringLiteral("zelkor-file"), fill(c.file));
        sheet.setText(QStringLiteral("zelkor-own-file"), QString::fromLatin1(c.own));
        sheet.setText(QStringLiteral("zelkor-depth"), QString::fromLatin1(c.depth));
        sheet.setText(QStringLiteral("zelkor-unsaved-name"), fill(c.unsaved));
        QByteArray png;
        QBuffer buffer(&png);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && QImageWriter(&buffer, "png").write(sheet));
        if (c.height)
            claimHeight(png, c.height);
        const QString copy = dir.filePath(QStringLiteral("копия.png"));
        QFile out(copy);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(png) == png.size());
        out.close();

        RecoveredSkin read;
        const Status status = readRecoveryFile(copy, read);
        ASSERT_EQ(status.ok(), c.readable) << status.message.toStdString() << " " << status.details.toStdString();
        if (!c.readable)
            continue;
        EXPECT_EQ(read.filePath, fill(c.filePath));
        EXPECT_EQ(read.ownFile, c.ownFile);
        EXPECT_EQ(read.fileDepth, QString::fromLatin1(c.fileDepth));
        EXPECT_EQ(read.unsavedName, QString::fromUtf8(c.unsavedName));
        EXPECT_EQ(read.sheet.size(), sheet.size());
    }
}

} // namespace

namespace {

// Locks left by editors killed before their skin changed (no copy beside
// them) go at the next start; a live editor's lock stays.
TEST(RecoveryFile, LocksWhoseEditorIsGoneAreRemoved)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QLockFile live(dir.filePath(QStringLiteral("instance-live.lock")));
    ASSERT_TRUE(live.tryLock(0));
    QFile dead(dir.filePath(QStringLiteral("instance-dead.lock")));
    ASSERT_TRUE(dead.open(QIODevice::WriteOnly));
    dead.write("2147483646\nzelkor-skin-editor\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    dead.close();
    SkinDocument doc(ProgramFiles{}, dir.filePath(QStringLiteral("work")));
    RecoveryKeeper keeper(doc, dir.path(), QStringLiteral("instance-new"));
    ASSERT_TRUE(keeper.isValid()) << keeper.error().toStdString();
    EXPECT_FALSE(QFileInfo::exists(dead.fileName()));
    EXPECT_TRUE(QFileInfo::exists(live.fileName()));
}

} // namespace
