// The picture dialog's road from a file of any size to the sheet and back:
// the placement step, saving a picture, and the template's picture restored.
#include "tform3.h"

#include "placementdialog.h"
#include "projectedit.h"
#include "radiogroup.h"
#include "seams.h"
#include "desktop/preferences.h"
#include "editing/picturefiles.h"
#include "imaging/placement.h"
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "skin/skindocument.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace zelkor {

QString TForm3::openiFilter()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats()) {
        const QString suffix = QString::fromLatin1(format);
        patterns << QStringLiteral("*.") + suffix.toLower() << QStringLiteral("*.") + suffix.toUpper();
    }
    patterns.removeDuplicates();
    return QStringLiteral("Картинки (%1);;Все файлы (*)").arg(patterns.join(u' '));
}

QString TForm3::savePictureFilter()
{
    return QStringLiteral("PNG (*.png);;BMP (*.bmp);;JPEG (*.jpg *.jpeg)");
}

void TForm3::createPictureButtons()
{
    Label3 = new QLabel(this);
    Label3->setGeometry(8, 302, 241, 20);

    BitBtn3 = new QPushButton(QStringLiteral("Сохранить картинку…"), this);
    BitBtn3->setGeometry(8, 330, 241, 25);
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });

    BitBtn4 = new QPushButton(QStringLiteral("Вернуть из шаблона"), this);
    BitBtn4->setGeometry(8, 362, 241, 25);
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });

    BitBtn5 = new QPushButton(QStringLiteral("Разместить…"), this);
    BitBtn5->setGeometry(8, 394, 241, 25);
    BitBtn5->setToolTip(QStringLiteral("Заново выбрать кадр картинки из её исходного файла"));
    connect(BitBtn5, &QPushButton::clicked, this, [this] { BitBtn5Click(); });

    BitBtn6 = new QPushButton(QStringLiteral("Вернуть общий"), this);
    BitBtn6->setGeometry(8, 426, 241, 25);
    connect(BitBtn6, &QPushButton::clicked, this, [this] { BitBtn6Click(); });
    showSources();
}

void TForm3::setProject(ProjectSession *project)
{
    m_project = project;
    showSources();
}

void TForm3::showSources()
{
    const int profile = m_doc.profile();
    const bool open = m_project && m_doc.hasSkin();
    for (int i = 0; i < kPictureCount; ++i) {
        const bool own = open && pictureOverridden(m_project->project(), i, profile);
        QRadioButton *item = RadioGroup1->button(i);
        item->setText(QString::fromUtf8(pictureInfo(i).caption) + (own ? QStringLiteral("  \u25CF") : QString()));
        item->setToolTip(own ? ownSizeTip(profile) : QString());
    }
    const int picture = RadioGroup1->itemIndex();
    BitBtn5->setVisible(open);
    BitBtn5->setEnabled(open && m_project->project().pictures[size_t(picture)].at(profile).kind == PictureSourceKind::File);
    BitBtn6->setVisible(open && pictureOverridden(m_project->project(), picture, profile));
    if (open)
        BitBtn6->setToolTip(ownSizeTip(profile) + QStringLiteral(": вернуть картинку, общую для всех размеров."));
}

Status TForm3::placeLoaded(const QImage &loaded, const QString &source)
{
    const int picture = RadioGroup1->itemIndex();
    Label3->setText(QStringLiteral("Загружена картинка %1 x %2").arg(loaded.width()).arg(loaded.height()));
    const QImage under = cutOutPicture(m_doc.sheet(), m_doc.profile(), picture);
    QImage placed;
    if (loaded.size() == under.size()) {
        // Transparent parts still show the picture that was there.
        placed = placeImage(loaded, under, {FitMode::AsIs});
    } else {
        PlacementDialog step(m_doc, picture, loaded, this);
        if (seams().execDialog(&step) != QDialog::Accepted)
            return Status::cancelled();
        PlacementDialog::rememberMode(step.mode());
        placed = step.result();
    }
    const Status status = m_doc.writeBackPicture(picture, placed, source);
    if (status)
        setPicture(placed);
    return status;
}

Status TForm3::placeSource(const QImage &image, const QByteArray &bytes, const std::optional<SourcePlacement> &framing,
                           const QString &source)
{
    const int picture = RadioGroup1->itemIndex();
    const int profile = m_doc.profile();
    // What shows through is the size's template picture, as the project places it.
    QImage base;
    if (Status s = m_project->sheetAfter(
            [picture](SkinProject &p, int size) { p.pictures[size_t(picture)].overrides[size] = SizeSource{}; }, profile,
            base);
        !s)
        return s;
    PlacementDialog step(m_doc, picture, image, this, cutOutPicture(base, profile, picture));
    if (framing)
        step.setFraming(*framing);
    step.offerSizes(profile, pictureOverridden(m_project->project(), picture, profile));
    const int answer = seams().execDialog(&step);
    if (answer == PlacementDialog::kSharedResult) {
        BitBtn6Click();
        return Status::success();
    }
    if (answer != QDialog::Accepted)
        return Status::cancelled();
    PlacementDialog::rememberMode(step.mode());
    const SourcePlacement chosen = step.framing();
    const int only = step.thisSizeOnly->isChecked() ? profile : 0;
    const QImage placed = step.result();
    const Status status = editProject(
        m_doc, m_project,
        [picture, bytes, chosen, only](SkinProject &p, int) { p.setPictureFile(picture, bytes, chosen, only); },
        [&] { return m_doc.writeBackPicture(picture, placed, source); },
        QStringLiteral("кадр картинки «%1»").arg(QString::fromUtf8(pictureInfo(picture).caption)));
    if (status) {
        Label3->setText(QStringLiteral("Загружена картинка %1 x %2").arg(image.width()).arg(image.height()));
        setPicture(placed);
    }
    showSources();
    return status;
}

void TForm3::BitBtn5Click()
{
    if (!m_project || !m_doc.hasSkin())
        return;
    const int picture = RadioGroup1->itemIndex();
    const SizeSource &now = m_project->project().pictures[size_t(picture)].at(m_doc.profile());
    if (now.kind != PictureSourceKind::File)
        return;
    // Copies: the project changes under the step.
    const QString hash = now.file;
    const SourcePlacement framing = now.placement;
    const QByteArray bytes = m_project->project().pictureFiles.at(hash);
    QImage image;
    Status status = m_project->pictureFile(hash, image);
    if (status)
        status = placeSource(image, bytes, framing, {});
    report(this, status);
}

void TForm3::BitBtn6Click()
{
    if (!m_project || !m_doc.hasSkin())
        return;
    const int picture = RadioGroup1->itemIndex();
    const int profile = m_doc.profile();
    const ProjectEdit shared = [picture](SkinProject &p, int size) {
        p.pictures[size_t(picture)].overrides.erase(size);
        p.dropUnusedFiles();
    };
    QImage sheet;
    Status status = m_project->sheetAfter(shared, profile, sheet);
    const QImage pixels = cutOutPicture(sheet, profile, picture);
    if (status)
        status = editProject(m_doc, m_project, shared, [&] { return m_doc.writeBackPicture(picture, pixels); },
                             QStringLiteral("общая картинка «%1»").arg(QString::fromUtf8(pictureInfo(picture).caption)));
    if (status)
        setPicture(pixels);
    showSources();
    report(this, status);
}

void TForm3::BitBtn3Click()
{
    const int picture = RadioGroup1->itemIndex();
    const QImage cut = cutOutPicture(m_doc.sheet(), m_doc.profile(), picture);
    if (cut.isNull())
        return;
    const QString proposed = QDir(pictureFolderOrDefault()).filePath(QString::fromUtf8(pictureInfo(picture).name) + QStringLiteral(".png"));
    const QString chosen = seams().saveFile(this, QStringLiteral("Сохранить картинку"), proposed, savePictureFilter());
    if (chosen.isEmpty())
        return;
    QString error;
    if (!writePictureFile(cut, chosen, error)) {
        seams().critical(this, error, QString());
        return;
    }
    prefs::pictureFolder.set(QFileInfo(chosen).absolutePath());
}

void TForm3::BitBtn4Click()
{
    const Profile *profile = profileByIndex(m_doc.profile());
    if (!profile)
        return;
    const int picture = RadioGroup1->itemIndex();
    const QString templatePath = m_doc.programFiles().dataPath(QString::fromUtf8(profile->templateName));
    SkinImage original;
    Status status = readSkinFile(m_doc.programFiles(), m_doc.workFolder(), templatePath, original);
    if (status && original.profile != profile->index)
        status = Status::failure(QStringLiteral("Шаблон «%1» сделан не для экрана %2.")
                                     .arg(QDir::toNativeSeparators(templatePath), profile->labelText()));
    // In a project the template's picture is the source at every size.
    if (status)
        status = editProject(
            m_doc, m_project,
            [picture](SkinProject &p, int) {
                static_cast<SizeSource &>(p.pictures[size_t(picture)]) = SizeSource{};
                p.pictures[size_t(picture)].overrides.clear();
                p.dropUnusedFiles();
            },
            [&] {
                return m_doc.writeBackPicture(picture, cutOutPicture(original.sheet, original.profile, picture),
                                              templatePath);
            },
            QStringLiteral("картинка «%1» из шаблона").arg(QString::fromUtf8(pictureInfo(picture).caption)));
    if (status)
        setPicture(cutOutPicture(m_doc.sheet(), m_doc.profile(), picture));
    showSources();
    report(this, status);
}

} // namespace zelkor
