// The window's side of legibility: the skin is measured after every change of
// its sheet, of the depth selector and of the threshold; the swatches of
// slots whose texts fall below the threshold carry a warning mark, the
// "Читаемость" dock lists the texts by slot, a badge in the status bar counts
// them, a banner over the preview says when an edit has just brought texts
// below the threshold, and "Исправить" moves slots' lightness as one undo step;
// a slot no lightness saves is offered the least scrim under its texts.
// While a project is open the dock can list every size: each size's sheet is
// made by the project and measured off the GUI thread.
#include "tform1.h"
#include "tform1private.h"
#include "textoutline.h"

#include "design/legibilitytext.h"
#include "design/lightnessfix.h"
#include "app/legibilitybanner.h"
#include "design/scrim.h"
#include "design/slotfixes.h"
#include "app/legibilitydock.h"
#include "preview/colourpairs.h"
#include "app/busycursor.h"
#include "app/seams.h"
#include "skin/colourslots.h"
#include "skin/depthpreview.h"
#include "project/projectsession.h"
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "skin/skindocument.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <optional>

#include <QAction>
#include <QColor>
#include <QLabel>
#include <QEvent>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>
#include <QStyle>
#include <QTimer>
#include <QUndoStack>

namespace zelkor {

namespace {

// "После замены картинки «…»" from the step's undo text "замена картинки «…»".
QString afterStep(const QString &undoText)
{
    static const std::pair<QString, QString> nouns[] = {
        {QStringLiteral("замена"), QStringLiteral("замены")},
        {QStringLiteral("изменение"), QStringLiteral("изменения")},
        {QStringLiteral("исправление"), QStringLiteral("исправления")},
    };
    const QString first = undoText.section(u' ', 0, 0);
    for (const auto &[nominative, genitive] : nouns)
        if (first == nominative)
            return QStringLiteral("После ") + genitive + undoText.mid(first.size());
    return QStringLiteral("После изменения скина");
}

// "«…» (сейчас худший 1,5 : 1)": a slot no fix saves.
QString unfixableSlot(const design::SlotFix &f)
{
    return QStringLiteral("«%1» (сейчас худший %2)").arg(colourSlotLabel(f.slot).trimmed(), design::ratioText(f.fix.contrast, 1));
}

QString unfixableText(const QStringList &impossible, double min)
{
    return QStringLiteral("%1 не исправить: ни светлее, ни темнее все %2 не достигают %3.")
        .arg(impossible.size() == 1 ? QStringLiteral("Цвет ") + impossible.front()
                                    : QStringLiteral("Цвета ") + impossible.join(QStringLiteral(", ")),
             impossible.size() == 1 ? QStringLiteral("его тексты") : QStringLiteral("их тексты"), design::ratioText(min, 1));
}

// Keeps the banner across the top of the preview's viewport, as tall as its
// message needs at that width: a new message may take more lines than the last.
class BannerPlacer : public QObject {
public:
    BannerPlacer(QWidget *banner, QWidget *host) : QObject(banner), m_banner(banner), m_host(host)
    {
        host->installEventFilter(this);
        banner->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool hostChanged = watched == m_host && (event->type() == QEvent::Resize || event->type() == QEvent::Show);
        // A message set while the banner is closed asks for no layout; it is measured as the banner opens.
        const bool messageChanged =
            watched == m_banner && (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show);
        if (hostChanged || messageChanged) {
            const int width = m_host->width() - 8;
            const int height = m_banner->heightForWidth(width);
            m_banner->setGeometry(4, 4, width, height > 0 ? height : m_banner->sizeHint().height());
        }
        return false;
    }

private:
    QWidget *m_banner;
    QWidget *m_host;
};

} // namespace

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

    const auto openDock = [this] {
        d->legibilityDock->show();
        d->legibilityDock->raise();
    };
    d->legibilityBadge = new QPushButton(this);
    d->legibilityBadge->setObjectName(QStringLiteral("legibilityBadge"));
    d->legibilityBadge->setFlat(true);
    d->legibilityBadge->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    d->legibilityBadge->setToolTip(QStringLiteral("Надписи, контраст которых с фоном ниже порога: открыть список (F7)"));
    d->legibilityBadge->hide();
    statusBar()->addPermanentWidget(d->legibilityBadge);
    connect(d->legibilityBadge, &QPushButton::clicked, this, openDock);

    QWidget *viewport = d->previewArea->viewport();
    d->legibilityBanner = new LegibilityBanner(viewport);
    new BannerPlacer(d->legibilityBanner, viewport);
    connect(d->legibilityBanner, &LegibilityBanner::showRequested, this, [this, openDock] {
        openDock();
        if (!d->bannerSlots.empty())
            d->legibilityDock->chooseSlot(d->bannerSlots.front());
    });
    connect(d->legibilityBanner, &LegibilityBanner::fixRequested, this, [this] {
        d->legibilityBanner->hide();
        fixLegibility(d->bannerSlots);
    });
    // A new skin has a history of its own: its first step is step 1 again.
    // The history's index moves after the sheet has changed and been
    // measured: only a step forward (an edit, a redo) speaks, compared with
    // the measure at the step before; an undo takes the banner away.
    connect(d->doc->undoStack(), &QUndoStack::indexChanged, this, [this](int step) {
        d->legibilityBanner->hide();
        if (step > d->legibilityStep && d->legibilityBase.profile == d->legibility.profile)
            noteLostTexts(d->legibilityBase);
        d->legibilityStep = step;
        d->legibilityBase = d->legibility;
        // A step may change other sizes and not the one shown (a shared
        // colour where this size has its own).
        if (d->project && d->legibilityDock->allSizes())
            d->allSizesTimer->start();
    });
    // A new skin is measured at the sheet change that follows; that measure is its first base.
    connect(d->doc, &SkinDocument::skinReplaced, this, [this] {
        d->legibilityStep = d->doc->undoStack()->index();
        d->legibilityBase = {};
        d->legibilityBanner->hide();
    });

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
    d->allSizesTimer = new QTimer(this);
    d->allSizesTimer->setSingleShot(true);
    d->allSizesTimer->setInterval(0);
    connect(d->allSizesTimer, &QTimer::timeout, this, [this] { measureAllSizes(); });
    connect(d->legibilityDock, &LegibilityDock::allSizesToggled, d->allSizesTimer, qOverload<>(&QTimer::start));
    // Queued: the switch to another size refills the list whose signal this is.
    connect(d->legibilityDock, &LegibilityDock::sizeTextChosen, this,
            [this](int profile, int text) { showSizeText(profile, text); }, Qt::QueuedConnection);
    connect(d->doc, &SkinDocument::sheetChanged, this, [this] {
        updateLegibility();
        if (d->legibilityBase.profile == 0)
            d->legibilityBase = d->legibility;
    });
    connect(d->RadioGroup3, &RadioGroup::clicked, this, [this] {
        updateLegibility();
        d->legibilityBase = d->legibility;  // another depth is no step of the skin's
    });
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
        d->legibility = measureSheet(
            d->depthPreview.sheet(d->doc->sheet(), previewDepth(), smoothPreview() ? d->doc->profile() : 0));
    }
    showLegibility();
    // After the rest of this turn: the project takes an edit in when the history moves, after the sheet changed.
    if (d->project && d->legibilityDock->allSizes())
        d->allSizesTimer->start();
}

void TForm1::measureAllSizes()
{
    if (!d->project || !d->doc->hasSkin() || !d->legibilityDock->allSizes()) {
        d->allSizesKey.clear();
        return;
    }
    // A picture tried out in the placement step changes only the sheet shown,
    // which no other size sees: nothing to measure again.
    const QString key = QStringLiteral("%1 %2 %3 %4 %5")
                            .arg(d->doc->sheet().cacheKey())
                            .arg(d->doc->undoStack()->index())
                            .arg(d->doc->profile())
                            .arg(previewDepth())
                            .arg(smoothPreview());
    if (key == d->allSizesKey)
        return;
    d->allSizesKey = key;
    struct SizeSheet {
        int profile;
        QImage sheet;
    };
    std::vector<SizeSheet> sheets;
    QStringList failed;
    {
        const BusyCursor busy;
        for (const Profile &p : allProfiles()) {
            QImage sheet = d->doc->sheet();
            if (p.index != d->doc->profile())
                if (Status s = d->project->sheet(p.index, sheet); !s) {
                    failed << p.labelText() + QStringLiteral(": ") + s.message;
                    continue;
                }
            sheets.push_back({p.index, sheet});
        }
    }
    if (!failed.isEmpty())
        statusBar()->showMessage(QStringLiteral("Не измерены: ") + failed.join(QStringLiteral("; ")), 10000);
    const quint64 run = ++d->allSizesRun;
    const QString depth = previewDepth();
    const bool smooth = smoothPreview();
    const IconSheets icons{d->smallIcons, d->largeIcons};
    const int depthIndex = d->RadioGroup3->itemIndex();
    const QString depthName = depthIndex > 0 ? d->RadioGroup3->button(depthIndex)->text() : QString();
    QtConcurrent::mapped(sheets,
                         [depth, smooth, icons](const SizeSheet &size) {
                             // As the per-size measure sees it: at the preview's depth.
                             DepthPreview atDepth;
                             const QImage shown = atDepth.sheet(size.sheet, depth, smooth ? size.profile : 0);
                             return SizeLegibility{size.profile, design::measureLegibility(
                                                                     skinPreviewInput(shown, size.profile, icons, 0))};
                         })
        .then(this, [this, run, depthName](QFuture<SizeLegibility> done) {
            if (run != d->allSizesRun)
                return;  // a later change has a run of its own
            const QList<SizeLegibility> results = done.results();
            d->legibilityDock->showAllSizes({results.begin(), results.end()}, depthName);
            d->allSizesShown = run;
        });
}

void TForm1::showSizeText(int profile, int text)
{
    const design::Legibility *measured = d->legibilityDock->sizeMeasure(profile);
    if (!measured || text < 0 || text >= int(measured->texts.size()))
        return;
    const design::TextLegibility chosen = measured->texts[size_t(text)];
    if (profile != d->doc->profile()) {
        sizeChoiceClick(profile);
        if (profile != d->doc->profile())
            return;
    }
    // The size's own measure lists the same texts in the same order unless
    // the skin changed since; then the text is looked up by where it is.
    const auto same = [&chosen](const design::TextLegibility &t) {
        return t.screen == chosen.screen && t.text == chosen.text && t.ink == chosen.ink;
    };
    const std::vector<design::TextLegibility> &texts = d->legibility.texts;
    if (text < int(texts.size()) && same(texts[size_t(text)])) {
        showLegibilityText(text);
        return;
    }
    const auto found = std::find_if(texts.begin(), texts.end(), same);
    if (found != texts.end())
        showLegibilityText(int(found - texts.begin()));
}

void TForm1::noteLostTexts(const design::Legibility &before)
{
    const double min = d->legibilityDock->minContrast();
    const std::vector<design::LostText> lost = design::textsLostAtDepth(before, d->legibility, min);
    if (lost.empty())
        return;
    std::vector<int> texts;
    for (const design::LostText &l : lost)
        texts.push_back(l.text);
    d->bannerSlots.clear();
    for (const design::SlotGroup &g : design::groupBySlot(d->legibility, texts))
        if (g.slot >= 0)
            d->bannerSlots.push_back(g.slot);
    const int n = int(lost.size());
    const bool one = n % 10 == 1 && n % 100 != 11;
    d->legibilityBanner->fixButton()->setEnabled(!d->bannerSlots.empty());
    d->legibilityBanner->showMessage(
        QStringLiteral("%1 %2 %3 хуже %4")
            .arg(afterStep(d->doc->undoStack()->text(d->doc->undoStack()->index() - 1)),
                 design::countText(n, QStringLiteral("надпись"), QStringLiteral("надписи"), QStringLiteral("надписей")),
                 one ? QStringLiteral("читается") : QStringLiteral("читаются"), design::ratioText(min, 1)));
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
    const int failing = d->legibilityDock->failingCount();
    d->legibilityBadge->setText(
        QStringLiteral("Читаемость: %1 ниже %2").arg(failing).arg(design::thresholdText(min)));
    d->legibilityBadge->setVisible(failing > 0);
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
    fixLegibility(std::vector<int>{slot});
}

void TForm1::fixLegibility(const std::vector<int> &which)
{
    if (!d->doc->hasSkin())
        return;
    const double min = d->legibilityDock->minContrast();
    // The sequence check --fix runs: each slot's colour, else the least scrim
    // under its texts, else the slot moved together with a text it crosses,
    // each worked out on the sheet the ones before it leave.
    design::SlotFixes made;
    {
        const BusyCursor busy;
        made = design::fixSlots(d->doc->sheet(), d->doc->profile(), {d->smallIcons, d->largeIcons}, d->legibility,
                                which, min, previewDepth(), true);
    }
    const bool coloursOnly = std::none_of(made.fixes.begin(), made.fixes.end(), [](const design::SlotFix &f) {
        return f.scrim.found || f.partner >= 0;
    });
    if (!coloursOnly && offerScrims(made))
        return;
    // The colours alone, as one step: those the sequence found, or, where the
    // author refused a scrim, each slot's own from the measure as it stands
    // (the sequence chose the colours after a scrim against the scrimmed sheet).
    std::vector<std::pair<int, QRgb>> fixes;
    if (coloursOnly) {
        for (const design::SlotFix &f : made.fixes)
            if (f.fix.outcome == design::LightnessFix::Fixed)
                fixes.emplace_back(f.slot, f.fix.colour);
    } else {
        for (int slot : which) {
            const design::LightnessFix fix = design::fixSlotLightness(
                d->legibility, slot, d->doc->colourSlot(slot), min, design::asDrawnAtDepth(previewDepth()));
            if (fix.outcome == design::LightnessFix::Fixed)
                fixes.emplace_back(slot, fix.colour);
        }
    }
    QUndoStack *undo = d->doc->undoStack();
    if (fixes.size() > 1)
        undo->beginMacro(QStringLiteral("исправление цветов"));
    for (const auto &[slot, colour] : fixes)
        report(this, d->doc->setColourSlot(slot, colour,
                                           QStringLiteral("исправление цвета «%1»").arg(colourSlotLabel(slot).trimmed())));
    if (fixes.size() > 1)
        undo->endMacro();
    if (!coloursOnly)
        return;
    QStringList impossible;
    for (const design::SlotFix &f : made.fixes)
        if (f.fix.outcome == design::LightnessFix::Impossible)
            impossible << unfixableSlot(f);
    if (!impossible.isEmpty())
        seams().ask(this, unfixableText(impossible, min) + QStringLiteral(" Поменяйте фон под ними или снизьте порог."),
                    {QStringLiteral("Закрыть")});
}

bool TForm1::offerScrims(const design::SlotFixes &made)
{
    const double min = d->legibilityDock->minContrast();
    QStringList scrims, pairs, impossible, labels;
    bool colours = false, anyScrim = false;
    std::optional<design::Legibility> after;  // for the worst of a pair, which either slot's own fix may not hold
    std::vector<int> told;
    for (const design::SlotFix &f : made.fixes) {
        const QString label = colourSlotLabel(f.slot).trimmed();
        anyScrim = anyScrim || f.scrim.found;
        if (f.partner >= 0) {
            if (std::find(told.begin(), told.end(), f.slot) != told.end())
                continue;
            told.push_back(f.partner);
            double strength = f.scrim.found ? f.scrim.strength : 0;
            for (const design::SlotFix &other : made.fixes)
                if (other.slot == f.partner && other.scrim.found)
                    strength = std::max(strength, other.scrim.strength);
            if (!after)
                after = design::measureSkinLegibility(made.sheet, d->doc->profile(), {d->smallIcons, d->largeIcons},
                                                      previewDepth());
            double worst = 21;
            for (const int slot : {f.slot, f.partner})
                if (const design::SlotLegibility *s = after->slot(slot))
                    worst = std::min(worst, s->worst);
            pairs << QStringLiteral("«%1» вместе с «%2»: цвета %3 и %4%5, худший станет %6")
                         .arg(label, colourSlotLabel(f.partner).trimmed(),
                              QColor(readColourSlot(made.sheet, d->doc->profile(), f.slot)).name(),
                              QColor(readColourSlot(made.sheet, d->doc->profile(), f.partner)).name(),
                              strength > 0 ? QStringLiteral(", ") + design::scrimFixText(strength) : QString(),
                              design::ratioText(worst, 2));
        } else if (f.scrim.found) {
            labels << QStringLiteral("«%1»").arg(label);
            scrims << QStringLiteral("«%1»: %2, худший станет %3")
                          .arg(label, design::scrimFixText(f.scrim.strength), design::ratioText(f.scrim.contrast, 2));
        } else if (f.fix.outcome == design::LightnessFix::Fixed) {
            colours = true;
        } else {
            impossible << unfixableSlot(f);
        }
    }
    QStringList text;
    if (!impossible.isEmpty())
        text << unfixableText(impossible, min);
    // No colour reads over a busy picture; the least scrim under a slot's
    // texts may.
    if (!scrims.isEmpty())
        text << QStringLiteral("Ни один цвет не читается на картинке под текстами; можно смягчить её только под ними. ")
                    + scrims.join(QStringLiteral("; ")) + u'.';
    if (!pairs.isEmpty())
        text << QStringLiteral("Текст, нарисованный поверх текста другого цвета, читается, только если исправить оба: ")
                    + pairs.join(QStringLiteral("; ")) + u'.';
    const int answer = seams().ask(this, text.join(u' '),
                                   {anyScrim ? QStringLiteral("Поставить подложку") : QStringLiteral("Исправить"),
                                    QStringLiteral("Отмена")});
    if (answer != 0)
        return false;
    // Everything the sequence made, the colours with it, as one step.
    report(this, d->doc->replaceSheet(made.sheet, pairs.isEmpty() && !colours
                                                      ? QStringLiteral("подложка под тексты %1").arg(labels.join(QStringLiteral(", ")))
                                                      : QStringLiteral("исправление цветов")));
    return true;
}

} // namespace zelkor
