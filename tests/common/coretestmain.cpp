// GoogleTest main for the core's tests: a headless QGuiApplication only. These
// tests link the core library without Qt Widgets, which proves that the core
// needs no widget.
#include "preview/canvas.h"

#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // CTest runs every test in a process of its own, two at a time: remembered
    // choices, recovery copies and caches of one must never reach another, so
    // each process gets a home of its own, removed when it ends.
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/zelkor-test-home-XXXXXX"));
    if (home.isValid())
        qputenv("HOME", QFile::encodeName(home.path()));
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Zelkor Skin Editor"));
    zelkor::installFontSubstitutions();
    QImageReader::setAllocationLimit(512);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
