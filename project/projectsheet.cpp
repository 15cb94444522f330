#include "projectsheet.h"

#include "design/frompicture.h"
#include "design/scrim.h"
#include "imaging/picturefile.h"
#include "skin/port.h"
#include "skin/profiles.h"

#include <QJsonObject>

#include <future>
#include <set>

namespace zelkor {

namespace {

// How large a picture file must be decoded for every size's placement of it
// to read from at least as many pixels as it shows; invalid: whole.
QSize sizeNeeded(const SkinProject &project, const QString &hash)
{
    QSize needed(1, 1);
    for (int i = 0; i < kPictureCount; ++i) {
        for (const Profile &p : allProfiles()) {
            const SizeSource &source = project.pictures[size_t(i)].at(p.index);
            if (source.kind != PictureSourceKind::File || source.file != hash)
                continue;
            const SourcePlacement &placement = source.placement;
            if (placement.mode == FitMode::AsIs)  // unscaled: every source pixel counts
                return {};
            const QSize rect = pictureRect(i, p.index)->rect().size();
            needed = needed.expandedTo(QSize(int(std::ceil(rect.width() * placement.zoom)),
                                             int(std::ceil(rect.height() * placement.zoom))));
        }
    }
    return needed;
}

} // namespace

ProjectSheets::ProjectSheets(TemplateReader readTemplate, SourceDetail detail)
    : m_readTemplate(std::move(readTemplate)), m_detail(detail)
{
}

Status ProjectSheets::templateSheet(int profile, QImage &out)
{
    if (const auto it = m_templates.find(profile); it != m_templates.end()) {
        out = it->second;
        return Status::success();
    }
    QImage sheet;
    if (Status s = m_readTemplate(profile, sheet); !s)
        return s;
    if (templateCanvas(sheet, profile).isNull())
        return Status::failure(
            QStringLiteral("Шаблон размера %1 не подходит к нему.").arg(profileByIndex(profile)->labelText()));
    m_templates.emplace(profile, sheet);
    out = sheet;
    return Status::success();
}

Status ProjectSheets::decodeSources(const SkinProject &project)
{
    std::set<QString> wanted;
    for (const PictureSource &p : project.pictures)
        for (const Profile &size : allProfiles())
            if (const SizeSource &s = p.at(size.index); s.kind == PictureSourceKind::File && !m_sources.count(s.file))
                wanted.insert(s.file);
    struct Decoded {
        QString hash;
        QImage image;
        QString error;
    };
    std::vector<std::future<Decoded>> running;
    for (const QString &hash : wanted) {
        const auto bytes = project.pictureFiles.find(hash);
        if (bytes == project.pictureFiles.end())
            return Status::failure(QStringLiteral("В проекте нет картинки %1.").arg(pictureEntryName(hash)));
        const ImageReadBounds bounds{kMaxPicturePixels,
                                     m_detail == SourceDetail::Preview ? sizeNeeded(project, hash) : QSize()};
        running.push_back(std::async(std::launch::async, [hash, data = bytes->second, bounds] {
            Decoded d{hash, {}, {}};
            d.image = readImageData(data, pictureEntryName(hash), d.error, bounds);
            return d;
        }));
    }
    Status status;
    for (auto &r : running) {
        Decoded d = r.get();
        if (d.image.isNull() && status)
            status = Status::failure(d.error);
        else
            m_sources.emplace(d.hash, std::move(d.image));
    }
    return status;
}

Status ProjectSheets::sheet(const SkinProject &project, int profile, QImage &out)
{
    if (!profileByIndex(profile))
        return Status::failure(QStringLiteral("Нет размера %1.").arg(profile));
    const ImportedSheet *own = project.sheetAt(profile);
    bool needTemplate = !own;
    for (const PictureSource &p : project.pictures)
        needTemplate = needTemplate || p.at(profile).kind != PictureSourceKind::Sheet;
    QImage base;
    if (needTemplate) {
        if (Status s = templateSheet(profile, base); !s)
            return s;
        base = templateCanvas(base, profile);
    }
    if (Status s = decodeSources(project); !s)
        return s;
    QImage canvas;
    const bool onTemplate = !own && project.sheets.empty();
    if (own)
        canvas = own->sheet;
    else if (!project.sheets.empty())
        canvas = portSheet(project.sheets.front().sheet, project.sheets.front().profile, base, profile);
    else
        canvas = base;
    for (int i = 0; i < kPictureCount; ++i) {
        const SizeSource &source = project.pictures[size_t(i)].at(profile);
        if (source.kind == PictureSourceKind::Sheet)
            continue;
        const QImage under = cutOutPicture(base, profile, i);
        if (source.kind == PictureSourceKind::Template) {
            if (!onTemplate)
                writeBackPicture(canvas, profile, i, under);
            continue;
        }
        const QImage &image = m_sources.at(source.file);
        const Placement placement = source.placement.placementFor(image.size(), under.size());
        writeBackPicture(canvas, profile, i, placeImage(image, under, placement));
    }
    for (int slot = 0; slot < kColourSlotCount; ++slot)
        writeColourSlot(canvas, profile, slot, project.colourAt(profile, slot));
    // Scrims last: they lie under the texts drawn in the size's own colours.
    for (int i = 0; i < kPictureCount; ++i) {
        const SizeSource &source = project.pictures[size_t(i)].at(profile);
        if (source.kind != PictureSourceKind::File || source.placement.scrim <= 0)
            continue;
        if (!m_icons)
            return Status::failure(QStringLiteral("Подложке под текстами картинки «%1» нужны иконки, а они не прочитаны.")
                                       .arg(QString::fromUtf8(pictureInfo(i).caption)));
        canvas = design::scrimUnderTexts(canvas, profile, *m_icons, i, source.placement.scrim);
    }
    out = canvas;
    return Status::success();
}

QString portedSizeNotice(const PortedSize &size, const QString &howToCheck)
{
    return QStringLiteral("%1: из этой картинки читаемый скин этого размера не получается; он перенесён с %2, и тексты "
                          "могут читаться плохо — проверьте его: %3")
        .arg(profileByIndex(size.profile)->labelText(), profileByIndex(size.from)->labelText(), howToCheck);
}

Status projectFromPicture(const QImage &picture, const QByteArray &pictureBytes, ProjectSheets &templates,
                          const IconSheets &icons, const design::FromPictureSettings &settings, const QString &name,
                          int preferred, SkinProject &out, std::vector<PortedSize> &ported)
{
    SkinProject project;
    Status last = Status::failure(QStringLiteral("Из картинки не сделан скин ни одного размера."));
    std::vector<int> unmade;
    for (const Profile &p : allProfiles()) {
        QImage base;
        design::SkinFromPicture made;
        // Without its template no size can be made, ported or not.
        if (Status s = templates.templateSheet(p.index, base); !s)
            return s;
        if (Status s = design::makeSkinFromPicture(picture, p.index, base, icons, settings, made); !s) {
            // That size is ported from another until the author gives it sources.
            unmade.push_back(p.index);
            last = s;
            continue;
        }
        if (project.sheets.empty()) {
            project = projectFromSheet(p.index, made.sheet, name);
        } else {
            project.sheets.push_back({p.index, made.sheet});
            for (int slot = 0; slot < kColourSlotCount; ++slot)
                if (const QRgb c = readColourSlot(made.sheet, p.index, slot); c != project.colours[size_t(slot)])
                    project.setColour(slot, c, p.index);
        }
    }
    if (project.sheets.empty())
        return last;
    // ProjectSheets::sheet ports a size without a sheet of its own from the first one.
    ported.clear();
    for (int profile : unmade)
        ported.push_back({profile, project.sheets.front().profile});
    const QString hash = project.addPictureFile(pictureBytes);
    project.generator = QJsonObject{{QStringLiteral("picture"), pictureEntryName(hash)},
                                    {QStringLiteral("variant"),
                                     QLatin1String(design::variantNames()[size_t(settings.variant)].key)},
                                    {QStringLiteral("depth"), settings.depthOption.mid(1)},
                                    {QStringLiteral("threshold"), settings.threshold}};
    if (project.sheetAt(preferred))
        project.profile = preferred;
    project.exporting.depthOption = settings.depthOption;
    out = std::move(project);
    return Status::success();
}

QImage projectThumbnail(const QImage &sheet, int profile, const IconSheets &icons)
{
    const NamedScreen &contacts = *findNamedScreen(QStringLiteral("contacts-1"));
    return paintBoxPicture(contacts, skinPreviewInput(sheet, profile, icons, contacts.columns));
}

} // namespace zelkor
