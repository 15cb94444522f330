#include "tform5.h"

#include "radiogroup.h"
#include "skin/savename.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace zelkor {

TForm5::TForm5(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Глубина цвета"));
    setFixedSize(142, 224);

    QStringList items;
    for (const ColourDepth &d : kColourDepths)
        items << QString::fromLatin1(d.item);
    colorgl = new RadioGroup(QStringLiteral("Цветоность"), items, this);
    colorgl->setGeometry(8, 8, 129, 177);
    colorgl->setItemIndex(kDefaultColourDepth);

    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setGeometry(32, 192, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

QString TForm5::depthOption() const
{
    return zelkor::depthOption(colorgl->itemIndex());
}

} // namespace zelkor
