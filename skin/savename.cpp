#include "savename.h"

#include "profiles.h"

#include <QDir>
#include <QFileInfo>

namespace zelkor {

QString depthOption(int index)
{
    if (index < 0 || index >= int(kColourDepths.size()))
        return {};
    return QString::fromLatin1(kColourDepths[index].option);
}

QString depthOptionByName(const QString &name)
{
    for (const ColourDepth &d : kColourDepths)
        if (u'/' + name == QLatin1String(d.option))
            return QString::fromLatin1(d.option);
    return {};
}

QString savePrefix(int profile)
{
    const Profile *p = profileByIndex(profile);
    return p ? QString::fromUtf8(p->savePrefix) : QString();
}

SaveTarget saveTarget(const QString &chosenPath, int profile)
{
    const QFileInfo chosen(chosenPath);
    QString name = chosen.fileName();
    // Any dot in the name counts as an extension ("a." and ".x" keep theirs).
    if (!name.contains(u'.'))
        name += QStringLiteral(".mbm");
    SaveTarget t;
    t.outputName = savePrefix(profile) + name;
    t.targetPath = chosen.dir().filePath(t.outputName);
    return t;
}

} // namespace zelkor
