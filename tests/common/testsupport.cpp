#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace zelkor::test {

QRgb coordinateColour(int row, int column)
{
    return qRgb(row & 0xff, ((row >> 8) & 0x0f) | (((column >> 8) & 0x0f) << 4), column & 0xff);
}

QImage coordinateSheet(int width, int height)
{
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = coordinateColour(y, x);
    }
    return img;
}

SheetCoord decodeCoordinate(QRgb pixel)
{
    const int g = qGreen(pixel);
    return {qRed(pixel) | ((g & 0x0f) << 8), qBlue(pixel) | ((g >> 4) << 8)};
}

QString programFolder()
{
    return QString::fromUtf8(ZELKOR_TEST_PROGRAM_DIR);
}

QString sharedFolder()
{
    const QString dir = QString::fromUtf8(ZELKOR_TEST_SHARED_DIR);
    return QDir(dir).exists() ? QDir(dir).absolutePath() : QString();
}

QString workFolderIn(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("work"));
}

ProcessOutcome finishProcess(QProcess &process, int timeoutMs)
{
    const bool finished = process.waitForFinished(timeoutMs);
    EXPECT_TRUE(finished) << process.program().toStdString() << " did not finish";
    return {process.exitStatus() == QProcess::NormalExit && finished ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace zelkor::test
