#include "app/qt/first_frame.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

// Time from the start of the process, from the kernel's record of it (in clock
// ticks, so to the nearest 10 ms or so).
double millisecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    const std::string content((std::istreambuf_iterator<char>(stat)),
                              std::istreambuf_iterator<char>());
    const auto close = content.rfind(')');
    if (close == std::string::npos || close + 2 >= content.size()) {
        return -1;
    }
    // After the command name come the fields from 3 on; the start is field 22.
    std::istringstream fields(content.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    const double startTicks = std::strtod(field.c_str(), nullptr);
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs =
        static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    return nowMs - startTicks * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// For measuring start-up: with HEIKOSEN_REPORT_FIRST_FRAME=1 the program tells on
// stderr when its first frame is on screen, and with
// HEIKOSEN_EXIT_AFTER_FIRST_FRAME=1 it then quits.
class FirstFrameReporter final : public QObject {
  public:
    FirstFrameReporter(bool quit, QObject* parent) : QObject(parent), quit_(quit) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType()) {
            const QWindow* window = static_cast<QWidget*>(watched)->window()->windowHandle();
            if (window != nullptr && window->isExposed()) {
                seen_ = true;
                // The frame reaches the window system when this round of painting
                // ends: report on the next turn of the event loop.
                QMetaObject::invokeMethod(this, &FirstFrameReporter::report, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void report() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::fprintf(stderr, "first frame: %.1f ms after start (monotonic %lld ns)\n",
                     millisecondsSinceProcessStart(),
                     static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(stderr);
        QCoreApplication::instance()->removeEventFilter(this);
        if (quit_) {
            QCoreApplication::quit();
        }
    }

    bool quit_;
    bool seen_ = false;
};

}  // namespace

namespace heikosen::app {

void installFirstFrameReporter() {
    if (qEnvironmentVariableIntValue("HEIKOSEN_REPORT_FIRST_FRAME") != 1) {
        return;
    }
    QCoreApplication* app = QCoreApplication::instance();
    app->installEventFilter(new FirstFrameReporter(
        qEnvironmentVariableIntValue("HEIKOSEN_EXIT_AFTER_FIRST_FRAME") == 1, app));
}

}  // namespace heikosen::app
