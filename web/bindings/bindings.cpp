// The module's functions, as the page calls them: one form,
// started (and started again) by start(); the user's clicks, keys and pointer
// events forwarded to it; the window's controls and what the page draws handed
// back after each; and the places of the words in their records, which the
// page's view and painter read.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "browser_form.h"
#include "canvas_records.h"
#include "printing/print_command.h"
#include "ui/viewport.h"
#include "ui/window_controls.h"
#include "window_records.h"

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

// The window's controls as they stand (WindowWord).
val window() {
    return val(emscripten::typed_memory_view(kWindowWords, runningForm().window()));
}

// What stays of the window while the program runs (windowFacts).
val facts() {
    return windowFacts(form());
}

// A click on the control at `position` in the window's list.
void activate(int position) {
    const WindowControls controls = windowControls(form());
    if (position >= 0 && position < static_cast<int>(controls.size())) {
        activateControl(form(), controls[static_cast<std::size_t>(position)]);
    }
}

// A key while the control at `focused` in the window's list has the focus
// (-1: none), with Shift, with another modifier, and whether it repeats a key
// held down: whether the window takes it, the position to focus and the one to
// click (-1: none), and whether the canvas took it.
KeyOutcome key(int focused, ControlKey key, bool shift, bool otherModifiers, bool repeat) {
    return windowKey(form(), windowControls(form()), focused, key, shift, otherModifiers, repeat);
}

// The form fitted to the page: its client size and device pixel ratio. The
// form's corner and scale, for the page's transform, and whether the page
// scrolls to the rest of the form.
PageFit fit(double width, double height, double pixelRatio) {
    pageFit = PageFit::fit(width, height, pixelRatio, form().gamen);
    return pageFit;
}

// A pointer event on the canvas from the pointer `id` of that kind, at (x, y)
// on the page (a client point plus the page's scroll), with the page's
// `button` and `buttons`; `time` in milliseconds. -1 for a press that the
// canvas does not take; else 1 when the form got a press or a release, after
// which the window's controls may show something new, and 0.
int pointer(PagePointer type, int id, PointerKind kind, double x, double y, int button, int buttons,
            double time) {
    const ClientPoint at = pageFit.canvasFromPage({x, y}, form().gamen);
    const PointerEvent event{id, kind, static_cast<float>(at.x), static_cast<float>(at.y), buttons,
                             0,  time};
    return runningForm().pointer().pageEvent(type, event, button);
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

// The header of what changed (Header), in the module's memory, for canvases of
// `scale` device pixels per canvas pixel.
val refresh(bool everything, double scale) {
    return val(
        emscripten::typed_memory_view(kHeaderWords, runningForm().refresh(everything, scale)));
}

// The page has drawn the fresh segments that the last refresh handed out.
void strokesDrawn() {
    runningForm().strokes().markDrawn();
}

// The strokes that the page has drawn, to draw again at another resolution:
// their count (-1 when the board has more than are kept), and the address of
// those from `first` up to `end`, one after another.
int keptCount() {
    const StrokeStore& strokes = runningForm().strokes();
    return strokes.keepsEveryStroke() ? static_cast<int>(strokes.freshStart()) : -1;
}

int kept(int first, int end) {
    return addressOf(runningForm().strokes().inOnePiece(
        static_cast<std::size_t>(std::max(0, first)), static_cast<std::size_t>(std::max(0, end))));
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

constexpr int wordsOf(std::size_t bytes) {
    return static_cast<int>(bytes / sizeof(std::int32_t));
}

// Where the words of a canvas record, of a refresh's header, of a pen segment
// (its points x1, y1, x2, y2 in turn, as floats), of a control's record and of
// the window's header lie, and the kinds of item and of control, by the names
// the page's painter and view use.
val recordLayout() {
    // The page's names of the kinds of control, in the order of ControlKind.
    val kinds = val::array();
    for (const char* kind : {"label", "command", "option", "check", "canvas", "picture"}) {
        kinds.call<void>("push", std::string(kind));
    }
    return Fields()("RECORD", kRecordWords)("KIND", kKind)("COLOR", kColor)("WIDTH", kWidth)(
               "STYLE", kStyle)("GEOMETRY", kGeometry)("CAPTION", kCaption)("FONT", kFont)(
               "OPAQUE", kOpaque)("LINE_HEIGHT", kLineHeight)("SHIFT", kShift)("DASH", kDash)(
               "LINE", kSegmentItem)("LABEL", kTextItem)("PICTURE", kPictureItem)(
               "CIRCLE", kCircleItem)("RECT_COUNT", kRectCount)("RECTS", kRects)(
               "ITEM_COUNT", kItemCount)("ITEMS", kItems)("WIPED", kWiped)(
               "FRESH_COUNT", kFreshCount)("FRESH", kFresh)("PIXEL_WIDTH", kPixelWidth)(
               "PIXEL_HEIGHT", kPixelHeight)("SEGMENT", wordsOf(sizeof(StrokeSegment)))(
               "SEGMENT_POINTS", wordsOf(offsetof(StrokeSegment, x1)))(
               "SEGMENT_COLOR", wordsOf(offsetof(StrokeSegment, color)))(
               "SEGMENT_WIDTH", wordsOf(offsetof(StrokeSegment, width)))("CONTROL", kControlWords)(
               "CONTROL_KIND", kControlKind)("GROUP", kGroup)("TAB_STOP", kTabStop)("BOX", kBox)(
               "TEXT", kText)("ID", kId)("NAME", kName)("TYPEFACE", kTypeface)(
               "FONT_PIXELS", kFontPixels)("BOLD", kBold)("VISIBLE", kVisible)("ENABLED", kEnabled)(
               "AUTO_SIZE", kAutoSize)("VALUE", kValue)("BACK_COLOR", kBackColor)(
               "FORE_COLOR", kForeColor)("CONTROL_COUNT", kControlCount)("CONTROLS", kControls)(
               "WINDOW_CAPTION", kWindowCaption)("CANVAS_WORDS", kCanvasWords)("CONTROL_KINDS",
                                                                               kinds)
        .object;
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
    using namespace heikosen;
    using namespace heikosen::web;
    // A key's outcome, and the form's fit to the page.
    value_object<KeyOutcome>("KeyOutcome")
        .field("handled", &KeyOutcome::handled)
        .field("focus", &KeyOutcome::focus)
        .field("activate", &KeyOutcome::activate)
        .field("canvas", &KeyOutcome::canvas);
    value_object<PageFit>("PageFit")
        .field("left", &PageFit::left)
        .field("top", &PageFit::top)
        .field("scale", &PageFit::scale)
        .field("scrolls", &PageFit::scrolls);
    // The page's events by the core's names: a pointer's kind and what it did,
    // and the window's keys (Tab and Shift+Tab stay the browser's own).
    enum_<PointerKind>("PointerKind")
        .value("Mouse", PointerKind::Mouse)
        .value("Pen", PointerKind::Pen)
        .value("Touch", PointerKind::Touch);
    enum_<PagePointer>("PagePointer")
        .value("Down", PagePointer::Down)
        .value("Move", PagePointer::Move)
        .value("Up", PagePointer::Up);
    enum_<ControlKey>("ControlKey")
        .value("Left", ControlKey::Left)
        .value("Right", ControlKey::Right)
        .value("Up", ControlKey::Up)
        .value("Down", ControlKey::Down)
        .value("Enter", ControlKey::Enter)
        .value("Space", ControlKey::Space)
        .value("Escape", ControlKey::Escape)
        .value("P", ControlKey::P)
        .value("Q", ControlKey::Q)
        .value("L", ControlKey::L)
        .value("M", ControlKey::M)
        .value("C", ControlKey::C);
    // How a print went, as the page's printer reports it.
    enum_<PrintOutcome::Status>("PrintStatus")
        .value("Printed", PrintOutcome::Status::Printed)
        .value("Cancelled", PrintOutcome::Status::Cancelled)
        .value("Failed", PrintOutcome::Status::Failed);
    // Pixels of a printed picture per pixel of the window, as the desktop prints.
    constant("printOversampling", printing::kOversampling);
    function("start", &start);
    function("window", &window);
    function("windowFacts", &facts);
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
    function("recordLayout", &recordLayout);
}
