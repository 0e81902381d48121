#include "ui/qt/window_geometry.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

#include "ui/form1.h"

namespace heikosen::qt {

namespace {

// A coordinate of the layout scaled and placed, as a whole window pixel.
int place(double offset, double value, double factor) {
    return static_cast<int>(std::lround(offset + value * factor));
}

// Rounds up, but not for the last bit of a product that should be whole.
int wholeAbove(double value) {
    return static_cast<int>(std::ceil(value - 1e-9));
}

}  // namespace

ClientScale ClientScale::fitting(QSize windowSize) {
    const double width = std::max(1, windowSize.width());
    const double height = std::max(1, windowSize.height());
    ClientScale scale;
    scale.factor = std::min(width / kClientWidth, height / kClientHeight);
    // The spare room is shared on both sides; whole pixels keep the layout's
    // pixel grid on the window's.
    scale.offset =
        QPoint(static_cast<int>(std::floor((width - kClientWidth * scale.factor) / 2)),
               static_cast<int>(std::floor((height - kClientHeight * scale.factor) / 2)));
    return scale;
}

QRect ClientScale::windowRect(const Bounds& bounds) const {
    return windowRect(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
}

QRect ClientScale::windowRect(float left, float top, float width, float height) const {
    const int x1 = place(offset.x(), left, factor);
    const int y1 = place(offset.y(), top, factor);
    const int x2 = place(offset.x(), static_cast<double>(left) + width, factor);
    const int y2 = place(offset.y(), static_cast<double>(top) + height, factor);
    return {x1, y1, x2 - x1, y2 - y1};
}

QRect ClientScale::clientRect() const {
    return windowRect(0, 0, kClientWidth, kClientHeight);
}

CanvasMapping::CanvasMapping(const PictureBox& canvas, double factor)
    : factor_(factor),
      border_(canvas.BorderWidth),
      layout_(0, 0, qRound(canvas.Rect.Width), qRound(canvas.Rect.Height)),
      drawing_(canvas.innerWidth(), canvas.innerHeight()) {}

QSize CanvasMapping::widgetSize() const {
    return {wholeAbove(layout_.width() * factor_), wholeAbove(layout_.height() * factor_)};
}

QTransform CanvasMapping::layoutToWidget() const {
    return QTransform::fromScale(factor_, factor_);
}

QTransform CanvasMapping::canvasToWidget() const {
    return QTransform::fromTranslate(border_, border_) * layoutToWidget();
}

QPointF CanvasMapping::widgetFromCanvas(QPointF canvasPoint) const {
    return (canvasPoint + QPointF(border_, border_)) * factor_;
}

QPointF CanvasMapping::canvasFromWidget(QPointF widgetPosition) const {
    return widgetPosition / factor_ - QPointF(border_, border_);
}

QRect CanvasMapping::widgetRectFromCanvas(const QRectF& canvasRect) const {
    return canvasToWidget().mapRect(canvasRect).toAlignedRect();
}

QRectF CanvasMapping::canvasRectFromWidget(const QRectF& widgetRect) const {
    return QRectF(canvasFromWidget(widgetRect.topLeft()),
                  canvasFromWidget(widgetRect.bottomRight()));
}

QRect CanvasMapping::drawingAreaInWidget() const {
    return widgetRectFromCanvas(QRectF(QPointF(0, 0), drawing_));
}

QSize WindowGeometry::clientSize() {
    return {kClientWidth, kClientHeight};
}

QSize WindowGeometry::minimumClientSize() {
    return {(kClientWidth + 1) / 2, (kClientHeight + 1) / 2};
}

int WindowGeometry::canvasBorder(const PictureBox& canvas) {
    return canvas.BorderWidth;
}

QRect WindowGeometry::drawingArea(const PictureBox& canvas) {
    const int border = canvasBorder(canvas);
    return {border, border, qRound(canvas.innerWidth()), qRound(canvas.innerHeight())};
}

}  // namespace heikosen::qt
