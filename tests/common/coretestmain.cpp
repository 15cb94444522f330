// GoogleTest main for the core's tests: a headless QGuiApplication only. These
// tests link the core library without Qt Widgets, which proves that the core
// needs no widget.
#include "preview/canvas.h"

#include <QGuiApplication>
#include <QImageReader>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Zelkor Skin Editor"));
    zelkor::installFontSubstitutions();
    QImageReader::setAllocationLimit(512);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
