#include "allscreensdock.h"

#include <QMouseEvent>
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
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton || m_dock->picture().isNull())
            return;
        const ThumbnailGrid grid = layout();
        for (int i = 0; i < kNamedScreenCount; ++i)
            if (grid.screens[size_t(i)].contains(event->position().toPoint()))
                emit m_dock->screenChosen(namedScreens()[size_t(i)].screen, namedScreens()[size_t(i)].columns);
    }

private:
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
