#include "allscreensdock.h"

#include <QMouseEvent>
#include <QToolTip>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zelkor {

namespace {
constexpr int kGap = 6;
} // namespace

ThumbnailGrid thumbnailGrid(QSize area, QSize screen, int label)
{
    ThumbnailGrid best;
    if (screen.isEmpty())
        return best;
    int bestColumns = 1;
    for (int columns = 1; columns <= kNamedScreenCount; ++columns) {
        const int rows = (kNamedScreenCount + columns - 1) / columns;
        const double w = double(area.width() - (columns + 1) * kGap) / columns;
        const double h = double(area.height() - (rows + 1) * kGap) / rows - label;
        double scale = std::min(w / screen.width(), h / screen.height());
        // Whole pixels where they fit: flat blocks, as the preview shows them.
        if (scale >= 1)
            scale = std::floor(scale);
        if (scale > best.scale) {
            best.scale = scale;
            bestColumns = columns;
        }
    }
    if (best.scale <= 0)
        return best;
    const QSize size(std::max(1, int(std::lround(screen.width() * best.scale))),
                     std::max(1, int(std::lround(screen.height() * best.scale))));
    for (int i = 0; i < kNamedScreenCount; ++i) {
        const int column = i % bestColumns, row = i / bestColumns;
        best.screens[size_t(i)] = QRect(kGap + column * (size.width() + kGap),
                                        kGap + label + row * (size.height() + label + kGap), size.width(), size.height());
    }
    return best;
}

// Draws the screens from the overview into the grid that fits the widget,
// and turns a click into a screen.
class AllScreensDock::Picture : public QWidget {
public:
    explicit Picture(AllScreensDock *dock) : m_dock(dock)
    {
        setCursor(Qt::PointingHandCursor);
        setAccessibleName(QStringLiteral("Все экраны"));
        setMinimumSize(60, 60);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const QImage &image = m_dock->picture();
        if (image.isNull())
            return;
        const ThumbnailGrid grid = layout();
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform, grid.scale < 1);
        const QFontMetrics metrics(font());
        for (int i = 0; i < kNamedScreenCount; ++i) {
            const QRect &to = grid.screens[size_t(i)];
            p.drawImage(to, image, m_dock->m_overview.layout().screens[size_t(i)]);
            p.drawText(QRect(to.left(), to.top() - metrics.height() - 1, to.width(), metrics.height()),
                       Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine,
                       metrics.elidedText(namedScreens()[size_t(i)].titleText(), Qt::ElideRight, to.width()));
        }
    }
    // A narrow dock shortens the titles; the whole one is under the mouse.
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip)
            return QWidget::event(event);
        const auto *help = static_cast<QHelpEvent *>(event);
        const int i = m_dock->picture().isNull() ? -1 : screenAt(help->pos());
        if (i < 0)
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), namedScreens()[size_t(i)].titleText(), this);
        return true;
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton || m_dock->picture().isNull())
            return;
        const int i = screenAt(event->position().toPoint());
        if (i >= 0)
            emit m_dock->screenChosen(namedScreens()[size_t(i)].screen, namedScreens()[size_t(i)].columns);
    }

private:
    // The screen whose thumbnail or title lies under `pos`, or -1.
    int screenAt(QPoint pos) const
    {
        const ThumbnailGrid grid = layout();
        const int title = QFontMetrics(font()).height() + 1;
        for (int i = 0; i < kNamedScreenCount; ++i)
            if (grid.screens[size_t(i)].adjusted(0, -title, 0, 0).contains(pos))
                return i;
        return -1;
    }
    ThumbnailGrid layout() const
    {
        return thumbnailGrid(size(), m_dock->m_overview.layout().screens[0].size(), QFontMetrics(font()).height() + 2);
    }
    AllScreensDock *m_dock;
};

AllScreensDock::AllScreensDock(QWidget *parent)
    : QDockWidget(QStringLiteral("Все экраны"), parent), m_picture(new Picture(this))
{
    setObjectName(QStringLiteral("allScreensDock"));
    setWidget(m_picture);
}

QWidget *AllScreensDock::thumbnails() const
{
    return m_picture;
}

void AllScreensDock::refresh(const QString &skinName, const PreviewInput &in)
{
    if (!isVisible() || !m_overview.update(skinName, in))
        return;
    m_picture->update();
}

} // namespace zelkor
