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

class QPainter;

namespace heikosen::qt {

class CanvasWidget;

// What the pens draw: an image of the drawing area beneath the controls, at the
// screen's resolution times the window's scale. Each segment the board keeps
// is drawn into it once, and only the pixels it touched are repainted; at a
// new resolution the kept segments are drawn again as the board's rules say.
//
// Beside the strokes alone the layer keeps the board as the screen shows it:
// the canvas's background with the strokes over it, each pixel blended once,
// when its strokes are drawn. The canvas copies the board's opaque pixels as
// they are: into the picture it keeps of itself where they changed, or straight
// onto another painter at the board's resolution. Blending the strokes afresh
// on every repaint cost much more.
class StrokeLayer final : public StrokeStore {
  public:
    // `background` is the canvas's background colour, which the window never
    // changes.
    StrokeLayer(CanvasWidget& canvas, const QColor& background);

    // The strokes. Null until the first stroke, so that a board never written
    // on costs no memory and no time at start-up.
    const QImage& image() const { return image_; }
    // The background with the strokes over it, opaque, pixel for pixel of
    // image(); null while image() is.
    const QImage& board() const { return board_; }
    const QColor& background() const { return background_; }
    // Image pixels per canvas pixel.
    qreal scale() const { return scale_; }
    // Where the canvas's origin lies within the image's first pixel.
    QPointF phase() const { return phase_; }
    // The image's size at this resolution: the drawing area's pixels, whole
    // ones, from the image's corner.
    QSize pixelSize() const;
    // Gives the image the size of a drawing area of `canvasSize` canvas pixels
    // at `scale` image pixels each, with the canvas's origin at `phase`. The
    // strokes already drawn are drawn again, or rescaled once the kept list was
    // dropped. False when the layer already had that resolution.
    bool setResolution(QSizeF canvasSize, qreal scale, QPointF phase);

    // True while the sharp image for a new resolution is still being drawn.
    bool redrawing() const { return !redraw_.isNull(); }
    // Draws what is left of the sharp image now.
    void finishRedraw();

  private:
    void segmentKept(const StrokeSegment& segment) override;
    void wiped() override;
    void startRedraw();
    void stopRedraw();
    void redrawSlice();
    void paintSegment(QPainter& painter, const StrokeSegment& segment) const;
    void setUpPainter(QPainter& painter) const;
    // A transparent image of the drawing area at the layer's resolution.
    QImage blankImage() const;
    // Blends the strokes over the background again on the board, within
    // `pixels` of the image; the whole board when `pixels` is null.
    void composeBoard(QRect pixels = QRect());

    CanvasWidget& canvas_;
    QColor background_;
    QImage image_;
    QImage board_;
    QSizeF canvasSize_;
    qreal scale_ = 0;
    QPointF phase_;
    // The sharp image being drawn, and how many kept segments it has.
    QImage redraw_;
    std::size_t redrawn_ = 0;
    QTimer redrawTimer_;
};

}  // namespace heikosen::qt
