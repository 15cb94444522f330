#pragma once
// The overview of a skin: every named screen side by side on one picture, each
// under its name, with the skin's file name and profile label above them all.

#include "screenimage.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <array>

namespace zelkor {

// Where composeOverview puts each screen, and the picture's size.
struct OverviewLayout {
    QSize size;
    std::array<QRect, kNamedScreenCount> screens;
};
OverviewLayout overviewLayout(const QString &skinName, int profile, QSize screenSize);

// `screens` are the pictures of namedScreens(), in that order, all of the
// profile's screen size.
QImage composeOverview(const QString &skinName, int profile,
                       const std::array<QImage, kNamedScreenCount> &screens);

// The overview of a sheet of `profile` as a New or Load would show it: every
// named screen drawn with the sheet's own colour row.
QImage sheetOverview(const QString &skinName, const QImage &sheet, int profile, const IconSheets &icons);
// The overview of the skin being edited, kept up to date: the title, labels
// and frames are drawn once per skin name and profile; a change of the sheet,
// the colours or the depth redraws only the seven screens into their places.
class LiveOverview {
public:
    // Renders the screens from `in` (its columns are each screen's own);
    // false when nothing changed since the last update.
    bool update(const QString &skinName, const PreviewInput &in);
    const QImage &image() const { return m_image; }
    // Where each screen lies on image().
    const OverviewLayout &layout() const { return m_layout; }
    // The named screen (index into namedScreens()) whose picture holds
    // `point`, or -1.
    int screenAt(QPoint point) const;
    void clear();

private:
    QImage m_image;
    OverviewLayout m_layout{};
    QString m_name;
    int m_profile = -1;
    qint64 m_sheetKey = 0;
    ColourSlots m_colours{};
};

} // namespace zelkor
