#include "programfiles.h"

#include <QDir>
#include <QFileInfo>

namespace zelkor {

QString ProgramFiles::dataPath(const QString &relative) const
{
    return QDir(dataFolder).filePath(relative);
}

ProgramFiles programFilesIn(const QString &folder)
{
    const QString abs = QDir(folder).absolutePath();
    return {abs, QDir(abs).filePath(QStringLiteral("bmconv"))};
}

ProgramFiles locateProgramFiles(const QString &applicationDir)
{
    const QDir bin(applicationDir);
    const QString share = bin.absoluteFilePath(QStringLiteral("../share/zelkor-skin-editor"));
    const QString helper = bin.absoluteFilePath(QStringLiteral("../lib/zelkor-skin-editor/bmconv"));
    if (QFileInfo(share).isDir() && QFileInfo(helper).isFile())
        return {QDir::cleanPath(share), QDir::cleanPath(helper)};
    return programFilesIn(applicationDir);
}

} // namespace zelkor
