#pragma once

// Where things stand on the window. Every rectangle of a control and every
// mapping between the window's pixels and the form's pixels is computed here,
// from the bounds that the form gives its controls.

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

#include "ui/controls.h"

namespace heikosen::qt {

// The keyboard tab position of the canvas among the window's controls.
inline constexpr int kCanvasTabIndex = 1;

class WindowGeometry {
  public:
    // The client area of the window.
    static QSize clientSize();
    // A control's rectangle on the window, from its bounds in client pixels.
    static QRect controlRect(const Bounds& bounds);
    static QRect controlRect(float left, float top, float width, float height);

    // The canvas: its sunken border and the drawing area inside it, in the
    // canvas widget's own pixels.
    static int canvasBorder(const PictureBox& canvas);
    static QRect drawingArea(const PictureBox& canvas);
    // The pointer's position on the canvas widget, in the canvas's drawing pixels.
    static QPointF canvasPointFromWidget(const PictureBox& canvas, QPointF widgetPosition);
    // The canvas widget's pixels that show a rectangle of drawing pixels; the
    // inverse of canvasPointFromWidget.
    static QRect widgetRectFromCanvas(const PictureBox& canvas, const QRectF& canvasRect);

    // A rectangle of the form's canvas pixels as whole pixels (labels, pictures).
    static QRect canvasPixelRect(float left, float top, float width, float height);
};

}  // namespace heikosen::qt
