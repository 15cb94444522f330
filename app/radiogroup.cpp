#include "radiogroup.h"

#include <QRadioButton>

namespace zelkor {

RadioGroup::RadioGroup(const QString &caption, const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent)
{
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items.at(i), this);
        b->setAutoExclusive(true);
        connect(b, &QRadioButton::clicked, this, [this, i] {
            m_index = i;
            emit clicked(i);
        });
        m_buttons.push_back(b);
    }
    layoutItems();
}

void RadioGroup::setItemIndex(int index)
{
    if (index < 0 || index >= count()) {
        for (auto *b : m_buttons) {
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(true);
        }
        m_index = -1;
        return;
    }
    m_buttons[index]->setChecked(true);
    m_index = index;
}

void RadioGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    layoutItems();
}

void RadioGroup::layoutItems()
{
    if (m_buttons.empty())
        return;
    const int top = 16;
    const int left = 8;
    const int avail = std::max(height() - top - 4, 1);
    const int step = avail / count();
    for (int i = 0; i < count(); ++i)
        m_buttons[i]->setGeometry(left, top + i * step, std::max(width() - left - 4, 1), std::max(step, 17));
}

} // namespace zelkor
