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

QImage composeOverview(const QString &skinName, int profile, const std::array<QImage, kNamedScreenCount> &screens)
{
    const Profile *p = profileByIndex(profile);
    const QString title = p ? QStringLiteral("%1 — профиль %2").arg(skinName, p->labelText()) : skinName;
    const QFont titleFont = overviewFont(16, true);
    const QFont labelFont = overviewFont(13, false);
    const QFontMetrics titleMetrics(titleFont);
    const QFontMetrics labelMetrics(labelFont);

    int width = kMargin;
    int screenHeight = 0;
    for (const QImage &s : screens) {
        width += s.width() + kGap;
        screenHeight = std::max(screenHeight, s.height());
    }
    width = std::max(width - kGap + kMargin, titleMetrics.horizontalAdvance(title) + 2 * kMargin);
    const int labelTop = kMargin + titleMetrics.height() + kGap / 2;
    const int screenTop = labelTop + labelMetrics.height() + kLabelGap;
    const int height = screenTop + screenHeight + kMargin;

    QImage out(width, height, QImage::Format_RGB32);
    out.fill(kBackground);
    QPainter painter(&out);
    painter.setPen(QColor::fromRgb(kInk));
    painter.setFont(titleFont);
    painter.drawText(kMargin, kMargin + titleMetrics.ascent(), title);
    painter.setFont(labelFont);
    int x = kMargin;
    for (int i = 0; i < kNamedScreenCount; ++i) {
        const QImage &s = screens[i];
        painter.setPen(QColor::fromRgb(kInk));
        painter.drawText(x, labelTop + labelMetrics.ascent(), namedScreens()[i].nameText());
        // A frame just outside the screen, so its white edges show on the grey.
        painter.setPen(QColor::fromRgb(kFrame));
        painter.drawRect(x - 1, screenTop - 1, s.width() + 1, s.height() + 1);
        painter.drawImage(x, screenTop, s);
        x += s.width() + kGap;
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

} // namespace zelkor
