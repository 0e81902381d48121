// Runs the tests of the Qt window inside one QApplication.

#include "support/qt_test_main.h"

int main(int argc, char* argv[]) {
    return heikosen::testing::runQtTests(argc, argv);
}
