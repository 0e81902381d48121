#pragma once

// The controls on the canvas as Qt draws them: the grid, the figure's lines,
// the letter pictures, the labels and the eraser outline, in canvas pixels.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <array>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "ui/controls.h"

namespace heikosen {
class Form1;
}

namespace heikosen::qt {

QColor toQColor(Rgb rgb);

// The letter pictures, loaded from the program's resources (drawn at 8 times
// their size) and scaled smoothly to the size the canvas shows them at.
class LetterPictures {
  public:
    // The picture of `letter` at this many device pixels; scaled once and then
    // kept while the window's scale stays.
    const QImage& picture(Letter letter, QSize deviceSize);

  private:
    std::map<std::tuple<int, int, int>, QImage> scaled_;
    std::map<int, QImage> originals_;
};

// The point labels on screen: each label's caption drawn once in its font and
// colours for the device pixels it covers, then copied pixel for pixel on every
// paint until its caption, font, colours, size or the scale change. Laying out
// and drawing the text afresh made the labels the dearest part of a repaint.
class LabelPictures {
  public:
    // The picture of `label`, which covers `canvasRect`, for `deviceSize` device
    // pixels at `deviceScale` device pixels per canvas pixel across and down.
    const QImage& picture(const LabelControl& label, const QRect& canvasRect, QSize deviceSize,
                          QSizeF deviceScale);

  private:
    struct Entry {
        std::string caption;
        FontSpec font;
        Rgb foreColor = 0;
        Rgb backColor = 0;
        QSize canvasSize;
        QSize deviceSize;
        QSizeF deviceScale;
        QImage image;
    };
    std::map<const LabelControl*, Entry> pictures_;
};

// Draws every control on the canvas, in the order in which they lie on each
// other. The painter's origin is the drawing area's top-left corner.
void paintCanvasControls(QPainter& painter, const Form1& form, LetterPictures& pictures,
                         LabelPictures& labels);

// The canvas controls as they were last drawn, to find what an event changed.
class CanvasSnapshot {
  public:
    static CanvasSnapshot of(const Form1& form);

    // The canvas pixels that must be drawn again to go from `before` to `after`,
    // clipped to `area`. Returns `area` itself when so much changed that one
    // repaint of everything is cheaper.
    static QRegion changedRegion(const CanvasSnapshot& before, const CanvasSnapshot& after,
                                 const QRect& area);

  private:
    std::vector<LineControl> lines_;
    std::vector<LabelControl> labels_;
    std::array<ImageControl, 5> images_{};
    ShapeControl shape_;
};

// What a control covers on the canvas when drawn, in canvas pixels (before
// clipping to the drawing area).
QRectF lineBounds(const LineControl& line);
QRect labelBounds(const LabelControl& label);
QRect imageBounds(const ImageControl& image);
QRect shapeBounds(const ShapeControl& shape);

}  // namespace heikosen::qt
