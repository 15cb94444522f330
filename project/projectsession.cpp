#include "projectsession.h"

#include "projectfile.h"

#include "skin/profiles.h"
#include "skin/savename.h"
#include "imaging/picturefile.h"

#include <QFileInfo>
#include <QHash>

#include <utility>

namespace zelkor {

namespace {

size_t sheetHash(const QImage &sheet)
{
    return qHashBits(sheet.constBits(), size_t(sheet.sizeInBytes()), size_t(sheet.width()));
}

} // namespace

ProjectSession::ProjectSession(SkinProject project, TemplateReader readTemplate, QString path)
    : m_project(std::move(project)), m_path(std::move(path)), m_readTemplate(readTemplate),
      m_preview(std::move(readTemplate), SourceDetail::Preview)
{
}

ProjectSession::~ProjectSession() = default;

Status ProjectSession::sheet(int profile, QImage &out)
{
    return m_preview.sheet(m_project, profile, out);
}

Status ProjectSession::exportSheet(int profile, QImage &out)
{
    if (!m_full) {
        m_full = std::make_unique<ProjectSheets>(m_readTemplate, SourceDetail::Full);
        if (!m_icons.small.isNull())
            m_full->setIcons(&m_icons);
    }
    return m_full->sheet(m_project, profile, out);
}

void ProjectSession::setIcons(IconSheets icons)
{
    m_icons = std::move(icons);
    m_preview.setIcons(&m_icons);
    if (m_full)
        m_full->setIcons(&m_icons);
}

Status ProjectSession::sheetAfter(const ProjectEdit &edit, int profile, QImage &out)
{
    SkinProject changed = m_project;
    edit(changed, profile);
    return m_preview.sheet(changed, profile, out);
}

Status ProjectSession::pictureFile(const QString &hash, QImage &out)
{
    if (const auto it = m_decoded.find(hash); it != m_decoded.end()) {
        out = it->second;
        return Status::success();
    }
    const auto bytes = m_project.pictureFiles.find(hash);
    if (bytes == m_project.pictureFiles.end())
        return Status::failure(QStringLiteral("В проекте нет картинки %1.").arg(pictureEntryName(hash)));
    QString error;
    out = readImageData(bytes->second, pictureEntryName(hash), error, ImageReadBounds{kMaxPicturePixels});
    if (out.isNull())
        return Status::failure(error);
    // Only the last: a whole photograph is large, and it is framed one at a time.
    m_decoded.clear();
    m_decoded.emplace(hash, out);
    return Status::success();
}

void ProjectSession::follow(int step, const QImage &sheet, int profile)
{
    const size_t hash = sheetHash(sheet);
    // An expected change is a new step even where its pixels match a step
    // undone before (the same colour as an override rather than shared).
    ProjectEdit edit = std::exchange(m_expected, nullptr);
    if (const auto seen = m_steps.find(step);
        !edit && seen != m_steps.end() && seen->second.profile == profile && seen->second.sheetHash == hash) {
        m_project = seen->second.project;
        m_base = sheet;
        m_profile = profile;
        return;
    }
    fold(sheet, profile, edit);
    // Steps past this one belonged to a history that has just been replaced.
    m_steps.erase(m_steps.upper_bound(step), m_steps.end());
    m_steps[step] = Step{hash, profile, m_project};
}

void ProjectSession::fold(const QImage &sheet, int profile, const ProjectEdit &edit)
{
    if (m_base.isNull() || profile != m_profile || sheet.size() != m_base.size()) {
        m_base = sheet;
        m_profile = profile;
        m_project.profile = profile;
        return;
    }
    const auto sources = m_project.pictures;
    if (edit)
        edit(m_project, profile);
    // What the edit made of a colour or a picture is the project's word for it.
    for (int slot = 0; slot < kColourSlotCount; ++slot)
        if (const QRgb c = readColourSlot(sheet, profile, slot);
            c != readColourSlot(m_base, profile, slot) && c != m_project.colourAt(profile, slot))
            m_project.setColour(slot, c);
    for (int i = 0; i < kPictureCount; ++i)
        if (const QImage pixels = cutOutPicture(sheet, profile, i);
            m_project.pictures[size_t(i)] == sources[size_t(i)] && pixels != cutOutPicture(m_base, profile, i))
            setPicturePixels(i, profile, pixels);
    m_base = sheet;
}

void ProjectSession::setPicturePixels(int picture, int profile, const QImage &pixels)
{
    auto own = std::find_if(m_project.sheets.begin(), m_project.sheets.end(),
                            [profile](const ImportedSheet &s) { return s.profile == profile; });
    if (own == m_project.sheets.end()) {
        // The size's pixels as shown so far: the other pictures it takes from
        // a sheet look the same from its own.
        m_project.sheets.push_back({profile, m_base});
        own = m_project.sheets.end() - 1;
    }
    writeBackPicture(own->sheet, profile, picture, pixels);
    SizeSource source;
    source.kind = PictureSourceKind::Sheet;
    PictureSource &target = m_project.pictures[size_t(picture)];
    // The first imported sheet is the one the other sizes are ported from.
    if (own == m_project.sheets.begin()) {
        static_cast<SizeSource &>(target) = source;
        target.overrides.clear();
    } else {
        target.overrides[profile] = source;
    }
}

Status ProjectSession::write(const QString &path, const IconSheets &icons, IfExists ifExists)
{
    // A project saved without a name is called after its file (export names skins after it).
    if (m_project.name.isEmpty())
        m_project.name = QFileInfo(path).completeBaseName();
    SkinProject written = m_project;
    written.dropUnusedFiles();
    QImage shown = m_base;
    if (shown.isNull() || m_profile != written.profile)
        if (Status s = sheet(written.profile, shown); !s)
            return s;
    if (Status s = writeProjectFile(path, written, projectThumbnail(shown, written.profile, icons), ifExists); !s)
        return s;
    m_path = QFileInfo(path).absoluteFilePath();
    return Status::success();
}

QStringList exportTargets(const QString &folder, const QString &name, const std::vector<int> &profiles)
{
    QStringList out;
    for (int profile : profiles)
        out << exportedSkinPath(folder, name.isEmpty() ? QStringLiteral("skin") : name, profile);
    return out;
}

QString skinNameOf(const QString &path, int profile)
{
    QString name = QFileInfo(path).completeBaseName();
    if (name.startsWith(savePrefix(profile)))
        name = name.mid(savePrefix(profile).size());
    return name;
}

} // namespace zelkor
