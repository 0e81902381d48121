// Runs the window's tests on a screen of higher density: Qt scales everything by
// QT_SCALE_FACTOR (2 unless the environment says otherwise), which must be set
// before the application starts.

#include "support/qt_test_main.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) {
        qputenv("QT_SCALE_FACTOR", "2");
    }
    return heikosen::testing::runQtTests(argc, argv);
}
