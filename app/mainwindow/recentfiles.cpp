// Файл / Недавние файлы: the menu follows the recent files kept in the
// preferences; a file opened or saved goes to its top.
#include "tform1.h"
#include "tform1private.h"

#include "skin/userfile.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace zelkor {

void TForm1::createRecentMenu()
{
    d->recentMenu->setToolTipsVisible(true);
    d->recentMenu->menuAction()->setToolTip(
        QStringLiteral("Открыть один из последних открытых или сохранённых скинов."));
    connect(&d->recentFiles, &RecentFiles::changed, this, [this] { fillRecentMenu(); });
    // Another editor may have added files since.
    connect(d->recentMenu, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });
    for (auto signal : {&SkinDocument::skinReplaced, &SkinDocument::fileNameChanged})
        connect(d->doc, signal, this, [this] {
            if (d->doc->hasOwnFile())
                d->recentFiles.add(d->doc->filePath());
        });
    fillRecentMenu();
}

void TForm1::keepDesktopRecentList(const QString &listPath)
{
    d->recentFiles.keepDesktopList(listPath);
}

void TForm1::fillRecentMenu()
{
    d->recentMenu->clear();
    const QStringList files = d->recentFiles.files();
    for (int i = 0; i < files.size(); ++i) {
        // "&1" .. "&9", then "1&0": a digit key picks each.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QAction *a = d->recentMenu->addAction(number + u' ' +
                                              QFileInfo(files[i]).fileName().replace(u'&', QStringLiteral("&&")));
        a->setToolTip(QDir::toNativeSeparators(files[i]));
        const QString path = files[i];
        connect(a, &QAction::triggered, this, [this, path] { openRecentFile(path); });
    }
    if (files.isEmpty())
        d->recentMenu->addAction(QStringLiteral("(пусто)"))->setEnabled(false);
}

void TForm1::openRecentFile(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        d->recentFiles.remove(path);
        const QString kind = specialFileKind(path);
        reportError((kind.isEmpty() ? QStringLiteral("Файл «%1» не найден.").arg(QDir::toNativeSeparators(path))
                                    : notAFileMessage(path, kind)) +
                    QStringLiteral(" Он убран из списка недавних файлов."));
        return;
    }
    loadSkinFile(path);
}

} // namespace zelkor
