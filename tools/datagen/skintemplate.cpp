#include "skintemplate.h"

#include "theme.h"

#include "skin/profiles.h"
#include "skin/sheet.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>

namespace zelkor::datagen {
namespace {

using namespace palette;

// Where the default skin puts its bands. The numbers follow the texts that the
// preview draws on these pictures, not the sheet layout.
struct Bands {
    int contactsStatusTop;  // first row of the status line band inside `contacts`:
                            // below the glyphs of the last contact row (descenders
                            // included) and above those of the contact list's
                            // status text. Profile 2, whose status line is ours
                            // to place, follows the preview's status line at y 141;
                            // there the cell of row 6 (y 128) reaches into it.
    int chatHeader;         // rows of the dark header band at the top of `chat`: the
                            // header line (text and icon), ending above message line 1
};
// clang-format off
constexpr std::array<Bands, kProfileCount> kBands = {{
    //  status  chat header
    {167, 20},   // 176x208: last row at 146, status text at 173, message line 1 at 30
    {142, 18},   // 208x176: row 6 at 128, status text at 141 (the preview's choice)
    {280, 20},   // 240x320: last row at 254, status text at 283
    {199, 18},   // 320x240: last row at 182, status text at 203
    {340, 34},   // 352x416: last row at 297, status text and icon at 345, message line 1 at 35
    {288, 34},   // 416x352: last row at 261, status icon at 288, message line 1 at 35
}};
// clang-format on

void verticalGradient(QPainter &p, const QRect &r, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(0, r.top(), 0, r.bottom() + 1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

void hline(QPainter &p, int x, int y, int w, int thickness, const QColor &c)
{
    p.fillRect(QRect(x, y, w, thickness), c);
}

// A dark slate bar with a highlight line on top.
void drawBar(QPainter &p, const QRect &r, int s)
{
    verticalGradient(p, r, barTop, barBottom);
    hline(p, r.x(), r.y(), r.width(), s, barHighlight);
}

// A title bar: slate, darker at the top, with an accent line at its foot.
void drawTitleBar(QPainter &p, const QRect &r, int s)
{
    verticalGradient(p, r, barBottom, barTop);
    hline(p, r.x(), r.bottom() + 1 - s, r.width(), s, accent);
}

// A selection bar: a soft blue gradient between two edge lines; `stripe` puts
// an accent stripe on its left edge.
void drawSelection(QPainter &p, const QRect &r, int s, bool stripe)
{
    verticalGradient(p, r, selTop, selBottom);
    hline(p, r.x(), r.y(), r.width(), s, selEdgeTop);
    hline(p, r.x(), r.bottom() + 1 - s, r.width(), s, selEdgeBottom);
    if (stripe)
        p.fillRect(QRect(r.x(), r.y(), 3 * s, r.height()), accent);
}

// A small chevron ">" centred vertically near the right end of a row.
void drawChevron(QPainter &p, const QRect &r, int s, const QColor &c)
{
    const double h = 4.0 * s;
    const double cx = r.right() + 1 - 8.0 * s;
    const double cy = r.y() + r.height() / 2.0;
    QPen pen(c, 1.6 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen);
    p.drawPolyline(QPolygonF{{cx - h / 2, cy - h}, {cx + h / 2, cy}, {cx - h / 2, cy + h}});
    p.restore();
}

// Soft light background with a few large, barely visible circles.
void drawSoftBody(QPainter &p, const QRect &r)
{
    verticalGradient(p, r, bodyTop, bodyBottom);
    p.save();
    p.setClipRect(r);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const double w = r.width(), h = r.height();
    struct Circle {
        double cx, cy, radius;
        QColor colour;
    };
    const Circle circles[] = {
        {0.95, 0.80, 0.60, QColor(255, 255, 255, 70)},
        {1.10, 0.25, 0.40, QColor(bodyDecor.red(), bodyDecor.green(), bodyDecor.blue(), 45)},
        {0.00, 1.05, 0.50, QColor(255, 255, 255, 55)},
    };
    for (const Circle &c : circles) {
        QRadialGradient g(r.x() + c.cx * w, r.y() + c.cy * h, c.radius * w);
        g.setColorAt(0, c.colour);
        g.setColorAt(0.6, c.colour);
        QColor edge = c.colour;
        edge.setAlpha(0);
        g.setColorAt(1, edge);
        p.setBrush(g);
        p.drawEllipse(QPointF(r.x() + c.cx * w, r.y() + c.cy * h), c.radius * w, c.radius * w);
    }
    p.restore();
}

// Faint outlines of two speech bubbles in the lower right of the chat.
void drawChatWatermark(QPainter &p, const QRect &r, int s)
{
    p.save();
    p.setClipRect(r);
    p.setRenderHint(QPainter::Antialiasing);
    QColor c = bodyDecor;
    p.setPen(QPen(c, 1.5 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 255, 255, 70));
    const double w = r.width(), h = r.height();
    auto bubble = [&](double x, double y, double bw, double bh, bool tailLeft) {
        QPainterPath path;
        const QRectF box(r.x() + x * w, r.y() + y * h, bw * w, bh * h);
        path.addRoundedRect(box, 0.25 * box.height(), 0.25 * box.height());
        QPainterPath tail;
        const double tx = tailLeft ? box.left() + 0.2 * box.width() : box.right() - 0.2 * box.width();
        const double dx = tailLeft ? -0.12 * box.width() : 0.12 * box.width();
        tail.moveTo(tx - 0.08 * box.width(), box.bottom() - 1);
        tail.lineTo(tx + dx, box.bottom() + 0.35 * box.height());
        tail.lineTo(tx + 0.08 * box.width(), box.bottom() - 1);
        tail.closeSubpath();
        p.drawPath(path.united(tail));
    };
    bubble(0.50, 0.58, 0.40, 0.14, false);
    bubble(0.30, 0.80, 0.34, 0.12, true);
    p.restore();
}

void drawMenuline(QPainter &p, const QRect &r, int s)
{
    drawBar(p, r, s);
}

void drawContacts(QPainter &p, const QRect &r, int s, int titleHeight, const Bands &bands)
{
    const QRect title(r.x(), r.y(), r.width(), titleHeight);
    const QRect status(r.x(), r.y() + bands.contactsStatusTop, r.width(), r.height() - bands.contactsStatusTop);
    const QRect body(r.x(), title.bottom() + 1, r.width(), status.top() - title.bottom() - 1);
    drawSoftBody(p, body);
    drawTitleBar(p, title, s);
    verticalGradient(p, status, statusTop, statusBottom);
    hline(p, status.x(), status.y(), status.width(), s, barHighlight);
}

void drawSettingsRow(QPainter &p, const QRect &r, int s, bool selected)
{
    if (selected) {
        drawSelection(p, r, s, false);
        drawChevron(p, r, s, accent);
    } else {
        verticalGradient(p, r, rowTop, rowBottom);
        hline(p, r.x(), r.y(), r.width(), s, QColor(Qt::white));
        hline(p, r.x(), r.bottom() + 1 - s, r.width(), s, rowLine);
        drawChevron(p, r, s, chevron);
    }
}

void drawChat(QPainter &p, const QRect &r, int s, const Bands &bands)
{
    const QRect header(r.x(), r.y(), r.width(), bands.chatHeader);
    const QRect body(r.x(), header.bottom() + 1, r.width(), r.height() - bands.chatHeader);
    verticalGradient(p, body, bodyTop, bodyBottom);
    drawChatWatermark(p, body, s);
    drawTitleBar(p, header, s);
}

} // namespace

QImage drawTemplateSheet(int profile)
{
    const Profile *pr = profileByIndex(profile);
    if (!pr)
        return {};
    QImage sheet(pr->screenWidth, pr->layoutRows, QImage::Format_RGB32);
    sheet.fill(neutralColour());

    auto rectOf = [&](int picture) { return pictureRect(picture, profile)->rect(); };
    // Line widths follow the profile's scale: the large profiles' pictures are
    // twice as high (select1: 18 or 36 rows).
    const int s = rectOf(Select1).height() / 18;
    const Bands &bands = kBands[profile - 1];

    QPainter p(&sheet);
    drawMenuline(p, rectOf(Menuline), s);
    drawContacts(p, rectOf(Contacts), s, rectOf(Menuline).height(), bands);
    drawSelection(p, rectOf(Select1), s, true);
    drawSelection(p, rectOf(Select2), s, true);
    // select2's right end: a closing edge so the half-width bar reads as a bar.
    // Two columns wide: the contact list copies all but the last column of the
    // picture in profiles 1 to 4, the whole picture in 5 and 6.
    const QRect sel2 = rectOf(Select2);
    p.fillRect(QRect(sel2.right() - 1, sel2.y(), 2, sel2.height()), selEdgeBottom);
    drawTitleBar(p, rectOf(SettingsTop), s);
    drawSettingsRow(p, rectOf(SettingsEl), s, false);
    drawSettingsRow(p, rectOf(SettingsSelect), s, true);
    drawChat(p, rectOf(Chat), s, bands);
    drawSelection(p, rectOf(AccountSel), s, true);
    p.end();

    const ColourSlots &colours = defaultColourSlots();
    for (int slot = 0; slot < kColourSlotCount; ++slot)
        writeColourSlot(sheet, profile, slot, colours[slot]);
    return sheet;
}

} // namespace zelkor::datagen
