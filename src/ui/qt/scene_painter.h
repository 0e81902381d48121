#pragma once

// Paints the core's canvas scene with Qt: the items in the order they come, and
// the pictures of the letters and of the labels, kept between paints.

#include <QImage>
#include <QPainter>
#include <map>
#include <tuple>
#include <utility>

#include "ui/canvas_scene.h"
#include "ui/qt/window_geometry.h"

namespace heikosen::qt {

// How many device pixels one canvas pixel covers under this painter: more than
// one in a larger window, on a high-density screen or on paper.
qreal deviceScale(const QPainter& painter);

// A grey picture from a PNG file (the letters among the program's resources); a
// null image if it cannot be read.
QImage readGreyPng(const QString& path);

// The letter pictures, loaded from the program's resources (drawn at 8 times
// their size) and scaled smoothly to the size the canvas shows them at.
class LetterPictures {
  public:
    // The picture of `letter` at this many device pixels; scaled once and then
    // kept while the window's scale stays.
    const QImage& picture(const PictureItem& item, QSize deviceSize);

  private:
    std::map<std::tuple<int, int, int>, QImage> scaled_;
    std::map<int, QImage> originals_;
};

// The labels on screen: each label's caption drawn once in its font and colours
// for the device pixels it covers, then copied pixel for pixel on every paint
// until its caption, font, colours or size, or the scale, change. Laying out
// and drawing the text afresh made the labels the dearest part of a repaint.
class LabelPictures {
  public:
    // The picture of the label `control` shows, for `deviceSize` device pixels
    // at `deviceScale` device pixels per canvas pixel across and down.
    const QImage& picture(const ControlId& control, const TextItem& label, QSize deviceSize,
                          QSizeF deviceScale);

  private:
    // What a picture was made for.
    struct Made {
        TextItem label;
        QSize deviceSize;
        QSizeF deviceScale;
        bool operator==(const Made&) const = default;
    };
    std::map<std::pair<int, int>, std::pair<Made, QImage>> pictures_;
};

// Paints the scene's items, lowest first, as they say: those that may show in
// `painted`, the canvas pixels being painted. The painter's origin is the
// drawing area's top-left corner; `areaSize` is the drawing area's size in
// canvas pixels.
void paintScene(QPainter& painter, const CanvasScene& scene, QSize areaSize, const QRect& painted,
                LetterPictures& pictures, LabelPictures& labels);

}  // namespace heikosen::qt
