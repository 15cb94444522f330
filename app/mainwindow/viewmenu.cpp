// "Вид": the zoom of the preview, the dock of all screens and the eyedropper.
#include "tform1.h"
#include "tform1private.h"

#include "app/loupe.h"

#include "desktop/preferences.h"

#include "app/allscreensdock.h"
#include "app/seams.h"
#include "skin/skindocument.h"
#include "app/zoomview.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace zelkor {

void TForm1::createViewMenu()
{
    d->allScreens = new AllScreensDock(this);
    addDockWidget(Qt::BottomDockWidgetArea, d->allScreens);
    connect(d->allScreens, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (shown)
            refreshAllScreens();
    });
    connect(d->allScreens, &AllScreensDock::screenChosen, this, [this](int screen, int columns) {
        d->RadioGroup2->setItemIndex(columns);
        d->RadioGroup1->setItemIndex(screen);
        RadioGroup1Click();
    });

    // Alt+В opens "Вид".
    d->viewMenu = menuBar()->addMenu(QStringLiteral("&Вид"));
    QMenu *zoom = d->viewMenu->addMenu(QStringLiteral("&Масштаб"));
    auto *group = new QActionGroup(this);
    for (int mode = 1; mode <= ZoomView::kMaxZoom; ++mode)
        d->zoomActions[mode] = zoom->addAction(QStringLiteral("×&%1").arg(mode));
    zoom->addSeparator();
    d->zoomActions[ZoomView::kFitWindow] = zoom->addAction(QStringLiteral("По &размеру окна"));
    for (int mode = 0; mode <= ZoomView::kMaxZoom; ++mode) {
        QAction *a = d->zoomActions[mode];
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, mode] { setZoomMode(mode); });
    }
    zoom->addSeparator();
    QAction *in = zoom->addAction(QStringLiteral("&Крупнее"), this,
                                  [this] { setZoomMode(std::min(d->previewArea->zoom() + 1, int(ZoomView::kMaxZoom))); });
    in->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QAction *out = zoom->addAction(QStringLiteral("&Мельче"), this,
                                   [this] { setZoomMode(std::max(d->previewArea->zoom() - 1, 1)); });
    out->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    QAction *actual = zoom->addAction(QStringLiteral("&Обычный размер"), this, [this] { setZoomMode(1); });
    actual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));

    QAction *dock = d->allScreens->toggleViewAction();
    dock->setText(QStringLiteral("&Все экраны"));
    dock->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    d->viewMenu->addAction(dock);

    d->eyedropper = d->viewMenu->addAction(QStringLiteral("&Пипетка"));
    d->eyedropper->setCheckable(true);
    d->eyedropper->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    d->eyedropper->setStatusTip(QStringLiteral("Щелчок по экрану или телефону берёт цвет в выбранный образец"));
    connect(d->eyedropper, &QAction::toggled, this, [this](bool on) {
        const QCursor cursor = on ? Qt::CrossCursor : Qt::ArrowCursor;
        d->PaintBox1->setCursor(cursor);
        d->phone->setCursor(cursor);
        // The loupe stands beside the cursor: the preview's own tooltips
        // would cover it, so they rest while the eyedropper is on.
        for (QWidget *w : {static_cast<QWidget *>(d->PaintBox1), static_cast<QWidget *>(d->phone)}) {
            if (on)
                w->setProperty("restingToolTip", w->toolTip());
            w->setToolTip(on ? QString() : w->property("restingToolTip").toString());
        }
        if (!on)
            d->loupe->hide();
    });
    d->loupe = new Loupe(this);

    connect(d->previewArea, &ZoomView::hovered, this, &TForm1::previewHovered);
    connect(d->previewArea, &ZoomView::clicked, this, &TForm1::previewClicked);
    connect(d->previewArea, &ZoomView::doubleClicked, this, &TForm1::previewDoubleClicked);

    setZoomMode(prefs::zoomMode);
}

void TForm1::setZoomMode(int mode)
{
    d->previewArea->setZoomMode(mode);
    mode = d->previewArea->zoomMode();
    d->zoomActions[mode]->setChecked(true);
    prefs::zoomMode.set(mode);
}

void TForm1::refreshAllScreens()
{
    if (d->allScreens && d->doc->hasSkin())
        d->allScreens->refresh(d->doc->displayName(), previewInput());
}

} // namespace zelkor
