#pragma once

// The start of every test program of the Qt window: Qt's offscreen platform
// unless the environment names another, one QApplication, the program's
// resources and the Japanese texts of its own dialogs, then every test.

#include <gtest/gtest.h>

#include <QApplication>
#include <QtGlobal>

#include "ui/qt/application.h"
#include "ui/qt/fonts.h"

namespace heikosen::testing {

inline int runQtTests(int argc, char* argv[]) {
    // Listing the tests for ctest runs without the environment that ctest gives
    // the tests themselves: no display is ever needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    heikosen::qt::initResources();
    heikosen::qt::installJapaneseTranslations(app);
    return RUN_ALL_TESTS();
}

}  // namespace heikosen::testing
