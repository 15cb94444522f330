#pragma once
// A project open in the editor. The editor's document holds the sheet of the
// size shown; the session makes that sheet from the project and folds what
// the author changes in it back into the project, so that an edit applies to
// every size: a changed colour becomes the shared colour, a picture's new
// pixels that size's own (ported to the other sizes from the first imported
// sheet until they have sources of their own). The project as it stood at
// each step of the document's history is kept, so that undo brings back the
// project itself, not only the shown size's pixels.

#include "projectsheet.h"

#include "skin/filewrite.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace zelkor {

// A change of the project itself: `profile` is the size shown.
using ProjectEdit = std::function<void(SkinProject &project, int profile)>;

class ProjectSession {
public:
    // `path`: the project's file, empty for one not saved yet.
    ProjectSession(SkinProject project, TemplateReader readTemplate, QString path = {});
    ~ProjectSession();

    const SkinProject &project() const { return m_project; }
    const QString &path() const { return m_path; }
    // The size shown (0 before the first sheet was followed).
    int profile() const { return m_profile; }

    // The sheet of `profile` for the screen: each picture file decoded once,
    // only as large as any size needs, and kept.
    Status sheet(int profile, QImage &out);
    // The sheet of `profile` as export writes it: picture files decoded whole.
    Status exportSheet(int profile, QImage &out);

    // The document shows `sheet` of `profile` at step `step` of its history:
    // a step seen before with that same sheet brings back the project as it
    // was then; otherwise what differs from the last sheet followed is folded
    // into the project. A sheet of another size only becomes the one shown.
    void follow(int step, const QImage &sheet, int profile);

    // What the next new step of the history means beyond its pixels, told
    // just before it is pushed: `edit` is made to the project, and what it
    // changed (a picture's source, a colour at the size shown) is not folded
    // back as pixels. Used once; dropExpected() forgets one that found no step.
    void expect(ProjectEdit edit) { m_expected = std::move(edit); }
    void dropExpected() { m_expected = nullptr; }
    // The sheet of `profile` as the project would give it after `edit`.
    Status sheetAfter(const ProjectEdit &edit, int profile, QImage &out);
    // The picture file kept as `hash`, decoded whole (for the placement step).
    Status pictureFile(const QString &hash, QImage &out);
    // The icon sheets that scrims under texts are drawn with.
    void setIcons(IconSheets icons);

    // Writes the project to `path` (its picture files no picture uses left
    // out; the shown size as the one it opens on, with its contact list as
    // the thumbnail); `path` becomes the project's file.
    Status write(const QString &path, const IconSheets &icons, IfExists ifExists);

private:
    void fold(const QImage &sheet, int profile, const ProjectEdit &edit);
    void setPicturePixels(int picture, int profile, const QImage &pixels);

    struct Step {
        size_t sheetHash;
        int profile;
        SkinProject project;
    };

    SkinProject m_project;
    QString m_path;
    TemplateReader m_readTemplate;
    ProjectSheets m_preview;
    std::unique_ptr<ProjectSheets> m_full;
    IconSheets m_icons;
    ProjectEdit m_expected;
    std::map<QString, QImage> m_decoded;  // pictureFile()'s last, by hash
    QImage m_base;  // the sheet last followed
    int m_profile = 0;
    std::map<int, Step> m_steps;
};

// Where "Экспорт скинов…" writes `profiles` of a project called `name` in
// `folder`, in that order.
QStringList exportTargets(const QString &folder, const QString &name, const std::vector<int> &profiles);
// The skin's name without the prefix Save gave it ("extskin_240x320_Море.mbm" -> "Море").
QString skinNameOf(const QString &path, int profile);

} // namespace zelkor
