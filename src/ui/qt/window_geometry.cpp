#include "ui/qt/window_geometry.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

#include "ui/form1.h"

namespace heikosen::qt {

QSize WindowGeometry::clientSize() {
    return {kClientWidth, kClientHeight};
}

QRect WindowGeometry::controlRect(const Bounds& bounds) {
    return controlRect(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
}

QRect WindowGeometry::controlRect(float left, float top, float width, float height) {
    return {qRound(left), qRound(top), qRound(width), qRound(height)};
}

int WindowGeometry::canvasBorder(const PictureBox& canvas) {
    return canvas.BorderWidth;
}

QRect WindowGeometry::drawingArea(const PictureBox& canvas) {
    const int border = canvasBorder(canvas);
    return {border, border, qRound(canvas.innerWidth()), qRound(canvas.innerHeight())};
}

QPointF WindowGeometry::canvasPointFromWidget(const PictureBox& canvas, QPointF widgetPosition) {
    const qreal border = canvasBorder(canvas);
    return widgetPosition - QPointF(border, border);
}

QRect WindowGeometry::widgetRectFromCanvas(const PictureBox& canvas, const QRectF& canvasRect) {
    const qreal border = canvasBorder(canvas);
    return canvasRect.translated(border, border).toAlignedRect();
}

QRect WindowGeometry::canvasPixelRect(float left, float top, float width, float height) {
    // Whole pixels, so that labels and pictures stand as crisply as the lines.
    // A control dragged far off the canvas is held at a distance that still fits
    // an int; it is out of sight either way.
    auto whole = [](float value) {
        const double limited = std::clamp(static_cast<double>(value), -1.0e7, 1.0e7);
        return static_cast<int>(std::lround(std::isfinite(limited) ? limited : 0.0));
    };
    return {whole(left), whole(top), std::max(0, whole(width)), std::max(0, whole(height))};
}

}  // namespace heikosen::qt
