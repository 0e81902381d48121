#include "ui/qt/canvas_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/form1.h"
#include "ui/qt/window_geometry.h"

namespace heikosen::qt {

namespace {

// The form's number for a mouse button, or 0 for buttons the canvas ignores.
int formButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return kLeftButton;
        case Qt::RightButton:
            return kRightButton;
        case Qt::MiddleButton:
            return kMiddleButton;
        default:
            return 0;
    }
}

// The classic sunken frame: a dark grey and white outer edge, a near-black and
// light grey inner edge.
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kDarkShadow(0x40, 0x40, 0x40);
const QColor kLight(0xC0, 0xC0, 0xC0);
const QColor kHighlight(0xFF, 0xFF, 0xFF);

}  // namespace

StrokeLayer::StrokeLayer(CanvasWidget& canvas) : canvas_(canvas) {}

void StrokeLayer::resize(QSize logicalSize, qreal devicePixelRatio) {
    const QSize deviceSize(qRound(logicalSize.width() * devicePixelRatio),
                           qRound(logicalSize.height() * devicePixelRatio));
    if (!image_.isNull() && image_.size() == deviceSize &&
        qFuzzyCompare(image_.devicePixelRatio(), devicePixelRatio)) {
        return;
    }
    QImage resized(deviceSize, QImage::Format_ARGB32_Premultiplied);
    resized.setDevicePixelRatio(devicePixelRatio);
    resized.fill(Qt::transparent);
    if (!image_.isNull()) {
        QPainter painter(&resized);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(QRectF(QPointF(0, 0), QSizeF(image_.deviceIndependentSize())), image_);
    }
    image_ = std::move(resized);
}

void StrokeLayer::drawSegment(float x1, float y1, float x2, float y2, Rgb color, int width) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) {
        return;
    }
    if (image_.isNull()) {
        return;
    }
    const QPointF from(x1, y1);
    const QPointF to(x2, y2);
    const qreal penWidth = std::max(1, width);
    const QRectF touched = QRectF(from, to).normalized().adjusted(-penWidth - 2, -penWidth - 2,
                                                                  penWidth + 2, penWidth + 2);
    const QRectF area(QPointF(0, 0), image_.deviceIndependentSize());
    if (!touched.intersects(area)) {
        return;
    }
    {
        QPainter painter(&image_);
        painter.setRenderHint(QPainter::Antialiasing, true);
        QPen pen(toQColor(color), penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(pen);
        if (from == to) {
            painter.drawPoint(from);
        } else {
            painter.drawLine(QLineF(from, to));
        }
    }
    canvas_.updateCanvasRect(touched);
}

void StrokeLayer::clear() {
    image_.fill(Qt::transparent);
    canvas_.updateDrawingArea();
}

CanvasWidget::CanvasWidget(Form1& form, QWidget* parent)
    : QWidget(parent), form_(form), strokes_(*this) {
    // The whole widget is painted on every paint: nothing needs erasing first,
    // and what is already on screen stays valid when the widget grows.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
    // Touch reaches the canvas as mouse events, which Qt makes from touches that
    // no widget takes as touch.
    setAttribute(Qt::WA_AcceptTouchEvents, false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    ensureStrokeLayer();
    form_.gamen.setSurface(&strokes_);
    lastDrawn_ = CanvasSnapshot::of(form_);
}

CanvasWidget::~CanvasWidget() {
    if (form_.gamen.surface() == &strokes_) {
        form_.gamen.setSurface(nullptr);
    }
}

QRect CanvasWidget::drawingArea() const {
    return WindowGeometry::drawingArea(form_.gamen);
}

QPointF CanvasWidget::toCanvasPixels(QPointF widgetPosition) const {
    return WindowGeometry::canvasPointFromWidget(form_.gamen, widgetPosition);
}

void CanvasWidget::ensureStrokeLayer() {
    strokes_.resize(drawingArea().size(), devicePixelRatioF());
}

void CanvasWidget::refresh() {
    CanvasSnapshot now = CanvasSnapshot::of(form_);
    const QRect area(QPoint(0, 0), drawingArea().size());
    const QRegion changed = CanvasSnapshot::changedRegion(lastDrawn_, now, area);
    lastDrawn_ = std::move(now);
    for (const QRect& rect : changed) {
        update(WindowGeometry::widgetRectFromCanvas(form_.gamen, rect));
    }
}

void CanvasWidget::updateCanvasRect(const QRectF& canvasRect) {
    const QRectF area(QPointF(0, 0), QSizeF(drawingArea().size()));
    const QRectF inside = canvasRect.intersected(area);
    if (!inside.isEmpty()) {
        update(WindowGeometry::widgetRectFromCanvas(form_.gamen, inside));
    }
}

void CanvasWidget::updateDrawingArea() {
    update(drawingArea());
}

void CanvasWidget::paintFrame(QPainter& painter) const {
    const QRect outer = rect();
    const int border = WindowGeometry::canvasBorder(form_.gamen);
    if (border <= 0) {
        return;
    }
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    // Outer edge: shadow above and to the left, highlight below and to the right.
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), 1), kShadow);
    painter.fillRect(QRect(outer.left(), outer.top(), 1, outer.height()), kShadow);
    painter.fillRect(QRect(outer.left(), outer.bottom(), outer.width(), 1), kHighlight);
    painter.fillRect(QRect(outer.right(), outer.top() + 1, 1, outer.height() - 1), kHighlight);
    if (border > 1) {
        painter.fillRect(QRect(inner.left(), inner.top(), inner.width(), 1), kDarkShadow);
        painter.fillRect(QRect(inner.left(), inner.top(), 1, inner.height()), kDarkShadow);
        painter.fillRect(QRect(inner.left(), inner.bottom(), inner.width(), 1), kLight);
        painter.fillRect(QRect(inner.right(), inner.top() + 1, 1, inner.height() - 1), kLight);
    }
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    ensureStrokeLayer();
    const QRect area = drawingArea();
    QPainter painter(this);
    paintFrame(painter);

    painter.translate(area.topLeft());
    const QRect canvasArea(QPoint(0, 0), area.size());
    painter.setClipRect(canvasArea, Qt::IntersectClip);
    const QRect dirty = event->rect().translated(-area.topLeft()).intersected(canvasArea);
    if (dirty.isEmpty()) {
        return;
    }
    painter.fillRect(dirty, toQColor(form_.gamen.BackColor));

    // The strokes of the pens, only where the canvas is being repainted.
    const QImage& strokes = strokes_.image();
    const qreal ratio = strokes.devicePixelRatio();
    const QRectF source(dirty.x() * ratio, dirty.y() * ratio, dirty.width() * ratio,
                        dirty.height() * ratio);
    painter.drawImage(QRectF(dirty), strokes, source);

    paintCanvasControls(painter, form_, pictures_);
}

void CanvasWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ensureStrokeLayer();
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    const int button = formButton(event->button());
    if (button == 0) {
        event->ignore();
        return;
    }
    // Qt moves the pointer to where it presses before the press, also for a
    // touch, so a drag measures from the press and not from an older position.
    const QPointF at = toCanvasPixels(event->position());
    form_.pointerPress(button, static_cast<float>(at.x()), static_cast<float>(at.y()));
    event->accept();
    emit formChanged();
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = toCanvasPixels(event->position());
    form_.pointerMove(static_cast<float>(at.x()), static_cast<float>(at.y()));
    event->accept();
    emit formChanged();
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    const int button = formButton(event->button());
    if (button == 0) {
        event->ignore();
        return;
    }
    const QPointF at = toCanvasPixels(event->position());
    form_.pointerRelease(button, static_cast<float>(at.x()), static_cast<float>(at.y()));
    event->accept();
    emit formChanged();
}

}  // namespace heikosen::qt
