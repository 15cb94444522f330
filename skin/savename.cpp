#include "savename.h"

#include "profiles.h"

#include "imaging/nametable.h"

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
    const ColourDepth *d = rowByKey(kColourDepths, &ColourDepth::option, QString(u'/' + name));
    return d ? QString::fromLatin1(d->option) : QString();
}

int depthItem(const QString &option)
{
    const ColourDepth *d = rowByKey(kColourDepths, &ColourDepth::option, option);
    return d ? int(d - kColourDepths.data()) : -1;
}

int preselectedDepthItem(std::initializer_list<QString> options)
{
    for (const QString &option : options)
        if (const int item = depthItem(option); item >= 0)
            return item;
    return kDefaultColourDepth;
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
    // A name typed with the profile's prefix already (the name of the skin
    // being saved again) keeps it once.
    const QString prefix = savePrefix(profile);
    t.outputName = name.startsWith(prefix) ? name : prefix + name;
    t.targetPath = chosen.dir().filePath(t.outputName);
    return t;
}

} // namespace zelkor
