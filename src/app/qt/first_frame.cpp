#include "app/qt/first_frame.h"

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

#include "app/first_frame_report.h"

namespace {

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
        heikosen::app::printFirstFrameReport();
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
