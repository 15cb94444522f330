#pragma once
// A main window holding a grey unsaved skin of the largest landscape
// profile, its program folder an empty temporary one (no message box waits).
#include "app/seams.h"
#include "tform1testaccess.h"
#include "skin/profiles.h"
#include "skin/programfiles.h"
#include "skin/skindocument.h"

#include <QDir>
#include <QTemporaryDir>

struct BenchWindow {
    QTemporaryDir folder;
    zelkor::TForm1 main{quiet(folder), QDir(folder.path()).filePath(QStringLiteral("work"))};

    BenchWindow()
    {
        const zelkor::Profile *p = zelkor::profileByIndex(6);
        QImage sheet(p->screenWidth, p->layoutRows, QImage::Format_RGB32);
        sheet.fill(Qt::gray);
        main.document().adoptUnsaved(sheet, QStringLiteral("bench.mbm"));
    }

private:
    static zelkor::ProgramFiles quiet(const QTemporaryDir &folder)
    {
        zelkor::seams().critical = [](QWidget *, const QString &, const QString &) {};
        return zelkor::programFilesIn(folder.path());
    }
};
