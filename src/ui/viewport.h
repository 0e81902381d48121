#pragma once

// The form on a screen of any size: the largest uniform scale at which the
// laid-out client area (kClientWidth x kClientHeight) fits, centred, with every
// rectangle of the layout on whole pixels; and the canvas's drawing pixels
// against the pixels of its box on screen, both ways. Each front end shows the
// form through these numbers and maps the pointer back through them, so that
// the desktop and the page scale, round and hit the same pixels.
//
// A front end places things on a grid of `pixelRatio` pixels per client pixel:
// whole window pixels for the desktop's widgets (1), whole device pixels for
// the page (its device pixel ratio).

#include <vector>

#include "ui/canvas_scene.h"
#include "ui/controls.h"
#include "ui/form1.h"

namespace heikosen {

// A point in client pixels, or in the canvas's drawing pixels.
struct ClientPoint {
    double x = 0;
    double y = 0;
    bool operator==(const ClientPoint&) const = default;
};

// The smallest client area a window of the program can be made: half the layout.
inline constexpr int kMinimumClientWidth = (kClientWidth + 1) / 2;
inline constexpr int kMinimumClientHeight = (kClientHeight + 1) / 2;

// A size of the layout, in whole pixels at a scale: the nearest, at least one.
int scaledPixels(int pixels, double scale);
// A font of the layout at a scale, its size in whole pixels as above.
TextFont scaledFont(const FontSpec& font, double scale);

// The whole pixels a rectangle covers, its corners rounded half up, so that it
// covers the same pixels wherever the device's origin lies; at least one pixel
// each way.
PixelRect wholePixels(const ClientRect& exact);

// A rectangle of whole pixels as exact coordinates.
inline ClientRect exactRect(const PixelRect& pixels) {
    return {static_cast<double>(pixels.left), static_cast<double>(pixels.top),
            static_cast<double>(pixels.width), static_cast<double>(pixels.height)};
}

struct Viewport {
    double scale = 1;
    // The laid-out client area's corner, on the grid.
    double left = 0;
    double top = 0;
    double pixelRatio = 1;

    // The largest uniform scale at which the layout fits a client area of this
    // size, centred in it: the spare room is shared on both sides, the odd
    // pixel (on the grid) going to the right and the bottom.
    static Viewport fit(double clientWidth, double clientHeight, double pixelRatio = 1);

    // A rectangle of the layout as client pixels on the grid. Each edge is
    // rounded on its own, so that controls that meet in the layout still meet.
    ClientRect place(const Bounds& bounds) const;
    ClientRect place(double left, double top, double width, double height) const;
    // The rectangle that holds the laid-out client area.
    ClientRect form() const;
    // The canvas's box on screen: its placed corner, and as many whole pixels
    // as its scaled picture needs, rounded up.
    ClientRect canvasBox(const PictureBox& canvas) const;
    // Where a client point lies in the canvas's drawing pixels.
    ClientPoint canvasFromClient(ClientPoint client, const PictureBox& canvas) const;

    bool operator==(const Viewport&) const = default;
};

// A front end's picture of the strokes: `scale` of its pixels per canvas pixel,
// lying on the device's pixels, with the canvas's origin `phaseX`, `phaseY`
// into its first one.
struct StrokeRaster {
    double scale = 0;
    double phaseX = 0;
    double phaseY = 0;

    // The picture for a canvas whose origin lies at this point of the device's
    // pixels.
    static StrokeRaster at(double scale, ClientPoint origin);
    // The picture's pixels, whole ones from its corner, for a drawing area of
    // this many canvas pixels.
    PixelRect pixels(double width, double height) const;
    // The picture's pixels under a rectangle of canvas pixels: every one it
    // touches.
    PixelRect pixelsUnder(const ClientRect& canvasRect) const;
    // The canvas rectangle that those pixels cover exactly.
    ClientRect canvasOver(const PixelRect& pixels) const;
    // Whether a painter at this many device pixels per canvas pixel puts each
    // of the picture's pixels on one of its own.
    bool atScale(double deviceScale) const;
    // Where a picture of `width` x `height` pixels made for `before` stands on
    // this one's pixels.
    ClientRect stretchedFrom(const StrokeRaster& before, double width, double height) const;

    bool operator==(const StrokeRaster&) const = default;
};

// The canvas's drawing pixels against the pixels of its box on screen, whose
// origin is the outer corner of the sunken border: the drawing area starts
// inside the border, and everything on the canvas, border included, is
// multiplied by the scale.
class CanvasMapping {
  public:
    CanvasMapping(const PictureBox& canvas, double scale, double pixelRatio = 1);

    double scale() const { return scale_; }
    int border() const { return border_; }
    // The canvas as laid out (border included), in its own unscaled pixels.
    PixelRect layoutRect() const { return layout_; }
    // The drawing area, in the canvas's unscaled pixels from the box's corner.
    PixelRect drawingArea() const;
    // The box's size that holds the scaled canvas, rounded up on the grid.
    double boxWidth() const;
    double boxHeight() const;

    ClientPoint boxFromCanvas(ClientPoint canvasPoint) const;
    // The exact inverse of boxFromCanvas: every pointer position on the canvas
    // goes through here.
    ClientPoint canvasFromBox(ClientPoint boxPoint) const;
    // The box's pixels (whole on the grid) that show a rectangle of drawing
    // pixels, and the drawing pixels that a rectangle of the box shows.
    ClientRect boxRectFromCanvas(const ClientRect& canvasRect) const;
    ClientRect canvasRectFromBox(const ClientRect& boxRect) const;
    // The drawing pixels that a rectangle of the box shows, every one it
    // touches, within the drawing area (from its corner).
    PixelRect canvasPixelsFromBox(const PixelRect& boxRect) const;
    // The drawing area in the box's pixels.
    ClientRect drawingAreaInBox() const;
    // The colours of the canvas's sunken frame, its edges above and to the
    // left first, and of the ring that shows the keyboard's focus on it.
    struct FrameColors {
        Rgb shadow, highlight, darkShadow, light, focusRing;
    };
    static constexpr FrameColors kFrameColors{0x808080, 0xFFFFFF, 0x404040, 0xC0C0C0, 0x0050D0};
    // A rectangle of the canvas's frame, filled with one colour.
    struct FrameFill {
        PixelRect rect;
        Rgb color = kBlack;
    };
    // The classic sunken frame in the canvas's unscaled pixels: a dark grey
    // and white outer edge, a near-black and light grey inner edge; with the
    // focus ring, a blue ring over the whole frame.
    std::vector<FrameFill> frame(bool focusRing) const;
    // The box is whole pixels of the grid; the scaled canvas may end inside its
    // last column or row, which shows the window's ground: these parts of a box
    // of this size, in its own pixels.
    std::vector<PixelRect> groundBeside(double boxWidth, double boxHeight) const;
    // The picture of the strokes for a box whose corner lies at `boxCorner`
    // of a window with `deviceRatio` device pixels per window pixel.
    StrokeRaster strokeRaster(double deviceRatio, ClientPoint boxCorner) const;

  private:
    double scale_;
    double ratio_;
    int border_;
    PixelRect layout_;
    double drawingWidth_;
    double drawingHeight_;
};

// The least scale of the form on a web page: below it a fingertip could not
// tell the check boxes apart (32 layout pixels between them, where a target
// wants 24 CSS pixels). A page smaller than that scrolls to the rest instead.
inline constexpr double kLeastPageScale = 0.75;

// The form on a web page, which scales the whole of it by one transform: as
// large as the page allows (but never below kLeastPageScale), centred, with
// the canvas's drawing area on whole device pixels, so that the pixels of its
// pictures fall on the screen's.
struct PageFit {
    // The form's corner on the page, and its scale.
    double left = 0;
    double top = 0;
    double scale = 1;
    // Whether the form at the least scale is larger than the page, which then
    // scrolls to the rest of it.
    bool scrolls = false;

    static PageFit fit(double width, double height, double pixelRatio, const PictureBox& canvas);
    // Where a point of the page (a client point plus the page's scroll) lies
    // in the canvas's drawing pixels.
    ClientPoint canvasFromPage(ClientPoint page, const PictureBox& canvas) const;

    bool operator==(const PageFit&) const = default;
};

}  // namespace heikosen
