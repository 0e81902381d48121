// Runs the tests of the Qt window inside one QApplication.

#include <gtest/gtest.h>

#include <QApplication>
#include <QtGlobal>

#include "ui/qt/fonts.h"
#include "ui/qt/resources.h"

int main(int argc, char* argv[]) {
    // The tests never need a display; listing them for ctest runs without the
    // environment that ctest gives the tests themselves.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    heikosen::qt::initResources();
    heikosen::qt::registerFontSubstitutions();
    return RUN_ALL_TESTS();
}
