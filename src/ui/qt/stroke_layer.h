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
#include <vector>

#include "ui/controls.h"

class QPainter;

namespace heikosen::qt {

class CanvasWidget;

// The canvas keeps many of these: they stay small.
static_assert(sizeof(StrokeSegment) == 24);

// What the pens draw: an image of the drawing area beneath the controls, at the
// screen's resolution times the window's scale. Each segment is drawn into it
// once, and only the pixels it touched are repainted.
//
// Beside the strokes alone the layer keeps the board as the screen shows it:
// the canvas's background with the strokes over it, each pixel blended once,
// when its strokes are drawn. The canvas copies the board's opaque pixels as
// they are: into the picture it keeps of itself where they changed, or straight
// onto another painter at the board's resolution. Blending the strokes afresh
// on every repaint cost much more.
//
// The segments drawn since the board was last wiped are also kept, up to
// kMaxKeptSegments of them, so that the strokes can be drawn again sharply
// when the window's scale changes. Beyond that many the list is dropped and,
// until the next wipe, the image is rescaled instead; the list's memory stays
// below kMaxKeptSegments x 24 bytes.
//
// A few thousand segments are drawn again at once. More than that would hold
// up the window, so the old image is rescaled at once and the sharp one is
// drawn a slice at a time between events, then takes its place.
class StrokeLayer final : public DrawingSurface {
  public:
    static constexpr std::size_t kMaxKeptSegments = std::size_t{1} << 20;
    // Segments drawn again in one go.
    static constexpr std::size_t kRedrawSlice = 4096;

    // `background` is the canvas's background colour, which the window never
    // changes.
    StrokeLayer(CanvasWidget& canvas, const QColor& background);

    void drawSegment(const StrokeSegment& segment) override;
    void clear() override;

    // The strokes. Null until the first stroke, so that a board never written
    // on costs no memory and no time at start-up.
    const QImage& image() const { return image_; }
    // The background with the strokes over it, opaque, pixel for pixel of
    // image(); null while image() is.
    const QImage& board() const { return board_; }
    const QColor& background() const { return background_; }
    // True while nothing was drawn since start-up or the last wipe; a repaint
    // then leaves the layer out.
    bool blank() const { return kept_ == 0 && !dropped_; }
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

    // The segments kept for drawing again, in drawing order.
    std::vector<StrokeSegment> keptSegments() const;
    std::size_t keptSegmentCount() const { return kept_; }
    // How many segments are kept at most: kMaxKeptSegments unless changed
    // (tests use a small number).
    void setKeepLimit(std::size_t limit) { keepLimit_ = limit; }
    // False once more segments were drawn since the last wipe than are kept.
    bool keepsEveryStroke() const { return !dropped_; }
    // True while the sharp image for a new resolution is still being drawn.
    bool redrawing() const { return !redraw_.isNull(); }
    // Draws what is left of the sharp image now.
    void finishRedraw();

  private:
    void keep(const StrokeSegment& segment);
    const StrokeSegment& kept(std::size_t index) const;
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
    // The kept segments, in blocks of kBlock, so that keeping one more never
    // moves the ones already kept.
    static constexpr std::size_t kBlock = 8192;
    std::vector<std::vector<StrokeSegment>> blocks_;
    std::size_t kept_ = 0;
    std::size_t keepLimit_ = kMaxKeptSegments;
    bool dropped_ = false;
    // The sharp image being drawn, and how many kept segments it has.
    QImage redraw_;
    std::size_t redrawn_ = 0;
    QTimer redrawTimer_;
};

}  // namespace heikosen::qt
