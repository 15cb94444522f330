#pragma once
// The sheet as the phone will show it: exactly the pixels that Save at a
// colour depth followed by Load gives back. The quantisation is the
// converter's own (the format library's pixel packing and unpacking), so the
// preview and the saved file can never disagree.
//
// Depths are named by the converter's depth options as the Save dialog
// passes them: "/c4", "/c8", "/c12", "/c16", "/c24" (kColourDepths in
// savename.h). A leading '/' or '-' is optional; the greyscale options
// ("/1", "/2", "/4", "/8") work too. Depths with an alpha plane do not, as
// Save never writes one.

#include "sheet.h"

#include <QImage>
#include <QString>

#include <map>

namespace zelkor {

// True for an option that sheetAtDepth understands.
bool isPreviewDepth(const QString &depthOption);

// The sheet packed at the depth and unpacked again, as Format_RGB32 of the
// same size. Null for a null sheet or an option that isPreviewDepth refuses.
QImage sheetAtDepth(const QImage &sheet, const QString &depthOption);

// The colours as they come back from a file saved at the depth; the colours
// themselves for an option that isPreviewDepth refuses.
ColourSlots coloursAtDepth(const ColourSlots &colours, const QString &depthOption);

// Keeps the quantised sheets of one true sheet, one per depth, so that a
// preview refresh costs a look-up: the quantisation runs once per change of the
// sheet (any write to it changes its QImage::cacheKey) or of the depth.
//
// The preview then draws from the returned sheet and takes its colours from
// that sheet's colour row (readColourSlots), while the colour swatches keep
// showing the true sheet's colours.
class DepthPreview {
public:
    // The sheet to draw from: `trueSheet` itself for an empty option ("as
    // is") or one that isPreviewDepth refuses, else sheetAtDepth(trueSheet,
    // depthOption), computed on the first call for this sheet and depth.
    // With `smoothProfile` (the sheet's profile) the pictures are smoothed
    // first where the depth allows it, as Save with "Сглаживать картинки" does.
    QImage sheet(const QImage &trueSheet, const QString &depthOption, int smoothProfile = 0);
    // Drops the cached sheets (e.g. when the document closes).
    void clear();

private:
    qint64 m_sheetKey = 0;
    std::map<std::pair<QString, int>, QImage> m_byDepth;  // quantised sheets of m_sheetKey, by depth and smoothing
};

} // namespace zelkor
