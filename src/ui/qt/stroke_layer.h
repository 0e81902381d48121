#pragma once

// The strokes of the pens on screen: the drawing surface beneath the canvas's
// controls.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSizeF>
#include <QTimer>
#include <cstddef>

#include "ui/stroke_store.h"
#include "ui/viewport.h"

class QPainter;

namespace heikosen::qt {

class CanvasWidget;

// What the pens draw: an image of the drawing area beneath the controls, at the
// screen's resolution times the window's scale. Each segment the board keeps
// is drawn into it once, and only the pixels it touched are repainted; at a
// new resolution the kept segments are drawn again as the board's rules say.
class StrokeLayer final : public StrokeStore {
  public:
    // `background` is the canvas's background colour, which the window never
    // changes.
    StrokeLayer(CanvasWidget& canvas, const QColor& background);

    // The strokes. Null until the first stroke, so that a board never written
    // on costs no memory and no time at start-up.
    const QImage& image() const { return image_; }
    // Image pixels per canvas pixel, and where the canvas's origin lies within
    // the image's first pixel.
    qreal scale() const { return raster_.scale; }
    QPointF phase() const { return {raster_.phaseX, raster_.phaseY}; }
    // Gives the image the size of a drawing area of `canvasSize` canvas pixels
    // at the raster's resolution. The strokes already drawn are drawn again, or
    // rescaled once the kept list was dropped; nothing changes when the layer
    // already has that resolution.
    void setResolution(QSizeF canvasSize, const StrokeRaster& raster);

    // Paints the board (the background with the strokes over it) under the
    // canvas pixels `dirty`, the painter's origin at the canvas's; false when
    // the board is blank and nothing was painted.
    bool paint(QPainter& painter, const QRect& dirty) const;

  private:
    void segmentKept(const StrokeSegment& segment) override;
    void wiped() override;
    void startRedraw();
    void stopRedraw();
    void redrawSlice();
    // Draws the kept segments from `first` up to `end` into `image`.
    void paintKept(QImage& image, std::size_t first, std::size_t end) const;
    // An image of the drawing area at the layer's resolution, of the background alone.
    QImage blankImage() const;

    CanvasWidget& canvas_;
    QColor background_;
    QImage image_;
    QSizeF canvasSize_;
    StrokeRaster raster_;
    // The sharp image being drawn while the store is redrawing.
    QImage redraw_;
    QTimer redrawTimer_;
};

}  // namespace heikosen::qt
