#include "app/qt/first_frame.h"

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>
#include <utility>

#include "app/first_frame_report.h"

namespace {

// Watches the paints that an object sees (a window's own, or with the
// application every window's) for the first one on screen.
class FirstFrameWatch final : public QObject {
  public:
    FirstFrameWatch(QObject& watched, std::function<void()> then)
        : QObject(&watched), then_(std::move(then)) {
        watched.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType()) {
            const QWindow* window = static_cast<QWidget*>(watched)->window()->windowHandle();
            if (window != nullptr && window->isExposed()) {
                seen_ = true;
                // The frame reaches the window system when this round of painting
                // ends: the next turn of the event loop comes after it.
                QMetaObject::invokeMethod(this, &FirstFrameWatch::seen, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void seen() {
        parent()->removeEventFilter(this);
        then_();
        deleteLater();
    }

    std::function<void()> then_;
    bool seen_ = false;
};

}  // namespace

namespace heikosen::app {

void afterFirstFrame(QObject& watched, std::function<void()> then) {
    new FirstFrameWatch(watched, std::move(then));
}

void installFirstFrameReporter() {
    if (qEnvironmentVariableIntValue("HEIKOSEN_REPORT_FIRST_FRAME") != 1) {
        return;
    }
    const bool quit = qEnvironmentVariableIntValue("HEIKOSEN_EXIT_AFTER_FIRST_FRAME") == 1;
    afterFirstFrame(*QCoreApplication::instance(), [quit] {
        printFirstFrameReport();
        if (quit) {
            QCoreApplication::quit();
        }
    });
}

}  // namespace heikosen::app
