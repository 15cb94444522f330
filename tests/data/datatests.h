#pragma once
// Helpers for the tests of the generated data.

#include <QImage>
#include <QRect>
#include <QRgb>
#include <QString>

namespace zelkor::test {

// A file of the program folder, by its path relative to it.
QString programFile(const QString &relative);

// Unpacks a skin file with the program folder's bmconv into a temporary
// bitmap and reads it; a null image (and `error` says why) on any failure.
QImage unpackWithBmconv(const QString &skinFile, QString *error);

// WCAG relative luminance (0 black .. 1 white) and the contrast ratio of two
// colours (1 .. 21).
double luminance(QRgb c);
double contrast(QRgb a, QRgb b);
// CIE76 colour difference in CIELAB: about 2.3 is just noticeable.
double deltaE(QRgb a, QRgb b);

// What a text colour meets on a background picture region.
struct RegionContrast {
    double average;   // against the region's mean colour
    double worst;     // against its least contrasting pixel
    QPoint worstAt;
};
RegionContrast contrastOn(QRgb text, const QImage &image, const QRect &region);

// Largest difference in any channel.
int channelDistance(QRgb a, QRgb b);

} // namespace zelkor::test
