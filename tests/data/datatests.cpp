#include "datatests.h"

#include "design/colour.h"

#include "testsupport.h"

#include "skin/converter.h"
#include "skin/profiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace zelkor::test {

QString programFile(const QString &relative)
{
    return QDir(programFolder()).filePath(relative);
}

namespace {
bool runBmconv(const QStringList &arguments, const QString &workingFolder, QString *error)
{
    QProcess bmconv;
    bmconv.setWorkingDirectory(workingFolder);
    bmconv.start(converterPath(programFolder()), arguments);
    if (!bmconv.waitForFinished(30000) || bmconv.exitStatus() != QProcess::NormalExit || bmconv.exitCode() != 0) {
        *error = QStringLiteral("bmconv %1 failed: %2 %3")
                     .arg(arguments.join(u' '), bmconv.errorString(),
                          QString::fromLocal8Bit(bmconv.readAllStandardError()));
        return false;
    }
    return true;
}
} // namespace

QImage unpackWithBmconv(const QString &skinFile, QString *error)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("unpacked.bmp"));
    if (!runBmconv({QStringLiteral("/u"), skinFile, out}, dir.path(), error))
        return {};
    QImage sheet(out);
    if (sheet.isNull())
        *error = QStringLiteral("%1 does not read as an image").arg(out);
    return sheet.convertToFormat(QImage::Format_RGB32);
}

QImage saveAndLoadWithBmconv(const QImage &sheet, const QString &depthOption, QString *error)
{
    QTemporaryDir dir;
    if (!sheet.save(dir.filePath(QStringLiteral("local.bmp")), "BMP")) {
        *error = QStringLiteral("cannot write local.bmp");
        return {};
    }
    const QString skin = dir.filePath(QStringLiteral("saved.mbm"));
    if (!runBmconv({QStringLiteral("/q"), skin, depthOption + QStringLiteral("local.bmp")}, dir.path(), error))
        return {};
    return unpackWithBmconv(skin, error);
}

QImage templateSheet(int profile)
{
    static std::map<int, std::pair<QImage, QString>> cache;
    auto it = cache.find(profile);
    if (it == cache.end()) {
        const Profile *p = profileByIndex(profile);
        QString why = QStringLiteral("no profile %1").arg(profile);
        QImage sheet = p ? unpackWithBmconv(programFile(QString::fromUtf8(p->templateName)), &why) : QImage();
        it = cache.emplace(profile, std::make_pair(sheet, sheet.isNull() ? why : QString())).first;
    }
    if (it->second.first.isNull())
        ADD_FAILURE() << "template of profile " << profile << ": " << qPrintable(it->second.second);
    return it->second.first;
}

RegionContrast contrastOn(QRgb text, const QImage &image, const QRect &region)
{
    RegionContrast result{0, 1e9, {}};
    double r = 0, g = 0, b = 0;
    int n = 0;
    const QRect clipped = region & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const QRgb px = image.pixel(x, y);
            r += qRed(px);
            g += qGreen(px);
            b += qBlue(px);
            ++n;
            const double c = design::contrastRatio(text, px);
            if (c < result.worst) {
                result.worst = c;
                result.worstAt = {x, y};
            }
        }
    }
    if (n == 0)
        return {0, 0, {}};
    const QRgb mean = qRgb(static_cast<int>(std::lround(r / n)), static_cast<int>(std::lround(g / n)),
                           static_cast<int>(std::lround(b / n)));
    result.average = design::contrastRatio(text, mean);
    return result;
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

} // namespace zelkor::test
