// The picture dialog's road from a file of any size to the sheet and back:
// the placement step, saving a picture, and the template's picture restored.
#include "tform3.h"

#include "placementdialog.h"
#include "radiogroup.h"
#include "seams.h"
#include "desktop/preferences.h"
#include "editing/picturefiles.h"
#include "imaging/placement.h"
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "skin/skindocument.h"

#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>

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
    if (status)
        status = m_doc.writeBackPicture(picture, cutOutPicture(original.sheet, original.profile, picture), templatePath);
    if (status)
        setPicture(cutOutPicture(m_doc.sheet(), m_doc.profile(), picture));
    report(this, status);
}

} // namespace zelkor
