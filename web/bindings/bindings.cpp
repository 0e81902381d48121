// The module's functions and constants, as the page calls them: one form,
// started (and started again) by start(); the user's clicks, keys and pointer
// events forwarded to it; what the page draws handed back after each; and the
// places of the words in the canvas records, which the page's painter reads.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "browser_form.h"
#include "canvas_records.h"
#include "members.h"
#include "properties.h"
#include "ui/viewport.h"
#include "ui/window_controls.h"

namespace heikosen::web {

namespace {

using emscripten::val;

std::unique_ptr<BrowserForm> app;
PageFit pageFit;

Form1& form() {
    return runningForm().form();
}

// Starts the program, or starts it again from the beginning.
void start() {
    app.reset();
    runningForm();
}

val window() {
    return windowValue(form());
}

// A click on the control at `position` in the window's list.
void activate(int position) {
    const WindowControls controls = windowControls(form());
    if (position >= 0 && position < static_cast<int>(controls.size())) {
        activateControl(form(), controls[static_cast<std::size_t>(position)]);
    }
}

// A key (ControlKey) while the control at `focused` in the window's list has
// the focus (-1: none), with Shift, with another modifier, and whether it
// repeats a key held down: whether the window takes it, the position to focus
// and the one to click (-1: none), and whether the canvas took it.
val key(int focused, int key, bool shift, bool otherModifiers, bool repeat) {
    KeyOutcome outcome;
    if (key >= 0 && key <= static_cast<int>(ControlKey::C)) {
        outcome = windowKey(form(), windowControls(form()), focused, static_cast<ControlKey>(key),
                            shift, otherModifiers, repeat);
    }
    return Members()("handled", outcome.handled)("focus", outcome.focus)(
        "activate", outcome.activate)("canvas", outcome.canvas);
}

// The form fitted to the page: its client size and device pixel ratio. The
// form's corner and scale, for the page's transform, and whether the page
// scrolls to the rest of the form.
val fit(double width, double height, double pixelRatio) {
    pageFit = PageFit::fit(width, height, pixelRatio, form().gamen);
    return Members()("left", pageFit.left)("top", pageFit.top)("scale", pageFit.scale)(
        "scrolls", pageFit.scrolls);
}

// A pointer event on the canvas (0 press, 1 move, 2 release) from the pointer
// `id` of kind PointerKind (0 mouse, 1 pen, 2 touch), at (x, y) on the page
// (a client point plus the page's scroll), with the buttons held after it and,
// for a press, the one it put down; `time` in milliseconds. True when the form
// got a press or a release, after which the window's controls may show
// something new.
bool pointer(int type, int id, int kind, double x, double y, int buttons, int pressed,
             double time) {
    const ClientPoint at = pageFit.canvasFromPage({x, y}, form().gamen);
    const PointerEvent event{id,
                             static_cast<PointerKind>(std::clamp(kind, 0, 2)),
                             static_cast<float>(at.x),
                             static_cast<float>(at.y),
                             buttons,
                             pressed,
                             time};
    PointerInput& input = runningForm().pointer();
    switch (type) {
        case 0:
            return input.press(event);
        case 1:
            return input.move(event);
        default:
            return input.release(event);
    }
}

// The pointer `id` was cancelled or lost its capture; with -1, the window lost
// every pointer (it went to the background).
bool pointerGone(int id) {
    PointerInput& input = runningForm().pointer();
    return id < 0 ? input.letGo() : input.cancel(id);
}

// The canvas lost the focus: the handle that the keys hold is let go.
void canvasBlur() {
    form().canvasFocusLost();
}

// The name from the page's dialog: the print goes on.
void printWithName(const std::string& name) {
    form().printWithName(name);
}

// The header of what changed (Header), in the module's memory.
val refresh(bool everything) {
    return val(emscripten::typed_memory_view(kHeaderWords, runningForm().refresh(everything)));
}

// The page has drawn the fresh segments that the last refresh handed out.
void strokesDrawn() {
    runningForm().strokes().markDrawn();
}

// Every stroke on the board, to draw again at another resolution: their count
// (-1 when the board has more than are kept) and their address.
int keptCount() {
    return runningForm().keptCount();
}

int kept() {
    return addressOf(runningForm().kept());
}

// Whether the kept strokes are few enough to draw again at once after a change
// of resolution, and else where the slice of a redraw that has drawn `done` of
// them ends.
bool redrawsAtOnce() {
    return runningForm().strokes().redrawsAtOnce();
}

int redrawSliceEnd(int done) {
    return static_cast<int>(
        runningForm().strokes().redrawSliceEnd(static_cast<std::size_t>(std::max(0, done))));
}

}  // namespace

BrowserForm& runningForm() {
    if (!app) {
        app = std::make_unique<BrowserForm>();
    }
    return *app;
}

}  // namespace heikosen::web

EMSCRIPTEN_BINDINGS(heikosen) {
    using namespace emscripten;
    using namespace heikosen::web;
    function("start", &start);
    function("window", &window);
    function("activate", &activate);
    function("key", &key);
    function("fit", &fit);
    function("pointer", &pointer);
    function("pointerGone", &pointerGone);
    function("canvasBlur", &canvasBlur);
    function("printWithName", &printWithName);
    function("refresh", &refresh);
    function("strokesDrawn", &strokesDrawn);
    function("keptCount", &keptCount);
    function("kept", &kept);
    function("redrawsAtOnce", &redrawsAtOnce);
    function("redrawSliceEnd", &redrawSliceEnd);

    // Where the words of a canvas record, of the header and of a segment lie.
    constant("RECORD_WORDS", static_cast<int>(kRecordWords));
    constant("RECORD_KIND", static_cast<int>(kKind));
    constant("RECORD_COLOR", static_cast<int>(kColor));
    constant("RECORD_WIDTH", static_cast<int>(kWidth));
    constant("RECORD_STYLE", static_cast<int>(kStyle));
    constant("RECORD_GEOMETRY", static_cast<int>(kGeometry));
    constant("RECORD_CAPTION", static_cast<int>(kCaption));
    constant("RECORD_FONT", static_cast<int>(kFont));
    constant("RECORD_OPAQUE", static_cast<int>(kOpaque));
    constant("RECORD_SHIFT", static_cast<int>(kShift));
    constant("RECORD_DASH", static_cast<int>(kDash));
    constant("ITEM_SEGMENT", static_cast<int>(kSegmentItem));
    constant("ITEM_TEXT", static_cast<int>(kTextItem));
    constant("ITEM_PICTURE", static_cast<int>(kPictureItem));
    constant("ITEM_CIRCLE", static_cast<int>(kCircleItem));
    constant("HEADER_RECT_COUNT", static_cast<int>(kRectCount));
    constant("HEADER_RECTS", static_cast<int>(kRects));
    constant("HEADER_ITEM_COUNT", static_cast<int>(kItemCount));
    constant("HEADER_ITEMS", static_cast<int>(kItems));
    constant("HEADER_WIPED", static_cast<int>(kWiped));
    constant("HEADER_FRESH_COUNT", static_cast<int>(kFreshCount));
    constant("HEADER_FRESH", static_cast<int>(kFresh));
    constant("HEADER_AREA_WIDTH", static_cast<int>(kAreaWidth));
    constant("HEADER_AREA_HEIGHT", static_cast<int>(kAreaHeight));
    constant("SEGMENT_WORDS", static_cast<int>(sizeof(heikosen::StrokeSegment) / 4));
}
