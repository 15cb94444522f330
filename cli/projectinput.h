#pragma once
// Skin projects (.zskin) on the command line. A command that reads skins
// takes a project as well: each of its sizes (--size, all six unless given)
// stands for one skin, made from the project as export makes it. A command
// that edits a skin edits a project into a project.

#include "session.h"

#include "project/projectsheet.h"

#include <QCommandLineParser>

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace zelkor::cli {

// Declares --size for the sizes of a project.
void declareProjectSizes(QCommandLineParser &parser);
// --size: "all" or WxH[,WxH…]; `fallback` when it is not given. Nothing
// after reporting a usage error.
std::optional<std::vector<int>> projectSizes(const QCommandLineParser &parser, Session &session,
                                             const std::vector<int> &fallback);

// One skin a reading command works on: a skin file, or one size of a project.
struct SkinInput {
    QString path;
    int profile = 0;  // of the project; 0 for a skin file
    // "my.mbm", "design.zskin [240x320]"
    QString shown() const;
    // A name for files made from it: "my", "design-240x320".
    QString baseName() const;
};

class ProjectReader {
public:
    explicit ProjectReader(Session &session);
    ~ProjectReader();

    // Every file of `paths` that is a skin, and every size of each project
    // (--size when `parser` declares it, else all six). Nothing after a usage error.
    std::optional<std::vector<SkinInput>> inputs(const QStringList &paths, const QCommandLineParser &parser);
    // A skin file as the editor loads it, a project's size as export makes
    // it (its depth the project's export depth); false after reporting why not.
    bool read(const SkinInput &input, SkinImage &out);
    // `read` with the icon sheets to draw it with, or null after reporting why not.
    const IconSheets *readToDraw(const SkinInput &input, SkinImage &out);

    // Opens a project once (what the author must hear of it goes to stderr);
    // one that does not open is reported once, not for each of its sizes.
    SkinProject *open(const QString &path);
    // The template sheet of `profile`, read once.
    bool templateSheet(int profile, QImage &out);
    // The sheet of `profile` made from `project`.
    bool sheet(const SkinProject &project, int profile, QImage &out);
    // The templates and decoded sources, kept for every project read.
    ProjectSheets &sheets() { return m_sheets; }
    // Writes `project` to `path` with the thumbnail of its size, as every file is written.
    bool write(const SkinProject &project, const QString &path);

private:
    Session &m_session;
    ProjectSheets m_sheets;
    std::map<QString, SkinProject> m_projects;
    std::set<QString> m_unopened;
};

} // namespace zelkor::cli
