#include "textoutline.h"

#include "app/paintbox.h"

#include <QEvent>
#include <QPainter>

namespace zelkor {

TextOutline::TextOutline(PaintBox *box) : QWidget(box), m_box(box)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    box->installEventFilter(this);
    setGeometry(box->rect());
    hide();
}

void TextOutline::outline(const QRect &ink, QSize screenSize)
{
    m_ink = ink;
    m_screen = screenSize;
    setVisible(!ink.isEmpty());
    raise();
    update();
}

bool TextOutline::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_box && event->type() == QEvent::Resize)
        setGeometry(m_box->rect());
    return false;
}

void TextOutline::paintEvent(QPaintEvent *)
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

} // namespace zelkor
