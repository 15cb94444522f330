// GoogleTest main for the editor's tests: a headless QApplication (offscreen
// unless the caller chose a platform) with the editor's font substitutions,
// in Qt's test mode so nothing lands in the user's settings.
#include "preview/canvas.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and caches go to a test location, never the user's own.
    QStandardPaths::setTestModeEnabled(true);
    // CTest runs every test in a process of its own, two at a time: remembered
    // choices, recovery copies and caches of one must never reach another, so
    // each process gets a home of its own, removed when it ends.
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/zelkor-test-home-XXXXXX"));
    if (home.isValid())
        qputenv("HOME", QFile::encodeName(home.path()));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelkor Skin Editor"));
    QApplication::setOrganizationName(QStringLiteral("Zelkor"));  // where QSettings keeps the author's choices
    zelkor::installFontSubstitutions();
    QImageReader::setAllocationLimit(512);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
