#include "colourdialog.h"

#include "design/colour.h"
#include "design/legibilitytext.h"
#include "preview/screenimage.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace zelkor {

namespace {

constexpr double kAA = 4.5, kAAA = 7.0;

QFrame *colourPatch(QWidget *parent, QRgb colour)
{
    auto *patch = new QFrame(parent);
    patch->setFrameStyle(QFrame::Box | QFrame::Plain);
    patch->setMinimumSize(72, 48);
    patch->setAutoFillBackground(true);
    QPalette p = patch->palette();
    p.setColor(QPalette::Window, QColor::fromRgb(colour));
    patch->setPalette(p);
    return patch;
}

void paintPatch(QFrame *patch, QRgb colour)
{
    QPalette p = patch->palette();
    p.setColor(QPalette::Window, QColor::fromRgb(colour));
    patch->setPalette(p);
}

QString mark(double worst, double level, const QString &name)
{
    return QStringLiteral("%1 %2 %3").arg(worst >= level ? QStringLiteral("✓") : QStringLiteral("✗"), name,
                                          design::ratioText(level, 1));
}

QString screenTitle(const QString &screen)
{
    const NamedScreen *named = findNamedScreen(screen);
    return named ? named->titleText() : screen;
}

} // namespace

ColourDialog::ColourDialog(QRgb initial, const QString &title, ColourContext context, QWidget *parent)
    : QDialog(parent), m_context(std::move(context)), m_initial(initial | 0xff000000u), m_colour(m_initial)
{
    setWindowTitle(title);
    auto *column = new QVBoxLayout(this);

    // Current and new side by side.
    auto *patches = new QGridLayout;
    patches->addWidget(new QLabel(QStringLiteral("Сейчас"), this), 0, 0);
    patches->addWidget(new QLabel(QStringLiteral("Новый"), this), 0, 1);
    QFrame *current = colourPatch(this, m_initial);
    current->setToolTip(QColor::fromRgb(m_initial).name());
    m_new = colourPatch(this, m_initial);
    patches->addWidget(current, 1, 0);
    patches->addWidget(m_new, 1, 1);
    m_eyedropper = new QPushButton(QStringLiteral("Пипетка"), this);
    m_eyedropper->setToolTip(QStringLiteral("Щёлкните затем в любом месте экрана — в предпросмотре, в картинке…"));
    patches->addWidget(m_eyedropper, 1, 2, Qt::AlignBottom);
    patches->setColumnStretch(3, 1);
    column->addLayout(patches);

    // The fields.
    auto *fields = new QGridLayout;
    m_hex = new QLineEdit(this);
    m_hex->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("#?[0-9A-Fa-f]{0,6}")), m_hex));
    m_hex->setAccessibleName(QStringLiteral("Шестнадцатеричный код"));
    fields->addWidget(new QLabel(QStringLiteral("HEX:"), this), 0, 0);
    fields->addWidget(m_hex, 0, 1, 1, 3);
    const auto spin = [this](int max, const QString &suffix) {
        auto *box = new QSpinBox(this);
        box->setRange(0, max);
        box->setSuffix(suffix);
        return box;
    };
    const QString rgbNames[3] = {QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("B")};
    const QString hslNames[3] = {QStringLiteral("H"), QStringLiteral("S"), QStringLiteral("L")};
    for (int i = 0; i < 3; ++i) {
        m_rgb[i] = spin(255, QString());
        m_hsl[i] = spin(i == 0 ? 359 : 100, i == 0 ? QStringLiteral("°") : QStringLiteral(" %"));
        fields->addWidget(new QLabel(rgbNames[i] + u':', this), 1 + i, 0);
        fields->addWidget(m_rgb[i], 1 + i, 1);
        fields->addWidget(new QLabel(hslNames[i] + u':', this), 1 + i, 2);
        fields->addWidget(m_hsl[i], 1 + i, 3);
    }
    m_lightness = new QDoubleSpinBox(this);
    m_lightness->setRange(0, 100);
    m_lightness->setDecimals(1);
    m_lightness->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    m_lightness->setToolTip(QStringLiteral("Светлота CIELAB: меняет только светлоту, оттенок остаётся"));
    fields->addWidget(new QLabel(QStringLiteral("L*:"), this), 4, 2);
    fields->addWidget(m_lightness, 4, 3);
    column->addLayout(fields);
    m_options = new QVBoxLayout;
    column->addLayout(m_options);

    // The readout.
    m_readout = new QLabel(this);
    m_readout->setObjectName(QStringLiteral("contrastReadout"));
    m_readout->setTextFormat(Qt::PlainText);
    m_readout->setWordWrap(true);
    m_readout->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_readout->setMinimumWidth(300);
    column->addWidget(m_readout);
    m_nearestButton = new QPushButton(this);
    column->addWidget(m_nearestButton);

    // The chips: the skin's colours, then its pictures'.
    m_chips = new QWidget(this);
    auto *chipRows = new QFormLayout(m_chips);
    chipRows->setContentsMargins(0, 0, 0, 0);
    const auto chipRow = [this, chipRows](const QString &label, const std::vector<QRgb> &colours) {
        if (colours.empty())
            return;
        auto *row = new QHBoxLayout;
        row->setSpacing(2);
        for (QRgb c : colours) {
            auto *chip = new QToolButton(m_chips);
            chip->setFixedSize(20, 20);
            chip->setToolTip(QColor::fromRgb(c).name());
            chip->setStyleSheet(QStringLiteral("QToolButton { background: %1; border: 1px solid gray; }")
                                    .arg(QColor::fromRgb(c).name()));
            connect(chip, &QToolButton::clicked, this, [this, c] { setColour(c); });
            row->addWidget(chip);
        }
        row->addStretch(1);
        chipRows->addRow(label, row);
    };
    chipRow(QStringLiteral("Цвета скина:"), m_context.skinColours);
    chipRow(QStringLiteral("Из картинок:"), m_context.paletteColours);
    column->addWidget(m_chips);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    column->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(m_hex, &QLineEdit::textEdited, this, [this] { showColour(m_hex); });
    for (int i = 0; i < 3; ++i) {
        connect(m_rgb[i], &QSpinBox::valueChanged, this, [this, i] { showColour(m_rgb[i]); });
        connect(m_hsl[i], &QSpinBox::valueChanged, this, [this, i] { showColour(m_hsl[i]); });
    }
    connect(m_lightness, &QDoubleSpinBox::valueChanged, this, [this] { showColour(m_lightness); });
    connect(m_nearestButton, &QPushButton::clicked, this, [this] {
        if (m_nearest)
            setColour(*m_nearest);
    });
    connect(m_eyedropper, &QPushButton::clicked, this, [this] { startPicking(); });

    showColour(nullptr);
}

void ColourDialog::setColour(QRgb colour)
{
    m_colour = colour | 0xff000000u;
    showColour(nullptr);
}

void ColourDialog::showColour(QWidget *source)
{
    if (m_updating)
        return;
    // The field the user changed decides; every other field follows it.
    QColor c = QColor::fromRgb(m_colour);
    if (source == m_hex) {
        const QString text = m_hex->text().startsWith(u'#') ? m_hex->text() : u'#' + m_hex->text();
        if (text.size() != 7)
            return;  // still typing
        c = QColor::fromString(text);
    } else if (source == m_rgb[0] || source == m_rgb[1] || source == m_rgb[2]) {
        c = QColor(m_rgb[0]->value(), m_rgb[1]->value(), m_rgb[2]->value());
    } else if (source == m_hsl[0] || source == m_hsl[1] || source == m_hsl[2]) {
        c = QColor::fromHslF(m_hsl[0]->value() / 360.0, m_hsl[1]->value() / 100.0, m_hsl[2]->value() / 100.0);
    } else if (source == m_lightness) {
        design::Lab lab = design::toLab(m_colour);
        lab.L = m_lightness->value();
        c = QColor::fromRgb(design::fromLab(lab));
    }
    if (!c.isValid())
        return;
    const QRgb before = m_colour;
    m_colour = c.rgb() | 0xff000000u;

    m_updating = true;
    if (source != m_hex)
        m_hex->setText(QColor::fromRgb(m_colour).name());
    const int rgb[3] = {qRed(m_colour), qGreen(m_colour), qBlue(m_colour)};
    const QColor hsl = QColor::fromRgb(m_colour).toHsl();
    const int hslValues[3] = {std::max(0, hsl.hslHue()), qRound(hsl.hslSaturationF() * 100), qRound(hsl.lightnessF() * 100)};
    for (int i = 0; i < 3; ++i) {
        if (source != m_rgb[i])
            m_rgb[i]->setValue(rgb[i]);
        // HSL fields being typed keep their values: rounding must not move them under the user's hand.
        if (source != m_hsl[0] && source != m_hsl[1] && source != m_hsl[2])
            m_hsl[i]->setValue(hslValues[i]);
    }
    if (source != m_lightness)
        m_lightness->setValue(design::toLab(m_colour).L);
    m_updating = false;

    paintPatch(m_new, m_colour);
    m_new->setToolTip(QColor::fromRgb(m_colour).name());
    updateReadout();
    if (m_colour != before || !source)
        emit colourChanged(m_colour);
}

void ColourDialog::updateReadout()
{
    const QRgb drawn = m_context.asDrawn ? m_context.asDrawn(m_colour) : m_colour;
    const design::SlotContrast contrast = design::slotContrast(m_context.measure, m_context.slot, drawn);
    m_nearest.reset();
    if (contrast.texts == 0) {
        m_readout->setText(QStringLiteral("Этим цветом на экранах не пишется ни одной надписи."));
        m_nearestButton->setText(QStringLiteral("Ближайший читаемый"));
        m_nearestButton->setEnabled(false);
        return;
    }
    QStringList lines;
    lines << QStringLiteral("Худший контраст: %1   %2   %3")
                 .arg(design::ratioText(contrast.worst, 1), mark(contrast.worst, kAA, QStringLiteral("AA")),
                      mark(contrast.worst, kAAA, QStringLiteral("AAA")));
    for (const design::SlotContrast::Screen &s : contrast.screens)
        lines << QStringLiteral("%1 %2: %3 (%4)")
                     .arg(s.worst >= m_context.minContrast ? QStringLiteral("✓") : QStringLiteral("✗"),
                          screenTitle(s.screen), design::ratioText(s.worst, 1),
                          design::countText(s.texts, QStringLiteral("надпись"), QStringLiteral("надписи"),
                                            QStringLiteral("надписей")));
    m_readout->setText(lines.join(u'\n'));

    const design::LightnessFix fix =
        design::fixSlotLightness(m_context.measure, m_context.slot, m_colour, m_context.minContrast, m_context.asDrawn);
    switch (fix.outcome) {
    case design::LightnessFix::AlreadyReaches:
        m_nearestButton->setText(QStringLiteral("Все надписи читаются (порог %1)").arg(design::ratioText(m_context.minContrast, 1)));
        break;
    case design::LightnessFix::Fixed:
        m_nearest = fix.colour;
        m_nearestButton->setText(QStringLiteral("Ближайший читаемый: %1 (%2)")
                                     .arg(QColor::fromRgb(fix.colour).name(), design::ratioText(fix.contrast, 1)));
        break;
    case design::LightnessFix::Impossible:
        m_nearestButton->setText(QStringLiteral("Ни светлее, ни темнее не читается: меняйте фон"));
        break;
    }
    m_nearestButton->setEnabled(m_nearest.has_value());
}

void ColourDialog::startPicking()
{
    m_picking = true;
    grabMouse(Qt::CrossCursor);
}

void ColourDialog::mousePressEvent(QMouseEvent *event)
{
    if (!m_picking) {
        QDialog::mousePressEvent(event);
        return;
    }
    m_picking = false;
    releaseMouse();
    const QPoint at = event->globalPosition().toPoint();
    // Our own windows are drawn again rather than read off the screen: that
    // works where the screen cannot be read (Wayland, no compositor) and
    // gives the preview's pixel exactly, not a scaled copy of it.
    if (QWidget *under = QApplication::widgetAt(at)) {
        QWidget *window = under->window();
        const QImage pixel = window->grab(QRect(window->mapFromGlobal(at), QSize(1, 1))).toImage();
        if (!pixel.isNull())
            setColour(pixel.pixel(0, 0));
        return;
    }
    if (QScreen *screen = QGuiApplication::screenAt(at)) {
        const QPoint local = at - screen->geometry().topLeft();
        const QImage pixel = screen->grabWindow(0, local.x(), local.y(), 1, 1).toImage();
        if (!pixel.isNull())
            setColour(pixel.pixel(0, 0));
    }
}

} // namespace zelkor
