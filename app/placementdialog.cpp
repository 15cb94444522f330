#include "placementdialog.h"

#include "desktop/preferences.h"
#include "design/bestframe.h"
#include "design/legibility.h"
#include "design/legibilitytext.h"
#include "design/scrim.h"

#include "cropview.h"
#include "radiogroup.h"
#include "seams.h"
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "skin/skindocument.h"

#include "projectedit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <cmath>

namespace zelkor {

namespace {
constexpr double kZoomPerNotch = 1.25;
// "Лучший кадр" looks no closer than this.
constexpr double kBestFrameZoom = 2.0;

// The screen each picture is seen on best.
const char *screenOf(int picture)
{
    switch (picture) {
    case Chat: return "chat";
    case SettingsTop:
    case SettingsEl:
    case SettingsSelect: return "settings";
    case AccountSel: return "account";
    default: return "contacts-1";
    }
}

int modeIndex(FitMode mode)
{
    const auto &names = fitModeNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i].mode == mode)
            return int(i);
    return 0;
}
} // namespace

FitMode PlacementDialog::rememberedMode()
{
    return fitModeByKey(prefs::placementFit).value_or(FitMode::Cover);
}

void PlacementDialog::rememberMode(FitMode mode)
{
    prefs::placementFit.set(QString::fromLatin1(fitModeNames()[modeIndex(mode)].key));
}

PlacementDialog::PlacementDialog(SkinDocument &document, int picture, const QImage &loaded, QWidget *parent,
                                 const QImage &under)
    : QDialog(parent), m_doc(document), m_picture(picture), m_loaded(loaded), m_source(loaded),
      m_under(under.isNull() ? cutOutPicture(document.sheet(), document.profile(), picture) : under),
      m_mode(rememberedMode()),
      m_focus(loaded.width() / 2.0, loaded.height() / 2.0)
{
    setWindowTitle(QStringLiteral("Как поместить картинку"));

    QStringList captions;
    for (const FitModeName &m : fitModeNames())
        captions << QString::fromUtf8(m.caption);
    modes = new RadioGroup(QStringLiteral("Как поместить"), captions, this);
    modes->setMinimumSize(200, 120);
    modes->setItemIndex(modeIndex(m_mode));
    connect(modes, &RadioGroup::clicked, this, [this](int i) { setMode(fitModeNames()[i].mode); });

    sizes = new QLabel(QStringLiteral("Картинка: %1 x %2\nМесто: %3 x %4")
                           .arg(loaded.width())
                           .arg(loaded.height())
                           .arg(m_under.width())
                           .arg(m_under.height()),
                       this);

    auto *zoomLabel = new QLabel(QStringLiteral("Увеличение:"), this);
    zoom = new QSlider(Qt::Horizontal, this);
    zoom->setRange(100, int(kMaxZoom * 100));
    zoom->setAccessibleName(QStringLiteral("Увеличение"));
    connect(zoom, &QSlider::valueChanged, this, [this](int v) { setZoom(v / 100.0); });

    marginButton = new QPushButton(QStringLiteral("Цвет полей…"), this);
    connect(marginButton, &QPushButton::clicked, this, [this] {
        const QRgb now = m_margin.value_or(meanEdgeColour(m_loaded).value_or(qRgb(255, 255, 255)));
        const QColor chosen =
            seams().pickColour(this, QColor::fromRgb(now), QStringLiteral("Цвет полей"), QRect(), [](const QColor &) {});
        if (chosen.isValid())
            setMargin(chosen.rgb());
    });

    if (!readIconSheets(document.programFiles(), m_icons))
        m_icons = {};
    auto *scrimLabel = new QLabel(QStringLiteral("Подложка под текстами:"), this);
    scrimSlider = new QSlider(Qt::Horizontal, this);
    scrimSlider->setRange(0, 100);
    scrimSlider->setAccessibleName(QStringLiteral("Подложка под текстами"));
    scrimSlider->setToolTip(QStringLiteral("Смягчить картинку только под текстами, к чёрному или белому"));
    connect(scrimSlider, &QSlider::valueChanged, this, [this](int v) { setScrim(v / 100.0); });
    failingLabel = new QLabel(this);
    bestFrameButton = new QPushButton(QStringLiteral("Лучший кадр"), this);
    bestFrameButton->setToolTip(
        QStringLiteral("Кадр, где тексты ложатся на спокойные места и меньше всего их ниже порога"));
    connect(bestFrameButton, &QPushButton::clicked, this, [this] { bestFrame(); });

    shownResult = new QLabel(this);
    shownResult->setAlignment(Qt::AlignCenter);
    // The screen at x1: the texts over the picture as the phone shows them.
    shownResult->setMinimumSize(document.screenSize().expandedTo(QSize(220, 180)));

    view = new CropView(this);
    view->setMinimumSize(480, 380);
    view->setPicture(loaded);
    view->setAccessibleName(QStringLiteral("Картинка и рамка обрезки"));
    connect(view, &CropView::dragged, this, [this](QPointF delta) { moveCrop(delta); });
    connect(view, &CropView::wheelTurned, this,
            [this](int notches) { setZoom(m_zoom * std::pow(kZoomPerNotch, notches)); });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Ok"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    thisSizeOnly = new QCheckBox(QStringLiteral("только для этого размера"), this);
    thisSizeOnly->hide();
    sharedButton = new QPushButton(QStringLiteral("Вернуть общий"), this);
    sharedButton->hide();
    connect(sharedButton, &QPushButton::clicked, this, [this] { done(kSharedResult); });
    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(thisSizeOnly);
    sizeRow->addWidget(sharedButton);
    sizeRow->addStretch(1);

    auto *grid = new QGridLayout(this);
    grid->addWidget(modes, 0, 0);
    grid->addWidget(zoomLabel, 1, 0);
    auto *zoomRow = new QHBoxLayout;
    zoomRow->addWidget(zoom, 1);
    zoomRow->addWidget(bestFrameButton);
    grid->addLayout(zoomRow, 2, 0);
    grid->addWidget(marginButton, 3, 0);
    grid->addWidget(scrimLabel, 4, 0);
    grid->addWidget(scrimSlider, 5, 0);
    grid->addWidget(failingLabel, 6, 0);
    grid->addWidget(sizes, 7, 0);
    grid->addWidget(shownResult, 8, 0);
    grid->addWidget(view, 0, 1, 9, 1);
    grid->addLayout(sizeRow, 9, 0, 1, 2);
    grid->addWidget(buttons, 10, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(8, 1);

    setScrim(scrimKeepingLegibility());
}

int PlacementDialog::failingWith(const QImage &placed, double strength) const
{
    QImage sheet = m_doc.sheet();
    writeBackPicture(sheet, m_doc.profile(), m_picture, placed);
    if (strength > 0)
        sheet = design::scrimUnderTexts(sheet, m_doc.profile(), m_icons, m_picture, strength);
    return int(design::measureSkinLegibility(sheet, m_doc.profile(), m_icons).failingTexts(prefs::minContrast).size());
}

double PlacementDialog::scrimKeepingLegibility() const
{
    const double min = prefs::minContrast;
    const int before = int(design::measureSkinLegibility(m_doc.sheet(), m_doc.profile(), m_icons).failingTexts(min).size());
    const QImage placed = m_source.place(m_under, placement());
    if (failingWith(placed, 0) <= before || failingWith(placed, 1) > before)
        return 0;
    return design::leastScrimHundredths(
               [&](int hundredths) { return failingWith(placed, hundredths / 100.0) <= before; })
           / 100.0;
}

PlacementDialog::~PlacementDialog()
{
    m_doc.endTrial();
}

void PlacementDialog::done(int result)
{
    m_doc.endTrial();
    QDialog::done(result);
}

SourcePlacement PlacementDialog::framing() const
{
    SourcePlacement out;
    out.mode = m_mode;
    if (m_mode == FitMode::Cover) {
        out.focus = relativeFocus(m_focus, m_loaded.size());
        out.zoom = m_zoom;
    }
    if (m_mode == FitMode::Contain)
        out.margin = m_margin;
    out.scrim = m_scrim;
    return out;
}

void PlacementDialog::setFraming(const SourcePlacement &framing)
{
    m_mode = framing.mode;
    modes->setItemIndex(modeIndex(m_mode));
    // The point the project's placement crops around, to the same grid.
    if (framing.focus)
        m_focus = QRectF(framing.placementFor(m_loaded.size(), m_under.size()).crop).center();
    if (framing.margin)
        m_margin = framing.margin;
    m_zoom = framing.zoom;
    {
        const QSignalBlocker quiet(zoom);
        zoom->setValue(int(std::lround(m_zoom * 100)));
    }
    setScrim(framing.scrim);
}

void PlacementDialog::offerSizes(int profile, bool overridden)
{
    thisSizeOnly->setChecked(overridden);
    thisSizeOnly->setToolTip(QStringLiteral("Картинка только для размера %1; другие размеры сохранят общую.")
                                 .arg(profileByIndex(profile)->labelText()));
    thisSizeOnly->show();
    sharedButton->setVisible(overridden);
    sharedButton->setToolTip(ownSizeTip(profile) + QStringLiteral(": вернуть картинку, общую для всех размеров."));
}

QRect PlacementDialog::crop() const
{
    return coverCrop(m_loaded.size(), m_under.size(), m_focus, m_zoom);
}

Placement PlacementDialog::placement() const
{
    return {m_mode, m_mode == FitMode::Cover ? crop() : QRect(), m_margin};
}

QImage PlacementDialog::result() const
{
    return withScrim(placeImage(m_loaded, m_under, placement()));
}

QImage PlacementDialog::withScrim(const QImage &placed, QImage *sheetOut) const
{
    QImage sheet = m_doc.sheet();
    writeBackPicture(sheet, m_doc.profile(), m_picture, placed);
    if (m_scrim > 0)
        sheet = design::scrimUnderTexts(sheet, m_doc.profile(), m_icons, m_picture, m_scrim);
    if (sheetOut)
        *sheetOut = sheet;
    return m_scrim > 0 ? cutOutPicture(sheet, m_doc.profile(), m_picture) : placed;
}

void PlacementDialog::bestFrame()
{
    if (m_mode != FitMode::Cover)
        return;
    const design::BestFrame best = design::findBestFrame(m_doc.sheet(), m_doc.profile(), m_icons, m_picture, m_loaded,
                                                         prefs::minContrast, kBestFrameZoom);
    m_focus = best.focus;
    setZoom(best.zoom);
}

QImage PlacementDialog::heatMap(const QImage &sheet, const std::vector<QRect> &failing) const
{
    const NamedScreen *screen = findNamedScreen(QString::fromLatin1(screenOf(m_picture)));
    if (!screen)
        return {};
    QImage shown = paintBoxPicture(*screen, skinPreviewInput(sheet, m_doc.profile(), m_icons, screen->columns));
    QPainter p(&shown);
    p.setPen(QPen(QColor(255, 0, 64), 1));
    for (const QRect &ink : failing)
        p.drawRect(ink.adjusted(-1, -1, 0, 0));
    return shown;
}

void PlacementDialog::setScrim(double strength)
{
    m_scrim = std::clamp(strength, 0.0, 1.0);
    const QSignalBlocker quiet(scrimSlider);
    scrimSlider->setValue(int(std::lround(m_scrim * 100)));
    refresh();
}

void PlacementDialog::setMode(FitMode mode)
{
    m_mode = mode;
    modes->setItemIndex(modeIndex(mode));
    refresh();
}

void PlacementDialog::setZoom(double value)
{
    m_zoom = std::clamp(value, 1.0, kMaxZoom);
    const QSignalBlocker quiet(zoom);
    zoom->setValue(int(std::lround(m_zoom * 100)));
    refresh();
}

void PlacementDialog::moveCrop(const QPointF &delta)
{
    m_focus += delta;
    refresh();
}

void PlacementDialog::setMargin(QRgb colour)
{
    m_margin = colour;
    refresh();
}

void PlacementDialog::refresh()
{
    const bool cover = m_mode == FitMode::Cover;
    if (cover) {
        // The focus follows the crop, so a drag past the edge takes effect
        // as soon as it turns back.
        const QRect c = crop();
        m_focus = QRectF(c).center();
        view->setCrop(c);
    } else {
        view->setCrop({});
    }
    zoom->setEnabled(cover);
    marginButton->setEnabled(m_mode == FitMode::Contain);
    QImage sheet;
    const QImage live = withScrim(m_source.place(m_under, placement()), &sheet);
    const double min = prefs::minContrast;
    const design::Legibility measured = design::measureSkinLegibility(sheet, m_doc.profile(), m_icons);
    const std::vector<int> failing = measured.failingTexts(min);
    m_failing = int(failing.size());
    failingLabel->setText(QStringLiteral("Текстов ниже порога (%1): %2").arg(design::ratioText(min, 1)).arg(m_failing));
    std::vector<QRect> outlined;
    for (int i : failing)
        if (measured.texts[size_t(i)].screen == QLatin1String(screenOf(m_picture)))
            outlined.push_back(measured.texts[size_t(i)].ink);
    bestFrameButton->setEnabled(cover);
    const QImage shown = heatMap(sheet, outlined);
    shownResult->setPixmap(QPixmap::fromImage(CropView::fitted(shown.isNull() ? live : shown, shownResult->minimumSize())));
    m_doc.showTrialPicture(m_picture, live);
}

} // namespace zelkor
