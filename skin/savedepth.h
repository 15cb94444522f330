#pragma once
// What a save at a colour depth writes, worked out in memory with the
// converter's own format library: the size of the file, and the sheet with
// its pictures smoothed ("Сглаживать картинки") for the palette depths.

#include "savename.h"

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>

namespace zelkor {

// True for the depths whose few colours smoothing helps: "/c4" and "/c8".
bool canSmooth(const QString &depthOption);

// The sheet with the nine pictures error-diffused (Floyd-Steinberg, within
// each picture) to the depth's palette; the colour row and everything outside
// the pictures keep their pixels, as the skin's colours must stay exact. The
// sheet itself for a depth that canSmooth refuses or profile 0.
QImage smoothedSheet(const QImage &sheet, int profile, const QString &depthOption);

// The bytes of the skin file that saving `sheet` at `depthOption` writes
// (one bitmap, packed and compressed as the converter does); -1 for a null
// sheet or an option the format library does not know.
std::int64_t packedFileSize(const QImage &sheet, const QString &depthOption);

// The file size of every save depth (kColourDepths order), plain and, where
// canSmooth allows, with smoothed pictures (-1 elsewhere).
struct DepthFileSizes {
    std::array<std::int64_t, kColourDepths.size()> plain{};
    std::array<std::int64_t, kColourDepths.size()> smoothed{};
};
DepthFileSizes depthFileSizes(const QImage &sheet, int profile);

// "12,3 КБ": a file size as the depth dialog shows it.
QString fileSizeText(std::int64_t bytes);

} // namespace zelkor
