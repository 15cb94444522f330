#pragma once
// A main window over a program folder of the test's own (with blanks and
// Cyrillic in its path), a coordinate-encoded sheet, and recorded error boxes.

#include "app/seams.h"
#include "app/tform1.h"
#include "app/tform3.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
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
        seams().critical = [this](QWidget *, const QString &text, const QString &) { errors << text; };
        ASSERT_TRUE(folder.isValid());
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
    std::unique_ptr<TForm1> main;
    QStringList errors;
    QStringList openDirs;
    QStringList openFilters;
};

} // namespace zelkor::test
