#include "allscreensdock.h"

#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>

namespace zelkor {

// Shows the overview as it is and turns a click into a screen.
class AllScreensDock::Picture : public QWidget {
public:
    explicit Picture(AllScreensDock *dock) : m_dock(dock)
    {
        setCursor(Qt::PointingHandCursor);
        setAccessibleName(QStringLiteral("Все экраны"));
    }
    void showImage(const QImage &image)
    {
        resize(image.size().expandedTo(QSize(1, 1)));
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.drawImage(0, 0, m_dock->picture());
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        const int i = m_dock->m_overview.screenAt(event->position().toPoint());
        if (event->button() == Qt::LeftButton && i >= 0)
            emit m_dock->screenChosen(namedScreens()[i].screen, namedScreens()[i].columns);
    }

private:
    AllScreensDock *m_dock;
};

AllScreensDock::AllScreensDock(QWidget *parent)
    : QDockWidget(QStringLiteral("Все экраны"), parent), m_picture(new Picture(this))
{
    setObjectName(QStringLiteral("allScreensDock"));
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(m_picture);
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroll->setAccessibleName(QStringLiteral("Все экраны"));
    setWidget(scroll);
}

void AllScreensDock::refresh(const QString &skinName, const PreviewInput &in)
{
    if (!isVisible() || !m_overview.update(skinName, in))
        return;
    const bool first = m_picture->height() <= 1;
    m_picture->showImage(m_overview.image());
    // The first picture gets the room it needs, as far as the window has it.
    auto *window = qobject_cast<QMainWindow *>(parentWidget());
    if (first && window && !isFloating())
        window->resizeDocks({this}, {m_picture->height() + 40}, Qt::Vertical);
}

} // namespace zelkor
