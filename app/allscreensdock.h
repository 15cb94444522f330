#pragma once
// The dock "Все экраны": the seven named screens as thumbnails fitted to the
// dock (a column beside the phone, a row below it, or a grid), each under its
// Russian name, redrawn whenever what they draw from changes. A click on a
// screen asks the window to show that screen with its column choice.

#include "preview/overview.h"

#include <QDockWidget>

#include <array>

namespace zelkor {

// Where the thumbnails of `count` screens of `screen` size go in `area`, each
// with `label` pixels above it for its name: the grid that draws them
// largest, at a whole factor where one fits and smaller otherwise.
struct ThumbnailGrid {
    double scale = 0;
    std::array<QRect, kNamedScreenCount> screens{};  // where each screen is drawn
};
ThumbnailGrid thumbnailGrid(QSize area, QSize screen, int label);

class AllScreensDock : public QDockWidget {
    Q_OBJECT
public:
    explicit AllScreensDock(QWidget *parent = nullptr);

    // Redraws when the skin, its sheet, colours or depth changed since the
    // last call; nothing while the dock is hidden (the window calls it again
    // when the dock is shown).
    void refresh(const QString &skinName, const PreviewInput &in);
    // The screens at full size, side by side (the overview).
    const QImage &picture() const { return m_overview.image(); }
    // The widget that shows the thumbnails.
    QWidget *thumbnails() const;

signals:
    void screenChosen(int screen, int columns);

private:
    class Picture;
    Picture *m_picture;
    LiveOverview m_overview;
};

} // namespace zelkor
