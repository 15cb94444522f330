#include "tform1.h"
#include "tform1private.h"

#include "app/colourdialog.h"
#include "app/projectedit.h"
#include "app/legibilitydock.h"
#include "app/seams.h"
#include "app/windowfit.h"
#include "design/palette.h"
#include "skin/colourslots.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QAction>
#include <QScreen>

namespace zelkor {

namespace {
// The thirteen rows close enough that the panel and the selectors above it
// stay within the height of the phone picture.
constexpr int kSwatchTop = 6;
constexpr int kSwatchPitch = 28;
} // namespace

void TForm1::createColourPanel()
{
    QFont labelFont(QStringLiteral("Tahoma"));
    labelFont.setPixelSize(15);
    labelFont.setBold(true);
    for (int i = 0; i < 13; ++i) {
        auto *swatch = new ColourSwatch(i, d->Panel1);
        swatch->setObjectName(QStringLiteral("dx%1").arg(i));
        const int y = kSwatchTop + kSwatchPitch * i;
        swatch->move(8, y);
        connect(swatch, &ColourSwatch::clicked, this, [this](ColourSwatch *s) { dx0Click(s); });
        // In the swatch's context menu while the shown size has the colour of its own.
        auto *shared = new QAction(QStringLiteral("Вернуть общий"), swatch);
        shared->setObjectName(QStringLiteral("sharedColour"));
        shared->setVisible(false);
        swatch->setContextMenuPolicy(Qt::ActionsContextMenu);
        swatch->addAction(shared);
        connect(shared, &QAction::triggered, this, [this, i] { resetColourOverride(i); });
        d->dx[i] = swatch;

        auto *label = new QLabel(colourSlotLabel(i), d->Panel1);
        label->setFont(labelFont);
        label->move(40, y + 8);
        label->adjustSize();
        d->dxLabels[i] = label;
    }
}

ColourSlots TForm1::swatchColours() const
{
    ColourSlots colours{};
    for (int i = 0; i < 13; ++i)
        colours[i] = d->dx[i]->color();
    return colours;
}

void TForm1::refreshSlots()
{
    if (!d->doc->hasSkin())
        return;
    ColourSlots colours = d->doc->colourSlots();
    if (d->colourTrial)
        colours[size_t(d->colourTrial->first)] = d->colourTrial->second;
    for (int i = 0; i < 13; ++i)
        d->dx[i]->setColor(colours[i]);
}

void TForm1::dx0Click(ColourSwatch *sender)
{
    selectSlot(sender->tag());
    if (!d->doc->hasSkin())
        return;
    const int slot = sender->tag();
    // The dialog opens on the slot's colour and the preview follows the
    // colour under choice; the sheet changes only on "Ok", as one step, so
    // "Отмена" leaves it exactly as it was.
    ColourContext context;
    context.slot = slot;
    context.measure = d->legibility;
    context.minContrast = d->legibilityDock->minContrast();
    context.asDrawn = design::asDrawnAtDepth(previewDepth());
    const ColourSlots skin = d->doc->colourSlots();
    context.skinColours.assign(skin.begin(), skin.end());
    for (const design::PaletteColour &c : design::extractPalette(d->doc->sheet(), 8).colours)
        context.paletteColours.push_back(c.rgb);
    ColourDialog dialog(d->doc->colourSlot(slot), QStringLiteral("Цвет: %1").arg(colourSlotLabel(slot).trimmed()),
                        std::move(context), this);
    QCheckBox *sizeOnly = nullptr;
    if (d->project) {
        const int profile = d->doc->profile();
        sizeOnly = new QCheckBox(QStringLiteral("только для этого размера"), &dialog);
        sizeOnly->setObjectName(QStringLiteral("sizeOnly"));
        sizeOnly->setChecked(colourOverridden(d->project->project(), slot, profile));
        sizeOnly->setToolTip(QStringLiteral("Цвет только для размера %1; другие размеры сохранят общий.")
                                 .arg(profileByIndex(profile)->labelText()));
        dialog.optionsLayout()->addWidget(sizeOnly);
    }
    connect(&dialog, &ColourDialog::colourChanged, this, [this, slot](QRgb c) {
        d->colourTrial = {slot, c};
        refreshSlots();
        renderPreview();
    });
    // Beside the preview it changes, when the screen has room.
    dialog.adjustSize();
    if (const QScreen *screen = this->screen())
        if (const auto at = besideRect(screen->availableGeometry(), dialog.size() + QSize(8, 40),
                                       QRect(d->PaintBox1->mapToGlobal(QPoint(0, 0)), d->PaintBox1->size())))
            dialog.move(*at);
    const QColor chosen = seams().execDialog(&dialog) == QDialog::Accepted ? QColor::fromRgb(dialog.colour()) : QColor();
    d->colourTrial.reset();
    if (!chosen.isValid()) {
        refreshSlots();
        renderPreview();
        return;
    }
    // The document's change signal renders the preview and refreshes the swatches.
    const int only = sizeOnly && sizeOnly->isChecked() ? d->doc->profile() : 0;
    const Status status = editProject(
        *d->doc, d->project.get(), [slot, c = chosen.rgb(), only](SkinProject &p, int) { p.setColour(slot, c, only); },
        [&] { return d->doc->setColourSlot(slot, chosen.rgb()); }, QStringLiteral("изменение цвета"));
    refreshSlots();
    renderPreview();
    report(this, status);
}

} // namespace zelkor

namespace zelkor {

void TForm1::showColourMarks()
{
    const int profile = d->doc->profile();
    for (int i = 0; i < 13; ++i) {
        const bool own = d->project && d->doc->hasSkin() && colourOverridden(d->project->project(), i, profile);
        d->dx[i]->setNote(own ? ownSizeTip(profile) : QString());
        d->dx[i]->findChild<QAction *>(QStringLiteral("sharedColour"))->setVisible(own);
    }
}

void TForm1::resetColourOverride(int slot)
{
    if (!d->project || !colourOverridden(d->project->project(), slot, d->doc->profile()))
        return;
    const QRgb shared = d->project->project().colours[size_t(slot)];
    const Status status = editProject(
        *d->doc, d->project.get(),
        [slot](SkinProject &p, int profile) {
            p.colourOverrides[profile].erase(slot);
            if (p.colourOverrides[profile].empty())
                p.colourOverrides.erase(profile);
        },
        [&] { return d->doc->setColourSlot(slot, shared, QStringLiteral("общий цвет")); }, QStringLiteral("общий цвет"));
    refreshSlots();
    renderPreview();
    report(this, status);
}

} // namespace zelkor
