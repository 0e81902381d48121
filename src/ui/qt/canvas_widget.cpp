#include "ui/qt/canvas_widget.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <optional>
#include <utility>

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
    if (strokes_.setResolution(
            QSizeF(area().size()),
            mapping().strokeRaster(devicePixelRatioF(), {corner.x(), corner.y()}))) {
        markStale(area());
    }
}

void CanvasWidget::markStale(const QRegion& canvasRegion) {
    // Without a composed picture there is nothing to bring up to date: the next
    // one is composed whole.
    if (!composed_.isNull()) {
        stale_ += canvasRegion;
        // A region of many pieces costs more to keep than its bounds to compose.
        if (stale_.rectCount() > 32) {
            stale_ = stale_.boundingRect();
        }
    }
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
    markStale(inside);
    changedSincePaint_ = true;
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

bool CanvasWidget::paintComposed(QPainter& painter, const QRect& dirty, const CanvasScene& scene) {
    // The picture is the screen's: kept while the canvas is shown, holding the
    // scene of the last refresh, drawn as Qt's raster engine draws (labels as
    // pictures), each of its pixels on one device pixel. A board without
    // strokes is painted directly: filling the background and drawing the
    // controls costs less than copying the picture would. A picture made
    // before stays, kept up to date, for the strokes to come.
    const std::optional<QPoint> whole = strokes_.wholePixelsTo(painter);
    if (strokes_.blank() || strokes_.image().isNull() || !whole || !isVisible() ||
        painter.paintEngine()->type() != QPaintEngine::Raster || scene != drawn_.scene()) {
        return false;
    }
    if (composed_.size() != strokes_.image().size()) {
        // The old picture goes before the new one is made.
        composed_ = QImage();
        composed_ = QImage(strokes_.image().size(), QImage::Format_RGB32);
        if (composed_.isNull()) {
            return false;
        }
        stale_ = area();
    }
    // Everything out of date is composed at once: what the last changes asked
    // to repaint, or, after the repaints of a blank board left the picture
    // alone, all of it, which piece by piece would leave a region of ever more
    // pieces behind. It is drawn as on screen, moved by the whole device pixels
    // between the painter's pixels and the picture's, and clipped as on screen
    // to the drawing area: the same edge rounded the same way cuts the lines at
    // the same points. The strokes fall on exactly the pixels under each part;
    // the controls, clipped to them all, are those that may show there.
    if (!stale_.isEmpty()) {
        const QTransform onPicture =
            painter.deviceTransform() * QTransform::fromTranslate(-whole->x(), -whole->y());
        QPainter picture(&composed_);
        picture.setTransform(onPicture);
        QRegion pixels;
        for (const QRect& rect : stale_) {
            strokes_.paint(picture, rect);
            pixels += toQRect(strokes_.raster().pixelsUnder(fromQRectF(QRectF(rect))));
        }
        picture.resetTransform();
        picture.setClipRegion(pixels);
        picture.setTransform(onPicture);
        picture.setClipRect(area(), Qt::IntersectClip);
        paintScene(picture, scene, area().size(), stale_.boundingRect(), pictures_, labels_);
        stale_ = QRegion();
    }
    strokes_.drawPixels(painter, dirty, composed_, false);
    return true;
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
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
    // What stands on the canvas, as the form lists it now.
    const CanvasScene& scene = drawn_.build(form_);
    // The repaint that follows a change is painted directly: composing its
    // parts first, as each move of a drag would, costs one copy more.
    if (!std::exchange(changedSincePaint_, false) && paintComposed(painter, dirty, scene)) {
        return;
    }
    // The strokes of the pens on their background, only where the canvas is
    // being repainted; a board never written on is filled with the background.
    if (!strokes_.paint(painter, dirty)) {
        painter.fillRect(dirty, toQColor(form_.gamen.BackColor));
    }
    paintScene(painter, scene, canvasArea.size(), dirty, pictures_, labels_);
}

void CanvasWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ensureStrokeLayer();
}

void CanvasWidget::hideEvent(QHideEvent* event) {
    // Only the screen needs the composed picture.
    composed_ = QImage();
    stale_ = QRegion();
    QWidget::hideEvent(event);
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
