#pragma once
// A main window over a program folder of the test's own (with blanks and
// Cyrillic in its path), a coordinate-encoded sheet, recorded error boxes and
// settings of the test's own; and helpers the editing tests share.

#include "app/seams.h"
#include "tform1testaccess.h"
#include "app/tform3.h"
#include "editing/workingfilewatcher.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zelkor::test {

// A picture unlike the coordinate sheet, so a pixel taken from the wrong place shows.
inline QImage pattern(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, qRgb((x * 7 + 3) & 0xff, (y * 13 + 5) & 0xff, (x ^ y) & 0xff));
    return img;
}

// The whole sheet after a write-back: `changed` holds `replacement` from its
// top-left corner, every other pixel is what it was.
inline void expectOnlyRectangleChanged(const QImage &before, const QImage &after, const QRect &changed,
                                       const QImage &replacement)
{
    ASSERT_EQ(before.size(), after.size());
    int wrong = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x) {
            const bool inside = changed.contains(x, y);
            const QRgb want = inside ? replacement.pixel(x, y - changed.top()) : before.pixel(x, y);
            if ((after.pixel(x, y) & 0xffffff) != (want & 0xffffff) && wrong++ < 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") " << (inside ? "inside" : "outside")
                              << " the rectangle is wrong";
        }
    EXPECT_EQ(wrong, 0);
}

// Runs the event loop until `done` holds or `ms` have passed; returns `done()`.
inline bool waitUntil(const std::function<bool()> &done, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

// A shell script standing in for a program, made executable.
inline bool writeScript(const QString &path, const QByteArray &text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(text);
    f.close();
    return f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

class EditingFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSeams();
        seams().critical = [this](QWidget *, const QString &text, const QString &) { errors << text; };
        ASSERT_TRUE(folder.isValid());
        // The author's remembered choices start empty in every test.
        ASSERT_TRUE(settings.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        main = std::make_unique<TForm1>(programFilesIn(folder.path()), workFolderIn(folder.path()));
        errors.clear();  // the icon sheets are not in this folder
    }

    void TearDown() override
    {
        main.reset();
        resetSeams();
    }

    void setSkin(int profile)
    {
        const Profile *p = profileByIndex(profile);
        ASSERT_NE(p, nullptr);
        ASSERT_TRUE(doc().adoptUnsaved(coordinateSheet(p->screenWidth, p->layoutRows), QStringLiteral("test.mbm")));
        errors.clear();  // no phone pictures in this folder
    }

    SkinDocument &doc() const { return main->document(); }
    QString tempPath(const QString &name) const
    {
        return QDir(workFolderIn(folder.path())).filePath(QStringLiteral("temp/") + name);
    }

    // The file dialog answers `path` once for every request.
    void answerOpenFile(const QString &path)
    {
        seams().openFile = [this, path](QWidget *, const QString &, const QString &dir, const QString &filter) {
            openDirs << dir;
            openFilters << filter;
            return path;
        };
    }

    QTemporaryDir folder{QDir::tempPath() + QStringLiteral("/программа zelkor XXXXXX")};
    QTemporaryDir settings;
    std::unique_ptr<TForm1> main;
    QStringList errors;
    QStringList openDirs;
    QStringList openFilters;
};

} // namespace zelkor::test
