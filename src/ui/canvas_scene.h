#pragma once

// What the canvas shows, as plain values: one item per control drawn on it, in
// the order in which they lie on each other. Beneath them all lies the drawing
// surface with the strokes of the pens (see DrawingSurface); above it, lowest
// first, the grid, the arrow marks, the figure's lines, the extensions and the
// copy of m, the marker lines, the letter pictures, the labels and the eraser
// outline. Hit-testing walks this list from the top, every front end paints
// it, and the part of the canvas to repaint after an event is found by
// comparing the list a front end last drew with the form's (DrawnScene). A
// control added to the canvas is added here alone.

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "ui/controls.h"

namespace heikosen {

class Form1;

// The control arrays and single controls that stand on the canvas.
enum class CanvasControl : std::uint8_t {
    Line1,
    Line2,
    Line3,
    Line4,
    Line5,
    Line6,
    Image1,
    Label2,
    Label3,
    Label5,
    Shape1,
};

// The control an item shows: its name and its index (0 for a single control).
struct ControlId {
    CanvasControl control = CanvasControl::Line1;
    int index = 0;
    bool operator==(const ControlId&) const = default;
};

// How the ends of a segment look: cut square at its points, or round, a disc
// as wide as the pen over each point.
enum class LineCap : std::uint8_t { Flat, Round };

// A straight segment from (x1, y1) to (x2, y2), `width` pixels wide. A pen one
// pixel wide covers the pixels to the right of and below its points: its
// centre line lies (shiftX, shiftY) from them, half a pixel across its
// direction. A dotted segment is drawn `dashOn` pixels on, `dashOff` off from
// its first point; a solid one has no gaps (dashOff 0). The segment is already
// cut to the drawing area with room for its pen, so that one dragged far away
// costs nothing.
struct SegmentItem {
    float x1 = 0;
    float y1 = 0;
    float x2 = 0;
    float y2 = 0;
    float shiftX = 0;
    float shiftY = 0;
    Rgb color = kBlack;
    int width = 1;
    LineCap cap = LineCap::Flat;
    float dashOn = 0;
    float dashOff = 0;
    bool operator==(const SegmentItem&) const = default;
};

// A caption in a box of whole pixels, at its top left, in `font`; its lines
// one below the other, each `lineHeight` pixels high with the font's ascent
// from its top to its baseline. An opaque text fills its box with its back
// colour first; the caption is cut at the box. `hitBox` is the label's box as
// it stands, where it takes the pointer.
struct TextItem {
    PixelRect box;
    Bounds hitBox;
    std::string caption;
    TextFont font;
    int lineHeight = 12;
    Rgb foreColor = kBlack;
    Rgb backColor = kWhite;
    bool opaque = true;
    bool operator==(const TextItem&) const = default;
};

// One of the letter pictures, filling its box of whole pixels; `file` names the
// picture among the program's resources; `hitBox` is the control's box as it
// stands, where it takes the pointer.
struct PictureItem {
    Letter letter = Letter::P;
    const char* file = "";
    PixelRect box;
    Bounds hitBox;
    bool operator==(const PictureItem& other) const {
        return letter == other.letter && box == other.box && hitBox == other.hitBox;
    }
};

// A front end keeps the letter pictures it scaled, up to this many; a new
// scale of the window starts afresh.
inline constexpr std::size_t kMaxScaledPictures = 64;

// A grey picture (one byte a pixel, `stride` bytes a row) shrunk to
// `toWidth` x `toHeight` by a whole factor, the same both ways (the letter
// pictures are 8 times their size: 8 times at a ratio of 1, 4 times at 2), each
// block of pixels averaged and rounded to the nearest: opaque grey pixels
// 0xFFgggggg, row by row. For a whole factor that is what smooth scaling
// gives, at a fraction of its cost, which counts at start-up. Empty for any
// other size.
std::vector<std::uint32_t> shrinkGrey(const std::uint8_t* pixels, std::ptrdiff_t stride, int width,
                                      int height, int toWidth, int toHeight);

// The outline of a circle of `radius` about (centreX, centreY), drawn with a
// pen `width` pixels wide whose centre line lies (shift, shift) from it, as
// for a segment; it is the largest circle that fits `box`, centred in it. A
// circle with a negative radius (an empty box) draws nothing.
struct CircleItem {
    PixelRect box;
    float centreX = 0;
    float centreY = 0;
    float radius = 0;
    float shift = 0;
    Rgb color = kBlack;
    int width = 1;
    bool operator==(const CircleItem&) const = default;
};

struct CanvasItem {
    ControlId control;
    std::variant<SegmentItem, TextItem, PictureItem, CircleItem> shape;
    bool operator==(const CanvasItem&) const = default;
};

using CanvasScene = std::vector<CanvasItem>;

// Everything the canvas shows, lowest first, resolved for drawing. Hidden
// controls are left out, and so are lines wholly beyond the drawing area;
// other controls parked out of sight are listed where they stand.
CanvasScene canvasScene(const Form1& form);
// The same into `scene`, reusing its storage.
void buildCanvasScene(const Form1& form, CanvasScene& scene);

// The topmost item at (x, y) that takes the pointer (a label or a picture;
// lines and the eraser outline let it through to the canvas), or null.
const CanvasItem* itemAt(const CanvasScene& scene, float x, float y);

// A box in whole pixels, as labels and pictures stand on screen.
PixelRect pixelBox(const Bounds& box);

// The pixels an item may touch when drawn, in canvas pixels: its box or its
// line with room for the pen's width and for rounding.
PixelRect itemBounds(const CanvasItem& item);

// Whether an item may touch any of the rectangles when drawn: whether it is
// to be drawn again when they are.
bool touchesAny(const CanvasItem& item, const std::vector<PixelRect>& rects);

// The rectangles grown by as many canvas pixels as one device pixel covers, at
// least one, at `deviceScale` device pixels per canvas pixel: a device pixel on
// a rectangle's edge shows a little of the canvas beyond it, and what an item
// that touches the grown rectangles draws there.
std::vector<PixelRect> deviceReach(std::vector<PixelRect> rects, double deviceScale);

// The rectangles of `area` that must be drawn again to go from `before` to
// `after`: what each changed, added or removed item covered and covers now.
// Returns `area` alone when so much changed that one repaint of everything is
// cheaper, and nothing when nothing visible changed.
std::vector<PixelRect> changedRects(const CanvasScene& before, const CanvasScene& after,
                                    const PixelRect& area);

// The canvas as a front end last drew it, and the step that brings its picture
// up to date after an event: the form's scene built afresh, the rectangles
// that changed since the last refresh, and the new scene kept as the one drawn.
// Each front end keeps one; the scenes' storage is reused from refresh to
// refresh.
class DrawnScene {
  public:
    // Nothing drawn yet: the first refresh changes the whole drawing area.
    DrawnScene() = default;
    // The form's scene as it stands, taken as drawn.
    explicit DrawnScene(const Form1& form) { buildCanvasScene(form, drawn_); }

    // The scene of the last refresh.
    const CanvasScene& scene() const { return drawn_; }
    // The form's scene as it stands, built afresh beside the drawn one, which
    // stays as it was; good until the next build or refresh.
    const CanvasScene& build(const Form1& form);
    // Builds the form's scene afresh and keeps it as drawn. The rectangles of
    // `area` to draw again: those that changed since the last refresh, or
    // `area` whole when `everything`; good until the next refresh.
    const std::vector<PixelRect>& refresh(const Form1& form, const PixelRect& area,
                                          bool everything = false);
    // Calls `draw` with each item of the drawn scene that touches any of
    // `rects`, lowest first: the items to draw again there.
    template <typename Draw>
    void forEachTouching(const std::vector<PixelRect>& rects, Draw&& draw) const {
        for (const CanvasItem& item : drawn_) {
            if (touchesAny(item, rects)) {
                draw(item);
            }
        }
    }

  private:
    CanvasScene drawn_;
    CanvasScene built_;
    std::vector<PixelRect> changed_;
};

}  // namespace heikosen
