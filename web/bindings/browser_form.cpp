#include "browser_form.h"

#include <emscripten/val.h>

#include "printing/print_command.h"
#include "ui/viewport.h"

namespace heikosen::web {

using emscripten::val;

namespace {

val services() {
    return val::module_property("hk");
}

}  // namespace

double BrowserMeasurer::width(const std::string& text, const TextFont& font) const {
    const double measured = services().call<double>(
        "measure", text, std::string(typefaceOf(font.family)), font.pixelSize, font.bold);
    return measured >= 0 ? measured : estimate_.width(text, font);
}

void BrowserHost::endProgram() {
    services().call<void>("end");
}

std::string BrowserHost::inputBox(const std::string& prompt, const std::string& title) {
    services().call<void>("ask", title, prompt);
    return {};
}

PrintOutcome BrowserHost::printForm(const Form1& /*form*/) {
    // How printing went, as the page reports it (PrintStatus).
    const auto status = services().call<PrintOutcome::Status>("print");
    return {status, status == PrintOutcome::Status::Failed ? printing::kNoPrintingText : ""};
}

void BrowserHost::showMessage(const std::string& title, const std::string& text) {
    services().call<void>("message", title, text);
}

BrowserForm::BrowserForm() {
    form_.setTextMeasurer(&measurer_);
    form_.setHost(&host_);
    form_.gamen.setSurface(&strokes_);
    form_.Form_Load();
    strokes_.setArea(form_.gamen.innerWidth(), form_.gamen.innerHeight());
}

BrowserForm::~BrowserForm() {
    form_.gamen.setSurface(nullptr);
    form_.setHost(nullptr);
}

const std::int32_t* BrowserForm::refresh(bool everything, double scale) {
    const PixelRect area{0, 0, static_cast<int>(form_.gamen.innerWidth()),
                         static_cast<int>(form_.gamen.innerHeight())};
    const std::vector<PixelRect>& rects = drawn_.refresh(form_, area, everything);
    // The canvases' corner lies on a device pixel: each rectangle is handed
    // out as the device pixels it touches.
    const StrokeRaster raster = StrokeRaster::at(scale, {0, 0});
    deviceRects_.clear();
    for (const PixelRect& rect : rects) {
        deviceRects_.push_back(raster.pixelsUnder(exactRect(rect)));
    }
    records_.clear();
    drawn_.forEachTouching(rects, [this](const CanvasItem& item) {
        records_.resize(records_.size() + kRecordWords);
        pack(item, records_.data() + records_.size() - kRecordWords);
    });
    header_[kRectCount] = static_cast<std::int32_t>(rects.size());
    header_[kRects] = addressOf(deviceRects_.data());
    header_[kItemCount] = static_cast<std::int32_t>(records_.size() / kRecordWords);
    header_[kItems] = addressOf(records_.data());
    header_[kWiped] = strokes_.takeWiped() ? 1 : 0;
    header_[kFreshCount] = static_cast<std::int32_t>(strokes_.freshCount());
    header_[kFresh] = addressOf(strokes_.freshInOnePiece());
    const PixelRect pixels = raster.pixels(area.width, area.height);
    header_[kPixelWidth] = pixels.width;
    header_[kPixelHeight] = pixels.height;
    return header_;
}

}  // namespace heikosen::web
