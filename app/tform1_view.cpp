#include "tform1.h"

#include "allscreensdock.h"
#include "preview/pixelsourcetext.h"
#include "seams.h"
#include "skin/skindocument.h"
#include "tform3.h"
#include "zoomview.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QToolTip>

namespace zelkor {

namespace {

const QString kZoomKey = QStringLiteral("view/zoom");

} // namespace

void TForm1::createViewMenu()
{
    allScreens = new AllScreensDock(this);
    addDockWidget(Qt::BottomDockWidgetArea, allScreens);
    connect(allScreens, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (shown)
            refreshAllScreens();
    });
    connect(allScreens, &AllScreensDock::screenChosen, this, [this](int screen, int columns) {
        RadioGroup2->setItemIndex(columns);
        RadioGroup1->setItemIndex(screen);
        RadioGroup1Click();
    });

    // Alt+В opens "Вид".
    viewMenu = menuBar()->addMenu(QStringLiteral("&Вид"));
    QMenu *zoom = viewMenu->addMenu(QStringLiteral("&Масштаб"));
    auto *group = new QActionGroup(this);
    for (int mode = 1; mode <= ZoomView::kMaxZoom; ++mode)
        zoomActions[mode] = zoom->addAction(QStringLiteral("×&%1").arg(mode));
    zoom->addSeparator();
    zoomActions[ZoomView::kFitWindow] = zoom->addAction(QStringLiteral("По &размеру окна"));
    for (int mode = 0; mode <= ZoomView::kMaxZoom; ++mode) {
        QAction *a = zoomActions[mode];
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, mode] { setZoomMode(mode); });
    }
    zoom->addSeparator();
    QAction *in = zoom->addAction(QStringLiteral("&Крупнее"), this,
                                  [this] { setZoomMode(std::min(previewArea->zoom() + 1, int(ZoomView::kMaxZoom))); });
    in->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QAction *out = zoom->addAction(QStringLiteral("&Мельче"), this,
                                   [this] { setZoomMode(std::max(previewArea->zoom() - 1, 1)); });
    out->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    QAction *actual = zoom->addAction(QStringLiteral("&Обычный размер"), this, [this] { setZoomMode(1); });
    actual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));

    QAction *dock = allScreens->toggleViewAction();
    dock->setText(QStringLiteral("&Все экраны"));
    dock->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    viewMenu->addAction(dock);

    eyedropper = viewMenu->addAction(QStringLiteral("&Пипетка"));
    eyedropper->setCheckable(true);
    eyedropper->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    eyedropper->setStatusTip(QStringLiteral("Щелчок по экрану или телефону берёт цвет в выбранный образец"));
    connect(eyedropper, &QAction::toggled, this, [this](bool on) {
        const QCursor cursor = on ? Qt::CrossCursor : Qt::ArrowCursor;
        PaintBox1->setCursor(cursor);
        phone->setCursor(cursor);
    });

    connect(previewArea, &ZoomView::hovered, this, &TForm1::previewHovered);
    connect(previewArea, &ZoomView::clicked, this, &TForm1::previewClicked);
    connect(previewArea, &ZoomView::doubleClicked, this, &TForm1::previewDoubleClicked);

    setZoomMode(QSettings().value(kZoomKey, 1).toInt());
}

void TForm1::setZoomMode(int mode)
{
    previewArea->setZoomMode(mode);
    mode = previewArea->zoomMode();
    zoomActions[mode]->setChecked(true);
    QSettings().setValue(kZoomKey, mode);
}

void TForm1::refreshAllScreens()
{
    if (allScreens && m_doc->hasSkin())
        allScreens->refresh(m_doc->displayName(), previewInput());
}

namespace {

// What painted a screen pixel, if the last render recorded that screen.
PixelSource screenSource(const PaintRecord &record, const QImage &canvas, QPoint pixel)
{
    if (record.size() != canvas.size())
        return {};
    return record.sourceAt(pixel.x(), pixel.y());
}

// The slot that a click at `pixel` means: the slot that painted it, or else
// that of a text whose ink box holds it and which lies above whatever painted
// it, since a glyph's strokes are too thin to hit.
int clickedSlot(const PaintRecord &record, const QImage &canvas, QPoint pixel)
{
    if (record.size() != canvas.size())
        return -1;
    if (const PixelSource source = record.sourceAt(pixel.x(), pixel.y()); source.kind == PixelSource::Slot)
        return source.slot;
    const int owner = record.ownerAt(pixel.x(), pixel.y());
    for (int op = int(record.ops().size()) - 1; op > owner; --op) {
        const PaintOp &o = record.ops()[size_t(op)];
        if (o.kind == PaintOp::Text && o.slot >= 0 && o.rect.contains(pixel))
            return o.slot;
    }
    return -1;
}

} // namespace

QString TForm1::spotText(const PreviewSpot &spot) const
{
    if (!m_doc->hasSkin())
        return {};
    switch (spot.where) {
    case PreviewSpot::Screen:
        return pixelSourceText(screenSource(m_record, PaintBox1->canvasImage(), spot.pixel));
    case PreviewSpot::Phone:
        return phonePixelText(spot.pixel);
    case PreviewSpot::Nowhere:
        break;
    }
    return {};
}

void TForm1::previewHovered(const PreviewSpot &spot, QPoint globalPos)
{
    const QString text = spotText(spot);
    if (text.isEmpty()) {
        statusBar()->clearMessage();
        QToolTip::hideText();
        return;
    }
    statusBar()->showMessage(text);
    QToolTip::showText(globalPos, text, spot.where == PreviewSpot::Screen ? static_cast<QWidget *>(PaintBox1) : phone);
}

void TForm1::selectSlot(int slot)
{
    m_selectedSlot = slot >= 0 && slot < int(dx.size()) ? slot : -1;
    for (ColourSwatch *swatch : dx)
        swatch->setSelected(swatch->tag() == m_selectedSlot);
}

void TForm1::previewClicked(const PreviewSpot &spot)
{
    if (!m_doc->hasSkin() || spot.where == PreviewSpot::Nowhere)
        return;
    if (eyedropper->isChecked()) {
        if (m_selectedSlot < 0) {
            statusBar()->showMessage(
                QStringLiteral("Пипетка: сначала выберите цвет — щелчком по образцу или по тексту на экране"));
            return;
        }
        const QImage &from = spot.where == PreviewSpot::Screen ? PaintBox1->canvasImage() : previewArea->photo();
        const Status status = m_doc->setColourSlot(m_selectedSlot, from.pixel(spot.pixel));
        report(this, status);
        return;
    }
    if (spot.where != PreviewSpot::Screen)
        return;
    if (const int slot = clickedSlot(m_record, PaintBox1->canvasImage(), spot.pixel); slot >= 0)
        selectSlot(slot);
}

void TForm1::previewDoubleClicked(const PreviewSpot &spot)
{
    if (!m_doc->hasSkin() || spot.where != PreviewSpot::Screen || eyedropper->isChecked())
        return;
    if (const int slot = clickedSlot(m_record, PaintBox1->canvasImage(), spot.pixel); slot >= 0) {
        dx0Click(dx[slot]);
        return;
    }
    const PixelSource source = screenSource(m_record, PaintBox1->canvasImage(), spot.pixel);
    if (source.kind == PixelSource::Picture && source.picture >= 0)
        editPicture(source.picture);
}

void TForm1::editPicture(int picture)
{
    TForm3 dialog(*m_doc, *m_watcher, this);
    dialog.RadioGroup1->setItemIndex(picture);
    seams().execDialog(&dialog);
}

} // namespace zelkor
