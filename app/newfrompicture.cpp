#include "newfrompicture.h"

#include "design/colour.h"
#include "design/interest.h"
#include "imaging/placement.h"
#include "preview/overview.h"
#include "radiogroup.h"
#include "busycursor.h"
#include "seams.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "windowfit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QScrollArea>
#include <QToolButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>

namespace zelkor {

namespace {

constexpr int kDefaultProfile = 3;  // as the new-skin dialog
constexpr int kOverviewWidth = 1000;
constexpr QSize kPhotoBox(280, 180);
constexpr int kChips = 8;

QString hex(QRgb c)
{
    return QColor::fromRgb(c).name();
}

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

    schemeBox = new QComboBox(this);
    for (const design::ColourSchemeName &c : design::colourSchemeNames())
        schemeBox->addItem(QString::fromUtf8(c.caption));
    connect(schemeBox, &QComboBox::currentIndexChanged, this, [this] {
        m_settings.scheme = scheme();
        remake();
    });

    photoLabel = new QLabel(this);
    photoLabel->setFixedSize(kPhotoBox);
    photoLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    photoLabel->setToolTip(QStringLiteral("Щелчок — основной цвет с фото, правой кнопкой — акцент"));
    photoLabel->installEventFilter(this);
    auto *keyRow = new QHBoxLayout;
    keyRow->addWidget(new QLabel(QStringLiteral("Основной:"), this));
    auto *accentRow = new QHBoxLayout;
    accentRow->addWidget(new QLabel(QStringLiteral("Акцент:"), this));
    for (int i = 0; i < kChips; ++i)
        for (auto [row, chips, accent] : {std::tuple{keyRow, &keyChips, false}, std::tuple{accentRow, &accentChips, true}}) {
            auto *chip = new QToolButton(this);
            chip->setFixedSize(26, 26);
            chip->setCheckable(true);
            chip->setAutoRaise(false);
            chip->hide();
            row->addWidget(chip);
            chips->push_back(chip);
            connect(chip, &QToolButton::clicked, this, [this, i, accent] {
                if (size_t(i) >= m_palette.colours.size())
                    return;
                const QRgb c = m_palette.colours[size_t(i)].rgb;
                accent ? setAccent(c) : setKey(c);
            });
        }
    keyRow->addStretch(1);
    accentRow->addStretch(1);
    auto *colours = new QVBoxLayout;
    colours->addLayout(keyRow);
    colours->addLayout(accentRow);
    auto *fromPhoto = new QLabel(QStringLiteral("Цвета с фото: щелчок по картинке — основной, правой кнопкой — акцент."), this);
    fromPhoto->setWordWrap(true);
    colours->addWidget(fromPhoto);
    colours->addStretch(1);

    overviewLabel = new QLabel(this);
    overviewLabel->setAlignment(Qt::AlignCenter);
    // At x1: the screens as the phone shows them, scrolled where the window is narrower.
    overviewArea = new QScrollArea(this);
    overviewArea->setWidget(overviewLabel);
    overviewArea->setWidgetResizable(true);
    overviewArea->setAlignment(Qt::AlignCenter);
    overviewArea->setMinimumSize(kOverviewWidth, 260);
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
    grid->addWidget(variantGroup, 2, 0, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Схема:"), this), 2, 1);
    grid->addWidget(schemeBox, 2, 2);
    auto *photoRow = new QHBoxLayout;
    photoRow->addWidget(photoLabel);
    photoRow->addLayout(colours, 1);
    auto *top = new QHBoxLayout;
    top->addLayout(grid, 1);
    top->addLayout(photoRow, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(overviewArea, 1);
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

design::ColourScheme NewFromPictureDialog::scheme() const
{
    return design::colourSchemeNames()[size_t(std::max(0, schemeBox->currentIndex()))].scheme;
}

void NewFromPictureDialog::setScheme(design::ColourScheme scheme)
{
    for (size_t i = 0; i < design::colourSchemeNames().size(); ++i)
        if (design::colourSchemeNames()[i].scheme == scheme)
            schemeBox->setCurrentIndex(int(i));  // remakes through the signal when it changes
}

void NewFromPictureDialog::setKey(std::optional<QRgb> colour)
{
    m_settings.key = colour;
    showChips();
    remake();
}

void NewFromPictureDialog::setAccent(std::optional<QRgb> colour)
{
    m_settings.accent = colour;
    showChips();
    remake();
}

void NewFromPictureDialog::pickFromPicture(const QPoint &at, bool accent)
{
    if (!m_picture.valid(at))
        return;
    const QRgb c = m_picture.pixel(at) | 0xff000000u;
    accent ? setAccent(c) : setKey(c);
}

bool NewFromPictureDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == photoLabel && event->type() == QEvent::MouseButtonPress && !m_picture.isNull()) {
        const auto *click = static_cast<QMouseEvent *>(event);
        const QPointF at = click->position() / m_photoScale;
        pickFromPicture(QPoint(int(at.x()), int(at.y())), click->button() == Qt::RightButton);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void NewFromPictureDialog::showPhoto()
{
    if (m_picture.isNull()) {
        photoLabel->clear();
        return;
    }
    const QSize fitted = m_picture.size().scaled(kPhotoBox, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    m_photoScale = double(fitted.width()) / m_picture.width();
    QImage shown = smoothScaled(m_picture, fitted).convertToFormat(QImage::Format_RGB32);
    // The part the contact list shows, as the generator crops it.
    const QSize place = pictureRect(Contacts, profile())->rect().size();
    const QRect crop = coverCrop(m_picture.size(), place, design::centreOfInterest(m_picture, place));
    QPainter p(&shown);
    p.setPen(QPen(Qt::white, 1, Qt::DashLine));
    p.drawRect(QRectF(crop.x() * m_photoScale, crop.y() * m_photoScale, crop.width() * m_photoScale - 1,
                      crop.height() * m_photoScale - 1));
    p.end();
    photoLabel->setPixmap(QPixmap::fromImage(shown));
}

void NewFromPictureDialog::showChips()
{
    const auto nearest = [this](const design::Lab &lab) {
        size_t best = 0;
        for (size_t i = 1; i < m_palette.colours.size(); ++i)
            if (design::deltaE(m_palette.colours[i].lab, lab) < design::deltaE(m_palette.colours[best].lab, lab))
                best = i;
        return best;
    };
    for (auto [chips, chosen, fromPalette] :
         {std::tuple{&keyChips, m_settings.key, m_palette.key}, std::tuple{&accentChips, m_settings.accent, m_palette.accent}}) {
        for (size_t i = 0; i < chips->size(); ++i) {
            QToolButton *chip = (*chips)[i];
            chip->setVisible(i < m_palette.colours.size());
            if (i >= m_palette.colours.size())
                continue;
            const QRgb c = m_palette.colours[i].rgb;
            chip->setStyleSheet(QStringLiteral("QToolButton { background: %1; border: 1px solid #808080; }"
                                               "QToolButton:checked { border: 3px solid palette(highlight); }")
                                    .arg(hex(c)));
            chip->setToolTip(QStringLiteral("%1, %2 % картинки")
                                 .arg(hex(c))
                                 .arg(QLocale(QLocale::Russian).toString(qRound(m_palette.colours[i].share * 100))));
            chip->setChecked(chosen ? c == (*chosen | 0xff000000u)
                                    : !m_palette.colours.empty() && i == nearest(fromPalette));
        }
    }
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
    m_palette = design::extractPalette(picture);
    // Colours chosen for another picture do not carry over.
    m_settings.key.reset();
    m_settings.accent.reset();
    pictureEdit->setText(QDir::toNativeSeparators(m_picturePath));
    showChips();
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
    showPhoto();
    const BusyCursor busy;
    const QImage *base = templateSheet(profile());
    if (!base)
        return;
    design::SkinFromPicture made;
    m_settings.variant = variant();
    const Status status = design::makeSkinFromPicture(m_picture, profile(), *base, m_icons, m_settings, made);
    if (!status) {
        report(this, status);
        return;
    }
    m_result = made;
    m_overview = sheetOverview(design::skinNameForPicture(m_picturePath, profile()), made.sheet, profile(), m_icons);
    overviewLabel->setPixmap(QPixmap::fromImage(m_overview));
    // A new size or profile gives an overview of another size; a new colour
    // does not, and then a dialog the user moved or resized stays as it is.
    if (m_overview.size() != m_fittedOverview)
        fitToScreen();
    const QLocale ru(QLocale::Russian);
    noteLabel->setText(QStringLiteral("Вариант: %1. Фон смягчён: контакты %2 %, чат %3 %, настройки %4 %.")
                           .arg(design::variantCaption(made.variant), ru.toString(qRound(made.veils[0] * 100)), ru.toString(qRound(made.veils[1] * 100)),
                                ru.toString(qRound(made.veils[2] * 100))));
    createButton->setEnabled(true);
}

void NewFromPictureDialog::fitToScreen()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    fitToArea(screen->availableGeometry(), frameOrUsual(windowHandle()));
}

void NewFromPictureDialog::fitToArea(const QRect &available, const QMargins &frame)
{
    if (m_overview.isNull())
        return;
    m_fittedOverview = m_overview.size();
    layout()->activate();
    // The overview lies below the controls across the whole dialog: it adds
    // what it needs beyond its area's minimum to the dialog's height, and
    // its own width (with the area's frame and the dialog's margins) is the
    // least width that shows it whole.
    const QSize least = layout()->totalMinimumSize();
    const QMargins margins = layout()->contentsMargins();
    const QSize area = m_overview.size() + QSize(2, 2) * overviewArea->frameWidth();
    QSize wanted(std::max(least.width(), area.width() + margins.left() + margins.right()),
                 least.height() + std::max(0, area.height() - overviewArea->minimumHeight()));
    // Never smaller than the user made it, never larger than the screen.
    if (isVisible())
        wanted = wanted.expandedTo(this->size());
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, overviewArea);
    const QSize size = fitWindow(available, wanted, frame, bar).size.expandedTo(minimumSize());
    resize(size);
    const QSize framed = size.grownBy(frame);
    const QWidget *over = parentWidget() ? parentWidget()->window() : nullptr;
    const QPoint centre = over ? over->frameGeometry().center() : available.center();
    QRect place(QPoint(), framed);
    place.moveCenter(centre);
    place.moveLeft(std::clamp(place.left(), available.left(), std::max(available.left(), available.right() + 1 - framed.width())));
    place.moveTop(std::clamp(place.top(), available.top(), std::max(available.top(), available.bottom() + 1 - framed.height())));
    move(place.topLeft());
}

} // namespace zelkor
