// The floor of dragging on the desktop: the least a Qt widget of the window's
// size can do for one move of a drag. A white widget with one horizontal line,
// 4 px wide like the figure's lines, across the width of the canvas; while the
// left button is held the line follows the pointer up and down, and each move
// repaints only the strips of the line's old and new places.

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

namespace {

class DragFloor final : public QWidget {
  public:
    DragFloor() {
        setFixedSize(891, 687);
        setWindowTitle(QStringLiteral("drag floor"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::white);
        painter.fillRect(lineRect(), Qt::black);
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            moveLineTo(event->position().toPoint().y());
        }
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (event->buttons().testFlag(Qt::LeftButton)) {
            moveLineTo(event->position().toPoint().y());
        }
    }

  private:
    // The line's pixels, as the canvas's lines span its drawing area.
    QRect lineRect() const { return {10, lineY_ - 2, 802, 4}; }

    void moveLineTo(int y) {
        if (y == lineY_) {
            return;
        }
        update(lineRect());
        lineY_ = y;
        update(lineRect());
    }

    int lineY_ = 325;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    DragFloor widget;
    widget.show();
    return QApplication::exec();
}
