#pragma once
// The sheet of one size made from a project. Every picture is made for that
// size from its own source, never scaled from another size's pixels:
// - from the template: the size's template picture;
// - from a picture file: the file placed into the size's template picture by
//   its placement at that size, exactly as set-picture places a file;
// - from the imported sheet: its pixels at its own size; a size without an
//   imported sheet has them ported (scaled) from the first one, until the
//   author gives a source.
// The colours are the project's, with that size's overrides. A picture file
// placed with a scrim is then softened under the texts over it, so the scrim
// follows every re-framing; drawing those texts needs the icon sheets.
//
// Picture files are decoded once and kept, so switching size only places them.

#include "project.h"

#include "design/frompicture.h"
#include "preview/screenimage.h"

#include <QImage>

#include <functional>
#include <map>
#include <vector>

namespace zelkor {

// Reads the template sheet of a profile (through the converter, as New does).
using TemplateReader = std::function<Status(int profile, QImage &sheet)>;

enum class SourceDetail {
    Full,     // decoded whole: what an export writes
    Preview,  // decoded only as large as any size's picture needs (a JPEG scaled in its decoder): for the screen
};

class ProjectSheets {
public:
    explicit ProjectSheets(TemplateReader readTemplate, SourceDetail detail = SourceDetail::Full);

    // The sheet of `profile` (1..6).
    Status sheet(const SkinProject &project, int profile, QImage &out);
    // Decodes every picture file of the project not decoded yet, two at a time.
    Status decodeSources(const SkinProject &project);
    // The template sheet of `profile` as New reads it, read on first use.
    Status templateSheet(int profile, QImage &out);
    // The icon sheets the screens are drawn with where a scrim needs its
    // texts; they must outlive this.
    void setIcons(const IconSheets *icons) { m_icons = icons; }

private:
    TemplateReader m_readTemplate;
    SourceDetail m_detail;
    const IconSheets *m_icons = nullptr;
    std::map<int, QImage> m_templates;
    std::map<QString, QImage> m_sources;  // by the file's hash
};

// A size the generator could not make legible from the picture: it is
// ported from the size `from` until the author gives it sources, so its
// texts may read badly.
struct PortedSize {
    int profile = 0;
    int from = 0;
};

// What the author must hear of such a size, then how to check it:
// "208x176: из этой картинки … перенесён с 240x320 — проверьте его: HOW".
QString portedSizeNotice(const PortedSize &size, const QString &howToCheck);

// A project made from a picture, each size as the generator makes that
// size's skin: every size made becomes that size's imported sheet (its
// colours overrides where they differ from the first size's), and the
// picture file is kept with the generator's settings. A size the generator
// cannot make goes into `ported` (what the project makes it from). `preferred`
// is the size the project opens on when it was made.
Status projectFromPicture(const QImage &picture, const QByteArray &pictureBytes, ProjectSheets &templates,
                          const IconSheets &icons, const design::FromPictureSettings &settings, const QString &name,
                          int preferred, SkinProject &out, std::vector<PortedSize> &ported);

// The contact list of `sheet` as the project's thumbnail shows it.
QImage projectThumbnail(const QImage &sheet, int profile, const IconSheets &icons);

} // namespace zelkor
