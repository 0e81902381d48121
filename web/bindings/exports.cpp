// The form in the browser: one Form1 with the page as its host, its text
// measurer and its drawing surface, and the functions that the page calls.
// The page forwards the user's events here and draws what comes back: the
// canvas items, the rectangles to repaint and the new pen strokes.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "json_writer.h"
#include "properties.h"
#include "ui/canvas_scene.h"
#include "ui/form1.h"

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

// Label widths from the font that the browser really uses; a line is as high
// as the font's size in pixels, as on the desktop.
class BrowserMeasurer final : public TextMeasurer {
  public:
    Size measure(const std::string& text, const FontSpec& font) const override {
        const int px = pixelSize(font.Size);
        const auto lines = static_cast<float>(std::count(text.begin(), text.end(), '\n') + 1);
        const float height = static_cast<float>(px) * lines;
        if (text.empty()) {
            return {0.0F, height};
        }
        const double width = hk_js_measure(text.data(), length(text), font.Name.data(),
                                           length(font.Name), px, font.Bold ? 1 : 0);
        return {static_cast<float>(std::ceil(std::max(0.0, width) - 0.01)), height};
    }
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

// Keeps the pen strokes since the last wipe for the page: the new ones to draw,
// and all of them (up to a limit) to draw again at another resolution.
class StrokeStore final : public DrawingSurface {
  public:
    static constexpr std::size_t kKeepLimit = 200000;

    void setArea(float width, float height) {
        width_ = width;
        height_ = height;
    }

    void drawSegment(const StrokeSegment& segment) override {
        if (!std::isfinite(segment.x1) || !std::isfinite(segment.y1) ||
            !std::isfinite(segment.x2) || !std::isfinite(segment.y2)) {
            return;
        }
        // A segment wholly off the drawing area leaves no mark.
        const float reach = static_cast<float>(std::max(1, segment.width) + 2);
        if (std::max(segment.x1, segment.x2) + reach < 0 ||
            std::min(segment.x1, segment.x2) - reach > width_ ||
            std::max(segment.y1, segment.y2) + reach < 0 ||
            std::min(segment.y1, segment.y2) - reach > height_) {
            return;
        }
        segments_.push_back(segment);
        if (keepsAll_ && segments_.size() > kKeepLimit) {
            // From here on the page's picture alone holds the older strokes.
            keepsAll_ = false;
            segments_.erase(segments_.begin(),
                            segments_.begin() + static_cast<std::ptrdiff_t>(handedOut_));
            handedOut_ = 0;
        }
    }

    void clear() override {
        segments_.clear();
        handedOut_ = 0;
        keepsAll_ = true;
        wiped_ = true;
    }

    const StrokeSegment* fresh() const { return segments_.data() + handedOut_; }
    int freshCount() const { return static_cast<int>(segments_.size() - handedOut_); }
    bool takeWiped() { return std::exchange(wiped_, false); }

    // The page has drawn the fresh segments.
    void handedOut() {
        if (keepsAll_) {
            handedOut_ = segments_.size();
        } else {
            segments_.clear();
            handedOut_ = 0;
        }
    }

    // Every segment on the board, in drawing order, or -1 when too many were drawn.
    int keptCount() const { return keepsAll_ ? static_cast<int>(handedOut_) : -1; }
    const StrokeSegment* kept() const { return segments_.data(); }

  private:
    std::vector<StrokeSegment> segments_;
    std::size_t handedOut_ = 0;
    bool keepsAll_ = true;
    bool wiped_ = false;
    float width_ = 0;
    float height_ = 0;
};

// One canvas item for the page, in 32-bit words.
enum Word : std::size_t {
    kKind,                    // 0 line, 1 label, 2 picture, 3 ellipse
    kControl,                 // CanvasControl
    kIndex,                   // index in its control array
    kColor,                   // line, label text, ellipse: 0xRRGGBB
    kWidth,                   // line and ellipse: pen width; label: back colour
    kStyle,                   // line: BorderStyle; picture: Letter; label: bold
    kGeometry,                // line: x1, y1, x2, y2 as floats; others: box in whole pixels
    kBounds = kGeometry + 4,  // the pixels the item may touch: left, top, width, height
    kCaption = kBounds + 4,   // label: caption's address and length in bytes
    kFont = kCaption + 2,     // label: family name's address and length, size in px
    kOpaque = kFont + 3,      // label: fills its box first
    kRecordWords,
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
    if (const auto* line = std::get_if<LineItem>(&item.shape)) {
        record[kKind] = 0;
        record[kColor] = static_cast<std::int32_t>(line->color);
        record[kWidth] = line->width;
        record[kStyle] = static_cast<std::int32_t>(line->style);
        record[kGeometry] = wordOf(line->x1);
        record[kGeometry + 1] = wordOf(line->y1);
        record[kGeometry + 2] = wordOf(line->x2);
        record[kGeometry + 3] = wordOf(line->y2);
    } else if (const auto* label = std::get_if<LabelItem>(&item.shape)) {
        record[kKind] = 1;
        record[kColor] = static_cast<std::int32_t>(label->foreColor);
        record[kWidth] = static_cast<std::int32_t>(label->backColor);
        record[kStyle] = label->font.Bold ? 1 : 0;
        putBox(record, kGeometry, pixelBox(label->box));
        record[kCaption] = addressOf(label->caption.data());
        record[kCaption + 1] = length(label->caption);
        record[kFont] = addressOf(label->font.Name.data());
        record[kFont + 1] = length(label->font.Name);
        record[kFont + 2] = pixelSize(label->font.Size);
        record[kOpaque] = label->opaque ? 1 : 0;
    } else if (const auto* picture = std::get_if<PictureItem>(&item.shape)) {
        record[kKind] = 2;
        record[kStyle] = static_cast<std::int32_t>(picture->letter);
        putBox(record, kGeometry, pixelBox(picture->box));
    } else {
        const auto& ellipse = std::get<EllipseItem>(item.shape);
        record[kKind] = 3;
        record[kColor] = static_cast<std::int32_t>(ellipse.color);
        record[kWidth] = ellipse.width;
        putBox(record, kGeometry, pixelBox(ellipse.box));
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
        header_[kFreshCount] = strokes_.freshCount();
        header_[kFresh] = addressOf(strokes_.fresh());
        header_[kAreaWidth] = area.width;
        header_[kAreaHeight] = area.height;
        return header_;
    }

  private:
    BrowserMeasurer measurer_;
    BrowserHost host_;
    StrokeStore strokes_;
    Form1 form_;
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

EMSCRIPTEN_KEEPALIVE void hk_click_command(int number) {
    form().userClickCommand(number);
}

EMSCRIPTEN_KEEPALIVE void hk_click_option1(int index) {
    form().userClickOption1(index);
}

EMSCRIPTEN_KEEPALIVE void hk_click_option2(int index) {
    form().userClickOption2(index);
}

EMSCRIPTEN_KEEPALIVE void hk_click_check1(int index) {
    form().userClickCheck1(index);
}

EMSCRIPTEN_KEEPALIVE void hk_pointer_press(int button, float x, float y) {
    form().pointerPress(button, x, y);
}

EMSCRIPTEN_KEEPALIVE void hk_pointer_move(float x, float y) {
    form().pointerMove(x, y);
}

EMSCRIPTEN_KEEPALIVE void hk_pointer_release(int button, float x, float y) {
    form().pointerRelease(button, x, y);
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

EMSCRIPTEN_KEEPALIVE int hk_held_buttons() {
    return form().heldButtons();
}

// The name from the page's dialog (in the input buffer): the print goes on.
EMSCRIPTEN_KEEPALIVE void hk_print_with_name() {
    form().printWithName(input);
}

EMSCRIPTEN_KEEPALIVE const std::int32_t* hk_refresh(int everything) {
    form();
    return app->refresh(everything != 0);
}

// The page has drawn the fresh segments that the last refresh handed out.
EMSCRIPTEN_KEEPALIVE void hk_strokes_drawn() {
    form();
    app->strokes().handedOut();
}

// Every stroke on the board, to draw again at another resolution; the count is
// -1 when the board has more strokes than are kept.
EMSCRIPTEN_KEEPALIVE int hk_kept_count() {
    form();
    return app->strokes().keptCount();
}

EMSCRIPTEN_KEEPALIVE const heikosen::StrokeSegment* hk_kept() {
    form();
    return app->strokes().kept();
}

}  // extern "C"
