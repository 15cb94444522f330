#pragma once
// A main window over a program folder of the test's own (with blanks and
// Cyrillic in its path), a coordinate-encoded sheet, and recorded error boxes.

#include "app/seams.h"
#include "app/tform1.h"
#include "editing/tform3.h"
#include "skin/profiles.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zelkor::test {

class EditingFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSeams();
        seams().critical = [this](QWidget *, const QString &text) { errors << text; };
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("temp")));
        main = std::make_unique<TForm1>(folder.path());
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
        main->sheet = coordinateSheet(p->screenWidth, p->layoutRows);
        main->profile = quint8(profile);
        main->screenWidth = p->screenWidth;
        main->screenHeight = p->screenHeight;
    }

    QString tempPath(const QString &name) const { return QDir(folder.path()).filePath(QStringLiteral("temp/") + name); }

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
    std::unique_ptr<TForm1> main;
    QStringList errors;
    QStringList openDirs;
    QStringList openFilters;
};

} // namespace zelkor::test
