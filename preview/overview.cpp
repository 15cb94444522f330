#include "overview.h"

#include "skin/profiles.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace zelkor {

namespace {

constexpr int kMargin = 16;
constexpr int kGap = 16;       // between two screens
constexpr int kLabelGap = 4;   // between a label and its screen
constexpr QRgb kBackground = 0xffe8e8e8u;
constexpr QRgb kFrame = 0xff9a9a9au;
constexpr QRgb kInk = 0xff202020u;

QFont overviewFont(int pixels, bool bold)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

} // namespace

namespace {

QString overviewTitle(const QString &skinName, int profile)
{
    const Profile *p = profileByIndex(profile);
    return p ? QStringLiteral("%1 — профиль %2").arg(skinName, p->labelText()) : skinName;
}

} // namespace

OverviewLayout overviewLayout(const QString &skinName, int profile, QSize screenSize)
{
    const QFontMetrics titleMetrics(overviewFont(16, true));
    const QFontMetrics labelMetrics(overviewFont(13, false));
    OverviewLayout layout;
    const int labelTop = kMargin + titleMetrics.height() + kGap / 2;
    const int screenTop = labelTop + labelMetrics.height() + kLabelGap;
    int x = kMargin;
    for (QRect &r : layout.screens) {
        r = QRect(QPoint(x, screenTop), screenSize);
        x += screenSize.width() + kGap;
    }
    const int width = std::max(x - kGap + kMargin,
                               titleMetrics.horizontalAdvance(overviewTitle(skinName, profile)) + 2 * kMargin);
    layout.size = QSize(width, screenTop + screenSize.height() + kMargin);
    return layout;
}

QImage composeOverview(const QString &skinName, int profile, const std::array<QImage, kNamedScreenCount> &screens)
{
    const QString title = overviewTitle(skinName, profile);
    const QFont titleFont = overviewFont(16, true);
    const QFont labelFont = overviewFont(13, false);
    const QFontMetrics titleMetrics(titleFont);
    const QFontMetrics labelMetrics(labelFont);
    QSize screenSize;
    for (const QImage &s : screens)
        screenSize = screenSize.expandedTo(s.size());
    const OverviewLayout layout = overviewLayout(skinName, profile, screenSize);

    QImage out(layout.size, QImage::Format_RGB32);
    out.fill(kBackground);
    QPainter painter(&out);
    painter.setPen(QColor::fromRgb(kInk));
    painter.setFont(titleFont);
    painter.drawText(kMargin, kMargin + titleMetrics.ascent(), title);
    painter.setFont(labelFont);
    for (int i = 0; i < kNamedScreenCount; ++i) {
        const QImage &s = screens[i];
        const QPoint at = layout.screens[i].topLeft();
        const int labelTop = at.y() - kLabelGap - labelMetrics.height();
        painter.setPen(QColor::fromRgb(kInk));
        painter.drawText(at.x(), labelTop + labelMetrics.ascent(), namedScreens()[i].titleText());
        // A frame just outside the screen, so its white edges show on the grey.
        painter.setPen(QColor::fromRgb(kFrame));
        painter.drawRect(at.x() - 1, at.y() - 1, s.width() + 1, s.height() + 1);
        painter.drawImage(at, s);
    }
    return out;
}

QImage sheetOverview(const QString &skinName, const QImage &sheet, int profile, const IconSheets &icons)
{
    const PreviewInput in = skinPreviewInput(sheet, profile, icons, 0);
    std::array<QImage, kNamedScreenCount> screens;
    for (int i = 0; i < kNamedScreenCount; ++i)
        screens[size_t(i)] = paintBoxPicture(namedScreens()[size_t(i)], in);
    return composeOverview(skinName, profile, screens);
}

bool LiveOverview::update(const QString &skinName, const PreviewInput &in)
{
    if (in.profile == 0 || !in.sheet) {
        const bool had = !m_image.isNull();
        clear();
        return had;
    }
    const qint64 sheetKey = in.sheet->cacheKey();
    const bool sameSkin = skinName == m_name && in.profile == m_profile && !m_image.isNull();
    if (sameSkin && sheetKey == m_sheetKey && in.colours == m_colours)
        return false;
    if (!sameSkin) {
        std::array<QImage, kNamedScreenCount> blank;
        for (QImage &b : blank)
            b = newPreviewBitmap(in.screen);
        m_image = composeOverview(skinName, in.profile, blank);
        m_layout = overviewLayout(skinName, in.profile, in.screen);
    }
    // Each screen is drawn straight into its place in the picture. The popup
    // menu is drawn over the contact list of its column choice, so that list,
    // drawn already, is copied rather than drawn again.
    uchar *const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    const auto place = [&](int i) {
        const QRect r = m_layout.screens[size_t(i)];
        return QImage(bits + r.y() * stride + r.x() * qsizetype(sizeof(QRgb)), r.width(), r.height(), stride,
                      QImage::Format_RGB32);
    };
    for (int i = 0; i < kNamedScreenCount; ++i) {
        const NamedScreen &shot = namedScreens()[i];
        QImage target = place(i);
        Canvas canvas(&target);
        PreviewInput screenIn = in;
        screenIn.columns = shot.columns;
        int list = -1;
        for (int j = 0; j < i && shot.screen == PopupMenuScreen; ++j)
            if (namedScreens()[j].screen == ContactListScreen && namedScreens()[j].columns == shot.columns)
                list = j;
        if (list < 0) {
            renderPreview(shot.screen, screenIn, canvas);
            continue;
        }
        canvas.blit(0, 0, target.width(), target.height(), place(list), 0, 0);
        drawPopupMenu(canvas, screenIn);
    }
    m_name = skinName;
    m_profile = in.profile;
    m_sheetKey = sheetKey;
    m_colours = in.colours;
    return true;
}

int LiveOverview::screenAt(QPoint point) const
{
    if (m_image.isNull())
        return -1;
    for (int i = 0; i < kNamedScreenCount; ++i)
        if (m_layout.screens[i].contains(point))
            return i;
    return -1;
}

void LiveOverview::clear()
{
    *this = LiveOverview();
}

} // namespace zelkor
