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
// Save and Load as the editor does them: the sheet written as local.bmp, packed
// by bmconv with the depth option glued to that name, and unpacked again.
QImage saveAndLoadWithBmconv(const QImage &sheet, const QString &depthOption, QString *error);

// The template skin of `profile` (1..6) from the program folder's skn/,
// unpacked once through bmconv and kept. When it cannot be had, the test
// fails with the cause and gets a null image.
QImage templateSheet(int profile);

// What a text colour meets on a background picture region, by the WCAG
// contrast of design/colour.h.
struct RegionContrast {
    double average;   // against the region's mean colour
    double worst;     // against its least contrasting pixel
    QPoint worstAt;
};
RegionContrast contrastOn(QRgb text, const QImage &image, const QRect &region);

// Largest difference in any channel.
int channelDistance(QRgb a, QRgb b);

} // namespace zelkor::test
