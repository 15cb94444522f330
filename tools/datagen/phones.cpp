#include "phones.h"

#include "theme.h"

#include "skin/profiles.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace zelkor::datagen {
namespace {

// Colours of the phone: a graphite front in a silver rim, dark glass around
// the screen, graphite keys with light labels.
const QColor kRimLight(0xdc, 0xe0, 0xe5);
const QColor kRimDark(0x8e, 0x96, 0xa0);
const QColor kFaceTop(0x43, 0x49, 0x52);
const QColor kFaceBottom(0x2a, 0x2e, 0x35);
const QColor kGlass(0x15, 0x18, 0x1c);
const QColor kScreenFrame(0x5d, 0x66, 0x70);  // the ring right around the screen
const QColor kKeyTop(0x55, 0x5c, 0x66);
const QColor kKeyBottom(0x3a, 0x3f, 0x47);
const QColor kKeyEdge(0x1b, 0x1e, 0x22);
const QColor kLabel(0xee, 0xf1, 0xf4);
const QColor kSubLabel(0xa5, 0xae, 0xb8);
const QColor kCall(0x3d, 0xc2, 0x5a);
const QColor kEnd(0xe5, 0x4b, 0x4b);

constexpr int kScreenFrameWidth = 3;

QFont labelFont(double pixels, bool bold = true)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(6, static_cast<int>(std::lround(pixels))));
    f.setBold(bold);
    return f;
}

void softShadow(QPainter &p, const QRectF &body, double radius)
{
    p.setPen(Qt::NoPen);
    for (int i = 9; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 7));
        p.drawRoundedRect(body.adjusted(-i * 0.6, -i * 0.3 + 3, i * 0.6, i * 0.8 + 3), radius + i, radius + i);
    }
}

void drawBody(QPainter &p, const QRectF &body, double radius)
{
    softShadow(p, body, radius);
    QLinearGradient rim(body.topLeft(), body.bottomRight());
    rim.setColorAt(0, kRimLight);
    rim.setColorAt(0.5, kRimDark);
    rim.setColorAt(1, kRimLight.darker(115));
    p.setPen(QPen(QColor(0x6a, 0x72, 0x7c), 1));
    p.setBrush(rim);
    p.drawRoundedRect(body, radius, radius);

    const QRectF face = body.adjusted(4, 4, -4, -4);
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    g.setColorAt(0, kFaceTop);
    g.setColorAt(1, kFaceBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(face, radius - 4, radius - 4);
    // A faint sheen over the upper part of the face.
    QLinearGradient sheen(face.topLeft(), QPointF(face.left(), face.top() + face.height() * 0.45));
    sheen.setColorAt(0, QColor(255, 255, 255, 26));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(sheen);
    p.drawRoundedRect(face, radius - 4, radius - 4);
}

// Dark glass around the screen, the light frame, and the screen itself in the
// one known colour, pixel exact.
void drawScreen(QPainter &p, const QRect &screen, int pad)
{
    const QRectF glass = QRectF(screen).adjusted(-pad, -pad, pad, pad);
    QLinearGradient g(glass.topLeft(), glass.bottomRight());
    g.setColorAt(0, kGlass.lighter(135));
    g.setColorAt(0.45, kGlass);
    g.setColorAt(1, kGlass);
    p.setPen(QPen(QColor(0x0c, 0x0e, 0x10), 1));
    p.setBrush(g);
    p.drawRoundedRect(glass, pad * 0.7, pad * 0.7);

    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(screen.adjusted(-kScreenFrameWidth, -kScreenFrameWidth, kScreenFrameWidth, kScreenFrameWidth),
               kScreenFrame);
    p.fillRect(screen, QColor::fromRgb(phoneScreenColour()));
    p.restore();
}

void drawEarpiece(QPainter &p, const QPointF &centre, double width, double height)
{
    p.setPen(QPen(QColor(0x5a, 0x61, 0x6b), 1));
    p.setBrush(QColor(0x14, 0x16, 0x1a));
    p.drawRoundedRect(QRectF(centre.x() - width / 2, centre.y() - height / 2, width, height), height / 2, height / 2);
}

void drawCamera(QPainter &p, const QPointF &centre, double r)
{
    p.setPen(QPen(QColor(0x5a, 0x61, 0x6b), 1));
    p.setBrush(QColor(0x10, 0x12, 0x16));
    p.drawEllipse(centre, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3a, 0x5a, 0x8a));
    p.drawEllipse(centre, r * 0.45, r * 0.45);
}

void drawBrand(QPainter &p, const QRectF &box, double size)
{
    QFont f = labelFont(size);
    f.setLetterSpacing(QFont::AbsoluteSpacing, size * 0.35);
    p.setFont(f);
    p.setPen(QColor(0xb4, 0xbc, 0xc6));
    p.drawText(box, Qt::AlignCenter, QStringLiteral("ZELKOR"));
}

void keyShape(QPainter &p, const QRectF &r, double radius, const QColor &top = kKeyTop,
              const QColor &bottom = kKeyBottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(kKeyEdge, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.drawLine(QPointF(r.left() + radius, r.top() + 1.5), QPointF(r.right() - radius, r.top() + 1.5));
}

// A key with a main label and an optional small one beneath (or beside) it.
void key(QPainter &p, const QRectF &r, const QString &label, const QString &sub = {})
{
    keyShape(p, r, std::min(r.height(), r.width()) * 0.28);
    const double h = r.height();
    if (sub.isEmpty()) {
        p.setFont(labelFont(h * 0.52));
        p.setPen(kLabel);
        p.drawText(r, Qt::AlignCenter, label);
        return;
    }
    p.setFont(labelFont(h * 0.46));
    p.setPen(kLabel);
    p.drawText(QRectF(r.left(), r.top() + h * 0.06, r.width(), h * 0.6), Qt::AlignCenter, label);
    p.setFont(labelFont(h * 0.27, false));
    p.setPen(kSubLabel);
    p.drawText(QRectF(r.left(), r.top() + h * 0.58, r.width(), h * 0.36), Qt::AlignCenter, sub);
}

void softKey(QPainter &p, const QRectF &r)
{
    keyShape(p, r, r.height() / 2);
    p.setPen(QPen(kSubLabel, std::max(1.0, r.height() * 0.08), Qt::SolidLine, Qt::RoundCap));
    const double w = r.width() * 0.3;
    p.drawLine(QPointF(r.center().x() - w / 2, r.center().y()), QPointF(r.center().x() + w / 2, r.center().y()));
}

// A handset glyph: green lifted for call, red put down for end.
void callKey(QPainter &p, const QRectF &r, bool end)
{
    keyShape(p, r, std::min(r.height(), r.width()) * 0.3);
    const QColor c = end ? kEnd : kCall;
    const double s = std::min(r.width(), r.height()) * 0.5;
    p.save();
    p.translate(r.center());
    p.rotate(end ? 135 : -45);
    QPainterPath h;
    h.moveTo(-s * 0.5, -s * 0.1);
    h.cubicTo(-s * 0.25, s * 0.3, s * 0.25, s * 0.3, s * 0.5, -s * 0.1);
    p.setPen(QPen(c, s * 0.22, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(h);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(-s * 0.5, -s * 0.12), s * 0.16, s * 0.16);
    p.drawEllipse(QPointF(s * 0.5, -s * 0.12), s * 0.16, s * 0.16);
    p.restore();
}

void dpad(QPainter &p, const QPointF &c, double r)
{
    QRadialGradient ring(c, r);
    ring.setColorAt(0.6, kKeyTop.lighter(110));
    ring.setColorAt(1, kKeyBottom);
    p.setPen(QPen(kKeyEdge, 1));
    p.setBrush(ring);
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(kSubLabel);
    const double a = r * 0.12, d = r * 0.78;
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(c);
        p.rotate(90 * i);
        p.drawPolygon(QPolygonF{{0, -d - a}, {a * 1.3, -d + a * 0.6}, {-a * 1.3, -d + a * 0.6}});
        p.restore();
    }
    QLinearGradient centre(c.x(), c.y() - r * 0.45, c.x(), c.y() + r * 0.45);
    centre.setColorAt(0, QColor(0xc8, 0xce, 0xd5));
    centre.setColorAt(1, QColor(0x8e, 0x96, 0xa0));
    p.setPen(QPen(kKeyEdge, 1));
    p.setBrush(centre);
    p.drawEllipse(c, r * 0.45, r * 0.45);
}

void numericKeypad(QPainter &p, const QRectF &area)
{
    static const char *const digits[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "0", "#"};
    static const char *const letters[] = {".,!", "abc", "def", "ghi", "jkl", "mno", "pqrs", "tuv", "wxyz", "+", "␣", "⇧"};
    const double gapX = area.width() * 0.04, gapY = area.height() * 0.05;
    const double kw = (area.width() - 2 * gapX) / 3, kh = (area.height() - 3 * gapY) / 4;
    for (int i = 0; i < 12; ++i) {
        const QRectF r(area.left() + (i % 3) * (kw + gapX), area.top() + (i / 3) * (kh + gapY), kw, kh);
        key(p, r, QString::fromUtf8(digits[i]), QString::fromUtf8(letters[i]));
    }
}

void qwertyKeypad(QPainter &p, const QRectF &area)
{
    static const char *const rows[] = {"QWERTYUIOP", "ASDFGHJKL←", "⇧ZXCVBNM,."};
    const double gap = area.width() * 0.012;
    const double kw = (area.width() - 9 * gap) / 10, kh = (area.height() - 3 * gap) / 4;
    for (int r = 0; r < 3; ++r) {
        const QString row = QString::fromUtf8(rows[r]);
        for (int i = 0; i < 10; ++i)
            key(p, QRectF(area.left() + i * (kw + gap), area.top() + r * (kh + gap), kw, kh), row.mid(i, 1));
    }
    const double y = area.top() + 3 * (kh + gap);
    key(p, QRectF(area.left(), y, kw * 2 + gap, kh), QStringLiteral("Sym"));
    key(p, QRectF(area.left() + 2 * (kw + gap), y, kw * 6 + 5 * gap, kh), QString());
    key(p, QRectF(area.left() + 8 * (kw + gap), y, kw * 2 + gap, kh), QStringLiteral("↵"));
}

// A row of navigation keys under the screen: soft keys at the ends, call and
// end inside them, the d-pad in the middle.
void navigationRow(QPainter &p, const QRectF &area)
{
    const double r = std::min(area.height() / 2, area.width() * 0.15);
    const QPointF c = area.center();
    dpad(p, c, r);
    const double sideW = (area.width() / 2 - r - area.width() * 0.04);
    const double softW = sideW * 0.52, callW = sideW * 0.48;
    const double softH = std::min(area.height() * 0.42, softW * 0.5);
    const double callH = std::min(area.height() * 0.55, callW * 0.75);
    softKey(p, QRectF(area.left(), area.top() + area.height() * 0.12, softW, softH));
    softKey(p, QRectF(area.right() - softW, area.top() + area.height() * 0.12, softW, softH));
    callKey(p, QRectF(area.left() + sideW - callW, area.bottom() - callH - area.height() * 0.05, callW, callH), false);
    callKey(p, QRectF(area.right() - sideW, area.bottom() - callH - area.height() * 0.05, callW, callH), true);
}

// Portrait: a candybar with the earpiece above the screen and the keys below.
QRect drawCandybar(QPainter &p, const QRect &screen, bool paint)
{
    const int W = screen.width();
    const int pad = std::clamp(W / 17, 9, 16);        // glass around the screen
    const int side = static_cast<int>(W * 0.12) + 14;  // body edge to screen edge
    const int top = std::clamp(static_cast<int>(W * 0.28), 44, 80);
    const int bottomLimit = kPhoneAreaLimit.height() - 6;
    const int wanted = screen.bottom() + 1 + pad + static_cast<int>(W * 1.15) + 24;
    // At most this tall, so that the whole phone at x1 still fits between the
    // menu and the status bar of a 1280 x 720 window (a 2560 x 1440 screen at
    // double scale); the keypad gives way, never the screen.
    constexpr int kTallest = 612;
    const int bodyTop = screen.top() - pad - top;
    const QRect body(screen.left() - side, bodyTop, W + 2 * side,
                     std::min({wanted, bottomLimit, bodyTop + kTallest}) - bodyTop);
    if (!paint)
        return body;
    const double radius = std::min(body.width() * 0.16, 46.0);
    drawBody(p, body, radius);
    drawScreen(p, screen, pad);

    const double topMid = screen.top() - pad - top / 2.0;
    drawEarpiece(p, QPointF(body.center().x() + 0.5, topMid - top * 0.12), W * 0.24, std::max(4.0, top * 0.09));
    drawCamera(p, QPointF(body.center().x() + W * 0.22, topMid - top * 0.12), std::max(3.0, top * 0.07));
    drawBrand(p, QRectF(body.left(), topMid + top * 0.05, body.width(), top * 0.3), std::max(8.0, top * 0.16));

    const QRectF keys(screen.left() - side * 0.45, screen.bottom() + 1 + pad + 10,
                      W + side * 0.9, body.bottom() - 14 - (screen.bottom() + 1 + pad + 10));
    if (keys.height() >= 170) {
        const double navH = std::clamp(keys.height() * 0.36, 70.0, 104.0);
        navigationRow(p, QRectF(keys.left(), keys.top(), keys.width(), navH));
        numericKeypad(p, QRectF(keys.left() + keys.width() * 0.06, keys.top() + navH + keys.height() * 0.05,
                                keys.width() * 0.88, keys.height() - navH - keys.height() * 0.05));
    } else {
        navigationRow(p, keys);
    }
    return body;
}

// Landscape with room below: a wide messenger phone with a keyboard.
QRect drawKeyboardPhone(QPainter &p, const QRect &screen, bool paint)
{
    const int W = screen.width();
    const int pad = std::clamp(W / 22, 9, 16);
    const int side = static_cast<int>(W * 0.12) + 14;
    const int top = std::clamp(static_cast<int>(W * 0.14), 30, 60);
    const double navH = std::clamp(W * 0.2, 40.0, 64.0);
    const double keyH = std::min(24.0, (W + 2.0 * side - 28) / 10 * 0.72);
    const int height = top + pad + screen.height() + pad + 10 + static_cast<int>(navH + 8 + 4 * (keyH + 3)) + 16;
    const QRect body(screen.left() - side, screen.top() - pad - top, W + 2 * side, height);
    if (!paint)
        return body;
    drawBody(p, body, std::min(body.width() * 0.1, 36.0));
    drawScreen(p, screen, pad);
    const double topMid = screen.top() - pad - top / 2.0;
    drawEarpiece(p, QPointF(body.center().x() + 0.5, topMid), W * 0.2, std::max(4.0, top * 0.13));
    drawCamera(p, QPointF(body.center().x() + W * 0.2, topMid), std::max(3.0, top * 0.1));
    drawBrand(p, QRectF(body.left() + 14, topMid - top * 0.2, W * 0.32, top * 0.4), std::max(8.0, top * 0.22));

    const double kx = body.left() + 14, kw = body.width() - 28;
    const double y0 = screen.bottom() + 1 + pad + 10;
    navigationRow(p, QRectF(kx + kw * 0.04, y0, kw * 0.92, navH));
    qwertyKeypad(p, QRectF(kx, y0 + navH + 8, kw, 4 * keyH + 9));
    return body;
}

// Landscape with the screen far to the right: a media phone held sideways,
// its keys in a column left of the screen and the earpiece on the right.
QRect drawSideKeyPhone(QPainter &p, const QRect &screen, bool paint)
{
    const int pad = 14;
    const int left = std::min(120, screen.left() - pad - 8);
    const int right = std::min(30, kPhoneAreaLimit.width() - 6 - (screen.right() + 1 + pad));
    const int vertical = 26;
    const QRect body(screen.left() - pad - left, screen.top() - pad - vertical, left + pad + screen.width() + pad + right,
                     vertical + pad + screen.height() + pad + vertical);
    if (!paint)
        return body;
    drawBody(p, body, 40);
    drawScreen(p, screen, pad);

    const double cx = body.left() + 4 + (left - 4) / 2.0 + 4;
    const double span = body.height() - 2 * 36.0;
    const double y0 = body.top() + 36;
    const double kw = left * 0.56, soft = 22, call = 30;
    softKey(p, QRectF(cx - kw / 2, y0, kw, soft));
    callKey(p, QRectF(cx - kw / 2, y0 + span * 0.16, kw, call), false);
    dpad(p, QPointF(cx, y0 + span / 2), std::min(left * 0.38, span * 0.2));
    callKey(p, QRectF(cx - kw / 2, y0 + span * 0.84 - call, kw, call), true);
    softKey(p, QRectF(cx - kw / 2, y0 + span - soft, kw, soft));

    const double rx = screen.right() + 1 + pad + (right + 4) / 2.0 - 2;
    p.save();
    p.translate(rx, body.center().y());
    p.rotate(90);
    drawEarpiece(p, QPointF(0, 0), screen.height() * 0.22, 5);
    p.restore();
    drawCamera(p, QPointF(rx, body.top() + 44), 4);
    p.save();
    p.translate(rx, body.bottom() - 70);
    p.rotate(90);
    drawBrand(p, QRectF(-50, -7, 100, 14), 9);
    p.restore();
    return body;
}

enum class Kind { Candybar, KeyboardPhone, SideKeyPhone };

Kind kindOf(const Profile &pr)
{
    if (pr.screenHeight > pr.screenWidth)
        return Kind::Candybar;
    // A landscape phone keeps its screen centred over a keyboard unless the
    // offset leaves no room for that within the phone area.
    const int width = 2 * pr.previewOffset.x() + pr.screenWidth;
    return width <= kPhoneAreaLimit.width() ? Kind::KeyboardPhone : Kind::SideKeyPhone;
}

QRect drawPhone(QPainter &p, Kind kind, const QRect &screen, bool paint)
{
    switch (kind) {
    case Kind::Candybar:
        return drawCandybar(p, screen, paint);
    case Kind::KeyboardPhone:
        return drawKeyboardPhone(p, screen, paint);
    case Kind::SideKeyPhone:
        return drawSideKeyPhone(p, screen, paint);
    }
    return {};
}

} // namespace

QImage drawPhonePicture(int profile)
{
    const Profile *pr = profileByIndex(profile);
    if (!pr)
        return {};
    const QRect screen(pr->previewOffset, pr->screenSize());
    const Kind kind = kindOf(*pr);

    // Measure the body first; the picture ends a shadow's width beyond it.
    QPainter none;
    const QRect body = drawPhone(none, kind, screen, false);
    const QSize size(std::min(kPhoneAreaLimit.width(), body.right() + 1 + 8),
                     std::min(kPhoneAreaLimit.height(), body.bottom() + 1 + 12));

    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawPhone(p, kind, screen, true);
    return picture;
}

} // namespace zelkor::datagen
