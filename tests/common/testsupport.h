#pragma once
// Helpers shared by the editor's tests.

#include <QByteArray>
#include <QImage>
#include <QString>

class QProcess;

namespace zelkor::test {

// A sheet in which every pixel encodes its own row and column, so a block
// copy can be checked against the source rows and columns it should take.
// Rows and columns below 4096 are encoded uniquely:
//   red = row & 0xff, green = (row >> 8) | ((column >> 8) << 4), blue = column & 0xff.
QImage coordinateSheet(int width, int height);
QRgb coordinateColour(int row, int column);
// Decodes a pixel of a coordinate sheet; false if it cannot be one (never for
// valid encodings, but lets tests say which pixel was wrong).
struct SheetCoord {
    int row;
    int column;
};
SheetCoord decodeCoordinate(QRgb pixel);

// The work folder tests give a main window whose data lies in `folder`.
QString workFolderIn(const QString &folder);

// The program folder that the build fills (editor, bmconv, data).
QString programFolder();
// The shared folder with real fixtures, or an empty string when it is absent.
QString sharedFolder();

// What a finished program said and returned; code -1 when it crashed or did
// not finish in time (the test has then failed already).
struct ProcessOutcome {
    int code;
    QString out;
    QString err;
};
ProcessOutcome finishProcess(QProcess &process, int timeoutMs);

// A file's bytes, or none when it cannot be read.
QByteArray fileBytes(const QString &path);

} // namespace zelkor::test
