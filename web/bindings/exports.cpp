// The form in the browser: one Form1 with the page as its host, its text
// measurer and its drawing surface, and the functions that the page calls.
// The page forwards the user's events here and draws what comes back: the
// canvas items, the rectangles to repaint and the new pen strokes.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "json_writer.h"
#include "properties.h"
#include "ui/canvas_scene.h"
#include "ui/form1.h"
#include "ui/pointer_input.h"
#include "ui/stroke_store.h"
#include "ui/window_controls.h"

// The page's side, in library.js.
extern "C" {
double hk_js_measure(const char* text, int textLength, const char* font, int fontLength, int px,
                     int bold);
void hk_js_end();
void hk_js_ask(const char* title, int titleLength, const char* prompt, int promptLength);
int hk_js_print();
void hk_js_message(const char* title, int titleLength, const char* text, int textLength);
}

namespace heikosen::web {

namespace {

int length(const std::string& text) {
    return static_cast<int>(text.size());
}

// Label widths from the font that the browser really uses; where the page has
// no fonts to measure with (the page written when the site is assembled), it
// answers with a negative width and the core's estimate stands in.
class BrowserMeasurer final : public TextMeasurer {
  public:
    double width(const std::string& text, const TextFont& font) const override {
        const double measured =
            hk_js_measure(text.data(), length(text), font.family.data(), length(font.family),
                          font.pixelSize, font.bold ? 1 : 0);
        return measured >= 0 ? measured : estimate_.width(text, font);
    }

  private:
    EstimatingTextMeasurer estimate_;
};

// How printing went, as the page reports it.
enum PageStatus { kPagePrinted = 0, kPageCancelled = 1, kPageCannotPrint = 2 };

// The services of the page: the dialog for the name answers later, so asking
// opens it and returns no name; the answer comes back through printWithName.
class BrowserHost final : public FormHost {
  public:
    void endProgram() override { hk_js_end(); }

    std::string inputBox(const std::string& prompt, const std::string& title) override {
        hk_js_ask(title.data(), length(title), prompt.data(), length(prompt));
        return {};
    }

    PrintOutcome printForm(const Form1& /*form*/) override {
        switch (hk_js_print()) {
            case kPagePrinted:
                return {PrintOutcome::Status::Printed, {}};
            case kPageCancelled:
                return {PrintOutcome::Status::Cancelled, {}};
            default:
                return {PrintOutcome::Status::Failed, "このブラウザーでは印刷できません。"};
        }
    }

    void showMessage(const std::string& title, const std::string& text) override {
        hk_js_message(title.data(), length(title), text.data(), length(text));
    }
};

// The kinds of canvas item.
enum ItemKind : std::int32_t { kSegmentItem, kTextItem, kPictureItem, kCircleItem };

// One canvas item for the page, in 32-bit words. The page reads where each
// word lies from hk_layout, so that the two sides cannot drift apart.
enum Word : std::size_t {
    kKind,                    // ItemKind
    kControl,                 // CanvasControl
    kIndex,                   // index in its control array
    kColor,                   // segment, text, circle: 0xRRGGBB
    kWidth,                   // segment and circle: pen width; text: back colour
    kStyle,                   // segment: 1 for round ends; picture: Letter; text: bold
    kGeometry,                // segment: x1, y1, x2, y2; circle: centre x, y, radius and
                              // shift, as floats; text and picture: box in whole pixels
    kBounds = kGeometry + 4,  // the pixels the item may touch: left, top, width, height
    kCaption = kBounds + 4,   // text: caption's address and length in bytes
    kFont = kCaption + 2,     // text: family name's address and length, size in px
    kOpaque = kFont + 3,      // text: fills its box first
    kShift,                   // segment: the pen's shift across, x and y, as floats
    kDash = kShift + 2,       // segment: on and off lengths as floats, 0 off for solid
    kRecordWords = kDash + 2,
};

// What the page reads after an event, in 32-bit words.
enum Header : std::size_t {
    kRectCount,
    kRects,  // address of left, top, width, height per rectangle
    kItemCount,
    kItems,  // address of the items
    kWiped,  // the board was wiped: clear the strokes before drawing the fresh ones
    kFreshCount,
    kFresh,  // address of the fresh segments (StrokeSegment)
    kAreaWidth,
    kAreaHeight,
    kHeaderWords,
};

std::int32_t wordOf(float value) {
    std::int32_t word = 0;
    std::memcpy(&word, &value, sizeof word);
    return word;
}

std::int32_t addressOf(const void* pointer) {
    return static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(pointer));
}

void putFloats(std::int32_t* record, std::size_t at, std::initializer_list<float> values) {
    for (const float value : values) {
        record[at++] = wordOf(value);
    }
}

void putBox(std::int32_t* record, std::size_t at, const PixelRect& box) {
    record[at] = box.left;
    record[at + 1] = box.top;
    record[at + 2] = box.width;
    record[at + 3] = box.height;
}

void pack(const CanvasItem& item, std::int32_t* record) {
    std::fill(record, record + kRecordWords, 0);
    record[kControl] = static_cast<std::int32_t>(item.control.control);
    record[kIndex] = item.control.index;
    putBox(record, kBounds, itemBounds(item));
    if (const auto* line = std::get_if<SegmentItem>(&item.shape)) {
        record[kKind] = kSegmentItem;
        record[kColor] = static_cast<std::int32_t>(line->color);
        record[kWidth] = line->width;
        record[kStyle] = line->cap == LineCap::Round ? 1 : 0;
        putFloats(record, kGeometry, {line->x1, line->y1, line->x2, line->y2});
        putFloats(record, kShift, {line->shiftX, line->shiftY});
        putFloats(record, kDash, {line->dashOn, line->dashOff});
    } else if (const auto* label = std::get_if<TextItem>(&item.shape)) {
        record[kKind] = kTextItem;
        record[kColor] = static_cast<std::int32_t>(label->foreColor);
        record[kWidth] = static_cast<std::int32_t>(label->backColor);
        record[kStyle] = label->font.bold ? 1 : 0;
        putBox(record, kGeometry, label->box);
        record[kCaption] = addressOf(label->caption.data());
        record[kCaption + 1] = length(label->caption);
        record[kFont] = addressOf(label->font.family.data());
        record[kFont + 1] = length(label->font.family);
        record[kFont + 2] = label->font.pixelSize;
        record[kOpaque] = label->opaque ? 1 : 0;
    } else if (const auto* picture = std::get_if<PictureItem>(&item.shape)) {
        record[kKind] = kPictureItem;
        record[kStyle] = static_cast<std::int32_t>(picture->letter);
        putBox(record, kGeometry, picture->box);
    } else {
        const auto& circle = std::get<CircleItem>(item.shape);
        record[kKind] = kCircleItem;
        record[kColor] = static_cast<std::int32_t>(circle.color);
        record[kWidth] = circle.width;
        putFloats(record, kGeometry, {circle.centreX, circle.centreY, circle.radius, circle.shift});
    }
}

class BrowserForm {
  public:
    BrowserForm() {
        form_.setTextMeasurer(&measurer_);
        form_.setHost(&host_);
        form_.gamen.setSurface(&strokes_);
        form_.Form_Load();
        strokes_.setArea(form_.gamen.innerWidth(), form_.gamen.innerHeight());
    }
    BrowserForm(const BrowserForm&) = delete;
    BrowserForm& operator=(const BrowserForm&) = delete;
    ~BrowserForm() {
        form_.gamen.setSurface(nullptr);
        form_.setHost(nullptr);
    }

    Form1& form() { return form_; }
    StrokeStore& strokes() { return strokes_; }
    PointerInput& pointer() { return pointer_; }

    // The strokes that the page has drawn, in drawing order, copied for it: -1
    // when the board has more than are kept.
    int keptCount() const {
        return strokes_.keepsEveryStroke() ? static_cast<int>(strokes_.freshStart()) : -1;
    }
    const StrokeSegment* kept() {
        // The copy grows with the board and starts again after a wipe.
        if (keptWipes_ != form_.gamen.clsCount() || kept_.size() > strokes_.freshStart()) {
            kept_.clear();
            keptWipes_ = form_.gamen.clsCount();
        }
        for (std::size_t i = kept_.size(); i < strokes_.freshStart(); ++i) {
            kept_.push_back(strokes_.kept(i));
        }
        return kept_.data();
    }

    // Brings the page's picture of the canvas up to date: the rectangles that
    // changed since the last call (all of the drawing area when `everything`),
    // the items as they stand, and the strokes drawn meanwhile.
    const std::int32_t* refresh(bool everything) {
        const PixelRect area{0, 0, static_cast<int>(form_.gamen.innerWidth()),
                             static_cast<int>(form_.gamen.innerHeight())};
        buildCanvasScene(form_, next_);
        if (everything) {
            rects_.assign(1, area);
        } else {
            rects_ = changedRects(drawn_, next_, area);
        }
        std::swap(drawn_, next_);
        if (!rects_.empty()) {
            records_.resize(drawn_.size() * kRecordWords);
            for (std::size_t i = 0; i < drawn_.size(); ++i) {
                pack(drawn_[i], records_.data() + i * kRecordWords);
            }
        }
        header_[kRectCount] = static_cast<std::int32_t>(rects_.size());
        header_[kRects] = addressOf(rects_.data());
        header_[kItemCount] = static_cast<std::int32_t>(drawn_.size());
        header_[kItems] = addressOf(records_.data());
        header_[kWiped] = strokes_.takeWiped() ? 1 : 0;
        fresh_.clear();
        for (std::size_t i = strokes_.freshStart(); i < strokes_.keptSegmentCount(); ++i) {
            fresh_.push_back(strokes_.kept(i));
        }
        header_[kFreshCount] = static_cast<std::int32_t>(fresh_.size());
        header_[kFresh] = addressOf(fresh_.data());
        header_[kAreaWidth] = area.width;
        header_[kAreaHeight] = area.height;
        return header_;
    }

  private:
    BrowserMeasurer measurer_;
    BrowserHost host_;
    StrokeStore strokes_;
    Form1 form_;
    PointerInput pointer_{form_};
    std::vector<StrokeSegment> fresh_;
    std::vector<StrokeSegment> kept_;
    std::uint64_t keptWipes_ = 0;
    CanvasScene drawn_;
    CanvasScene next_;
    std::vector<PixelRect> rects_;
    std::vector<std::int32_t> records_;
    std::int32_t header_[kHeaderWords] = {};
};

std::unique_ptr<BrowserForm> app;
JsonWriter json;
std::string input;

Form1& form() {
    if (!app) {
        app = std::make_unique<BrowserForm>();
    }
    return app->form();
}

const char* finish(const JsonWriter& writer) {
    return writer.text().c_str();
}

}  // namespace

}  // namespace heikosen::web

using heikosen::web::app;
using heikosen::web::form;
using heikosen::web::input;
using heikosen::web::json;

extern "C" {

// Starts the program, or starts it again from the beginning.
EMSCRIPTEN_KEEPALIVE void hk_start() {
    app.reset();
    form();
}

// A buffer of `size` bytes for a string from the page (UTF-8).
EMSCRIPTEN_KEEPALIVE char* hk_input(int size) {
    input.assign(static_cast<std::size_t>(std::max(0, size)), '\0');
    return input.data();
}

// The length in bytes of the last text handed out.
EMSCRIPTEN_KEEPALIVE int hk_text_length() {
    return static_cast<int>(json.text().size());
}

EMSCRIPTEN_KEEPALIVE const char* hk_window() {
    json.clear();
    heikosen::web::writeWindow(json, form());
    return heikosen::web::finish(json);
}

// The control named in the input buffer.
EMSCRIPTEN_KEEPALIVE const char* hk_control(int index) {
    json.clear();
    heikosen::web::writeControl(json, form(), input, index);
    return heikosen::web::finish(json);
}

EMSCRIPTEN_KEEPALIVE const char* hk_variables() {
    json.clear();
    heikosen::web::writeVariables(json, form());
    return heikosen::web::finish(json);
}

// The canvas items as they stand.
EMSCRIPTEN_KEEPALIVE const char* hk_scene() {
    json.clear();
    heikosen::web::writeScene(json, heikosen::canvasScene(form()));
    return heikosen::web::finish(json);
}

// A click on the control at `position` in the window's list (hk_window).
EMSCRIPTEN_KEEPALIVE void hk_activate(int position) {
    const heikosen::WindowControls controls = heikosen::windowControls(form());
    if (position >= 0 && position < static_cast<int>(controls.size())) {
        heikosen::activateControl(form(), controls[static_cast<std::size_t>(position)]);
    }
}

// A key (the core's ControlKey, 0 to 7) while the control at `focused` in the
// window's list has the focus (-1: none). 0 when the window leaves the key to
// the control; else 1 + 2 × (the position to focus + 1) + 128 × (the position
// to click + 1), where -1 is none.
EMSCRIPTEN_KEEPALIVE int hk_control_key(int focused, int key, int modified, int repeat) {
    if (key < 0 || key > static_cast<int>(heikosen::ControlKey::Space)) {
        return 0;
    }
    const heikosen::KeyOutcome outcome =
        heikosen::controlKey(heikosen::windowControls(form()), focused,
                             {static_cast<heikosen::ControlKey>(key), modified != 0, repeat != 0});
    return outcome.handled ? 1 + 2 * (outcome.focus + 1) + 128 * (outcome.activate + 1) : 0;
}

// A pointer event on the canvas (0 press, 1 move, 2 release), from the pointer
// `id` of kind PointerKind (0 mouse, 1 pen, 2 touch), at (x, y) in canvas
// pixels, with the core's buttons held after it and, for a press, the one it
// put down; `time` in milliseconds. 1 when the form got a press or a release,
// after which the window's controls may show something new.
EMSCRIPTEN_KEEPALIVE int hk_pointer(int type, int id, int kind, float x, float y, int buttons,
                                    int pressed, double time) {
    form();
    const heikosen::PointerEvent event{
        id,  static_cast<heikosen::PointerKind>(std::clamp(kind, 0, 2)), x, y, buttons, pressed,
        time};
    heikosen::PointerInput& pointer = heikosen::web::app->pointer();
    switch (type) {
        case 0:
            return pointer.press(event) ? 1 : 0;
        case 1:
            return pointer.move(event) ? 1 : 0;
        default:
            return pointer.release(event) ? 1 : 0;
    }
}

// The pointer `id` was cancelled or lost its capture; with -1, the window lost
// every pointer (it went to the background).
EMSCRIPTEN_KEEPALIVE int hk_pointer_gone(int id) {
    form();
    heikosen::PointerInput& pointer = heikosen::web::app->pointer();
    return (id < 0 ? pointer.letGo() : pointer.cancel(id)) ? 1 : 0;
}

// A key on the canvas while it has the focus: the core's CanvasKey (0 to 10),
// with Shift, and whether it is the repeat of a key held down; 1 when the
// canvas used it.
EMSCRIPTEN_KEEPALIVE int hk_canvas_key(int key, int shift, int repeat) {
    if (key < 0 || key > static_cast<int>(heikosen::CanvasKey::C)) {
        return 0;
    }
    return form().canvasKey(static_cast<heikosen::CanvasKey>(key), shift != 0, repeat != 0) ? 1 : 0;
}

// The canvas lost the focus: the handle that the keys hold is let go.
EMSCRIPTEN_KEEPALIVE void hk_canvas_blur() {
    form().canvasFocusLost();
}

// The name from the page's dialog (in the input buffer): the print goes on.
EMSCRIPTEN_KEEPALIVE void hk_print_with_name() {
    form().printWithName(input);
}

EMSCRIPTEN_KEEPALIVE const std::int32_t* hk_refresh(int everything) {
    form();
    return app->refresh(everything != 0);
}

// Where the words of a canvas item, of a refresh's header and of a segment
// lie, by name, as JSON.
EMSCRIPTEN_KEEPALIVE const char* hk_layout() {
    using namespace heikosen::web;
    json.clear();
    json.beginObject();
    const std::pair<const char*, std::size_t> words[] = {
        {"RECORD", kRecordWords},
        {"KIND", kKind},
        {"COLOR", kColor},
        {"WIDTH", kWidth},
        {"STYLE", kStyle},
        {"GEOMETRY", kGeometry},
        {"BOUNDS", kBounds},
        {"CAPTION", kCaption},
        {"FONT", kFont},
        {"OPAQUE", kOpaque},
        {"SHIFT", kShift},
        {"DASH", kDash},
        {"RECT_COUNT", kRectCount},
        {"RECTS", kRects},
        {"ITEM_COUNT", kItemCount},
        {"ITEMS", kItems},
        {"WIPED", kWiped},
        {"FRESH_COUNT", kFreshCount},
        {"FRESH", kFresh},
        {"AREA_WIDTH", kAreaWidth},
        {"AREA_HEIGHT", kAreaHeight},
        {"SEGMENT", sizeof(heikosen::StrokeSegment) / sizeof(std::int32_t)},
        {"LINE", kSegmentItem},
        {"LABEL", kTextItem},
        {"PICTURE", kPictureItem},
    };
    for (const auto& [name, at] : words) {
        json.field(name, static_cast<int>(at));
    }
    json.endObject();
    return finish(json);
}

// Whether the kept strokes are few enough to draw again at once after a change
// of resolution, and else where the slice of a redraw that has drawn `done`
// of them ends.
EMSCRIPTEN_KEEPALIVE int hk_redraws_at_once() {
    form();
    return app->strokes().redrawsAtOnce() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int hk_redraw_slice_end(int done) {
    form();
    return static_cast<int>(
        app->strokes().redrawSliceEnd(static_cast<std::size_t>(std::max(0, done))));
}

// The page has drawn the fresh segments that the last refresh handed out.
EMSCRIPTEN_KEEPALIVE void hk_strokes_drawn() {
    form();
    app->strokes().markDrawn();
}

// Every stroke on the board, to draw again at another resolution; the count is
// -1 when the board has more strokes than are kept.
EMSCRIPTEN_KEEPALIVE int hk_kept_count() {
    form();
    return app->keptCount();
}

EMSCRIPTEN_KEEPALIVE const heikosen::StrokeSegment* hk_kept() {
    form();
    return app->kept();
}

}  // extern "C"
