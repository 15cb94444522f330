#include "appicon.h"

#include "theme.h"

#include <QPainter>
#include <QPainterPath>

namespace zelkor::datagen {

namespace {

constexpr qreal kUnits = 256;

struct Shape {
    QRectF box;          // a circle when radius < 0, else a rectangle with rounded corners
    qreal radius;
    QColor fill;
    QColor stroke;       // invalid: no outline
    qreal strokeWidth;
};

const Shape kShapes[] = {
    // The phone: body, screen, title line, contact rows with one selected, key.
    {{52, 12, 136, 232}, 24, palette::barBottom, palette::barHighlight, 4},
    {{66, 38, 108, 148}, 4, palette::bodyTop, {}, 0},
    {{66, 38, 108, 28}, 4, palette::accent, {}, 0},
    {{78, 78, 80, 10}, 5, palette::chevron, {}, 0},
    {{66, 100, 108, 24}, 0, palette::selBottom, {}, 0},
    {{78, 107, 64, 10}, 5, palette::inkSoft, {}, 0},
    {{78, 136, 72, 10}, 5, palette::chevron, {}, 0},
    {{78, 158, 56, 10}, 5, palette::chevron, {}, 0},
    {{104, 200, 32, 32}, -1, palette::barHighlight, {}, 0},
    // Three drops of colour over the phone's corner: the skin's colours.
    {{140, 132, 72, 72}, -1, palette::incoming, Qt::white, 8},
    {{176, 164, 72, 72}, -1, QColor(0xe8, 0xb3, 0x3a), Qt::white, 8},
    {{130, 176, 72, 72}, -1, QColor(0x3a, 0x9a, 0x5b), Qt::white, 8},
};

QString svgColour(const QColor &c)
{
    return c.isValid() ? c.name(QColor::HexRgb) : QStringLiteral("none");
}

QString number(qreal v)
{
    return QString::number(v, 'g', 6);
}

} // namespace

QString appIconSvg()
{
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                                 "viewBox=\"0 0 256 256\">\n");
    for (const Shape &s : kShapes) {
        const QString paint = QStringLiteral(" fill=\"%1\" stroke=\"%2\" stroke-width=\"%3\"/>\n")
                                  .arg(svgColour(s.fill), svgColour(s.stroke), number(s.strokeWidth));
        if (s.radius < 0)
            svg += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\"")
                       .arg(number(s.box.center().x()), number(s.box.center().y()), number(s.box.width() / 2));
        else
            svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"")
                       .arg(number(s.box.x()), number(s.box.y()), number(s.box.width()), number(s.box.height()),
                            number(s.radius));
        svg += paint;
    }
    svg += QStringLiteral("</svg>\n");
    return svg;
}

QImage drawAppIcon(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kUnits, size / kUnits);
    for (const Shape &s : kShapes) {
        QPainterPath path;
        if (s.radius < 0)
            path.addEllipse(s.box);
        else
            path.addRoundedRect(s.box, s.radius, s.radius);
        p.fillPath(path, s.fill);
        if (s.stroke.isValid())
            p.strokePath(path, QPen(s.stroke, s.strokeWidth));
    }
    p.end();
    return icon.convertToFormat(QImage::Format_ARGB32);
}

} // namespace zelkor::datagen
