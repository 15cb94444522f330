// Справка / Руководство: the installed manual page in the desktop's help
// viewer, else the README installed beside it.
#include "tform1.h"
#include "tform1private.h"

#include "app/seams.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace zelkor {

void TForm1::N9Click()
{
    // The installed manual page in the desktop's help viewer; else the README
    // installed beside it, in whatever shows text.
    const QDir share(QDir(d->doc->programFiles().dataFolder).filePath(QStringLiteral("..")));
    for (const char *page : {"man/man1/zelkor-skin-editor.1.gz", "man/man1/zelkor-skin-editor.1"})
        if (QFileInfo::exists(share.filePath(QString::fromLatin1(page))) &&
            seams().openUrl(QUrl(QStringLiteral("man:zelkor-skin-editor(1)"))))
            return;
    const QString readme = share.filePath(QStringLiteral("doc/zelkor-skin-editor/README.md"));
    if (QFileInfo::exists(readme) && seams().openUrl(QUrl::fromLocalFile(QDir::cleanPath(readme))))
        return;
    reportError(QStringLiteral("Руководство не найдено: нет ни страницы руководства zelkor-skin-editor(1), "
                               "которую мог бы показать рабочий стол, ни файла «%1».")
                    .arg(QDir::toNativeSeparators(QDir::cleanPath(readme))));
}

} // namespace zelkor
