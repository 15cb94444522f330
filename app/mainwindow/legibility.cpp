// The window's side of legibility: the skin is measured after every change of
// its sheet, of the depth selector and of the threshold; the swatches of
// slots whose texts fall below the threshold carry a warning mark, the
// "Читаемость" dock lists the texts, and "Исправить" moves a slot's
// lightness as one undo step.
#include "tform1.h"
#include "tform1private.h"
#include "textoutline.h"

#include "design/legibilitytext.h"
#include "design/lightnessfix.h"
#include "app/legibilitydock.h"
#include "preview/colourpairs.h"
#include "app/seams.h"
#include "skin/colourslots.h"
#include "skin/depthpreview.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QStyle>

namespace zelkor {

void TForm1::createLegibility()
{
    d->legibilityDock = new LegibilityDock(this);
    addDockWidget(Qt::RightDockWidgetArea, d->legibilityDock);
    d->legibilityDock->hide();
    d->textOutline = new TextOutline(d->PaintBox1);

    d->legibilityAction = d->legibilityDock->toggleViewAction();
    d->legibilityAction->setText(QStringLiteral("&Читаемость"));
    d->legibilityAction->setShortcut(QKeySequence(Qt::Key_F7));
    d->legibilityAction->setToolTip(QStringLiteral("Список текстов, контраст которых с фоном ниже порога"));
    d->viewMenu->addAction(d->legibilityAction);

    const QPixmap warning = style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(14, 14);
    for (int i = 0; i < kColourSlotCount; ++i) {
        auto *mark = new QLabel(d->Panel1);
        mark->setObjectName(QStringLiteral("legibilityMark%1").arg(i));
        mark->setPixmap(warning);
        mark->resize(14, 14);
        // On the swatch's lower right corner: the labels leave no room beside it.
        mark->move(d->dx[i]->geometry().bottomRight() - QPoint(8, 8));
        mark->hide();
        d->legibilityMarks[size_t(i)] = mark;

        auto *fix = new QAction(QStringLiteral("Исправить"), d->dx[i]);
        fix->setEnabled(false);
        d->dx[i]->setContextMenuPolicy(Qt::ActionsContextMenu);
        d->dx[i]->addAction(fix);
        d->legibilityFixes[size_t(i)] = fix;
        connect(fix, &QAction::triggered, this, [this, i] { fixLegibility(i); });
    }

    connect(d->legibilityDock, &LegibilityDock::textChosen, this, [this](int text) { showLegibilityText(text); });
    connect(d->legibilityDock, &LegibilityDock::fixRequested, this, [this](int slot) { fixLegibility(slot); });
    connect(d->legibilityDock, &LegibilityDock::minContrastChanged, this, [this] { showLegibility(); });
    connect(d->doc, &SkinDocument::sheetChanged, this, [this] { updateLegibility(); });
    connect(d->RadioGroup3, &RadioGroup::clicked, this, [this] { updateLegibility(); });
    // Another screen chosen by hand: the frame would stand on the wrong picture.
    for (RadioGroup *group : {d->RadioGroup1, d->RadioGroup2})
        connect(group, &RadioGroup::clicked, this, [this] { d->textOutline->outline({}, {}); });
}

design::Legibility TForm1::measureSheet(const QImage &sheet) const
{
    PreviewInput in = previewInput();
    in.sheet = &sheet;
    in.colours = readColourSlots(sheet, in.profile);
    return design::measureLegibility(in);
}

void TForm1::updateLegibility()
{
    if (!d->doc->hasSkin()) {
        d->legibility = {};
    } else {
        // The preview's own sheet: at a depth, the one that depth gives back.
        d->legibility = measureSheet(d->depthPreview.sheet(d->doc->sheet(), previewDepth()));
    }
    showLegibility();
}

void TForm1::showLegibility()
{
    const double min = d->legibilityDock->minContrast();
    for (int i = 0; i < kColourSlotCount; ++i) {
        const design::SlotLegibility *slot = d->legibility.slot(i);
        const bool fails = slot && slot->worst < min;
        const QString tip = fails ? design::slotWarningText(d->legibility, *slot, min) : QString();
        d->legibilityMarks[size_t(i)]->setVisible(fails);
        d->legibilityMarks[size_t(i)]->setToolTip(tip);
        d->dx[i]->setToolTip(tip);
        d->legibilityFixes[size_t(i)]->setEnabled(fails);
    }
    const int depth = d->RadioGroup3->itemIndex();
    d->legibilityDock->showMeasure(d->legibility, depth > 0 ? d->RadioGroup3->button(depth)->text() : QString());
}

void TForm1::showLegibilityText(int text)
{
    if (text < 0 || text >= int(d->legibility.texts.size()))
        return;
    const design::TextLegibility &t = d->legibility.texts[size_t(text)];
    if (const NamedScreen *screen = findNamedScreen(t.screen)) {
        d->RadioGroup1->setItemIndex(screen->screen);
        d->RadioGroup2->setItemIndex(screen->columns);
        d->RadioGroup2->setVisible(screen->screen == ContactListScreen);
        renderPreview();
    }
    d->textOutline->outline(t.ink, d->doc->screenSize());
}

QRect TForm1::legibilityOutline() const
{
    return d->textOutline->isVisibleTo(d->PaintBox1) ? d->textOutline->ink() : QRect();
}

QString TForm1::saveDepthWarning(const QString &depthOption, bool smooth)
{
    if (!d->doc->hasSkin())
        return {};
    const QString depthName = depthOption.mid(2) + QStringLiteral(" bpp");
    QStringList parts;
    parts << mergedColoursMessage(mergedSlotPairs(d->doc->colourSlots(), depthOption, d->doc->profile()), depthName);
    if (isPreviewDepth(depthOption)) {
        const double min = d->legibilityDock->minContrast();
        const design::Legibility asIs = measureSheet(d->doc->sheet());
        // Measured on the sheet as it will be written: smoothed pictures move the
        // colours under the texts.
        const design::Legibility saved =
            measureSheet(d->depthPreview.sheet(d->doc->sheet(), depthOption, smooth ? d->doc->profile() : 0));
        parts << design::lostTextsMessage(saved, design::textsLostAtDepth(asIs, saved, min), depthName, min);
    }
    parts.removeAll(QString());
    return parts.join(QStringLiteral("\n\n"));
}

void TForm1::fixLegibility(int slot)
{
    if (!d->doc->hasSkin())
        return;
    const double min = d->legibilityDock->minContrast();
    const QString label = colourSlotLabel(slot).trimmed();
    const design::LightnessFix fix = design::fixSlotLightness(d->legibility, slot, d->doc->colourSlot(slot), min,
                                                              design::asDrawnAtDepth(previewDepth()));
    switch (fix.outcome) {
    case design::LightnessFix::AlreadyReaches:
        return;
    case design::LightnessFix::Fixed:
        report(this, d->doc->setColourSlot(slot, fix.colour, QStringLiteral("исправление цвета «%1»").arg(label)));
        return;
    case design::LightnessFix::Impossible:
        seams().ask(this,
                    QStringLiteral("Цвет «%1» не исправить: ни светлее, ни темнее все его тексты не достигают "
                                   "%2 — сейчас худший %3. Поменяйте фон под ними или снизьте порог.")
                        .arg(label, design::ratioText(min, 1), design::ratioText(fix.contrast, 1)),
                    {QStringLiteral("Закрыть")});
        return;
    }
}

} // namespace zelkor
