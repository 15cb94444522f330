// Reading a file the user named: each way it can fail is said in the user's
// words, and a file that is there is never called missing.
#include "skin/userfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <unistd.h>

using namespace zelkor;

namespace {

TEST(UserFile, EachFailureIsNamedAsWhatItIs)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString closed = dir.filePath(QStringLiteral("закрытый.mbm"));
    QFile file(closed);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("skin") == 4);
    file.close();
    ASSERT_TRUE(file.setPermissions({}));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("нет.mbm")), dir.filePath(QStringLiteral("ссылка.mbm"))));

    const struct {
        const char *name;
        const char *says;
        bool asAnotherUser;  // root reads any file; the unreadable case reads as "nobody"
    } cases[] = {
        {"нет.mbm", "не найден", false},
        {"ссылка.mbm", "ссылка на файл, которого нет", false},
        {"закрытый.mbm", "нет прав на чтение", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        // The file system's user of this thread alone, and back at once:
        // a root run loses its right to read any file while it is "nobody".
        const uid_t before = ::geteuid();
        if (c.asAnotherUser && before == 0)
            ::setfsuid(65534);
        QByteArray bytes;
        const Status status = readUserFile(dir.filePath(QString::fromUtf8(c.name)), 1024, bytes);
        if (c.asAnotherUser && before == 0)
            ::setfsuid(before);
        EXPECT_FALSE(status.ok());
        EXPECT_TRUE(status.message.contains(QString::fromUtf8(c.says))) << status.message.toStdString();
        EXPECT_TRUE(status.message.contains(QString::fromUtf8(c.name))) << status.message.toStdString();
        EXPECT_TRUE(bytes.isEmpty());
    }
}

} // namespace
