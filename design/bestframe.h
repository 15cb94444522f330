#pragma once
// "Лучший кадр": where to frame a photograph in a picture of the sheet so that
// the texts over it fall on calm areas and as few as possible fall below the
// legibility threshold. The texts' ink is found once by drawing the screens;
// each candidate framing is then judged on those ink pixels alone, so a
// whole search costs little more than one measure.

#include "preview/screenimage.h"

#include <QImage>
#include <QPointF>
#include <QRect>

#include <vector>

namespace zelkor::design {

// The ink of the texts drawn over one picture, in that picture's pixels.
struct InkOnPicture {
    QRgb colour = 0;
    std::vector<QPoint> pixels;
};
std::vector<InkOnPicture> textInkOnPicture(const QImage &sheet, int profile, const IconSheets &icons, int picture);

struct FrameScore {
    int failing = 0;      // texts whose 5th-percentile contrast falls below the threshold
    double calm = 0;      // the mean of each text's contrast, capped at the threshold (higher is better)
};

// How the texts `ink` read over `placed` (the picture as it will be).
FrameScore scoreFrame(const std::vector<InkOnPicture> &ink, const QImage &placed, double minContrast);

struct BestFrame {
    QPointF focus;       // in the source's pixels
    double zoom = 1.0;
    FrameScore score;
};

// The cover framing of `source` in picture `picture` of `sheet` (focus on a
// grid over the source, zoom from 1 to `maxZoom`) with the fewest texts below
// `minContrast`, then the calmest; the unzoomed centre unless another does
// better. Judged on a reduced copy of the source: the framing's real score is
// scoreFrame on the placed picture. Deterministic.
BestFrame findBestFrame(const QImage &sheet, int profile, const IconSheets &icons, int picture, const QImage &source,
                        double minContrast, double maxZoom = 2.0);

} // namespace zelkor::design
