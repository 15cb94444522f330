#pragma once
// The dock "Все экраны": the seven named screens side by side, as the
// overview picture shows them, redrawn whenever what they draw from changes.
// A click on a screen asks the window to show that screen with its column
// choice.

#include "preview/overview.h"

#include <QDockWidget>

namespace zelkor {

class AllScreensDock : public QDockWidget {
    Q_OBJECT
public:
    explicit AllScreensDock(QWidget *parent = nullptr);

    // Redraws when the skin, its sheet, colours or depth changed since the
    // last call; nothing while the dock is hidden (the window calls it again
    // when the dock is shown).
    void refresh(const QString &skinName, const PreviewInput &in);
    const QImage &picture() const { return m_overview.image(); }

signals:
    void screenChosen(int screen, int columns);

private:
    class Picture;
    Picture *m_picture;
    LiveOverview m_overview;
};

} // namespace zelkor
