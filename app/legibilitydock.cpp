#include "legibilitydock.h"

#include "desktop/preferences.h"

#include "design/legibilitytext.h"
#include "skin/colourslots.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zelkor {

namespace {

static_assert(prefs::minContrast.defaultValue() == design::kDefaultMinContrast);

enum Column { RatioColumn, TextColumn, ScreenColumn, SlotColumn, ColumnCount };

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

    m_summary = new QLabel(body);
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);

    m_list = new QTreeWidget(body);
    m_list->setColumnCount(ColumnCount);
    m_list->setHeaderLabels({QStringLiteral("Контраст"), QStringLiteral("Текст"), QStringLiteral("Где"),
                             QStringLiteral("Цвет")});
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setAccessibleName(QStringLiteral("Плохо читаемые тексты"));
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
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
        const int text = currentText();
        if (text >= 0 && m_measure.texts[size_t(text)].slot >= 0)
            emit fixRequested(m_measure.texts[size_t(text)].slot);
    };
    connect(m_fix, &QPushButton::clicked, this, fixCurrent);
    connect(m_fixRow, &QAction::triggered, this, fixCurrent);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        updateFixButton();
        if (item)
            emit textChosen(item->data(RatioColumn, Qt::UserRole).toInt());
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
    const QSignalBlocker quiet(m_list);  // a refill is no choice of the user's
    m_list->clear();
    const double min = minContrast();
    const std::vector<int> failing = measure.failingTexts(min);
    for (int i : failing) {
        const design::TextLegibility &t = measure.texts[size_t(i)];
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(RatioColumn, design::ratioText(t.contrast, 1));
        item->setData(RatioColumn, Qt::UserRole, i);
        item->setText(SlotColumn, t.slot >= 0 ? colourSlotLabel(t.slot).trimmed() : QStringLiteral("постоянный цвет"));
        item->setText(TextColumn, QStringLiteral("«%1»").arg(t.text));
        item->setText(ScreenColumn, design::onScreenText(t.screen));
    }
    const QString at = depthName.isEmpty() ? QString() : QStringLiteral(" (при %1)").arg(depthName);
    m_summary->setText(failing.empty()
                           ? QStringLiteral("Все тексты не ниже %1%2.").arg(design::ratioText(min, 1), at)
                           : QStringLiteral("Ниже %1%2: текстов — %3.")
                                 .arg(design::ratioText(min, 1), at)
                                 .arg(failing.size()));
    updateFixButton();
}

int LegibilityDock::currentText() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    return item ? item->data(RatioColumn, Qt::UserRole).toInt() : -1;
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
    const int text = currentText();
    const bool canFix = text >= 0 && m_measure.texts[size_t(text)].slot >= 0;
    m_fix->setEnabled(canFix);
    m_fixRow->setEnabled(canFix);
}

} // namespace zelkor
