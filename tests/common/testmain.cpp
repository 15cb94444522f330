// GoogleTest main for the editor's tests: a headless QApplication (offscreen
// unless the caller chose a platform) with the editor's font substitutions.
#include "preview/canvas.h"

#include <QApplication>
#include <QImageReader>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelkor Skin Editor"));
    zelkor::installFontSubstitutions();
    QImageReader::setAllocationLimit(512);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
