// The floor of start-up: the least a Qt program with this window can do. A
// window of the same client size, white, with one line of text in each of the
// two Japanese fonts the program uses, and nothing else. With
// HEIKOSEN_REPORT_FIRST_FRAME=1 it reports its first frame on stderr exactly as
// the program does, and with HEIKOSEN_EXIT_AFTER_FIRST_FRAME=1 it then quits.

#include "app/qt/first_frame.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QWidget>

namespace {

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
    heikosen::app::installFirstFrameReporter();
    FloorWindow window;
    window.show();
    return QApplication::exec();
}
