#include "tform1.h"

#include "allscreensdock.h"
#include "skin/skindocument.h"
#include "zoomview.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

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

} // namespace zelkor
