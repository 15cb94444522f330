// The window's side of legibility: the skin is measured after every change of
// its sheet, of the depth selector and of the threshold; the swatches of
// slots whose texts fall below the threshold carry a warning mark, the
// "Читаемость" dock lists the texts, and "Исправить" moves a slot's
// lightness as one undo step.
#include "tform1.h"

#include "design/legibilitytext.h"
#include "design/lightnessfix.h"
#include "legibilitydock.h"
#include "preview/colourpairs.h"
#include "seams.h"
#include "skin/colourslots.h"
#include "skin/depthpreview.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QStyle>

namespace zelkor {

// A frame around one text of the preview, over PaintBox1 and sized with it,
// so that it survives every render until another text is chosen.
class TextOutline : public QWidget {
public:
    explicit TextOutline(PaintBox *box) : QWidget(box), m_box(box)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        box->installEventFilter(this);
        setGeometry(box->rect());
        hide();
    }

    // `ink` in screen pixels of a screen `screenSize` large; empty hides the frame.
    void outline(const QRect &ink, QSize screenSize)
    {
        m_ink = ink;
        m_screen = screenSize;
        setVisible(!ink.isEmpty());
        raise();
        update();
    }
    const QRect &ink() const { return m_ink; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_box && event->type() == QEvent::Resize)
            setGeometry(m_box->rect());
        return false;
    }
    void paintEvent(QPaintEvent *) override
    {
        if (m_ink.isEmpty() || m_screen.isEmpty())
            return;
        // The preview may be shown enlarged: follow its scale.
        const double sx = double(width()) / m_screen.width(), sy = double(height()) / m_screen.height();
        const QRectF r(m_ink.x() * sx, m_ink.y() * sy, m_ink.width() * sx, m_ink.height() * sy);
        QPainter p(this);
        p.setPen(QPen(Qt::white, 3));
        p.drawRect(r.adjusted(-2, -2, 2, 2));
        p.setPen(QPen(QColor(0xe0, 0x10, 0x10), 1));
        p.drawRect(r.adjusted(-2, -2, 2, 2));
    }

private:
    PaintBox *m_box;
    QRect m_ink;
    QSize m_screen;
};

void TForm1::createLegibility()
{
    legibilityDock = new LegibilityDock(this);
    addDockWidget(Qt::RightDockWidgetArea, legibilityDock);
    legibilityDock->hide();
    m_textOutline = new TextOutline(PaintBox1);

    legibilityAction = legibilityDock->toggleViewAction();
    legibilityAction->setText(QStringLiteral("&Читаемость"));
    legibilityAction->setShortcut(QKeySequence(Qt::Key_F7));
    legibilityAction->setToolTip(QStringLiteral("Список текстов, контраст которых с фоном ниже порога"));
    viewMenu->addAction(legibilityAction);

    const QPixmap warning = style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(14, 14);
    for (int i = 0; i < kColourSlotCount; ++i) {
        auto *mark = new QLabel(Panel1);
        mark->setObjectName(QStringLiteral("legibilityMark%1").arg(i));
        mark->setPixmap(warning);
        mark->resize(14, 14);
        // On the swatch's lower right corner: the labels leave no room beside it.
        mark->move(dx[i]->geometry().bottomRight() - QPoint(8, 8));
        mark->hide();
        legibilityMarks[size_t(i)] = mark;

        auto *fix = new QAction(QStringLiteral("Исправить"), dx[i]);
        fix->setEnabled(false);
        dx[i]->setContextMenuPolicy(Qt::ActionsContextMenu);
        dx[i]->addAction(fix);
        m_legibilityFixes[size_t(i)] = fix;
        connect(fix, &QAction::triggered, this, [this, i] { fixLegibility(i); });
    }

    connect(legibilityDock, &LegibilityDock::textChosen, this, [this](int text) { showLegibilityText(text); });
    connect(legibilityDock, &LegibilityDock::fixRequested, this, [this](int slot) { fixLegibility(slot); });
    connect(legibilityDock, &LegibilityDock::minContrastChanged, this, [this] { showLegibility(); });
    connect(m_doc, &SkinDocument::sheetChanged, this, [this] { updateLegibility(); });
    connect(RadioGroup3, &RadioGroup::clicked, this, [this] { updateLegibility(); });
    // Another screen chosen by hand: the frame would stand on the wrong picture.
    for (RadioGroup *group : {RadioGroup1, RadioGroup2})
        connect(group, &RadioGroup::clicked, this, [this] { m_textOutline->outline({}, {}); });
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
    if (!m_doc->hasSkin()) {
        m_legibility = {};
    } else {
        // The preview's own sheet: at a depth, the one that depth gives back.
        m_legibility = measureSheet(m_depthPreview.sheet(m_doc->sheet(), previewDepth()));
    }
    showLegibility();
}

void TForm1::showLegibility()
{
    const double min = legibilityDock->minContrast();
    for (int i = 0; i < kColourSlotCount; ++i) {
        const design::SlotLegibility *slot = m_legibility.slot(i);
        const bool fails = slot && slot->worst < min;
        const QString tip = fails ? design::slotWarningText(m_legibility, *slot, min) : QString();
        legibilityMarks[size_t(i)]->setVisible(fails);
        legibilityMarks[size_t(i)]->setToolTip(tip);
        dx[i]->setToolTip(tip);
        m_legibilityFixes[size_t(i)]->setEnabled(fails);
    }
    const int depth = RadioGroup3->itemIndex();
    legibilityDock->showMeasure(m_legibility, depth > 0 ? RadioGroup3->button(depth)->text() : QString());
}

void TForm1::showLegibilityText(int text)
{
    if (text < 0 || text >= int(m_legibility.texts.size()))
        return;
    const design::TextLegibility &t = m_legibility.texts[size_t(text)];
    if (const NamedScreen *screen = findNamedScreen(t.screen)) {
        RadioGroup1->setItemIndex(screen->screen);
        RadioGroup2->setItemIndex(screen->columns);
        RadioGroup2->setVisible(screen->screen == ContactListScreen);
        renderPreview();
    }
    m_textOutline->outline(t.ink, m_doc->screenSize());
}

QRect TForm1::legibilityOutline() const
{
    return m_textOutline->isVisibleTo(PaintBox1) ? m_textOutline->ink() : QRect();
}

QString TForm1::saveDepthWarning(const QString &depthOption, bool smooth)
{
    if (!m_doc->hasSkin())
        return {};
    const QString depthName = depthOption.mid(2) + QStringLiteral(" bpp");
    QStringList parts;
    parts << mergedColoursMessage(mergedSlotPairs(m_doc->colourSlots(), depthOption, m_doc->profile()), depthName);
    if (isPreviewDepth(depthOption)) {
        const double min = legibilityDock->minContrast();
        const design::Legibility asIs = measureSheet(m_doc->sheet());
        // Measured on the sheet as it will be written: smoothed pictures move the
        // colours under the texts.
        const design::Legibility saved =
            measureSheet(m_depthPreview.sheet(m_doc->sheet(), depthOption, smooth ? m_doc->profile() : 0));
        parts << design::lostTextsMessage(saved, design::textsLostAtDepth(asIs, saved, min), depthName, min);
    }
    parts.removeAll(QString());
    return parts.join(QStringLiteral("\n\n"));
}

void TForm1::fixLegibility(int slot)
{
    if (!m_doc->hasSkin())
        return;
    const double min = legibilityDock->minContrast();
    const QString label = colourSlotLabel(slot).trimmed();
    const design::LightnessFix fix = design::fixSlotLightness(m_legibility, slot, m_doc->colourSlot(slot), min,
                                                              design::asDrawnAtDepth(previewDepth()));
    switch (fix.outcome) {
    case design::LightnessFix::AlreadyReaches:
        return;
    case design::LightnessFix::Fixed:
        report(this, m_doc->setColourSlot(slot, fix.colour, QStringLiteral("исправление цвета «%1»").arg(label)));
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
