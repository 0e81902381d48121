#pragma once

// The form in the browser: one Form1 with the page's services as its host and
// its text measurer, the strokes kept for the page to draw, the pointer input
// that the page's events go through, and the records of the canvas items that
// the page paints after each event.

#include <cstdint>
#include <vector>

#include "canvas_records.h"
#include "ui/canvas_scene.h"
#include "ui/form1.h"
#include "ui/pointer_input.h"
#include "ui/stroke_store.h"
#include "window_records.h"

namespace heikosen::web {

// Label widths from the font that the browser really uses (the page's
// Module.hk.measure); where the page has no fonts to measure with (the page
// written when the site is assembled) it answers with a negative width, and
// the core's estimate stands in.
class BrowserMeasurer final : public TextMeasurer {
  public:
    double width(const std::string& text, const TextFont& font) const override;

  private:
    EstimatingTextMeasurer estimate_;
};

// The page's services (Module.hk): the dialog for the name answers later, so
// asking opens it and returns no name; the answer comes back through
// printWithName.
class BrowserHost final : public FormHost {
  public:
    void endProgram() override;
    std::string inputBox(const std::string& prompt, const std::string& title) override;
    PrintOutcome printForm(const Form1& form) override;
    void showMessage(const std::string& title, const std::string& text) override;
};

class BrowserForm {
  public:
    BrowserForm();
    BrowserForm(const BrowserForm&) = delete;
    BrowserForm& operator=(const BrowserForm&) = delete;
    ~BrowserForm();

    Form1& form() { return form_; }
    StrokeStore& strokes() { return strokes_; }
    PointerInput& pointer() { return pointer_; }

    // Brings the page's picture of the canvas up to date: the rectangles that
    // changed since the last call (all of the drawing area when `everything`),
    // the items as they stand, and the strokes drawn meanwhile (Header), for
    // canvases of `scale` device pixels per canvas pixel.
    const std::int32_t* refresh(bool everything, double scale);

    // The window's controls as they stand (WindowWord).
    const std::int32_t* window() { return window_.refresh(form_); }

  private:
    BrowserMeasurer measurer_;
    BrowserHost host_;
    StrokeStore strokes_;
    Form1 form_;
    PointerInput pointer_{form_};
    DrawnScene drawn_;
    std::vector<std::int32_t> records_;
    std::vector<PixelRect> deviceRects_;
    std::int32_t header_[kHeaderWords] = {};
    WindowRecords window_;
};

// The form that the module runs, made when it is first asked for and made
// again by the module's start().
BrowserForm& runningForm();

}  // namespace heikosen::web
