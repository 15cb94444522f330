#pragma once
// The colour depth a skin file was saved at, so that a skin written again
// keeps it unless the user asks for another.

#include <QByteArray>
#include <QString>

namespace zelkor {

// The converter's depth option of the skin's bitmap ("/c8", "/c24", or a
// greyscale "/4"), read from the file's own header; empty when the file
// cannot be read as a multi-bitmap file or its depth carries an alpha plane,
// which Save never writes.
QString storedDepthOption(const QString &path);

// The multi-bitmap file in `bytes` with nothing but its header, its bitmaps
// and its trailer, laid out as the converter writes them (so a file the
// converter wrote comes back unchanged): whatever else a file carries, such
// as text appended after its end, is left out. Empty when `bytes` is no
// multi-bitmap file.
QByteArray bareSkinFile(const QByteArray &bytes);

} // namespace zelkor
