#include "icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>

namespace zelkor::datagen {
namespace {

// Every icon is drawn in a 16 x 16 unit square, scaled to the cell size, and
// then cut to a one-bit mask (a pixel is opaque when at least half covered).
// Shapes carry a darker outline so that they read on light and dark screens.

using Painter = QPainter;
using Draw = std::function<void(Painter &)>;

QColor edgeOf(const QColor &c) { return c.darker(200); }

void shape(Painter &p, const QPainterPath &path, const QColor &fill, double outline = 0.9)
{
    p.setPen(outline > 0 ? QPen(edgeOf(fill), outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawPath(path);
}

void shape(Painter &p, const QPainterPath &path, const QColor &fill, const QColor &outline, double width = 0.9)
{
    p.setPen(QPen(outline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

QPainterPath circle(double cx, double cy, double r)
{
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), r, r);
    return path;
}

QPainterPath ellipse(double cx, double cy, double rx, double ry)
{
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), rx, ry);
    return path;
}

QPainterPath rect(double x, double y, double w, double h, double radius = 0)
{
    QPainterPath path;
    if (radius > 0)
        path.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    else
        path.addRect(QRectF(x, y, w, h));
    return path;
}

QPainterPath poly(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

void stroke(Painter &p, const QPainterPath &path, const QColor &c, double width)
{
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void line(Painter &p, QPointF a, QPointF b, const QColor &c, double width)
{
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(a, b);
}

void text(Painter &p, const QRectF &box, const QString &t, const QColor &c, int size)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(size);
    f.setBold(true);
    p.setFont(f);
    p.setPen(c);
    p.drawText(box, Qt::AlignCenter, t);
}

// --- colours -----------------------------------------------------------------
const QColor kGreen(0x3d, 0xbe, 0x4a);
const QColor kRed(0xe0, 0x48, 0x48);
const QColor kYellow(0xff, 0xd2, 0x3f);
const QColor kBlue(0x3c, 0x8d, 0xf0);
const QColor kGrey(0x9a, 0xa5, 0xb0);
const QColor kWhite(0xff, 0xff, 0xff);
const QColor kDark(0x2e, 0x3a, 0x47);

// --- building blocks ---------------------------------------------------------

// The messenger flower: eight round petals around a yellow centre.
void flower(Painter &p, const QColor &petal, int highlight = -1, const QColor &hl = {},
            const QColor &centre = kYellow)
{
    for (int i = 0; i < 8; ++i) {
        const double a = (i * 45.0 - 90.0) * std::numbers::pi / 180.0;
        const QColor c = i == highlight ? hl : petal;
        shape(p, circle(8 + 4.3 * std::cos(a), 8 + 4.3 * std::sin(a), 2.7), c);
    }
    shape(p, circle(8, 8, 2.6), centre);
}

// A round badge in the lower right corner with a white symbol on it.
void badge(Painter &p, const QColor &c, const Draw &symbol)
{
    shape(p, circle(11.3, 11.3, 4.4), kWhite, 0);
    shape(p, circle(11.3, 11.3, 3.7), c, 0.8);
    symbol(p);
}

const QPointF kBadge(11.3, 11.3);

void clockSymbol(Painter &p)
{
    line(p, kBadge, kBadge + QPointF(0, -2.3), kWhite, 1.0);
    line(p, kBadge, kBadge + QPointF(1.7, 0.3), kWhite, 1.0);
}
void minusSymbol(Painter &p) { line(p, kBadge + QPointF(-2, 0), kBadge + QPointF(2, 0), kWhite, 1.4); }
void dotSymbol(Painter &p) { shape(p, circle(kBadge.x(), kBadge.y(), 1.4), kWhite, 0); }
void crossSymbol(Painter &p)
{
    line(p, kBadge + QPointF(-1.6, -1.6), kBadge + QPointF(1.6, 1.6), kWhite, 1.2);
    line(p, kBadge + QPointF(-1.6, 1.6), kBadge + QPointF(1.6, -1.6), kWhite, 1.2);
}
void plusSymbol(Painter &p)
{
    line(p, kBadge + QPointF(-2, 0), kBadge + QPointF(2, 0), kWhite, 1.3);
    line(p, kBadge + QPointF(0, -2), kBadge + QPointF(0, 2), kWhite, 1.3);
}
void exclaimSymbol(Painter &p)
{
    line(p, kBadge + QPointF(0, -2.2), kBadge + QPointF(0, 0.3), kWhite, 1.2);
    shape(p, circle(kBadge.x(), kBadge.y() + 1.9, 0.7), kWhite, 0);
}
void questionSymbol(Painter &p) { text(p, QRectF(7.3, 7.3, 8, 8), QStringLiteral("?"), kWhite, 6); }
void dropSymbol(Painter &p)
{
    QPainterPath d;
    d.moveTo(kBadge + QPointF(0, -2.4));
    d.cubicTo(kBadge + QPointF(2.2, 0.2), kBadge + QPointF(1.6, 2.2), kBadge + QPointF(0, 2.2));
    d.cubicTo(kBadge + QPointF(-1.6, 2.2), kBadge + QPointF(-2.2, 0.2), kBadge + QPointF(0, -2.4));
    shape(p, d, kWhite, 0);
}
void houseSymbol(Painter &p)
{
    shape(p, poly({kBadge + QPointF(-2.4, -0.2), kBadge + QPointF(0, -2.4), kBadge + QPointF(2.4, -0.2)}), kWhite, 0);
    shape(p, rect(kBadge.x() - 1.6, kBadge.y() - 0.4, 3.2, 2.5), kWhite, 0);
}
void caseSymbol(Painter &p)
{
    shape(p, rect(kBadge.x() - 2.3, kBadge.y() - 1.0, 4.6, 3.1, 0.5), kWhite, 0);
    stroke(p, rect(kBadge.x() - 1.0, kBadge.y() - 2.2, 2.0, 1.4), kWhite, 0.7);
}
void cupSymbol(Painter &p)
{
    shape(p, rect(kBadge.x() - 2.2, kBadge.y() - 1.5, 3.4, 3.4, 0.6), kWhite, 0);
    stroke(p, ellipse(kBadge.x() + 1.5, kBadge.y() + 0.1, 1.0, 0.9), kWhite, 0.7);
}
void bubbleSymbol(Painter &p)
{
    shape(p, rect(kBadge.x() - 2.3, kBadge.y() - 1.8, 4.6, 3.0, 1.0), kWhite, 0);
    shape(p, poly({kBadge + QPointF(-1.3, 1.0), kBadge + QPointF(-1.6, 2.6), kBadge + QPointF(0.2, 1.0)}), kWhite, 0);
}
void zSymbol(Painter &p)
{
    QPainterPath z;
    z.moveTo(kBadge + QPointF(-1.6, -1.6));
    z.lineTo(kBadge + QPointF(1.6, -1.6));
    z.lineTo(kBadge + QPointF(-1.6, 1.6));
    z.lineTo(kBadge + QPointF(1.6, 1.6));
    stroke(p, z, kWhite, 1.0);
}

void statusFlower(Painter &p, const QColor &badgeColour, void (*symbol)(Painter &))
{
    flower(p, kGreen);
    badge(p, badgeColour, symbol);
}

// Head and shoulders.
void person(Painter &p, const QColor &c, double dx = 0, double scale = 1.0)
{
    QPainterPath body;
    body.moveTo(dx + 8 - 5.6 * scale, 15.2);
    body.cubicTo(dx + 8 - 5.6 * scale, 15.2 - 6.2 * scale, dx + 8 + 5.6 * scale, 15.2 - 6.2 * scale,
                 dx + 8 + 5.6 * scale, 15.2);
    body.closeSubpath();
    shape(p, body, c);
    shape(p, circle(dx + 8, 15.2 - 9.8 * scale, 3.0 * scale), c.lighter(115));
}

QPainterPath faceCircle() { return circle(8, 8, 6.6); }

void face(Painter &p, const QColor &c, int mood)  // mood: 1 smile, 0 sad, -1 angry
{
    shape(p, faceCircle(), c);
    const QColor ink = edgeOf(c).darker(150);
    shape(p, ellipse(5.8, 6.6, 0.9, 1.2), ink, 0);
    shape(p, ellipse(10.2, 6.6, 0.9, 1.2), ink, 0);
    QPainterPath mouth;
    if (mood > 0) {
        mouth.moveTo(4.6, 9.4);
        mouth.quadTo(8, 13.2, 11.4, 9.4);
    } else {
        mouth.moveTo(5, 11.8);
        mouth.quadTo(8, 9.2, 11, 11.8);
    }
    stroke(p, mouth, ink, 1.1);
    if (mood < 0) {
        line(p, {4.2, 4.2}, {7.0, 5.4}, ink, 1.0);
        line(p, {11.8, 4.2}, {9.0, 5.4}, ink, 1.0);
    }
}

void roundSign(Painter &p, const QColor &c, const QString &t)
{
    shape(p, circle(8, 8, 6.8), c);
    text(p, QRectF(0, 0, 16, 16), t, kWhite, 10);
}

void envelope(Painter &p, bool open)
{
    const QColor paper(0xff, 0xf3, 0xc9);
    const QColor edge(0xa0, 0x7b, 0x1e);
    if (open) {
        shape(p, poly({{1.5, 7}, {8, 2.2}, {14.5, 7}}), paper.darker(110), edge);
        shape(p, rect(3.5, 3.8, 9, 7), kWhite, kGrey, 0.7);
        line(p, {5, 6}, {11, 6}, kGrey, 0.7);
        line(p, {5, 8}, {10, 8}, kGrey, 0.7);
    }
    shape(p, rect(1.5, 7 - (open ? 0 : 3.2), 13, open ? 7 : 9.5, 0.8), paper, edge);
    if (open) {
        stroke(p, poly({{1.5, 7}, {8, 11.2}, {14.5, 7}}), edge, 0.8);
    } else {
        QPainterPath flap;
        flap.moveTo(1.8, 4.2);
        flap.lineTo(8, 9.2);
        flap.lineTo(14.2, 4.2);
        stroke(p, flap, edge, 0.9);
    }
}

void folder(Painter &p, bool open)
{
    const QColor c(0xf2, 0xc1, 0x4e);
    shape(p, poly({{1.5, 3}, {6, 3}, {7.5, 4.8}, {14.5, 4.8}, {14.5, 13.5}, {1.5, 13.5}}), c.darker(115));
    if (open)
        shape(p, poly({{3.8, 7}, {15.5, 7}, {13.4, 13.5}, {1.5, 13.5}}), c);
    else
        shape(p, rect(1.5, 6.3, 13, 7.2, 0.6), c);
}

void eye(Painter &p)
{
    QPainterPath e;
    e.moveTo(1, 8);
    e.quadTo(8, 1.2, 15, 8);
    e.quadTo(8, 14.8, 1, 8);
    shape(p, e, kWhite, kDark, 1.0);
    shape(p, circle(8, 8, 2.9), QColor(0x3c, 0x8d, 0xf0));
    shape(p, circle(8, 8, 1.3), kDark, 0);
}

void slash(Painter &p) { line(p, {2.5, 13.5}, {13.5, 2.5}, QColor(0xd9, 0x37, 0x2b), 1.8); }

void battery(Painter &p, int level)
{
    const QColor edge(0x7d, 0x89, 0x96);
    shape(p, rect(1.5, 4.5, 12, 7, 1.0), QColor(0xf4, 0xf6, 0xf8), edge, 1.0);
    shape(p, rect(13.5, 6.5, 1.6, 3), edge, 0);
    static const QColor fills[] = {QColor(0xe0, 0x48, 0x48), QColor(0xf2, 0x9b, 0x2e), QColor(0xe8, 0xc5, 0x2a),
                                   QColor(0x7c, 0xc8, 0x3e), QColor(0x3d, 0xbe, 0x4a)};
    for (int i = 0; i < level; ++i)
        shape(p, rect(2.8 + i * 2.6, 5.8, 2.0, 4.4), fills[level], 0);
    if (level == 0)
        shape(p, rect(2.8, 5.8, 1.0, 4.4), fills[0], 0);
}

void signal(Painter &p, int level)
{
    for (int i = 0; i < 4; ++i) {
        const double h = 3 + i * 3.3;
        const QPainterPath bar = rect(1.5 + i * 3.5, 14.5 - h, 2.6, h, 0.4);
        if (i < level)
            shape(p, bar, kGreen);
        else
            shape(p, bar, QColor(0xdd, 0xe2, 0xe7), kGrey, 0.7);
    }
}

void arrows(Painter &p, const QColor &up, const QColor &down)
{
    shape(p, poly({{4.5, 1}, {8.6, 6}, {6, 6}, {6, 14}, {3, 14}, {3, 6}, {0.4, 6}}), up);
    shape(p, poly({{11.5, 15}, {15.6, 10}, {13, 10}, {13, 2}, {10, 2}, {10, 10}, {7.4, 10}}), down);
}

void wifi(Painter &p, const QColor &c)
{
    for (int i = 0; i < 3; ++i) {
        const double r = 3.2 + i * 3.6;
        QPainterPath arc;
        arc.arcMoveTo(QRectF(8 - r, 13.5 - r, 2 * r, 2 * r), 45);
        arc.arcTo(QRectF(8 - r, 13.5 - r, 2 * r, 2 * r), 45, 90);
        stroke(p, arc, edgeOf(c), 2.6);
        stroke(p, arc, c, 1.6);
    }
    shape(p, circle(8, 13.3, 1.5), c);
}

void speaker(Painter &p)
{
    shape(p, poly({{1.5, 6}, {4.5, 6}, {8.5, 2.5}, {8.5, 13.5}, {4.5, 10}, {1.5, 10}}), QColor(0x7d, 0x8b, 0x9b));
}

void checkMark(Painter &p, double dx, const QColor &c, double w = 1.8)
{
    QPainterPath m;
    m.moveTo(dx + 3.2, 8.4);
    m.lineTo(dx + 6.4, 11.6);
    m.lineTo(dx + 12.8, 4.6);
    stroke(p, m, c, w);
}

void star(Painter &p, const QColor &c)
{
    QPolygonF s;
    for (int i = 0; i < 10; ++i) {
        const double a = (i * 36.0 - 90.0) * std::numbers::pi / 180.0;
        const double r = i % 2 ? 3.0 : 7.2;
        s << QPointF(8 + r * std::cos(a), 8.6 + r * std::sin(a));
    }
    QPainterPath path;
    path.addPolygon(s);
    path.closeSubpath();
    shape(p, path, c);
}

void gear(Painter &p)
{
    QPainterPath g;
    QPolygonF teeth;
    for (int i = 0; i < 32; ++i) {
        const double a = (i * 360.0 / 32 + 5.6) * std::numbers::pi / 180.0;
        const double r = (i / 2) % 2 ? 5.0 : 7.0;
        teeth << QPointF(8 + r * std::cos(a), 8 + r * std::sin(a));
    }
    g.addPolygon(teeth);
    g.closeSubpath();
    g = g.subtracted(circle(8, 8, 2.2));
    shape(p, g, QColor(0x8a, 0x97, 0xa6));
}

// --- the sheet's rows ----------------------------------------------------------
struct Icon {
    const char *name;
    Draw draw;
};

const std::array<Icon, kIconRows> &icons()
{
    static const std::array<Icon, kIconRows> list = {{
        // 0-3: the rows the preview uses for contacts, the title line and accounts.
        {"online", [](Painter &p) { flower(p, kGreen); }},
        {"Zelkor (title line, chat header)",
         [](Painter &p) {
             QPainterPath b = rect(0.8, 1.2, 14.4, 10.6, 3.2);
             b = b.united(poly({{3.4, 10.5}, {2.6, 15.2}, {7.6, 10.5}}));
             shape(p, b, kBlue);
             QPainterPath z;
             z.moveTo(5, 4);
             z.lineTo(11, 4);
             z.lineTo(5, 9);
             z.lineTo(11, 9);
             stroke(p, z, kWhite, 1.6);
         }},
        {"account", [](Painter &p) { person(p, QColor(0x3f, 0x7f, 0xd0)); }},
        {"account (second network)", [](Painter &p) { person(p, QColor(0xe0, 0x8a, 0x2e)); }},
        // 4-19: statuses.
        {"offline", [](Painter &p) { flower(p, kRed); }},
        {"away", [](Painter &p) { statusFlower(p, QColor(0xf0, 0xa8, 0x1c), clockSymbol); }},
        {"not available", [](Painter &p) { statusFlower(p, QColor(0x7d, 0x89, 0x96), clockSymbol); }},
        {"occupied", [](Painter &p) { statusFlower(p, QColor(0xd9, 0x37, 0x2b), dotSymbol); }},
        {"do not disturb", [](Painter &p) { statusFlower(p, QColor(0xd9, 0x37, 0x2b), minusSymbol); }},
        {"free for chat", [](Painter &p) { statusFlower(p, QColor(0x2f, 0xa8, 0x4f), bubbleSymbol); }},
        {"invisible",
         [](Painter &p) { flower(p, QColor(0xe4, 0xec, 0xf2), -1, {}, QColor(0xf6, 0xf6, 0xf0)); }},
        {"evil", [](Painter &p) { statusFlower(p, QColor(0x7b, 0x3f, 0xb5), exclaimSymbol); }},
        {"depression", [](Painter &p) { statusFlower(p, QColor(0x3c, 0x78, 0xc8), dropSymbol); }},
        {"at home", [](Painter &p) { statusFlower(p, QColor(0x1f, 0x9e, 0x8f), houseSymbol); }},
        {"at work", [](Painter &p) { statusFlower(p, QColor(0x8d, 0x5a, 0x2b), caseSymbol); }},
        {"out to lunch", [](Painter &p) { statusFlower(p, QColor(0xe8, 0x74, 0x2a), cupSymbol); }},
        {"connecting 1", [](Painter &p) { flower(p, kGrey, 0, kGreen); }},
        {"connecting 2", [](Painter &p) { flower(p, kGrey, 3, kGreen); }},
        {"connecting 3", [](Painter &p) { flower(p, kGrey, 6, kGreen); }},
        {"not in list",
         [](Painter &p) {
             flower(p, kGrey);
             badge(p, QColor(0x3c, 0x78, 0xc8), questionSymbol);
         }},
        // 20-51: x-statuses.
        {"x: coffee",
         [](Painter &p) {
             for (double x : {5.5, 8.5})
                 stroke(p, [&] { QPainterPath s; s.moveTo(x, 4.5); s.cubicTo(x - 1.3, 3.4, x + 1.3, 2.2, x, 0.8); return s; }(), kGrey, 0.9);
             QPainterPath cup;
             cup.moveTo(2.5, 6);
             cup.lineTo(12, 6);
             cup.lineTo(11, 12.5);
             cup.quadTo(7.25, 14, 3.5, 12.5);
             cup.closeSubpath();
             stroke(p, ellipse(12, 8.8, 2.3, 2.0), QColor(0x6b, 0x4a, 0x2e), 1.3);
             shape(p, cup, kWhite, QColor(0x6b, 0x4a, 0x2e));
             shape(p, ellipse(7.25, 6.5, 4.2, 0.9), QColor(0x7a, 0x4a, 0x21), 0);
             line(p, {1.5, 14.6}, {13.5, 14.6}, QColor(0x6b, 0x4a, 0x2e), 1.0);
         }},
        {"x: music",
         [](Painter &p) {
             const QColor c(0x3a, 0x5b, 0xd9);
             shape(p, poly({{6.2, 3.6}, {14, 1.6}, {14, 4.4}, {6.2, 6.4}}), c);
             line(p, {6.6, 4}, {6.6, 12.2}, c, 1.2);
             line(p, {13.6, 2.2}, {13.6, 10.6}, c, 1.2);
             shape(p, ellipse(4.8, 12.6, 2.4, 1.8), c);
             shape(p, ellipse(11.8, 11.0, 2.4, 1.8), c);
         }},
        {"x: phone",
         [](Painter &p) {
             QPainterPath h;
             h.moveTo(3.5, 3.2);
             h.cubicTo(1.4, 8.2, 7.8, 14.6, 12.8, 12.5);
             const QColor c(0x2f, 0xa8, 0x4f);
             stroke(p, h, edgeOf(c), 4.4);
             stroke(p, h, c, 2.6);
             shape(p, rect(1.4, 1.6, 4.4, 3.6, 1.2), c);
             shape(p, rect(10.8, 10.8, 3.6, 4.4, 1.2), c);
         }},
        {"x: love",
         [](Painter &p) {
             QPainterPath h;
             h.moveTo(8, 14.5);
             h.cubicTo(-2.5, 7.5, 2.5, -0.5, 8, 4.6);
             h.cubicTo(13.5, -0.5, 18.5, 7.5, 8, 14.5);
             shape(p, h, QColor(0xe0, 0x3a, 0x4e));
         }},
        {"x: star", [](Painter &p) { star(p, QColor(0xf5, 0xb8, 0x2e)); }},
        {"x: beer",
         [](Painter &p) {
             const QColor amber(0xf2, 0xa4, 0x3a);
             stroke(p, rect(10.5, 6.5, 3.5, 5, 1.5), amber.darker(160), 1.4);
             shape(p, rect(2.5, 4.5, 8.6, 10, 1.0), amber);
             shape(p, rect(2, 1.8, 9.6, 4, 2.0), kWhite, kGrey, 0.8);
         }},
        {"x: pizza",
         [](Painter &p) {
             shape(p, poly({{1.6, 3.4}, {14.4, 3.4}, {8, 15}}), QColor(0xf6, 0xd1, 0x5a));
             shape(p, rect(1.2, 1.4, 13.6, 2.8, 1.4), QColor(0xd9, 0x9a, 0x4a));
             for (auto pt : {QPointF(6, 6.4), QPointF(10, 7), QPointF(8, 10.4)})
                 shape(p, circle(pt.x(), pt.y(), 1.2), QColor(0xd2, 0x3b, 0x2e), 0);
         }},
        {"x: games",
         [](Painter &p) {
             QPainterPath b = rect(1, 4.5, 14, 7.5, 3.6);
             b = b.united(circle(4, 11.2, 2.6)).united(circle(12, 11.2, 2.6));
             shape(p, b, QColor(0x4b, 0x55, 0x63));
             line(p, {3.2, 8.2}, {6.2, 8.2}, kWhite, 1.1);
             line(p, {4.7, 6.7}, {4.7, 9.7}, kWhite, 1.1);
             shape(p, circle(10.8, 7.4, 1.0), kRed, 0);
             shape(p, circle(12.8, 9.0, 1.0), kGreen, 0);
         }},
        {"x: reading",
         [](Painter &p) {
             shape(p, rect(3, 1.5, 10.5, 13, 0.8), QColor(0x3f, 0x6f, 0xb8));
             shape(p, rect(11.2, 2.6, 1.6, 10.8), kWhite, 0);
             line(p, {4.6, 2}, {4.6, 14}, QColor(0x2a, 0x4d, 0x85), 1.0);
             line(p, {6.5, 5}, {10, 5}, kWhite, 0.8);
         }},
        {"x: driving",
         [](Painter &p) {
             const QColor c(0xd6, 0x45, 0x41);
             shape(p, poly({{4, 4.5}, {11, 4.5}, {13.2, 8}, {2.8, 8}}), c);
             shape(p, poly({{5, 5.6}, {10.4, 5.6}, {11.6, 7.8}, {4.2, 7.8}}), QColor(0xbf, 0xe3, 0xfa), 0);
             shape(p, rect(1, 7.6, 14, 4.4, 1.4), c);
             shape(p, circle(4.5, 12.3, 1.9), kDark);
             shape(p, circle(11.5, 12.3, 1.9), kDark);
         }},
        {"x: sunny",
         [](Painter &p) {
             const QColor c(0xf7, 0xc5, 0x31);
             for (int i = 0; i < 8; ++i) {
                 const double a = i * std::numbers::pi / 4;
                 line(p, {8 + 4.8 * std::cos(a), 8 + 4.8 * std::sin(a)}, {8 + 7 * std::cos(a), 8 + 7 * std::sin(a)},
                      c.darker(115), 1.4);
             }
             shape(p, circle(8, 8, 3.6), c);
         }},
        {"x: night",
         [](Painter &p) {
             const QPainterPath m = circle(8, 8, 6.4).subtracted(circle(11.6, 5.4, 5.4));
             shape(p, m, QColor(0xf2, 0xd0, 0x5a));
         }},
        {"x: sleeping",
         [](Painter &p) {
             const QColor c(0x5c, 0x7c, 0xfa);
             auto zee = [&](double x, double y, double s, double w) {
                 QPainterPath z;
                 z.moveTo(x, y);
                 z.lineTo(x + s, y);
                 z.lineTo(x, y + s);
                 z.lineTo(x + s, y + s);
                 stroke(p, z, c, w);
             };
             zee(1.5, 7, 6.5, 1.8);
             zee(9.5, 2, 4.5, 1.4);
         }},
        {"x: working at the computer",
         [](Painter &p) {
             shape(p, rect(2.8, 2.5, 10.4, 7.6, 0.8), kDark);
             shape(p, rect(4, 3.7, 8, 5.2), QColor(0x6f, 0xb6, 0xf5), 0);
             shape(p, poly({{2.4, 10.8}, {13.6, 10.8}, {15.2, 13.6}, {0.8, 13.6}}), QColor(0xb8, 0xc2, 0xcc));
         }},
        {"x: photo",
         [](Painter &p) {
             shape(p, rect(5, 2.6, 5, 2.6, 0.6), QColor(0x4a, 0x58, 0x68));
             shape(p, rect(1.2, 4.4, 13.6, 9.6, 1.4), QColor(0x4a, 0x58, 0x68));
             shape(p, circle(8, 9.2, 3.2), QColor(0xd8, 0xe2, 0xec));
             shape(p, circle(8, 9.2, 1.7), QColor(0x3c, 0x8d, 0xf0), 0);
         }},
        {"x: cinema",
         [](Painter &p) {
             shape(p, rect(1.5, 6.5, 13, 8, 0.6), kDark);
             shape(p, poly({{1.2, 3.6}, {13.8, 1.4}, {14.3, 4.2}, {1.7, 6.4}}), kWhite, kDark);
             for (double x : {4.0, 7.6, 11.2})
                 shape(p, poly({{x, 3.1}, {x + 1.6, 2.8}, {x + 1.0, 5.6}, {x - 0.6, 5.9}}), kDark, 0);
         }},
        {"x: shopping",
         [](Painter &p) {
             const QColor c(0xe8, 0x5d, 0x9a);
             stroke(p, [] { QPainterPath h; h.moveTo(5.4, 6.5); h.cubicTo(5.4, 1.2, 10.6, 1.2, 10.6, 6.5); return h; }(),
                    c.darker(160), 1.2);
             shape(p, poly({{2.6, 5.2}, {13.4, 5.2}, {14.4, 14.6}, {1.6, 14.6}}), c);
         }},
        {"x: happy", [](Painter &p) { face(p, QColor(0xff, 0xd4, 0x3b), 1); }},
        {"x: sad", [](Painter &p) { face(p, QColor(0xff, 0xd4, 0x3b), 0); }},
        {"x: angry", [](Painter &p) { face(p, QColor(0xf0, 0x64, 0x3c), -1); }},
        {"x: thinking", [](Painter &p) { roundSign(p, QColor(0x3c, 0x78, 0xc8), QStringLiteral("?")); }},
        {"x: urgent", [](Painter &p) { roundSign(p, QColor(0xf0, 0x8c, 0x1e), QStringLiteral("!")); }},
        {"x: at home",
         [](Painter &p) {
             shape(p, rect(3, 7, 10, 7.5), QColor(0xf1, 0xe2, 0xc4));
             shape(p, poly({{1, 7.8}, {8, 1.5}, {15, 7.8}}), QColor(0xd6, 0x45, 0x41));
             shape(p, rect(6.8, 10, 2.6, 4.5), QColor(0x8d, 0x5a, 0x2b), 0);
         }},
        {"x: business",
         [](Painter &p) {
             stroke(p, rect(5.5, 2.4, 5, 3.2, 1.0), QColor(0x5a, 0x38, 0x1a), 1.3);
             shape(p, rect(1.2, 5, 13.6, 9.2, 1.2), QColor(0x8d, 0x5a, 0x2b));
             line(p, {1.6, 9}, {14.4, 9}, QColor(0x5a, 0x38, 0x1a), 0.8);
         }},
        {"x: cloudy",
         [](Painter &p) {
             QPainterPath c = circle(5.5, 9.5, 3.4).united(circle(9.5, 7, 4.2)).united(circle(12.2, 10.4, 2.8));
             c = c.united(rect(5.5, 9.5, 6.7, 3.7));
             shape(p, c, QColor(0xc9, 0xd8, 0xe8));
         }},
        {"x: rain",
         [](Painter &p) {
             const QColor c(0x7b, 0x4f, 0xd0);
             const QColor handle(0xa8, 0x72, 0x3c);
             line(p, {8, 7}, {8, 13}, handle, 1.3);
             stroke(p, [] { QPainterPath h; h.moveTo(8, 13); h.quadTo(8, 15, 6, 14.2); return h; }(), handle, 1.3);
             QPainterPath u;
             u.moveTo(1, 8);
             u.cubicTo(1, 0.5, 15, 0.5, 15, 8);
             u.closeSubpath();
             shape(p, u, c);
         }},
        {"x: sport",
         [](Painter &p) {
             shape(p, circle(8, 8, 6.8), kWhite, kDark, 1.0);
             QPolygonF pent;
             for (int i = 0; i < 5; ++i) {
                 const double a = (i * 72.0 - 90.0) * std::numbers::pi / 180.0;
                 pent << QPointF(8 + 2.6 * std::cos(a), 8 + 2.6 * std::sin(a));
             }
             QPainterPath pp;
             pp.addPolygon(pent);
             pp.closeSubpath();
             shape(p, pp, kDark, 0);
             for (const QPointF &v : pent)
                 line(p, v, QPointF(8, 8) + (v - QPointF(8, 8)) * 2.5, kDark, 0.9);
         }},
        {"x: gift",
         [](Painter &p) {
             const QColor red(0xd6, 0x45, 0x41), gold(0xf5, 0xc5, 0x31);
             shape(p, rect(2, 6.5, 12, 8, 0.6), red);
             shape(p, rect(1.4, 4.6, 13.2, 2.6, 0.6), red.lighter(110));
             shape(p, rect(7, 4.6, 2, 9.9), gold, 0);
             shape(p, ellipse(5.6, 3.2, 2.4, 1.5), gold);
             shape(p, ellipse(10.4, 3.2, 2.4, 1.5), gold);
         }},
        {"x: busy",
         [](Painter &p) {
             shape(p, circle(8, 8, 6.8), kWhite, QColor(0x3c, 0x78, 0xc8), 1.6);
             line(p, {8, 8}, {8, 3.8}, kDark, 1.2);
             line(p, {8, 8}, {11, 9.6}, kDark, 1.2);
         }},
        {"x: writing",
         [](Painter &p) {
             p.save();
             p.translate(8, 8);
             p.rotate(45);
             shape(p, rect(-2, -7.4, 4, 10.6), QColor(0xf5, 0xc5, 0x31));
             shape(p, rect(-2, -7.8, 4, 2, 0.6), QColor(0xe8, 0x8a, 0x9a));
             shape(p, poly({{-2, 3.2}, {2, 3.2}, {0, 7.4}}), QColor(0xf1, 0xe2, 0xc4));
             shape(p, poly({{-0.7, 6.0}, {0.7, 6.0}, {0, 7.4}}), kDark, 0);
             p.restore();
         }},
        {"x: travelling",
         [](Painter &p) {
             shape(p, circle(8, 8, 6.8), QColor(0x3c, 0x8d, 0xf0));
             const QColor land(0x4c, 0xb0, 0x50);
             shape(p, ellipse(5.6, 6, 2.6, 2.0), land, 0);
             shape(p, ellipse(10.4, 10.4, 2.4, 2.8), land, 0);
             stroke(p, ellipse(8, 8, 3, 6.8), QColor(255, 255, 255, 150), 0.6);
         }},
        {"x: watching TV",
         [](Painter &p) {
             const QColor body(0x5b, 0x66, 0x75);
             line(p, {8, 4.6}, {5, 1.2}, body, 0.9);
             line(p, {8, 4.6}, {11, 1.2}, body, 0.9);
             shape(p, rect(1.2, 4.4, 13.6, 9.4, 1.4), body);
             shape(p, rect(2.6, 5.8, 10.8, 6.6, 0.6), QColor(0x6f, 0xb6, 0xf5), 0);
             line(p, {5, 14.6}, {11, 14.6}, body, 1.0);
         }},
        // 52-75: messages, contacts and commands.
        {"message", [](Painter &p) { envelope(p, false); }},
        {"message read", [](Painter &p) { envelope(p, true); }},
        {"typing",
         [](Painter &p) {
             QPainterPath b = rect(0.8, 2.2, 14.4, 9.8, 3.6);
             b = b.united(poly({{10, 11}, {13, 15}, {12.4, 10.4}}));
             shape(p, b, QColor(0x5b, 0x8d, 0xef));
             for (double x : {4.6, 8.0, 11.4})
                 shape(p, circle(x, 7.1, 1.2), kWhite, 0);
         }},
        {"authorization request",
         [](Painter &p) {
             const QColor gold(0xe8, 0xb8, 0x2e);
             shape(p, poly({{6.8, 8.2}, {14.6, 13.6}, {13.6, 15}, {12.2, 14}, {11.2, 15}, {10, 14.2}, {11, 13}, {5.6, 9.6}}),
                   gold);
             shape(p, circle(5, 6, 4.2).subtracted(circle(4, 5, 1.3)), gold);
         }},
        {"authorized",
         [](Painter &p) {
             person(p, QColor(0x3f, 0x7f, 0xd0), -1.5, 0.85);
             badge(p, QColor(0x2f, 0xa8, 0x4f), [](Painter &q) {
                 QPainterPath m;
                 m.moveTo(kBadge + QPointF(-2, 0));
                 m.lineTo(kBadge + QPointF(-0.6, 1.5));
                 m.lineTo(kBadge + QPointF(2, -1.6));
                 stroke(q, m, kWhite, 1.1);
             });
         }},
        {"contact added",
         [](Painter &p) {
             person(p, QColor(0x3f, 0x7f, 0xd0), -1.5, 0.85);
             badge(p, QColor(0x2f, 0xa8, 0x4f), plusSymbol);
         }},
        {"contact removed",
         [](Painter &p) {
             person(p, QColor(0x3f, 0x7f, 0xd0), -1.5, 0.85);
             badge(p, QColor(0xd9, 0x37, 0x2b), crossSymbol);
         }},
        {"group (closed)", [](Painter &p) { folder(p, false); }},
        {"group (open)", [](Painter &p) { folder(p, true); }},
        {"visible list", [](Painter &p) { eye(p); }},
        {"invisible list",
         [](Painter &p) {
             eye(p);
             slash(p);
         }},
        {"ignore list",
         [](Painter &p) {
             shape(p, circle(8, 8, 6.8), QColor(0xd9, 0x37, 0x2b));
             shape(p, rect(3.4, 6.6, 9.2, 2.8, 0.6), kWhite, 0);
         }},
        {"birthday",
         [](Painter &p) {
             shape(p, rect(2, 8.6, 12, 5.8, 1.0), QColor(0x9c, 0x6b, 0x43));
             shape(p, rect(2, 8.6, 12, 2.2, 1.0), QColor(0xf5, 0xa8, 0xc8), 0);
             shape(p, rect(7.2, 3.6, 1.6, 5), QColor(0x6f, 0xb6, 0xf5));
             shape(p, ellipse(8, 2.3, 1.1, 1.7), QColor(0xf7, 0xa5, 0x31), 0);
         }},
        {"file transfer",
         [](Painter &p) {
             shape(p, poly({{1.5, 10}, {4, 10}, {4, 12.4}, {12, 12.4}, {12, 10}, {14.5, 10}, {14.5, 14.8}, {1.5, 14.8}}),
                   QColor(0x8a, 0x97, 0xa6));
             shape(p, poly({{6.4, 1}, {9.6, 1}, {9.6, 6}, {12.4, 6}, {8, 11}, {3.6, 6}, {6.4, 6}}), kGreen);
         }},
        {"SMS",
         [](Painter &p) {
             shape(p, rect(1.5, 3.5, 6.5, 11.5, 1.2), kDark);
             shape(p, rect(2.6, 5, 4.3, 4.4), QColor(0x6f, 0xb6, 0xf5), 0);
             QPainterPath b = rect(7.4, 1, 8, 5.6, 1.8);
             b = b.united(poly({{9, 6}, {8.6, 8.6}, {11, 6}}));
             shape(p, b, kWhite, kDark, 0.8);
         }},
        {"settings", [](Painter &p) { gear(p); }},
        {"search",
         [](Painter &p) {
             line(p, {9.8, 9.8}, {14.4, 14.4}, QColor(0x5a, 0x38, 0x1a), 2.6);
             shape(p, circle(6.4, 6.4, 4.8), QColor(0xd6, 0xec, 0xfb), kDark, 1.4);
         }},
        {"history",
         [](Painter &p) {
             shape(p, rect(2, 1, 10, 13.6, 0.8), kWhite, kDark, 0.9);
             for (double y : {4.0, 6.4, 8.8})
                 line(p, {4, y}, {10, y}, kGrey, 0.8);
             badge(p, QColor(0x3c, 0x78, 0xc8), clockSymbol);
         }},
        {"information", [](Painter &p) { roundSign(p, QColor(0x3c, 0x78, 0xc8), QStringLiteral("i")); }},
        {"warning",
         [](Painter &p) {
             QPainterPath t;
             t.moveTo(8, 1.2);
             t.lineTo(15, 14.4);
             t.lineTo(1, 14.4);
             t.closeSubpath();
             shape(p, t, QColor(0xf5, 0xc5, 0x31));
             line(p, {8, 5.6}, {8, 9.8}, kDark, 1.5);
             shape(p, circle(8, 12.2, 0.9), kDark, 0);
         }},
        {"OK",
         [](Painter &p) {
             shape(p, circle(8, 8, 6.8), QColor(0x2f, 0xa8, 0x4f));
             checkMark(p, 0, kWhite);
         }},
        {"cancel",
         [](Painter &p) {
             shape(p, circle(8, 8, 6.8), QColor(0xd9, 0x37, 0x2b));
             line(p, {5.2, 5.2}, {10.8, 10.8}, kWhite, 1.8);
             line(p, {5.2, 10.8}, {10.8, 5.2}, kWhite, 1.8);
         }},
        {"add",
         [](Painter &p) {
             shape(p, poly({{6, 1.5}, {10, 1.5}, {10, 6}, {14.5, 6}, {14.5, 10}, {10, 10}, {10, 14.5}, {6, 14.5},
                            {6, 10}, {1.5, 10}, {1.5, 6}, {6, 6}}),
                   kGreen);
         }},
        {"remove", [](Painter &p) { shape(p, rect(1.5, 6, 13, 4, 0.8), kRed); }},
        // 76-95: the phone's indicators; 86 and 88 sit at the right of the
        // title line, 94 in the contact list's status line.
        {"battery empty", [](Painter &p) { battery(p, 0); }},
        {"battery 1/4", [](Painter &p) { battery(p, 1); }},
        {"battery 2/4", [](Painter &p) { battery(p, 2); }},
        {"battery 3/4", [](Painter &p) { battery(p, 3); }},
        {"battery full", [](Painter &p) { battery(p, 4); }},
        {"no signal", [](Painter &p) { signal(p, 0); }},
        {"signal 1/4", [](Painter &p) { signal(p, 1); }},
        {"signal 2/4", [](Painter &p) { signal(p, 2); }},
        {"signal 3/4", [](Painter &p) { signal(p, 3); }},
        {"signal full", [](Painter &p) { signal(p, 4); }},
        {"connection: data (title line, large sheet)",
         [](Painter &p) { arrows(p, kGreen, QColor(0x3c, 0x8d, 0xf0)); }},
        {"connection: data off",
         [](Painter &p) {
             arrows(p, kGrey, kGrey);
             slash(p);
         }},
        {"connection: Wi-Fi (title line, small sheet)", [](Painter &p) { wifi(p, QColor(0x4c, 0xd9, 0x64)); }},
        {"connection: Wi-Fi off",
         [](Painter &p) {
             wifi(p, kGrey);
             slash(p);
         }},
        {"sound on",
         [](Painter &p) {
             speaker(p);
             for (double r : {2.6, 5.0}) {
                 QPainterPath a;
                 a.arcMoveTo(QRectF(8.5 - r, 8 - r, 2 * r, 2 * r), -45);
                 a.arcTo(QRectF(8.5 - r, 8 - r, 2 * r, 2 * r), -45, 90);
                 stroke(p, a, QColor(0x3c, 0x8d, 0xf0), 1.3);
             }
         }},
        {"sound off",
         [](Painter &p) {
             speaker(p);
             line(p, {10.2, 5.6}, {14.6, 10.4}, kRed, 1.5);
             line(p, {10.2, 10.4}, {14.6, 5.6}, kRed, 1.5);
         }},
        {"vibration",
         [](Painter &p) {
             shape(p, rect(4.8, 1.2, 6.4, 13.6, 1.4), kDark);
             shape(p, rect(5.8, 2.8, 4.4, 8.4), QColor(0x6f, 0xb6, 0xf5), 0);
             for (double x : {1.0, 13.0}) {
                 QPainterPath z;
                 z.moveTo(x + 1, 4);
                 z.lineTo(x, 6);
                 z.lineTo(x + 2, 8);
                 z.lineTo(x, 10);
                 z.lineTo(x + 1, 12);
                 stroke(p, z, QColor(0xf0, 0x8c, 0x1e), 1.0);
             }
         }},
        {"keys locked",
         [](Painter &p) {
             stroke(p, [] { QPainterPath s; s.moveTo(4.8, 7.5); s.lineTo(4.8, 5); s.cubicTo(4.8, 0.8, 11.2, 0.8, 11.2, 5); s.lineTo(11.2, 7.5); return s; }(),
                    QColor(0x8a, 0x97, 0xa6), 1.8);
             shape(p, rect(2.4, 7, 11.2, 8, 1.2), QColor(0xe8, 0xb8, 0x2e));
             shape(p, circle(8, 10.6, 1.3), kDark, 0);
         }},
        {"own number (status line)",
         [](Painter &p) {
             shape(p, rect(0.8, 2.4, 14.4, 11.2, 1.6), kWhite, kDark, 0.9);
             shape(p, rect(1.3, 2.9, 13.4, 2.8, 1.0), QColor(0x3c, 0x8d, 0xf0), 0);
             shape(p, circle(4.9, 8.6, 1.6), kGreen, 0);
             shape(p, ellipse(4.9, 11.8, 2.4, 1.3), kGreen, 0);
             line(p, {8.6, 8}, {13, 8}, kGrey, 1.0);
             line(p, {8.6, 10.6}, {12, 10.6}, kGrey, 1.0);
         }},
        {"delivered",
         [](Painter &p) {
             checkMark(p, -2.2, QColor(0x2f, 0xa8, 0x4f), 2.0);
             checkMark(p, 2.2, QColor(0x2f, 0xa8, 0x4f), 2.0);
         }},
    }};
    return list;
}

// One cell: the icon drawn at `cellSize`, cut to a one-bit mask.
void drawCell(QImage &sheet, int row, int cellSize)
{
    QImage art(cellSize, cellSize, QImage::Format_ARGB32_Premultiplied);
    art.fill(Qt::transparent);
    {
        QPainter p(&art);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(cellSize / 16.0, cellSize / 16.0);
        icons()[row].draw(p);
    }
    art.convertTo(QImage::Format_ARGB32);  // straight alpha: the colour of a half-covered pixel
    const int top = row * cellSize;
    for (int y = 0; y < cellSize; ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(art.constScanLine(y));
        QRgb *out = reinterpret_cast<QRgb *>(sheet.scanLine(top + y));
        for (int x = 0; x < cellSize; ++x) {
            const bool opaque = qAlpha(in[x]) >= 128;
            out[x] = opaque ? (in[x] | 0xff000000u) : qRgb(0, 0, 0);
            out[cellSize + x] = opaque ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        }
    }
}

} // namespace

QImage drawIconSheet(int cellSize)
{
    QImage sheet(2 * cellSize, kIconRows * cellSize, QImage::Format_RGB32);
    sheet.fill(qRgb(255, 255, 255));
    for (int row = 0; row < kIconRows; ++row)
        drawCell(sheet, row, cellSize);
    return sheet;
}

const char *iconName(int row)
{
    if (row < 0 || row >= kIconRows)
        return "";
    return icons()[row].name;
}

} // namespace zelkor::datagen
