#pragma once
// A captioned group of radio buttons with one item index, like the radio
// groups of the editor's windows: items are spread evenly down the group.

#include <QGroupBox>
#include <QStringList>

#include <vector>

class QRadioButton;

namespace zelkor {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString &caption, const QStringList &items, QWidget *parent = nullptr);

    int itemIndex() const { return m_index; }
    // Selects an item without emitting clicked(); -1 clears the selection.
    void setItemIndex(int index);
    int count() const { return int(m_buttons.size()); }
    QRadioButton *button(int index) const { return m_buttons.at(index); }

signals:
    // The user picked item `index` (also when it was already selected).
    void clicked(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutItems();

    std::vector<QRadioButton *> m_buttons;
    int m_index = -1;
};

} // namespace zelkor
