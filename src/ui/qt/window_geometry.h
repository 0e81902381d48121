#pragma once

// Where things stand on the window. Every rectangle of a control and every
// mapping between the window's pixels and the form's pixels is computed here,
// from the bounds that the form gives its controls.
//
// The window is laid out for a client area of 891 x 687 pixels. In a window of
// any other size the whole layout is scaled uniformly to the largest size that
// fits and centred; at 891 x 687 the scale is 1 and nothing moves.

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QTransform>

#include "ui/controls.h"

namespace heikosen::qt {

// How the laid-out client area is shown in the window: multiplied by `factor`,
// with its top-left corner at `offset` (whole window pixels).
struct ClientScale {
    double factor = 1.0;
    QPoint offset;

    // The largest uniform scale at which the layout fits a window of this size,
    // centred in it.
    static ClientScale fitting(QSize windowSize);

    // A rectangle of the layout as whole window pixels. Each edge is rounded on
    // its own, so that controls that meet in the layout still meet.
    QRect windowRect(const Bounds& bounds) const;
    QRect windowRect(float left, float top, float width, float height) const;
    // The window's rectangle that holds the laid-out client area.
    QRect clientRect() const;

    bool operator==(const ClientScale&) const = default;
};

// The canvas widget's own pixels against the canvas's drawing pixels: the
// drawing area starts inside the sunken border, and everything on the canvas,
// border included, is multiplied by the window's scale factor.
class CanvasMapping {
  public:
    CanvasMapping(const PictureBox& canvas, double factor);

    double factor() const { return factor_; }
    // The canvas as laid out (border included), in its own unscaled pixels.
    QRect layoutRect() const { return layout_; }
    // The widget's size that holds the scaled canvas: whole pixels, rounded up.
    QSize widgetSize() const;

    // From the canvas's laid-out pixels (origin at the outer corner of the
    // border) to the widget's pixels.
    QTransform layoutToWidget() const;
    // From drawing pixels to the widget's pixels.
    QTransform canvasToWidget() const;
    QPointF widgetFromCanvas(QPointF canvasPoint) const;
    // The pointer's position on the canvas widget, in the canvas's drawing
    // pixels: the exact inverse of widgetFromCanvas. Every mouse and touch
    // position on the canvas goes through here.
    QPointF canvasFromWidget(QPointF widgetPosition) const;
    // The widget's pixels that show a rectangle of drawing pixels.
    QRect widgetRectFromCanvas(const QRectF& canvasRect) const;
    // The drawing pixels that a rectangle of widget pixels shows.
    QRectF canvasRectFromWidget(const QRectF& widgetRect) const;
    // The drawing area in the widget's pixels.
    QRect drawingAreaInWidget() const;

  private:
    double factor_;
    int border_;
    QRect layout_;
    QSizeF drawing_;
};

class WindowGeometry {
  public:
    // The client area of the window as laid out.
    static QSize clientSize();
    // The smallest client area the window can be made: half the layout.
    static QSize minimumClientSize();

    // The canvas: its sunken border and the drawing area inside it, in the
    // canvas's unscaled pixels.
    static int canvasBorder(const PictureBox& canvas);
    static QRect drawingArea(const PictureBox& canvas);
};

}  // namespace heikosen::qt
