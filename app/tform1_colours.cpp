#include "tform1.h"

#include "seams.h"
#include "skin/colourslots.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QFrame>
#include <QLabel>

namespace zelkor {

void TForm1::createColourPanel()
{
    QFont labelFont(QStringLiteral("Tahoma"));
    labelFont.setPixelSize(15);
    labelFont.setBold(true);
    for (int i = 0; i < 13; ++i) {
        auto *swatch = new ColourSwatch(i, Panel1);
        swatch->setObjectName(QStringLiteral("dx%1").arg(i));
        const int y = i < 12 ? 8 + 32 * i : 392;
        swatch->move(8, y);
        connect(swatch, &ColourSwatch::clicked, this, [this](ColourSwatch *s) { dx0Click(s); });
        dx[i] = swatch;

        auto *label = new QLabel(colourSlotLabel(i), Panel1);
        label->setFont(labelFont);
        label->move(40, i < 12 ? 16 + 32 * i : 400);
        label->adjustSize();
        dxLabels[i] = label;
    }
}

ColourSlots TForm1::swatchColours() const
{
    ColourSlots colours{};
    for (int i = 0; i < 13; ++i)
        colours[i] = dx[i]->color();
    return colours;
}

void TForm1::refreshSlots()
{
    if (!m_doc->hasSkin())
        return;
    const ColourSlots colours = m_doc->colourSlots();
    for (int i = 0; i < 13; ++i)
        dx[i]->setColor(colours[i]);
}

void TForm1::dx0Click(ColourSwatch *sender)
{
    selectSlot(sender->tag());
    const QColor chosen = seams().pickColour(this, cdColor);
    if (!chosen.isValid())
        return;
    cdColor = chosen;
    sender->setColor(chosen.rgb());
    if (!m_doc->hasSkin())
        return;
    // The document's change signal renders the preview and refreshes the swatches.
    const Status status = m_doc->setColourSlot(sender->tag(), sender->color());
    if (!status)
        refreshSlots();
    report(this, status);
}

} // namespace zelkor
