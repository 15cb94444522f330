#pragma once
// Where a picture is worth looking at: the centre of the part with the most
// detail, around which a crop of other proportions is placed.

#include <QImage>
#include <QPointF>
#include <QSize>

namespace zelkor::design {

// The point (in `picture`'s pixels) on which to centre the largest crop of
// `target`'s proportions: of all places that crop can take, the one holding
// the most detail (the summed lightness steps between neighbouring pixels of
// a small copy), the one nearest the centre among equals. A picture of
// `target`'s proportions, or without any detail, gives its centre.
QPointF centreOfInterest(const QImage &picture, const QSize &target);

// The same for a strip that repeats down the screen: the place whose rows
// change least from one to the next and from the last back to the first,
// so the repeats neither step nor saw; the nearest the centre among equals.
QPointF centreOfCalm(const QImage &picture, const QSize &target);

} // namespace zelkor::design
