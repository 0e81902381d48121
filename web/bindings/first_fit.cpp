// The form's first fit on the page, made in the page's head before any of the
// form is laid out and before the program has come: the program's own fit
// (PageFit) of the form as it starts, in a module of its own, small enough to
// be written into the page and compiled there at once.

#include "ui/form1.h"
#include "ui/viewport.h"

namespace {

double fitted[4];

}  // namespace

// The form's left, top and scale, and 1 if the page scrolls, in turn: where
// they are written.
extern "C" __attribute__((used, visibility("default"))) const double* firstFit(double width,
                                                                               double height,
                                                                               double ratio) {
    heikosen::PictureBox canvas;
    canvas.Rect = heikosen::kCanvasBounds;
    const heikosen::PageFit fit = heikosen::PageFit::fit(width, height, ratio, canvas);
    fitted[0] = fit.left;
    fitted[1] = fit.top;
    fitted[2] = fit.scale;
    fitted[3] = fit.scrolls ? 1 : 0;
    return fitted;
}
