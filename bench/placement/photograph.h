#pragma once
// A 4000 x 3000 picture with varied pixels, made once, so no step can take a
// short cut on flat colour.
#include <QImage>

inline const QImage &photograph()
{
    static const QImage photo = [] {
        QImage img(4000, 3000, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                line[x] = qRgb(x * 7 + y, y * 3, x ^ y);
        }
        return img;
    }();
    return photo;
}
