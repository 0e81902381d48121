#include <QCoreApplication>

#include "app/qt/first_frame.h"
#include "ui/qt/application.h"

namespace {

void reportFirstFrameWhenAsked() {
    heikosen::app::installFirstFrameReporter();
}

}  // namespace

// Runs as soon as the application object exists, before the window is made.
Q_COREAPP_STARTUP_FUNCTION(reportFirstFrameWhenAsked)

int main(int argc, char* argv[]) {
    return heikosen::qt::runApplication(argc, argv);
}
