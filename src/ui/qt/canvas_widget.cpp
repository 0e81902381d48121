#include "ui/qt/canvas_widget.h"

#include <QBackingStore>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

#include "ui/form1.h"

namespace heikosen::qt {

namespace {

// Qt numbers the mouse buttons as the core does.
static_assert(static_cast<int>(Qt::LeftButton) == kLeftButton &&
              static_cast<int>(Qt::RightButton) == kRightButton &&
              static_cast<int>(Qt::MiddleButton) == kMiddleButton);

// The core's mask of the buttons among `held` that the canvas takes: for one
// button its number, 0 for a button the canvas ignores.
int formButtons(Qt::MouseButtons held) {
    return held.toInt() & kCanvasButtons;
}

}  // namespace

CanvasWidget::CanvasWidget(Form1& form, QWidget* parent)
    : QWidget(parent),
      form_(form),
      pointer_(form),
      strokes_(*this, toQColor(form.gamen.BackColor)),
      drawn_(form) {
    // The whole widget is painted on every paint: nothing needs erasing first,
    // and what is already on screen stays valid when the widget grows.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
    // Touch reaches the canvas as mouse events, which Qt makes from touches that
    // no widget takes as touch.
    setAttribute(Qt::WA_AcceptTouchEvents, false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(QString::fromUtf8(Form1::canvasKeyHint()));
    ensureStrokeLayer();
    form_.gamen.setSurface(&strokes_);
}

CanvasWidget::~CanvasWidget() {
    if (form_.gamen.surface() == &strokes_) {
        form_.gamen.setSurface(nullptr);
    }
}

CanvasMapping CanvasWidget::mapping() const {
    return CanvasMapping(form_.gamen, scale_);
}

void CanvasWidget::setScale(double factor) {
    if (factor == scale_ || !(factor > 0)) {
        return;
    }
    scale_ = factor;
    // Everything changes size; the strokes' picture is made again in the new box.
    update();
}

QRect CanvasWidget::drawingArea() const {
    return toQRect(mapping().drawingAreaInBox());
}

QRect CanvasWidget::area() const {
    return {QPoint(0, 0), toQRect(mapping().drawingArea()).size()};
}

void CanvasWidget::ensureStrokeLayer() {
    const QPointF corner = mapTo(window(), QPoint(0, 0));
    strokes_.setResolution(QSizeF(area().size()),
                           mapping().strokeRaster(devicePixelRatioF(), {corner.x(), corner.y()}));
}

void CanvasWidget::refresh() {
    QRegion region;
    for (const PixelRect& rect : drawn_.refresh(form_, fromQRect(area()))) {
        region += toQRect(rect);
    }
    repaintCanvas(region);
}

void CanvasWidget::repaintCanvas(const QRegion& canvasRegion) {
    // One update for all of it: the window's repaint does its bookkeeping once.
    const QRegion inside = canvasRegion.intersected(area());
    QRegion box;
    for (const QRect& rect : inside) {
        box += toQRect(mapping().boxRectFromCanvas(fromQRectF(QRectF(rect))));
    }
    update(box);
}

void CanvasWidget::updateDrawingArea() {
    repaintCanvas(area());
}

void CanvasWidget::showFocusRing(bool shown) {
    if (focusRing_ != shown) {
        focusRing_ = shown;
        update();
    }
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    settleAfter(event->rect());
    ensureStrokeLayer();
    const CanvasMapping map = mapping();
    QPainter painter(this);
    // A scaled canvas may end inside the widget's last column or row, which
    // shows the window's ground.
    const QWidget* ground = parentWidget() != nullptr ? parentWidget() : this;
    for (const PixelRect& rect : map.groundBeside(width(), height())) {
        painter.fillRect(toQRect(rect), ground->palette().color(QPalette::Window));
    }
    painter.setTransform(QTransform::fromScale(map.scale(), map.scale()));
    for (const CanvasMapping::FrameFill& fill : map.frame(focusRing_)) {
        painter.fillRect(toQRect(fill.rect), toQColor(fill.color));
    }

    painter.translate(map.border(), map.border());
    const QRect canvasArea = area();
    painter.setClipRect(canvasArea, Qt::IntersectClip);
    const QRect dirty = toQRect(map.canvasPixelsFromBox(fromQRect(event->rect())));
    if (dirty.isEmpty()) {
        return;
    }
    // The strokes of the pens on their background, only where the canvas is
    // being repainted; a board never written on is filled with the background.
    // Then what stands on the canvas, as the form lists it now.
    const auto paintStrokes = [&](const QRect& part) {
        if (!strokes_.paint(painter, part)) {
            painter.fillRect(part, toQColor(form_.gamen.BackColor));
        }
    };
    if (deviceScale(painter) > 1) {
        // Finer than the canvas's pixels (a larger window, a dense screen),
        // Qt copies the strokes far faster rectangle by rectangle than over the
        // box around them all: a move of p on an inked board at twice the
        // density cost three times as much. At one device pixel per canvas
        // pixel one copy is the faster.
        for (const QRect& rect : event->region()) {
            paintStrokes(toQRect(map.canvasPixelsFromBox(fromQRect(rect))));
        }
    } else {
        paintStrokes(dirty);
    }
    paintScene(painter, drawn_.build(form_), canvasArea.size(), dirty, pictures_, labels_);
}

void CanvasWidget::settleAfter(const QRect& painted) {
    // On X11 Qt sends the window's changed pixels through shared memory, and
    // before it paints over pixels it sent it waits for the X server to have
    // read them: a round trip to the server between a move of the pointer and
    // its picture, on every move of a drag. Asked for once the picture has
    // gone, while the window waits for the next move, that wait is over before
    // the move comes. Nothing is painted: the backing store is only readied.
    static const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    if (!x11 || window()->testAttribute(Qt::WA_TranslucentBackground)) {
        return;
    }
    const bool queued = !settling_.isEmpty();
    settling_ = painted.translated(mapTo(window(), QPoint(0, 0)));
    if (queued) {
        return;
    }
    QTimer::singleShot(0, this, [this] {
        QBackingStore* store = backingStore();
        if (store != nullptr && !settling_.isEmpty()) {
            store->beginPaint(settling_);
            store->endPaint();
        }
        settling_ = QRect();
    });
}

void CanvasWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ensureStrokeLayer();
}

bool CanvasWidget::event(QEvent* event) {
    // Another window took over: a button held on the canvas is not let go here.
    if (event->type() == QEvent::WindowDeactivate && pointer_.letGo()) {
        emit formChanged();
    }
    return QWidget::event(event);
}

void CanvasWidget::focusInEvent(QFocusEvent* event) {
    // Reached with the keyboard, the canvas shows where the keys go; clicked,
    // or given the focus with the window, it looks as ever.
    const Qt::FocusReason reason = event->reason();
    showFocusRing(reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                  reason == Qt::ShortcutFocusReason);
    QWidget::focusInEvent(event);
}

void CanvasWidget::focusOutEvent(QFocusEvent* event) {
    // A popup takes the mouse along with the focus.
    if ((event->reason() == Qt::PopupFocusReason ||
         event->reason() == Qt::ActiveWindowFocusReason) &&
        pointer_.letGo()) {
        emit formChanged();
    }
    // The handle that the keys hold is let go.
    showFocusRing(false);
    if (form_.keyboardHandle() != kHandleNone) {
        form_.canvasFocusLost();
        emit formChanged();
    }
    QWidget::focusOutEvent(event);
}

PointerEvent CanvasWidget::pointerEvent(const QMouseEvent* event) const {
    const ClientPoint at = mapping().canvasFromBox({event->position().x(), event->position().y()});
    PointerEvent pointer;
    pointer.x = static_cast<float>(at.x);
    pointer.y = static_cast<float>(at.y);
    pointer.buttons = formButtons(event->buttons());
    pointer.time = static_cast<double>(event->timestamp());
    return pointer;
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    const int button = formButtons(event->button());
    if (button == 0) {
        event->ignore();
        return;
    }
    PointerEvent pointer = pointerEvent(event);
    // The second press of a double click comes here twice, the second time
    // while its button is held.
    pointer.pressed = event->type() == QEvent::MouseButtonPress ? button : 0;
    pointer_.press(pointer);
    event->accept();
    emit formChanged();
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    // A move changes only what stands on the canvas (the figure, a stroke, the
    // rubber band, the eraser circle), never a button or a box: the window's
    // widgets need no update, which keeps the move cheap. Only a release that
    // never came, let go of before the move, may change them.
    if (pointer_.move(pointerEvent(event))) {
        emit formChanged();
    } else {
        refresh();
    }
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (formButtons(event->button()) == 0) {
        event->ignore();
        return;
    }
    pointer_.release(pointerEvent(event));
    event->accept();
    emit formChanged();
}

}  // namespace heikosen::qt
