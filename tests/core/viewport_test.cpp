// The form fitted into screens of every size and density, and the pointer
// mapped back to the canvas's drawing pixels.

#include <gtest/gtest.h>

#include <cmath>

#include "ui/form1.h"
#include "ui/viewport.h"
#include "ui/window_controls.h"

using heikosen::CanvasMapping;
using heikosen::ClientPoint;
using heikosen::ClientRect;
using heikosen::Form1;
using heikosen::PixelRect;
using heikosen::Viewport;

namespace {

struct Fit {
    const char* name;
    double width;
    double height;
    double ratio;
    double scale;
    double left;
    double top;
    ClientRect canvas;    // the canvas's box, border included
    ClientRect command1;  // 「初期画面」, on the top right
};

class Fitting : public ::testing::TestWithParam<Fit> {};

}  // namespace

TEST_P(Fitting, ScaledCentredAndOnTheGrid) {
    const Fit& row = GetParam();
    Form1 form;
    form.Form_Load();
    const Viewport view = Viewport::fit(row.width, row.height, row.ratio);
    EXPECT_DOUBLE_EQ(view.scale, row.scale);
    EXPECT_EQ(view.left, row.left);
    EXPECT_EQ(view.top, row.top);
    EXPECT_EQ(view.canvasBox(form.gamen), row.canvas);
    EXPECT_EQ(view.place(form.Command1.Rect), row.command1);

    // The pointer over a drawing pixel maps back onto it, through the border.
    const CanvasMapping mapping(form.gamen, view.scale, view.pixelRatio);
    for (const ClientPoint point :
         {ClientPoint{0, 0}, ClientPoint{100, 50}, ClientPoint{801.5, 625.25}}) {
        const ClientPoint box = mapping.boxFromCanvas(point);
        const ClientPoint back =
            view.canvasFromClient({row.canvas.left + box.x, row.canvas.top + box.y}, form.gamen);
        EXPECT_NEAR(back.x, point.x, 1e-9);
        EXPECT_NEAR(back.y, point.y, 1e-9);
    }
    // Controls that meet in the layout still meet, and every edge is on the grid.
    for (double x = 0; x < 880; x += 7.25) {
        const ClientRect a = view.place(x, x / 2, 7.25, 3.5);
        const ClientRect b = view.place(x + 7.25, x / 2 + 3.5, 9, 1);
        EXPECT_EQ(a.right(), b.left);
        EXPECT_EQ(a.bottom(), b.top);
        EXPECT_EQ(std::fmod(a.left * row.ratio, 1.0), 0.0);
        EXPECT_EQ(std::fmod(a.bottom() * row.ratio, 1.0), 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, Fitting,
    ::testing::Values(
        // As laid out, nothing moves.
        Fit{"AsLaidOut", 891, 687, 1, 1, 0, 0, {8, 48, 806, 630}, {808, 8, 73, 33}},
        // Twice the size with 100 pixels to spare across.
        Fit{"TwiceTheSize", 1882, 1374, 1, 2, 50, 0, {66, 96, 1612, 1260}, {1666, 16, 146, 66}},
        // One pixel to spare: the odd half goes on the grid of device pixels.
        Fit{"OnePixelSpareAtRatioTwo",
            892,
            687,
            2,
            1,
            0.5,
            0,
            {8.5, 48, 806, 630},
            {808.5, 8, 73, 33}},
        Fit{"OnePixelSpare", 892, 687, 1, 1, 0, 0, {8, 48, 806, 630}, {808, 8, 73, 33}},
        // A full-HD screen, on whole device pixels at ratio 2 and window pixels at 1.
        Fit{"FullHdAtRatioTwo",
            1920,
            1080,
            2,
            1080.0 / 687,
            259.5,
            0,
            {272, 75.5, 1267.5, 990.5},
            {1529.5, 12.5, 115, 52}},
        Fit{"FullHd",
            1920,
            1080,
            1,
            1080.0 / 687,
            259,
            0,
            {272, 75, 1268, 991},
            {1529, 13, 115, 51}},
        // The smallest window: exactly as wide as the scaled form, which starts at
        // its left edge.
        Fit{"SmallestWindow", 446, 344, 1, 446.0 / 891, 0, 0, {4, 24, 404, 316}, {404, 4, 37, 17}},
        // No room, or no sensible size, still gives a form of some size.
        Fit{"NoRoom", 0, 0, 1, 1.0 / 891, 0, 0, {0, 0, 1, 1}, {1, 0, 0, 0}},
        Fit{"NoSensibleSize", NAN, 687, 0, 1.0 / 891, 0, 343, {0, 343, 1, 1}, {1, 343, 0, 0}}),
    [](const ::testing::TestParamInfo<Fit>& info) { return info.param.name; });

TEST(CanvasMappingTest, RectanglesCoverEveryPixelTheyTouch) {
    Form1 form;
    form.Form_Load();
    // At 1.5 window pixels per canvas pixel the border is 3 pixels wide.
    const CanvasMapping mapping(form.gamen, 1.5);
    EXPECT_EQ(mapping.boxRectFromCanvas({10, 20, 5, 1}), (ClientRect{18, 33, 8, 2}));
    const ClientRect shown = mapping.canvasRectFromBox({18, 33, 8, 2});
    EXPECT_DOUBLE_EQ(shown.left, 10);
    EXPECT_DOUBLE_EQ(shown.top, 20);
    EXPECT_NEAR(shown.width, 16.0 / 3, 1e-12);
    EXPECT_NEAR(shown.height, 4.0 / 3, 1e-12);
    EXPECT_EQ(mapping.canvasPixelsFromBox({18, 33, 8, 2}), (PixelRect{10, 20, 6, 2}));
    // Only the drawing area: the border shows none of it.
    EXPECT_EQ(mapping.canvasPixelsFromBox({0, 0, 1209, 945}), (PixelRect{0, 0, 802, 626}));
    EXPECT_TRUE(mapping.canvasPixelsFromBox({0, 0, 3, 3}).empty());
    EXPECT_EQ(mapping.drawingAreaInBox(), (ClientRect{3, 3, 1203, 939}));
    EXPECT_EQ(mapping.boxWidth(), 1209);
    EXPECT_EQ(mapping.boxHeight(), 945);
    // On a grid of half pixels.
    const CanvasMapping fine(form.gamen, 1.25, 2);
    EXPECT_EQ(fine.boxRectFromCanvas({10, 20, 5, 1}), (ClientRect{15, 27.5, 6.5, 1.5}));
}

TEST(ScaledFontTest, WholePixelsAtTheWindowsScale) {
    const heikosen::FontSpec title{"ＭＳ Ｐ明朝", 24, true};
    EXPECT_EQ(scaledFont(title, 1), (heikosen::TextFont{"ＭＳ Ｐ明朝", 32, true}));
    EXPECT_EQ(scaledFont(title, 1.5), (heikosen::TextFont{"ＭＳ Ｐ明朝", 48, true}));
    // The controls' 12 pixels in the smallest window, and never below one pixel.
    EXPECT_EQ(scaledFont(heikosen::controlFont(), 446.0 / 891).pixelSize, 6);
    EXPECT_EQ(scaledFont(heikosen::controlFont(), 0.01).pixelSize, 1);
}

TEST(StrokeRasterTest, OnTheDevicesPixels) {
    Form1 form;
    form.Form_Load();
    // The canvas's box at (8, 48) of a window at 1.25 on a screen of ratio 2:
    // its origin 2 * (8 + 2.5) = 21 device pixels across, 2 * (48 + 2.5) down.
    const heikosen::StrokeRaster raster = CanvasMapping(form.gamen, 1.25).strokeRaster(2, {8, 48});
    EXPECT_EQ(raster, (heikosen::StrokeRaster{2.5, 0, 0}));
    EXPECT_TRUE(raster.atScale(2.5));
    EXPECT_FALSE(raster.atScale(2.5001));
    // A picture of 100 x 40 pixels made at half the scale, a quarter pixel in,
    // stands twice as large, half a pixel out.
    EXPECT_EQ(raster.stretchedFrom({1.25, 0.25, 0.25}, 100, 40), (ClientRect{-0.5, -0.5, 200, 80}));
}

// The form on a web page, under one transform: the drawing area's corner (10,
// 50 in the form) on a whole device pixel, never below three quarters, the
// pointer mapped back through the same numbers.
TEST(PageFitTest, FittedOnDevicePixelsAndNeverBelowTheLeastScale) {
    Form1 form;
    form.Form_Load();
    const double fullHd = 1080.0 / 687;
    struct Row {
        double width, height, ratio;
        heikosen::PageFit fit;
    };
    const Row rows[] = {
        {891, 687, 1, {0, 0, 1, false}},
        // The corner at device pixels (551, 157) of a full-HD screen at ratio 2,
        // the form's top a tenth of a pixel above the page's.
        {1920, 1080, 2, {275.5 - 10 * fullHd, 78.5 - 50 * fullHd, fullHd, false}},
        // 109 pixels to spare across, at ratio 1.5: the corner at device pixel 97.
        {1000, 687, 1.5, {97 / 1.5 - 10, 0, 1, false}},
        // A phone held sideways: the least scale, and the rest of the form scrolls.
        {823, 412, 1, {77.5, 0.5, 0.75, true}},
        // Smaller still, at ratio 3: the corner moved a sixth of a pixel, onto
        // device pixels 23 and 113.
        {400, 300, 3, {23.0 / 3 - 7.5, 113.0 / 3 - 37.5, 0.75, true}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << " x " << row.height << " at " << row.ratio);
        const heikosen::PageFit fit =
            heikosen::PageFit::fit(row.width, row.height, row.ratio, form.gamen);
        EXPECT_EQ(fit.scrolls, row.fit.scrolls);
        EXPECT_DOUBLE_EQ(fit.scale, row.fit.scale);
        EXPECT_NEAR(fit.left, row.fit.left, 1e-9);
        EXPECT_NEAR(fit.top, row.fit.top, 1e-9);
        for (const ClientPoint point : {ClientPoint{0, 0}, ClientPoint{400.25, 313}}) {
            const ClientPoint page{fit.left + (10 + point.x) * fit.scale,
                                   fit.top + (50 + point.y) * fit.scale};
            const ClientPoint back = fit.canvasFromPage(page, form.gamen);
            EXPECT_NEAR(back.x, point.x, 1e-9);
            EXPECT_NEAR(back.y, point.y, 1e-9);
        }
    }
}
