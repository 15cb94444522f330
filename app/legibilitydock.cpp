#include "legibilitydock.h"

#include "desktop/preferences.h"

#include "design/legibilitytext.h"
#include "preview/screenimage.h"

#include "skin/profiles.h"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QPainter>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <optional>
#include <tuple>
#include <QVBoxLayout>

namespace zelkor {

namespace {

static_assert(prefs::minContrast.defaultValue() == design::kDefaultMinContrast);

enum Column { SwatchColumn, SlotColumn, RatioColumn, ScreenColumn, CountColumn, ColumnCount };
constexpr int kTextRole = Qt::UserRole, kSlotRole = Qt::UserRole + 1, kProfileRole = Qt::UserRole + 2;

QIcon swatchIcon(QRgb colour)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(QColor::fromRgb(colour));
    QPainter p(&pixmap);
    p.setPen(Qt::darkGray);
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

QString screenTitle(const QString &screen)
{
    const NamedScreen *named = findNamedScreen(screen);
    return named ? named->titleText() : screen;
}

} // namespace

LegibilityDock::LegibilityDock(QWidget *parent) : QDockWidget(QStringLiteral("Читаемость"), parent)
{
    setObjectName(QStringLiteral("legibilityDock"));
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);

    m_threshold = new QDoubleSpinBox(body);
    m_threshold->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    m_threshold->setRange(1.0, 21.0);
    m_threshold->setDecimals(1);
    m_threshold->setSingleStep(0.5);
    m_threshold->setSuffix(QStringLiteral(" : 1"));
    m_threshold->setValue(savedMinContrast());
    m_threshold->setAccessibleName(QStringLiteral("Порог контраста"));
    m_threshold->setToolTip(QStringLiteral("Тексты с меньшим контрастом считаются плохо читаемыми "
                                           "(4,5 : 1 — WCAG AA для обычного текста)"));
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Порог контраста:"), m_threshold);
    layout->addLayout(form);

    m_allSizes = new QCheckBox(QStringLiteral("все размеры"), body);
    m_allSizes->setToolTip(QStringLiteral("Плохо читаемые тексты проекта на экранах всех размеров, по размерам"));
    m_allSizes->hide();
    layout->addWidget(m_allSizes);

    m_summary = new QLabel(body);
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);

    m_list = new QTreeWidget(body);
    m_list->setColumnCount(ColumnCount);
    m_list->setHeaderLabels({QString(), QStringLiteral("Цвет"), QStringLiteral("Худший"), QStringLiteral("Где"),
                             QStringLiteral("Всего")});
    m_list->headerItem()->setToolTip(RatioColumn, QStringLiteral("Наименьший контраст текстов этого цвета"));
    m_list->headerItem()->setToolTip(CountColumn, QStringLiteral("Сколько текстов этого цвета ниже порога"));
    m_list->setAllColumnsShowFocus(true);
    m_list->setAccessibleName(QStringLiteral("Плохо читаемые тексты по цветам"));
    // The columns fit the dock: the label and the screen share what the
    // numbers leave and elide; the full words are in the tooltips.
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView *header = m_list->header();
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(8);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(SlotColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(ScreenColumn, QHeaderView::Stretch);
    layout->addWidget(m_list, 1);

    m_fix = new QPushButton(QStringLiteral("Исправить"), body);
    m_fix->setToolTip(QStringLiteral("Сделать цвет выбранного текста светлее или темнее — насколько нужно, "
                                     "чтобы все тексты этого цвета достигли порога"));
    layout->addWidget(m_fix);
    m_fixRow = new QAction(QStringLiteral("Исправить"), m_list);
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_list->addAction(m_fixRow);
    setWidget(body);

    const auto fixCurrent = [this] {
        const design::Legibility *measure = currentMeasure();
        if (measure && measure->texts[size_t(currentText())].slot >= 0)
            emit fixRequested(measure->texts[size_t(currentText())].slot);
    };
    connect(m_fix, &QPushButton::clicked, this, fixCurrent);
    connect(m_fixRow, &QAction::triggered, this, fixCurrent);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        updateFixButton();
        if (!item)
            return;
        const int text = item->data(SwatchColumn, kTextRole).toInt();
        if (const int profile = item->data(SwatchColumn, kProfileRole).toInt())
            emit sizeTextChosen(profile, text);
        else
            emit textChosen(text);
    });
    connect(m_allSizes, &QCheckBox::toggled, this, [this](bool on) {
        fillList();
        emit allSizesToggled(on);
    });
    connect(m_threshold, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        prefs::minContrast.set(value);
        emit minContrastChanged(value);
    });
    updateFixButton();
}

double LegibilityDock::savedMinContrast()
{
    return prefs::minContrast;
}

double LegibilityDock::minContrast() const
{
    return m_threshold->value();
}

void LegibilityDock::showMeasure(const design::Legibility &measure, const QString &depthName)
{
    m_measure = measure;
    m_depthName = depthName;
    m_failing = int(measure.failingTexts(minContrast()).size());
    fillList();
}

void LegibilityDock::offerAllSizes(bool offered)
{
    if (!offered) {
        m_allSizes->setChecked(false);
        m_sizes.clear();  // another project's sizes are no measure of the next one
    }
    m_allSizes->setVisible(offered);
}

bool LegibilityDock::allSizes() const
{
    return m_allSizes->isChecked();
}

void LegibilityDock::showAllSizes(const std::vector<SizeLegibility> &sizes, const QString &depthName)
{
    m_sizes = sizes;
    m_depthName = depthName;
    if (allSizes())
        fillList();
}

void LegibilityDock::fillSlotRows(QTreeWidgetItem *parent, const design::Legibility &measure,
                                  const std::vector<int> &failing, int profile)
{
    const auto fill = [profile](QTreeWidgetItem *item, const design::TextLegibility &t, int text, int slot) {
        item->setData(SwatchColumn, kTextRole, text);
        item->setData(SwatchColumn, kSlotRole, slot);
        item->setData(SwatchColumn, kProfileRole, profile);
        item->setText(RatioColumn, design::ratioText(t.contrast, 1));
        item->setText(ScreenColumn, screenTitle(t.screen));
        item->setToolTip(ScreenColumn, design::onScreenText(t.screen));
    };
    for (const design::SlotGroup &g : design::groupBySlot(measure, failing)) {
        const design::TextLegibility &worst = measure.texts[size_t(g.texts.front())];
        auto *row = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_list);
        fill(row, worst, g.texts.front(), g.slot);
        if (g.slot >= 0)
            row->setIcon(SwatchColumn, swatchIcon(worst.colour));
        row->setText(SlotColumn, design::slotGroupLabel(g.slot));
        row->setToolTip(SlotColumn, QStringLiteral("%1 — хуже всех «%2»").arg(row->text(SlotColumn), worst.text));
        row->setText(CountColumn, QString::number(g.texts.size()));
        row->setTextAlignment(CountColumn, Qt::AlignRight | Qt::AlignVCenter);
        for (int i : g.texts) {
            const design::TextLegibility &t = measure.texts[size_t(i)];
            auto *child = new QTreeWidgetItem(row);
            fill(child, t, i, g.slot);
            child->setText(SlotColumn, QStringLiteral("«%1»").arg(t.text));
            child->setToolTip(SlotColumn, child->text(SlotColumn));
        }
    }
}

void LegibilityDock::fillList()
{
    // A refill keeps the row the user chose where it is still listed.
    const QTreeWidgetItem *current = m_list->currentItem();
    const auto key = [](const QTreeWidgetItem *item) {
        int level = 0;
        for (const QTreeWidgetItem *up = item->parent(); up; up = up->parent())
            ++level;
        return std::tuple(item->data(SwatchColumn, kProfileRole).toInt(), item->data(SwatchColumn, kSlotRole).toInt(),
                          item->data(SwatchColumn, kTextRole).toInt(), level);
    };
    const auto chosen = current ? std::optional(key(current)) : std::nullopt;
    const QSignalBlocker quiet(m_list);  // a refill is no choice of the user's
    m_list->clear();
    const double min = minContrast();
    const QString at = m_depthName.isEmpty() ? QString() : QStringLiteral(" (при %1)").arg(m_depthName);
    const QString threshold = design::ratioText(min, 1);
    const auto texts = [](int n) {
        return design::countText(n, QStringLiteral("текст"), QStringLiteral("текста"), QStringLiteral("текстов"));
    };
    if (!allSizes()) {
        fillSlotRows(nullptr, m_measure, m_measure.failingTexts(min), 0);
        m_summary->setText(m_failing == 0 ? QStringLiteral("Все тексты не ниже %1%2.").arg(threshold, at)
                                          : QStringLiteral("Ниже %1%2: %3 в %4.")
                                                .arg(threshold, at, texts(m_failing),
                                                     design::countText(m_list->topLevelItemCount(), QStringLiteral("цвете"),
                                                                       QStringLiteral("цветах"), QStringLiteral("цветах"))));
    } else {
        int failing = 0;
        for (const SizeLegibility &size : m_sizes) {
            const std::vector<int> below = size.measure.failingTexts(min);
            if (below.empty())
                continue;
            failing += int(below.size());
            const design::TextLegibility &worst = size.measure.texts[size_t(below.front())];
            auto *header = new QTreeWidgetItem(m_list);
            header->setData(SwatchColumn, kTextRole, below.front());
            header->setData(SwatchColumn, kSlotRole, worst.slot);
            header->setData(SwatchColumn, kProfileRole, size.profile);
            const Profile *p = profileByIndex(size.profile);
            header->setText(SlotColumn, p ? p->labelText() : QString::number(size.profile));
            QFont bold = header->font(SlotColumn);
            bold.setBold(true);
            header->setFont(SlotColumn, bold);
            header->setToolTip(SlotColumn, QStringLiteral("Экран %1: хуже всех «%2»").arg(header->text(SlotColumn), worst.text));
            header->setText(RatioColumn, design::ratioText(worst.contrast, 1));
            header->setText(ScreenColumn, screenTitle(worst.screen));
            header->setText(CountColumn, QString::number(below.size()));
            header->setTextAlignment(CountColumn, Qt::AlignRight | Qt::AlignVCenter);
            fillSlotRows(header, size.measure, below, size.profile);
            header->setExpanded(true);
        }
        m_summary->setText(failing == 0 ? QStringLiteral("Во всех размерах тексты не ниже %1%2.").arg(threshold, at)
                                        : QStringLiteral("Ниже %1%2: %3 в %4.")
                                              .arg(threshold, at, texts(failing),
                                                   design::countText(m_list->topLevelItemCount(), QStringLiteral("размере"),
                                                                     QStringLiteral("размерах"), QStringLiteral("размерах"))));
    }
    if (chosen)
        for (QTreeWidgetItemIterator it(m_list); *it; ++it)
            if (key(*it) == *chosen) {
                m_list->setCurrentItem(*it);
                break;
            }
    // The refill is laid out when the list is next painted, and that paint
    // covers only what was marked before it (the row that was current): the
    // rows below stayed drawn where they had been. Draw the whole list again.
    m_list->viewport()->update();
    updateFixButton();
}

const design::Legibility *LegibilityDock::sizeMeasure(int profile) const
{
    for (const SizeLegibility &size : m_sizes)
        if (size.profile == profile)
            return &size.measure;
    return nullptr;
}

const design::Legibility *LegibilityDock::currentMeasure() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    if (!item || item->data(SwatchColumn, kTextRole).toInt() < 0)
        return nullptr;
    const int profile = item->data(SwatchColumn, kProfileRole).toInt();
    return profile == 0 ? &m_measure : sizeMeasure(profile);
}

int LegibilityDock::currentText() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    return item ? item->data(SwatchColumn, kTextRole).toInt() : -1;
}

bool LegibilityDock::chooseSlot(int slot)
{
    if (allSizes()) {
        // The slot's row of the size shown, never a size's own row.
        for (int row = 0; row < rowCount(); ++row) {
            QTreeWidgetItem *size = m_list->topLevelItem(row);
            if (size->data(SwatchColumn, kProfileRole).toInt() != m_measure.profile)
                continue;
            for (int i = 0; i < size->childCount(); ++i)
                if (size->child(i)->data(SwatchColumn, kSlotRole).toInt() == slot) {
                    m_list->setCurrentItem(size->child(i));
                    return true;
                }
        }
        return false;
    }
    for (int row = 0; row < rowCount(); ++row)
        if (m_list->topLevelItem(row)->data(SwatchColumn, kSlotRole).toInt() == slot) {
            chooseRow(row);
            return true;
        }
    return false;
}

void LegibilityDock::chooseRow(int row)
{
    m_list->setCurrentItem(m_list->topLevelItem(row));
}

int LegibilityDock::rowCount() const
{
    return m_list->topLevelItemCount();
}

void LegibilityDock::updateFixButton()
{
    const design::Legibility *measure = currentMeasure();
    const bool canFix = measure && measure->texts[size_t(currentText())].slot >= 0;
    m_fix->setEnabled(canFix);
    m_fixRow->setEnabled(canFix);
}

} // namespace zelkor
