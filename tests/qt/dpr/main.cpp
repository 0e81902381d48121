// Runs the window's tests on a screen of higher density: Qt scales everything by
// QT_SCALE_FACTOR (2 unless the environment says otherwise), which must be set
// before the application starts.

#include <gtest/gtest.h>

#include <QApplication>
#include <QtGlobal>

#include "ui/qt/fonts.h"
#include "ui/qt/resources.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) {
        qputenv("QT_SCALE_FACTOR", "2");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    heikosen::qt::initResources();
    heikosen::qt::registerFontSubstitutions();
    return RUN_ALL_TESTS();
}
