#include "tform5.h"

#include "radiogroup.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace zelkor {

TForm5::TForm5(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Глубина цвета"));
    // Wider than the bare list of depths: the file sizes stand beside them.
    setFixedSize(262, 250);

    QStringList items;
    for (const ColourDepth &d : kColourDepths)
        items << QString::fromLatin1(d.item);
    colorgl = new RadioGroup(QStringLiteral("Цветоность"), items, this);
    colorgl->setGeometry(8, 8, 246, 177);
    colorgl->setItemIndex(kDefaultColourDepth);
    colorgl->setToolTip(QStringLiteral("Сколько бит на точку получит скин. Справа — размер файла при этой глубине."));
    connect(colorgl, &RadioGroup::clicked, this, [this] { refresh(); });
    for (size_t i = 0; i < sizeLabels.size(); ++i) {
        sizeLabels[i] = new QLabel(colorgl);
        sizeLabels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        sizeLabels[i]->setAttribute(Qt::WA_TransparentForMouseEvents);  // a click there picks the depth
    }

    smoothBox = new QCheckBox(QStringLiteral("Сглаживать картинки"), this);
    smoothBox->setGeometry(16, 190, 238, 22);
    smoothBox->setToolTip(QStringLiteral("При 4 и 8 bpp картинки переводятся в палитру с рассеиванием ошибки, "
                                         "чтобы плавные переходы не распадались на полосы. Цвета скина не меняются."));
    connect(smoothBox, &QCheckBox::toggled, this, [this] { refresh(); });

    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setGeometry(48, 218, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button2->setGeometry(139, 218, 75, 25);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    refresh();
}

void TForm5::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    refresh();  // the buttons have their places only now
}

void TForm5::setFileSizes(const DepthFileSizes &sizes)
{
    m_sizes = sizes;
    m_haveSizes = true;
    refresh();
}

void TForm5::setSmoothing(bool on)
{
    smoothBox->setChecked(on);
    refresh();
}

QString TForm5::depthOption() const
{
    return zelkor::depthOption(colorgl->itemIndex());
}

bool TForm5::smoothing() const
{
    return canSmooth(depthOption()) && smoothBox->isChecked();
}

void TForm5::refresh()
{
    smoothBox->setEnabled(canSmooth(depthOption()));
    for (size_t i = 0; i < sizeLabels.size(); ++i) {
        // Beside the item's own button, whatever height the group gives it.
        const QRect b = colorgl->button(int(i))->geometry();
        sizeLabels[i]->setGeometry(b.right() - 90, b.top(), 90, b.height());
        const bool smoothed = smoothBox->isChecked() && m_sizes.smoothed[i] >= 0;
        sizeLabels[i]->setText(m_haveSizes ? fileSizeText(smoothed ? m_sizes.smoothed[i] : m_sizes.plain[i])
                                           : QString());
    }
}

} // namespace zelkor
