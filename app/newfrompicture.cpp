#include "newfrompicture.h"

#include "preview/overview.h"
#include "radiogroup.h"
#include "busycursor.h"
#include "seams.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace zelkor {

namespace {

constexpr int kDefaultProfile = 3;  // as the new-skin dialog
constexpr int kOverviewWidth = 1000;

} // namespace

QString NewFromPictureDialog::pictureFilter()
{
    QStringList patterns;
    for (const QByteArray &suffix : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(suffix);
    return QStringLiteral("Картинки (%1);;Все файлы (*)").arg(patterns.join(u' '));
}

NewFromPictureDialog::NewFromPictureDialog(const ProgramFiles &files, const QString &workFolder,
                                           const IconSheets &icons, QWidget *parent)
    : QDialog(parent), m_files(files), m_workFolder(workFolder), m_icons(icons)
{
    setWindowTitle(QStringLiteral("Новый скин из картинки"));

    pictureEdit = new QLineEdit(this);
    pictureEdit->setReadOnly(true);
    pictureEdit->setPlaceholderText(QStringLiteral("картинка не выбрана"));
    chooseButton = new QPushButton(QStringLiteral("Выбрать…"), this);
    connect(chooseButton, &QPushButton::clicked, this, [this] { chooseClick(); });

    sizeBox = new QComboBox(this);
    for (const Profile &p : allProfiles())
        sizeBox->addItem(QString::fromUtf8(p.dialogItem));
    sizeBox->setCurrentIndex(kDefaultProfile - 1);
    connect(sizeBox, &QComboBox::currentIndexChanged, this, [this] { remake(); });

    QStringList variants;
    for (const design::VariantName &v : design::variantNames())
        variants << QString::fromUtf8(v.caption);
    variantGroup = new RadioGroup(QStringLiteral("Вариант"), variants, this);
    variantGroup->setMinimumHeight(90);
    variantGroup->setItemIndex(int(design::variantNames().size()) - 1);  // авто
    connect(variantGroup, &RadioGroup::clicked, this, [this] { remake(); });

    overviewLabel = new QLabel(this);
    overviewLabel->setAlignment(Qt::AlignCenter);
    overviewLabel->setMinimumSize(kOverviewWidth, 260);
    noteLabel = new QLabel(this);

    auto *buttons = new QDialogButtonBox(this);
    createButton = buttons->addButton(QStringLiteral("Создать"), QDialogButtonBox::AcceptRole);
    createButton->setEnabled(false);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Картинка:"), this), 0, 0);
    grid->addWidget(pictureEdit, 0, 1);
    grid->addWidget(chooseButton, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Экран:"), this), 1, 0);
    grid->addWidget(sizeBox, 1, 1, 1, 2);
    grid->addWidget(variantGroup, 2, 0, 1, 3);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(overviewLabel, 1);
    layout->addWidget(noteLabel);
    layout->addWidget(buttons);
}

int NewFromPictureDialog::profile() const
{
    return sizeBox->currentIndex() + 1;
}

design::Variant NewFromPictureDialog::variant() const
{
    return design::variantNames()[size_t(std::max(0, variantGroup->itemIndex()))].variant;
}

void NewFromPictureDialog::setProfile(int profile)
{
    sizeBox->setCurrentIndex(profile - 1);  // remakes through the signal
}

void NewFromPictureDialog::setVariant(design::Variant variant)
{
    for (size_t i = 0; i < design::variantNames().size(); ++i)
        if (design::variantNames()[i].variant == variant)
            variantGroup->setItemIndex(int(i));
    remake();
}

void NewFromPictureDialog::chooseClick()
{
    const QString start = m_picturePath.isEmpty()
                              ? QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)
                              : QFileInfo(m_picturePath).absolutePath();
    const QString chosen =
        seams().openFile(this, QStringLiteral("Картинка для скина"), start, pictureFilter());
    if (!chosen.isEmpty())
        setPicture(chosen);
}

bool NewFromPictureDialog::setPicture(const QString &path)
{
    QImage picture;
    Status status;
    {
        const BusyCursor busy;
        // Read once for every size, so that changing the size needs no second read.
        status = design::readPicture(path, 0, picture);
    }
    if (!status) {
        report(this, status);
        return false;
    }
    m_picturePath = QFileInfo(path).absoluteFilePath();
    m_picture = picture;
    pictureEdit->setText(QDir::toNativeSeparators(m_picturePath));
    remake();
    return true;
}

const QImage *NewFromPictureDialog::templateSheet(int profile)
{
    auto found = m_templates.find(profile);
    if (found != m_templates.end())
        return &found->second;
    SkinImage skin;
    const QString path = m_files.dataPath(QString::fromUtf8(profileByIndex(profile)->templateName));
    if (const Status s = readSkinFile(m_files, m_workFolder, path, skin); !s) {
        report(this, s);
        return nullptr;
    }
    return &m_templates.emplace(profile, skin.sheet).first->second;
}

void NewFromPictureDialog::remake()
{
    m_result.reset();
    m_overview = QImage();
    overviewLabel->clear();
    noteLabel->clear();
    createButton->setEnabled(false);
    if (m_picture.isNull())
        return;
    const BusyCursor busy;
    const QImage *base = templateSheet(profile());
    if (!base)
        return;
    design::SkinFromPicture made;
    const Status status = design::makeSkinFromPicture(m_picture, profile(), *base, m_icons, {variant()}, made);
    if (!status) {
        report(this, status);
        return;
    }
    m_result = made;
    m_overview = sheetOverview(design::skinNameForPicture(m_picturePath, profile()), made.sheet, profile(), m_icons);
    const QImage shown = m_overview.width() > kOverviewWidth
                             ? m_overview.scaledToWidth(kOverviewWidth, Qt::SmoothTransformation)
                             : m_overview;
    overviewLabel->setPixmap(QPixmap::fromImage(shown));
    const QLocale ru(QLocale::Russian);
    noteLabel->setText(QStringLiteral("Вариант: %1. Фон смягчён: контакты %2 %, чат %3 %, настройки %4 %.")
                           .arg(design::variantCaption(made.variant), ru.toString(qRound(made.veils[0] * 100)), ru.toString(qRound(made.veils[1] * 100)),
                                ru.toString(qRound(made.veils[2] * 100))));
    createButton->setEnabled(true);
}

} // namespace zelkor
