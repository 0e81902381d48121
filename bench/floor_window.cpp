// The floor of start-up: the least a Qt program with this window can do. A
// window of the same client size, white, with one line of text in each of the
// two Japanese fonts the program uses, and nothing else. With
// HEIKOSEN_REPORT_FIRST_FRAME=1 it reports its first frame on stderr exactly as
// the program does, and with HEIKOSEN_EXIT_AFTER_FIRST_FRAME=1 it then quits.

#include <unistd.h>
#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
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

class FloorWindow final : public QWidget {
  public:
    FloorWindow() {
        setFixedSize(891, 687);
        setWindowTitle(QStringLiteral("floor"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        gothic_ = QFont(QStringLiteral("IPAPGothic"));
        gothic_.setPixelSize(32);
        gothic_.setBold(true);
        mincho_ = QFont(QStringLiteral("IPAPMincho"));
        mincho_.setPixelSize(29);
        mincho_.setBold(true);
    }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::black);
        painter.setFont(gothic_);
        painter.drawText(QPointF(8, 40), QStringLiteral("平行線と線分の比"));
        painter.setFont(mincho_);
        painter.drawText(QPointF(8, 90), QStringLiteral("Ａ　Ｂ　Ｃ　Ｂ'　Ｃ'　Ｇ"));
    }

  private:
    QFont gothic_;
    QFont mincho_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (qEnvironmentVariableIntValue("HEIKOSEN_REPORT_FIRST_FRAME") == 1) {
        app.installEventFilter(new FirstFrameReporter(
            qEnvironmentVariableIntValue("HEIKOSEN_EXIT_AFTER_FIRST_FRAME") == 1, &app));
    }
    FloorWindow window;
    window.show();
    return QApplication::exec();
}
