#include "projectinput.h"

#include "project/projectfile.h"
#include "skin/profiles.h"

#include <QFileInfo>

namespace zelkor::cli {

void declareProjectSizes(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("size"),
                      QStringLiteral("для проекта (.zskin): all или размеры через запятую, например 176x208,240x320 "
                                     "(по умолчанию все)"),
                      QStringLiteral("РАЗМЕРЫ")});
}

std::optional<std::vector<int>> projectSizes(const QCommandLineParser &parser, Session &session,
                                             const std::vector<int> &fallback)
{
    if (!parser.isSet(QStringLiteral("size")))
        return fallback;
    const QString text = parser.value(QStringLiteral("size"));
    std::vector<int> sizes;
    if (text == QLatin1String("all")) {
        for (const Profile &p : allProfiles())
            sizes.push_back(p.index);
        return sizes;
    }
    for (const QString &label : text.split(u',')) {
        const int profile = profileIndexByLabel(label.trimmed());
        if (!profile) {
            session.usageError(QStringLiteral("нет размера «%1»; есть 176x208, 208x176, 240x320, 320x240, 352x416, "
                                              "416x352 и all.")
                                   .arg(label));
            return std::nullopt;
        }
        if (std::find(sizes.begin(), sizes.end(), profile) == sizes.end())
            sizes.push_back(profile);
    }
    return sizes;
}

QString SkinInput::shown() const
{
    return profile ? QStringLiteral("%1 [%2]").arg(native(path), profileByIndex(profile)->labelText()) : native(path);
}

QString SkinInput::baseName() const
{
    const QString base = QFileInfo(path).completeBaseName();
    return profile ? base + u'-' + profileByIndex(profile)->labelText() : base;
}

ProjectReader::ProjectReader(Session &session)
    : m_session(session),
      m_sheets([&session](int profile, QImage &sheet) {
          const QString work = session.workFolder();
          if (work.isEmpty())
              return Status::failure(QStringLiteral("нет рабочей папки"));
          SkinImage skin;
          const QString path = session.files().dataPath(QString::fromUtf8(profileByIndex(profile)->templateName));
          Status s = readSkinFile(session.files(), work, path, skin);
          sheet = skin.sheet;
          return s;
      })
{
}

ProjectReader::~ProjectReader() = default;

std::optional<std::vector<SkinInput>> ProjectReader::inputs(const QStringList &paths, const QCommandLineParser &parser)
{
    const bool sizeOption = parser.optionNames().contains(QStringLiteral("size"));
    std::vector<int> all;
    for (const Profile &p : allProfiles())
        all.push_back(p.index);
    const auto sizes = sizeOption ? projectSizes(parser, m_session, all) : std::optional(all);
    if (!sizes)
        return std::nullopt;
    std::vector<SkinInput> out;
    for (const QString &path : paths) {
        if (!readsAsProject(path)) {
            out.push_back({path, 0});
            continue;
        }
        for (int profile : *sizes)
            out.push_back({path, profile});
    }
    return out;
}

SkinProject *ProjectReader::open(const QString &path)
{
    if (auto it = m_projects.find(path); it != m_projects.end())
        return &it->second;
    if (m_unopened.count(path))
        return nullptr;
    SkinProject project;
    QStringList notices;
    if (const Status s = readProjectFile(path, project, notices); !s) {
        m_session.problem(s);
        m_unopened.insert(path);
        return nullptr;
    }
    for (const QString &notice : notices)
        m_session.problem(notice);
    return &m_projects.emplace(path, std::move(project)).first->second;
}

bool ProjectReader::templateSheet(int profile, QImage &out)
{
    if (const Status s = m_sheets.templateSheet(profile, out); !s) {
        m_session.problem(s);
        return false;
    }
    return true;
}

bool ProjectReader::sheet(const SkinProject &project, int profile, QImage &out)
{
    if (project.hasScrim()) {
        const IconSheets *icons = m_session.iconSheets();
        if (!icons)
            return false;
        m_sheets.setIcons(icons);
    }
    if (const Status s = m_sheets.sheet(project, profile, out); !s) {
        m_session.problem(s);
        return false;
    }
    return true;
}

bool ProjectReader::read(const SkinInput &input, SkinImage &out)
{
    if (!input.profile)
        return bool(m_session.readSkin(input.path, out));
    const SkinProject *project = open(input.path);
    if (!project || !sheet(*project, input.profile, out.sheet))
        return false;
    out.profile = input.profile;
    out.depth = project->exporting.depthOption;
    out.notice.clear();
    return true;
}

const IconSheets *ProjectReader::readToDraw(const SkinInput &input, SkinImage &out)
{
    return read(input, out) ? m_session.iconSheets() : nullptr;
}

bool ProjectReader::write(const SkinProject &project, const QString &path)
{
    if (!m_session.mayWrite({path}))
        return false;
    const IconSheets *icons = m_session.iconSheets();
    QImage sheet;
    if (!icons || !this->sheet(project, project.profile, sheet))
        return false;
    const QImage thumbnail = projectThumbnail(sheet, project.profile, *icons);
    if (const Status s = writeProjectFile(path, project, thumbnail,
                                          m_session.replaceExisting() ? IfExists::Replace : IfExists::Refuse);
        !s) {
        m_session.problem(s);
        return false;
    }
    m_session.print(native(path) + u'\n');
    return true;
}

} // namespace zelkor::cli
