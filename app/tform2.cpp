#include "tform2.h"

#include "radiogroup.h"
#include "skin/profiles.h"

#include <QPushButton>
#include <QRadioButton>

namespace zelkor {

TForm2::TForm2(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Сщздание скина"));
    setFixedSize(417, 217);
    move(406, 299);

    QStringList items;
    for (const Profile &p : allProfiles())
        items << QString::fromUtf8(p.dialogItem);
    RadioGroup1 = new RadioGroup(QStringLiteral("Укажите разрешение  экрана телефона"), items, this);
    RadioGroup1->setGeometry(8, 8, 401, 161);
    RadioGroup1->setItemIndex(2);

    Button1 = new QPushButton(QStringLiteral("Продолжить"), this);
    Button1->setGeometry(160, 184, 81, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TForm2::offerPortFrom(int currentProfile)
{
    setWindowTitle(QStringLiteral("Перенос скина"));
    const int current = currentProfile - 1;
    if (current < 0 || current >= RadioGroup1->count())
        return;
    RadioGroup1->button(current)->setEnabled(false);
    if (RadioGroup1->itemIndex() == current)
        RadioGroup1->setItemIndex(current == 0 ? 1 : 0);
}

int TForm2::chosenProfile() const
{
    return RadioGroup1->itemIndex() + 1;
}

} // namespace zelkor
