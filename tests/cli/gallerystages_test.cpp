// The gallery's stages run one at a time, so that a skin can be replaced on
// disk between them, as another program might while a long run draws.
#include "cli/gallery/gallerystages.h"
#include "cli/session.h"
#include "skin/profiles.h"
#include "skin/programfiles.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelkor;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The card and the download both come from the bytes read when the skin was
// collected, never from what stands at its name later.
TEST(GalleryStages, ASkinReplacedDuringTheRunIsShownAndCopiedAsItWasRead)
{
    const QDir program(test::programFolder());
    const QByteArray first = bytesOf(program.filePath(QStringLiteral("skn/240x320.mbm")));
    const QByteArray second = bytesOf(program.filePath(QStringLiteral("skn/176x208.mbm")));
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    QTemporaryDir dir;
    const QString skin = dir.filePath(QStringLiteral("mine.mbm"));
    QFile file(skin);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(first) == first.size());
    file.close();

    cli::Session session(programFilesIn(program.path()), cli::galleryCommand);
    session.setWorkBase(dir.path());
    cli::GalleryRun run(session, dir.filePath(QStringLiteral("site")));
    ASSERT_TRUE(cli::collectInputs(run, {skin}).ok());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(second) == second.size());
    file.close();
    ASSERT_TRUE(cli::reuseOrDraw(run).ok());
    ASSERT_TRUE(cli::writePages(run).ok());
    ASSERT_TRUE(cli::finishSite(run).ok());

    ASSERT_EQ(run.skins.size(), 1u);
    EXPECT_EQ(run.skins[0].profile, profileIndexByLabel(QStringLiteral("240x320")));
    EXPECT_EQ(run.skins[0].fileSize, first.size());
    EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("site/")) + cli::copyPath(run.skins[0])), first);
}

// Names and reasons come from files anyone can name; the title from the
// command line. None of them may become markup on any page.
TEST(GalleryPages, TextsFromFilesAndTheCommandLineAreNeverMarkup)
{
    cli::GalleryOptions options;
    options.title = QStringLiteral("<script>title()</script>");
    const std::vector<cli::GalleryProblem> problems{
        {QStringLiteral("<script>name()</script>.mbm"), QStringLiteral("«<script>reason()</script>» — не скин")}};
    const std::vector<cli::GalleryPage> pages = cli::galleryPages({}, problems, options);
    ASSERT_FALSE(pages.empty());
    for (const cli::GalleryPage &page : pages) {
        SCOPED_TRACE(page.fileName.toStdString());
        EXPECT_FALSE(page.html.contains("<script")) << page.html.toStdString();
    }
    const QByteArray index = pages.front().html;
    for (const char *shown : {"&lt;script&gt;title()", "&lt;script&gt;name()", "&lt;script&gt;reason()"})
        EXPECT_TRUE(index.contains(shown)) << shown;
}

// Files named as Save names them make one card per design; a project's sizes
// make a card of their own, even beside the skins exported from it.
TEST(GalleryPages, AProjectsSizesAreOneFamilyApartFromSkinFilesOfItsName)
{
    const auto skin = [](int profile, const QString &project) {
        cli::GallerySkin s;
        s.fileName = QStringLiteral("extskin_%1_Лес.mbm").arg(profileByIndex(profile)->labelText());
        s.key = QStringLiteral("k%1%2").arg(profile).arg(project);
        s.profile = profile;
        s.project = project;
        return s;
    };
    const std::vector<cli::GallerySkin> skins{skin(1, {}), skin(3, {}), skin(1, QStringLiteral("p")),
                                              skin(2, QStringLiteral("p")), skin(3, QStringLiteral("q"))};
    std::vector<std::pair<size_t, QString>> found;  // size count, project of each family
    for (const cli::GalleryFamily &f : cli::groupFamilies(skins)) {
        for (const cli::GallerySkin *s : f.sizes)
            EXPECT_EQ(s->project, f.sizes.front()->project) << f.name.toStdString();
        found.emplace_back(f.sizes.size(), f.sizes.front()->project);
    }
    const std::vector<std::pair<size_t, QString>> expected{{2, {}}, {2, QStringLiteral("p")}, {1, QStringLiteral("q")}};
    EXPECT_EQ(found, expected);
}

} // namespace
