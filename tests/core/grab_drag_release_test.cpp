// Grabbing, dragging and releasing the handles of the figure, and how pointer
// events on the canvas reach the figure, the labels and the letter pictures.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/form_state.h"
#include "ui/form1.h"
#include "ui/pointer_input.h"

using heikosen::FigureState;
using heikosen::Form1;
using heikosen::kLeftButton;
using heikosen::kMiddleButton;
using heikosen::kRightButton;
using heikosen::LineControl;
using heikosen::PointerEvent;
using heikosen::PointerInput;
using heikosen::PointerKind;
using heikosen::QBColor;

namespace {

using heikosen::testing::capture;
using heikosen::testing::expectPx;
using heikosen::testing::expectSameState;
using heikosen::testing::State;

// The figure as drawn: everything except the pointer and the eraser outline.
State figureOf(const Form1& f) {
    State s = capture(f);
    for (const char* name : {"lastX", "lastY", "Shape1.Left", "Shape1.Top"}) {
        s.erase(name);
    }
    return s;
}

void expectAllFinite(const Form1& f) {
    for (const auto& [name, value] : capture(f)) {
        EXPECT_TRUE(std::isfinite(value)) << name << " = " << value;
    }
}

// The seven lines that a grab may colour, by what they show. Returns those in
// palette colour 12 and checks that the others are in palette colour 0.
std::set<std::string> redLines(const Form1& f) {
    const std::pair<const char*, const LineControl*> lines[] = {
        {"p", &f.Line1(0)},    {"q", &f.Line1(1)},    {"l", &f.Line1(3)},   {"m", &f.Line1(4)},
        {"extL", &f.Line2(1)}, {"extM", &f.Line2(2)}, {"copy", &f.Line2(0)}};
    std::set<std::string> red;
    for (const auto& [name, line] : lines) {
        if (line->BorderColor == QBColor(12)) {
            red.insert(name);
        } else {
            EXPECT_EQ(line->BorderColor, QBColor(0)) << name;
        }
    }
    return red;
}

using Names = std::set<std::string>;

// --- Gestures through the pointer, as the window delivers them ---

// The pointer comes to (x, y) and the left button goes down there.
void grab(Form1& f, float x, float y) {
    f.pointerMove(x, y);
    f.pointerPress(kLeftButton, x, y);
}

void letGo(Form1& f, float x, float y) {
    f.pointerRelease(kLeftButton, x, y);
}

void drag(Form1& f, float x0, float y0, float x1, float y1) {
    grab(f, x0, y0);
    f.pointerMove(x1, y1);
    letGo(f, x1, y1);
}

// --- The same straight to the canvas handlers, where routing is not the point ---

void grabOnCanvas(Form1& f, float x, float y) {
    f.gamen_MouseMove(0, 0, x, y);
    f.gamen_MouseDown(kLeftButton, 0, x, y);
}

void dragOnCanvas(Form1& f, float x0, float y0, float x1, float y1) {
    grabOnCanvas(f, x0, y0);
    f.gamen_MouseMove(kLeftButton, 0, x1, y1);
    f.gamen_MouseUp(kLeftButton, 0, x1, y1);
}

class Figure : public ::testing::Test {
  protected:
    void SetUp() override {
        form.Form_Load();
        initial = form.fig;
        // A first click on an empty spot: the copy of m, red since the reset, turns
        // black with the other lines, so that every red line below comes from a grab.
        form.pointerPress(kLeftButton, 600, 600);
        form.pointerRelease(kLeftButton, 600, 600);
    }
    Form1 form;
    FigureState initial;
};

}  // namespace

// ---------------------------------------------------------------- grabbing

TEST_F(Figure, HandleZonesAfterReset) {
    struct Case {
        float x;
        float y;
        int code;
        Names red;
    };
    const Case cases[] = {
        {400, 125, 5, {"l", "extL"}},  // upper end of l
        {429, 125, 5, {"l", "extL"}},
        {371, 125, 5, {"l", "extL"}},
        {430, 125, 0, {}},  // 30 px is not less than 30
        {370, 125, 0, {}},
        {400, 174, 5, {"l", "extL"}},
        {400, 175, 0, {}},  // 50 px is not less than 50
        {400, 75.5F, 5, {"l", "extL"}},
        {400, 75, 0, {}},
        {250, 125, 6, {"m", "extM"}},  // upper end of m
        {279, 125, 6, {"m", "extM"}},
        {280, 125, 0, {}},
        {325, 350, 10, {"copy"}},  // the copy of m where it crosses q
        {374, 350, 10, {"copy"}},
        {375, 350, 0, {}},
        {276, 350, 10, {"copy"}},
        {275, 350, 0, {}},
        {325, 301, 10, {"copy"}},
        {325, 300, 0, {}},
        {325, 399, 10, {"copy"}},
        {325, 400, 0, {}},
        {250, 350, 0, {}},  // B is no handle
        {20, 275, 1, {"p"}},
        {50, 275, 1, {"p"}},  // the margin includes x = 50
        {51, 275, 0, {}},
        {0, 226, 1, {"p"}},
        {20, 225, 0, {}},
        {20, 299, 1, {"p"}},
        {20, 312, 2, {"p", "q"}},  // both zones: q decides, both turn red
        {20, 324, 2, {"p", "q"}},
        {20, 350, 2, {"q"}},
        {20, 399, 2, {"q"}},
        {20, 400, 0, {}},
        {20, 500, 0, {}},  // r cannot be grabbed
        {300, 500, 0, {}},
        {600, 600, 0, {}},
    };
    form.gamen_MouseMove(0, 0, -7, -9);
    for (const Case& c : cases) {
        SCOPED_TRACE("press at (" + std::to_string(c.x) + ", " + std::to_string(c.y) + ")");
        form.gamen_MouseUp(kLeftButton, 0, c.x, c.y);
        form.gamen_MouseDown(kLeftButton, 0, c.x, c.y);
        EXPECT_EQ(form.grabbedHandle, c.code);
        EXPECT_EQ(redLines(form), c.red);
        // A grab moves nothing and leaves the pointer where the last move left it.
        EXPECT_EQ(form.fig, initial);
        EXPECT_EQ(form.lastX, -7.0F);
        EXPECT_EQ(form.lastY, -9.0F);
    }
}

TEST_F(Figure, GrabbingTheCopyDrawsItOnItsVariables) {
    form.gamen_MouseDown(kLeftButton, 0, 325, 350);
    ASSERT_EQ(form.grabbedHandle, 10);
    const LineControl& copy = form.Line2(0);
    EXPECT_EQ(copy.X1, 250.0F);
    EXPECT_EQ(copy.Y1, 125.0F);
    EXPECT_EQ(copy.X2, 400.0F);
    EXPECT_EQ(copy.Y2, 575.0F);
    EXPECT_EQ(copy.BorderColor, QBColor(12));
}

TEST_F(Figure, CopyBeatsMWhenQNearsTheUpperEnds) {
    dragOnCanvas(form, 20, 350, 20, 150);
    ASSERT_EQ(form.fig.parallelQY, 150);
    ASSERT_EQ(redLines(form), Names{});

    // 28 px from m's upper end and 47 px from the copy's grab point on q.
    grabOnCanvas(form, 278, 125);
    EXPECT_EQ(form.grabbedHandle, 10);
    EXPECT_EQ(redLines(form), (Names{"m", "extM", "copy"}));

    // Only the copy moves.
    form.gamen_MouseMove(kLeftButton, 0, 288, 125);
    EXPECT_EQ(form.fig.transMX1, 250);
    EXPECT_EQ(form.fig.transMX2, 400);
    EXPECT_EQ(form.fig.copyMX1, 260);
    EXPECT_EQ(form.fig.copyMGrabX, 335);
    EXPECT_EQ(redLines(form), (Names{"m", "extM", "copy"}));
    form.gamen_MouseUp(kLeftButton, 0, 288, 125);
    EXPECT_EQ(redLines(form), Names{});
}

TEST_F(Figure, UpperEndBeyondTheMarginIsGrabbedOnlyFromInside) {
    dragOnCanvas(form, 400, 125, 40, 125);
    ASSERT_EQ(form.fig.transLX1, 40);
    const FigureState moved = form.fig;

    form.gamen_MouseDown(kLeftButton, 0, 40, 125);
    EXPECT_EQ(form.grabbedHandle, 0);
    form.gamen_MouseUp(kLeftButton, 0, 40, 125);
    form.gamen_MouseDown(kLeftButton, 0, 60, 125);
    EXPECT_EQ(form.grabbedHandle, 5);
    form.gamen_MouseUp(kLeftButton, 0, 60, 125);
    form.gamen_MouseDown(kLeftButton, 0, 69, 125);
    EXPECT_EQ(form.grabbedHandle, 5);
    form.gamen_MouseUp(kLeftButton, 0, 69, 125);
    form.gamen_MouseDown(kLeftButton, 0, 70, 125);
    EXPECT_EQ(form.grabbedHandle, 0);
    EXPECT_EQ(form.fig, moved);
}

TEST_F(Figure, PressesWithAToolOnNeverGrab) {
    for (int command : {3, 5}) {
        SCOPED_TRACE(command == 3 ? "memo" : "straight line");
        form.userClickCommand(1);
        form.gamen_MouseUp(kLeftButton, 0, 0, 0);
        form.userClickCommand(command);
        for (const auto& [x, y] : {std::pair{400.0F, 125.0F},
                                   {250.0F, 125.0F},
                                   {325.0F, 350.0F},
                                   {20.0F, 275.0F},
                                   {20.0F, 350.0F}}) {
            form.gamen_MouseDown(kLeftButton, 0, x, y);
            EXPECT_EQ(form.grabbedHandle, 0);
            EXPECT_EQ(redLines(form), Names{});
            EXPECT_EQ(form.lastX, x);  // a tool's press records the position
            form.gamen_MouseUp(kLeftButton, 0, x, y);
        }

        // A handle held when the tool came on stays held: presses leave it alone.
        form.userClickCommand(1);
        form.gamen_MouseUp(kLeftButton, 0, 0, 0);
        form.gamen_MouseDown(kLeftButton, 0, 400, 125);
        ASSERT_EQ(form.grabbedHandle, 5);
        form.userClickCommand(command);
        form.gamen_MouseDown(kLeftButton, 0, 20, 275);
        EXPECT_EQ(form.grabbedHandle, 5);
        EXPECT_EQ(redLines(form), (Names{"l", "extL"}));
        form.userClickCommand(command);  // tool off again
    }
}

TEST_F(Figure, RightPressResetsInEveryModeAndRecordsThePosition) {
    for (int command : {0, 3, 5}) {
        SCOPED_TRACE("mode " + std::to_string(command));
        drag(form, 20, 275, 20, 200);
        drag(form, 400, 125, 470, 125);
        ASSERT_NE(form.fig, initial);
        if (command != 0) {
            form.userClickCommand(command);
        }
        form.pointerMove(600, 590);
        form.pointerPress(kRightButton, 610, 600);
        EXPECT_EQ(form.fig, initial);
        EXPECT_EQ(form.memoMode, 0);
        EXPECT_EQ(form.lineMode, 0);
        EXPECT_EQ(form.grabbedHandle, 0);
        EXPECT_EQ(form.lastX, 610.0F);
        EXPECT_EQ(form.lastY, 600.0F);
        form.pointerRelease(kRightButton, 610, 600);
    }
}

TEST_F(Figure, LeftPressInFigureModeKeepsTheLastMovePosition) {
    form.pointerMove(395, 120);
    form.pointerPress(kLeftButton, 400, 125);
    EXPECT_EQ(form.grabbedHandle, 5);
    EXPECT_EQ(form.lastX, 395.0F);
    EXPECT_EQ(form.lastY, 120.0F);
    letGo(form, 400, 125);

    // A left press away from the handles: no grab, no colour, no position.
    form.pointerPress(kLeftButton, 600, 600);
    EXPECT_EQ(form.grabbedHandle, 0);
    EXPECT_EQ(redLines(form), Names{});
    EXPECT_EQ(form.lastX, 395.0F);
    letGo(form, 600, 600);

    // The middle button only records where it went down.
    form.pointerPress(kMiddleButton, 400, 125);
    EXPECT_EQ(form.grabbedHandle, 0);
    EXPECT_EQ(redLines(form), Names{});
    EXPECT_EQ(form.lastX, 400.0F);
    EXPECT_EQ(form.lastY, 125.0F);
    form.pointerRelease(kMiddleButton, 400, 125);
    EXPECT_EQ(form.fig, initial);
}

// ---------------------------------------------------------------- dragging

TEST_F(Figure, DraggingPDownByTen) {
    const State before = figureOf(form);
    grab(form, 20, 275);
    form.pointerMove(20, 285);
    const FigureState& g = form.fig;
    EXPECT_EQ(g.parallelPY, 285);
    EXPECT_EQ(form.Line1(0).X1, 50.0F);
    EXPECT_EQ(form.Line1(0).Y1, 285.0F);
    EXPECT_EQ(form.Line1(0).X2, 750.0F);
    EXPECT_EQ(form.Line1(0).Y2, 285.0F);
    EXPECT_EQ(form.Image1(2).Top, 249.0F);
    EXPECT_EQ(form.Image1(2).Left, 50.0F);
    EXPECT_EQ(form.Line3(0).Y1, 285.0F);
    EXPECT_EQ(form.Line3(0).Y2, 295.0F);
    EXPECT_EQ(form.Line3(1).Y1, 285.0F);
    EXPECT_EQ(form.Line3(1).Y2, 275.0F);
    EXPECT_EQ(form.Line3(0).X1, 680.0F);
    EXPECT_EQ(form.Line3(0).X2, 660.0F);
    // A and A' slide down l and m.
    EXPECT_DOUBLE_EQ(g.pointAX, 100 + 290 * 300 / 450.0);
    EXPECT_DOUBLE_EQ(g.pointAPrimeX, 400 - 290 * 150 / 450.0);
    expectPx(form.Label2(0).Left, 100 + 290 * 300 / 450.0 + 31 * 300 / 450.0);
    EXPECT_EQ(form.Label2(0).Top, 254.0F);
    EXPECT_EQ(g.pointBX, 250);
    EXPECT_EQ(g.pointBPrimeX, 325);
    EXPECT_EQ(g.pointCX, 150);
    EXPECT_EQ(g.pointCPrimeX, 375);
    EXPECT_EQ(g.copyMGrabX, 325);
    EXPECT_EQ(redLines(form), Names{"p"});

    // Everything else stands where it stood.
    const State after = figureOf(form);
    for (const auto& [name, value] : before) {
        const bool moves = name.starts_with("Line1(0).") || name.starts_with("Line3(0).") ||
                           name.starts_with("Line3(1).") || name.starts_with("Image1(2).") ||
                           name.starts_with("Label2(0).") || name == "parallelPY" ||
                           name == "pointAX" || name == "pointAPrimeX" || name == "grabbedHandle";
        if (!moves) {
            EXPECT_EQ(after.at(name), value) << name;
        }
    }
    letGo(form, 20, 285);
}

TEST_F(Figure, HoldingAHandleAndMovingAcrossItsFreedomMovesNothing) {
    const State before = figureOf(form);
    drag(form, 20, 275, 140, 275);   // p straight sideways
    drag(form, 20, 350, 5, 350);     // q straight sideways
    drag(form, 400, 125, 400, 60);   // l straight up
    drag(form, 325, 350, 325, 390);  // the copy straight down
    State after = figureOf(form);
    // The copy's grab drew it on m, and the releases coloured it black.
    EXPECT_EQ(after["Line2(0).X1"], 250);
    EXPECT_EQ(after["Line2(0).X2"], 400);
    EXPECT_EQ(after["Line2(0).BorderColor"], QBColor(0));
    for (const char* name :
         {"Line2(0).X1", "Line2(0).Y1", "Line2(0).X2", "Line2(0).Y2", "Line2(0).BorderColor"}) {
        after[name] = before.at(name);
    }
    expectSameState(before, after);
}

class TurningL : public Figure, public ::testing::WithParamInterface<double> {};

TEST_P(TurningL, AMovesAThirdCTwoThirdsBackLowerEndTheOtherWay) {
    const double d = GetParam();
    grab(form, 400, 125);
    form.pointerMove(static_cast<float>(400 + d), 125);
    const FigureState& g = form.fig;
    EXPECT_DOUBLE_EQ(g.transLX1, 400 + d);
    EXPECT_NEAR(g.transLX2, 100 - d, 1e-9);
    EXPECT_NEAR(g.pointAX, 300 + d / 3, 1e-9);
    EXPECT_NEAR(g.pointCX, 150 - 2 * d / 3, 1e-9);
    EXPECT_NEAR(g.pointBX, 250, 1e-9);
    EXPECT_EQ(g.transLY1, 125);
    EXPECT_EQ(g.transLY2, 575);
    // m and its points are untouched.
    EXPECT_EQ(g.transMX1, 250);
    EXPECT_EQ(g.transMX2, 400);
    EXPECT_EQ(g.pointAPrimeX, 300);
    EXPECT_EQ(g.pointBPrimeX, 325);
    EXPECT_EQ(g.pointCPrimeX, 375);

    expectPx(form.Line1(3).X1, 400 + d);
    EXPECT_EQ(form.Line1(3).Y1, 125.0F);
    EXPECT_NEAR(form.Line1(3).X2, 100 - d, 1e-4);
    EXPECT_EQ(form.Line1(3).Y2, 575.0F);
    // The extension goes on along the turned line up to y = 25.
    expectPx(form.Line2(1).X1, 400 + d);
    EXPECT_NEAR(form.Line2(1).X2, 400 + d + 100 * (300 + 2 * d) / 450, 1e-4);
    EXPECT_EQ(form.Line2(1).Y2, 25.0F);
    // The labels follow their points, right of the line.
    const double shift = 31 * (300 + 2 * d) / 450;
    EXPECT_NEAR(form.Label2(0).Left, 300 + d / 3 + shift, 1e-4);
    EXPECT_NEAR(form.Label2(1).Left, 250 + shift, 1e-4);
    EXPECT_NEAR(form.Label2(2).Left, 150 - 2 * d / 3 + shift, 1e-4);
    EXPECT_EQ(form.Label2(1).Top, 319.0F);
    EXPECT_EQ(form.Label2(2).Top, 469.0F);
    EXPECT_EQ(redLines(form), (Names{"l", "extL"}));

    // More steps keep B where it is.
    form.pointerMove(static_cast<float>(400 + d + 7), 140);
    form.pointerMove(static_cast<float>(400 + d - 3), 90);
    EXPECT_NEAR(form.fig.pointBX, 250, 1e-9);
    EXPECT_NEAR(form.fig.transLX1, 400 + d - 3, 1e-9);
    EXPECT_NEAR(form.fig.transLX2, 100 - d + 3, 1e-9);
    letGo(form, static_cast<float>(400 + d - 3), 90);
}

INSTANTIATE_TEST_SUITE_P(Steps, TurningL, ::testing::Values(30.0, -45.0, 90.0, -120.0, 0.5));

TEST_F(Figure, LetterOfLIsPlacedWithTheLowerEndBeforeTheStep) {
    grab(form, 400, 125);
    form.pointerMove(50, 125);  // upper end to 50; the lower end goes to 450
    EXPECT_EQ(form.fig.transLX1, 50);
    EXPECT_NEAR(form.fig.transLX2, 450, 1e-9);
    // Placed with the old lower end at 100: 35 px down the line from (50, 125).
    expectPx(form.Image1(0).Left, 50 + 35 * 50 / 450.0);
    form.pointerMove(50, 160);  // no sideways step: placed with the lower end at 450
    expectPx(form.Image1(0).Left, 50 + 35 * 400 / 450.0);
    EXPECT_EQ(form.Image1(0).Top, 135.0F);
    letGo(form, 50, 160);
}

TEST_F(Figure, MMadeVerticalThenLeaningTheOtherWay) {
    grab(form, 250, 125);
    form.pointerMove(325, 125);
    const FigureState& g = form.fig;
    EXPECT_EQ(g.transMX1, 325);
    EXPECT_EQ(g.transMX2, 325);
    EXPECT_EQ(form.Line1(4).X1, 325.0F);
    EXPECT_EQ(form.Line1(4).X2, 325.0F);
    EXPECT_EQ(g.pointAPrimeX, 325);
    EXPECT_EQ(g.pointBPrimeX, 325);
    EXPECT_EQ(g.pointCPrimeX, 325);
    EXPECT_EQ(form.Label2(4).Left, 325.0F);
    EXPECT_EQ(form.Label2(5).Left, 325.0F);
    // The letter is placed with the lower end as it stood before the step.
    expectPx(form.Image1(1).Left, 325 + 35 * 75 / 450.0);
    EXPECT_EQ(form.Line2(2).X2, 325.0F);

    form.pointerMove(355, 125);
    EXPECT_EQ(g.transMX1, 355);
    EXPECT_EQ(g.transMX2, 295);
    EXPECT_EQ(g.pointBPrimeX, 325);
    EXPECT_NEAR(g.pointCPrimeX, 305, 1e-9);
    // Leaning down to the left, the labels stand right of their points.
    expectPx(form.Label2(4).Left, 325 + 31 * 60 / 450.0);
    expectPx(form.Label2(5).Left, 305 + 31 * 60 / 450.0);
    EXPECT_GT(form.Label2(5).Left, g.pointCPrimeX);
    // The letter was placed with m still vertical.
    EXPECT_EQ(form.Image1(1).Left, 355.0F);
    letGo(form, 355, 125);
}

TEST_F(Figure, FirstTurnOfMSetsTheCopyBackOntoM) {
    // Slide the copy away first, so that the turn has something to undo.
    drag(form, 325, 350, 345, 350);
    ASSERT_EQ(form.fig.copyMGrabX, 345);
    ASSERT_EQ(form.Line2(0).X1, 270.0F);

    grab(form, 250, 125);
    EXPECT_EQ(form.grabbedHandle, 6);
    form.pointerMove(250, 140);  // straight down: m stays
    const FigureState& g = form.fig;
    EXPECT_EQ(g.transMX1, 250);
    EXPECT_EQ(g.transMX2, 400);
    // The letter loses the 25 px that the initial figure gives it.
    expectPx(form.Image1(1).Left, 250 + 35 * 150 / 450.0);
    EXPECT_NEAR(form.Image1(1).Left, 261.6667, 1e-4);
    EXPECT_EQ(form.Line2(0).X1, 1000.0F);
    EXPECT_EQ(form.Line2(0).X2, 1000.0F);
    EXPECT_EQ(g.copyMGrabX, 325);
    EXPECT_EQ(g.copyMX1, 250);
    EXPECT_EQ(g.copyMX2, 400);
    EXPECT_EQ(g.copyMY1, 125);
    EXPECT_EQ(g.copyMY2, 575);
    letGo(form, 250, 140);

    // Grabbing the copy again draws it on m.
    grab(form, 325, 350);
    EXPECT_EQ(form.Line2(0).X1, 250.0F);
    EXPECT_EQ(form.Line2(0).X2, 400.0F);
    letGo(form, 325, 350);
}

TEST_F(Figure, TurningMPutsTheCopysGrabPointOnBPrime) {
    drag(form, 20, 350, 20, 380);  // q down: B' at 335
    grab(form, 250, 125);
    form.pointerMove(262.5F, 125);
    EXPECT_EQ(form.fig.copyMGrabX, 335);
    EXPECT_EQ(form.fig.copyMX1, 262.5);
    EXPECT_EQ(form.fig.copyMX2, form.fig.transMX2);
    letGo(form, 262.5F, 125);
}

TEST_F(Figure, SlidingTheCopyByWholePixels) {
    grab(form, 325, 350);
    form.pointerMove(335, 350);
    const FigureState& g = form.fig;
    EXPECT_EQ(g.copyMGrabX, 335);
    EXPECT_EQ(g.copyMX1, 260);
    EXPECT_EQ(g.copyMX2, 410);
    EXPECT_EQ(form.Line2(0).X1, 260.0F);
    EXPECT_EQ(form.Line2(0).Y1, 125.0F);
    EXPECT_EQ(form.Line2(0).X2, 410.0F);
    EXPECT_EQ(form.Line2(0).Y2, 575.0F);
    form.pointerMove(300, 380);
    EXPECT_EQ(g.copyMGrabX, 300);
    EXPECT_EQ(form.Line2(0).X1, 225.0F);
    EXPECT_EQ(form.Line2(0).X2, 375.0F);
    // m and its points stay.
    EXPECT_EQ(g.transMX1, 250);
    EXPECT_EQ(g.transMX2, 400);
    EXPECT_EQ(g.pointBPrimeX, 325);
    EXPECT_EQ(form.Label2(4).Left, 325.0F);
    letGo(form, 300, 380);
    // A black copy parallel to m stays on the canvas.
    EXPECT_EQ(form.Line2(0).BorderColor, QBColor(0));
    EXPECT_EQ(form.Line2(0).X2 - form.Line2(0).X1, 150.0F);
    EXPECT_EQ(form.Line2(0).X1, 225.0F);
}

TEST_F(Figure, SlidingTheCopyByHalfPixelsRoundsToEven) {
    grab(form, 325, 350);
    form.pointerMove(325.5F, 350);
    EXPECT_EQ(form.fig.copyMGrabX, 326);
    EXPECT_EQ(form.Line2(0).X1, 250.5F);
    // Each step is added to the whole number and rounded again.
    form.pointerMove(326, 350);
    EXPECT_EQ(form.fig.copyMGrabX, 326);  // 326.5
    form.pointerMove(327.5F, 350);
    EXPECT_EQ(form.fig.copyMGrabX, 328);  // 327.5
    form.pointerMove(329, 350);
    EXPECT_EQ(form.fig.copyMGrabX, 330);  // 329.5
    EXPECT_EQ(form.Line2(0).X1, 254.0F);
    EXPECT_EQ(form.fig.copyMX1, 254);
    letGo(form, 329, 350);

    form.userClickCommand(1);
    grab(form, 325, 350);
    form.pointerMove(324.5F, 350);
    EXPECT_EQ(form.fig.copyMGrabX, 324);
    EXPECT_EQ(form.Line2(0).X2, 399.5F);
    letGo(form, 324.5F, 350);
}

TEST_F(Figure, CopysGrabPointSaturatesFarAway) {
    grab(form, 325, 350);
    form.pointerMove(40325, 350);
    EXPECT_EQ(form.fig.copyMGrabX, 32767);
    EXPECT_EQ(form.Line2(0).X1, 40250.0F);
    EXPECT_EQ(form.fig.copyMX2, 40400);
    form.pointerMove(-39675, 350);
    EXPECT_EQ(form.fig.copyMGrabX, -32768);
    EXPECT_EQ(form.Line2(0).X1, -39750.0F);
    letGo(form, -39675, 350);
    expectAllFinite(form);
}

TEST_F(Figure, QAtTheLowerEndsTurnsAboutTheLowerEnd) {
    drag(form, 20, 350, 20, 575);
    ASSERT_EQ(form.fig.parallelQY, 575);
    EXPECT_EQ(form.fig.pointBX, 100);

    grab(form, 400, 125);
    ASSERT_EQ(form.grabbedHandle, 5);
    form.pointerMove(430, 125);
    EXPECT_EQ(form.fig.transLX1, 430);
    EXPECT_EQ(form.fig.transLX2, 100);
    EXPECT_EQ(form.fig.pointBX, 100);
    letGo(form, 430, 125);

    grab(form, 250, 125);
    ASSERT_EQ(form.grabbedHandle, 6);
    form.pointerMove(220, 125);
    EXPECT_EQ(form.fig.transMX1, 220);
    EXPECT_EQ(form.fig.transMX2, 400);
    letGo(form, 220, 125);
    expectAllFinite(form);
}

TEST_F(Figure, QLevelWithTheUpperEndsLeavesTurnsUndone) {
    drag(form, 20, 350, 20, 125);
    ASSERT_EQ(form.fig.parallelQY, 125);

    for (const auto& [x, code] : {std::pair{400.0F, 5}, {250.0F, 6}}) {
        SCOPED_TRACE(code);
        grab(form, x, 125);
        ASSERT_EQ(form.grabbedHandle, code);
        const State held = figureOf(form);
        form.pointerMove(x + 30, 125);
        form.pointerMove(x - 12, 140);
        form.pointerMove(x - 12, 110);  // no sideways step either
        expectSameState(held, figureOf(form));
        expectAllFinite(form);
        EXPECT_EQ(form.lastX, x - 12);
        letGo(form, x - 12, 110);
    }

    // With q away from the upper ends the turns work again.
    drag(form, 20, 125, 20, 350);
    grab(form, 400, 125);
    form.pointerMove(430, 125);
    EXPECT_NEAR(form.fig.transLX2, 70, 1e-9);
    letGo(form, 430, 125);
}

TEST_F(Figure, AbsurdPointerPositionsNeverBreakTheFigure) {
    const float huge[][2] = {{1e30F, 1e30F},       {-1e30F, -1e30F},    {FLT_MAX, FLT_MAX},
                             {-FLT_MAX, -FLT_MAX}, {FLT_MAX, -FLT_MAX}, {-FLT_MAX, 1e30F}};
    const float starts[][2] = {{20, 275},  {20, 350},  {400, 125},
                               {250, 125}, {325, 350}, {600, 600}};
    for (const auto& start : starts) {
        SCOPED_TRACE("grab at (" + std::to_string(start[0]) + ", " + std::to_string(start[1]) +
                     ")");
        // What an ordinary 10 px step from the handle gives.
        Form1 reference;
        reference.Form_Load();
        grab(reference, start[0], start[1]);
        reference.pointerMove(start[0] + 10, start[1] + 10);

        Form1 subject;
        subject.Form_Load();
        grab(subject, start[0], start[1]);
        for (const auto& p : huge) {
            subject.pointerMove(p[0], p[1]);
            expectAllFinite(subject);
            EXPECT_EQ(subject.lastX, p[0]);
        }
        // Steps of absurd size were left out; the ordinary one is applied.
        subject.pointerMove(start[0], start[1]);
        subject.pointerMove(start[0] + 10, start[1] + 10);
        EXPECT_EQ(subject.fig, reference.fig);
        expectSameState(figureOf(reference), figureOf(subject));
        letGo(subject, FLT_MAX, -FLT_MAX);
        expectAllFinite(subject);
    }
    // Positions that are no numbers at all never reach the canvas.
    const float lastX = form.lastX;
    form.pointerMove(std::numeric_limits<float>::quiet_NaN(), 10);
    form.pointerMove(std::numeric_limits<float>::infinity(), 10);
    form.pointerPress(kRightButton, -std::numeric_limits<float>::infinity(), 10);
    EXPECT_EQ(form.lastX, lastX);
    EXPECT_EQ(form.heldButtons(), 0);
    expectAllFinite(form);
}

TEST_F(Figure, LongDragsFarOffTheCanvasStayFinite) {
    grab(form, 400, 125);
    for (int i = 1; i <= 20; ++i) {
        form.pointerMove(400.0F + 5e5F * static_cast<float>(i), 125);
    }
    letGo(form, 0, 0);
    grab(form, 20, 275);
    for (int i = 1; i <= 20; ++i) {
        form.pointerMove(20, 275.0F - 4e5F * static_cast<float>(i));
    }
    letGo(form, 0, 0);
    expectAllFinite(form);
    EXPECT_LE(std::fabs(form.fig.transLX1), 1e6);
    EXPECT_LE(std::fabs(form.fig.parallelPY), 1e6);
}

TEST_F(Figure, MoveWithoutAHandleReplacesLabelsAndFollowsThePointer) {
    const State before = figureOf(form);
    form.Label2(0).Left = 0;
    form.Label2(4).Top = 0;
    form.pointerMove(500, 500);
    EXPECT_EQ(form.Shape1.Top, 500 - 57 / 2.0F);
    EXPECT_EQ(form.Shape1.Left, 500 - 57 / 2.0F);
    EXPECT_EQ(form.lastX, 500.0F);
    EXPECT_EQ(form.lastY, 500.0F);
    expectSameState(before, figureOf(form));

    form.pointerMove(-20.25F, 700);
    EXPECT_EQ(form.Shape1.Left, -20.25F - 28.5F);
    EXPECT_EQ(form.lastX, -20.25F);
    expectSameState(before, figureOf(form));
}

TEST_F(Figure, DragsAreRelativeToTheLastMove) {
    form.pointerMove(405, 125);
    form.pointerPress(kLeftButton, 410, 125);
    form.pointerMove(415, 125);
    // The step is measured from where the pointer last moved, not from the press,
    // and the end does not jump to the pointer.
    EXPECT_EQ(form.fig.transLX1, 410);
    form.pointerMove(425, 145);
    EXPECT_EQ(form.fig.transLX1, 420);
    letGo(form, 425, 145);

    grab(form, 20, 280);
    form.pointerMove(20, 300);
    EXPECT_EQ(form.fig.parallelPY, 295);
    letGo(form, 20, 300);
}

TEST_F(Figure, ToolsLeaveTheFigureAloneWhileAHandleIsHeld) {
    for (int command : {3, 5}) {
        SCOPED_TRACE(command == 3 ? "memo" : "straight line");
        form.userClickCommand(1);
        form.gamen_MouseUp(kLeftButton, 0, 0, 0);
        grabOnCanvas(form, 400, 125);
        ASSERT_EQ(form.grabbedHandle, 5);
        form.userClickCommand(command);
        if (command == 3) {
            form.userClickOption1(7);  // the thick eraser: a box 25 wide, 57 high
        }
        const State held = figureOf(form);
        form.gamen_MouseMove(kLeftButton, 0, 450, 160);
        // Centred on the pointer by its box; the eraser's width stays with the box.
        EXPECT_EQ(form.Shape1.Width, 25.0F);
        EXPECT_EQ(form.Shape1.Left, 437.5F);
        EXPECT_EQ(form.Shape1.Top, 131.5F);
        EXPECT_EQ(form.lastX, 450.0F);
        EXPECT_EQ(form.lastY, 160.0F);
        expectSameState(held, figureOf(form));

        // Its release leaves the handle and the colours as they are.
        form.gamen_MouseUp(kLeftButton, 0, 450, 160);
        EXPECT_EQ(form.grabbedHandle, 5);
        EXPECT_EQ(redLines(form), (Names{"l", "extL"}));
        expectSameState(held, figureOf(form));
        form.userClickCommand(command);  // tool off
        form.gamen_MouseUp(kLeftButton, 0, 450, 160);
    }
}

// ---------------------------------------------------------------- releasing

TEST_F(Figure, ReleaseKeepsTheLastMoveAndTurnsTheLinesBlack) {
    grab(form, 400, 125);
    form.pointerMove(460, 125);
    const State moved = figureOf(form);
    EXPECT_EQ(redLines(form), (Names{"l", "extL"}));
    letGo(form, 700, 600);  // the release position is not applied
    EXPECT_EQ(form.grabbedHandle, 0);
    EXPECT_EQ(redLines(form), Names{});
    State released = figureOf(form);
    for (const char* name : {"Line1(3).BorderColor", "Line2(1).BorderColor", "Line2(0).BorderColor",
                             "grabbedHandle"}) {
        released[name] = moved.at(name);
    }
    expectSameState(moved, released);
    EXPECT_EQ(form.fig.transLX1, 460);
    EXPECT_NEAR(form.fig.pointBX, 250, 1e-9);
    EXPECT_EQ(form.lastX, 460.0F);  // a release records no position
    EXPECT_EQ(form.lastY, 125.0F);

    // Once let go, moves leave the lines where they are.
    form.pointerMove(300, 125);
    EXPECT_EQ(form.fig.transLX1, 460);
}

TEST_F(Figure, ReleaseAfterTheOverlapOfPAndQ) {
    grab(form, 20, 312);
    ASSERT_EQ(redLines(form), (Names{"p", "q"}));
    form.pointerMove(20, 322);
    EXPECT_EQ(form.fig.parallelQY, 360);
    EXPECT_EQ(form.fig.parallelPY, 275);
    letGo(form, 20, 322);
    EXPECT_EQ(redLines(form), Names{});
}

TEST_F(Figure, ReleaseWithoutAGrabBlackensTheSevenLinesOnly) {
    form.userClickCommand(1);
    ASSERT_EQ(form.Line2(0).BorderColor, QBColor(12));
    const State before = figureOf(form);
    grab(form, 600, 600);
    letGo(form, 600, 600);
    EXPECT_EQ(redLines(form), Names{});
    State after = figureOf(form);
    EXPECT_EQ(after["Line2(0).BorderColor"], QBColor(0));
    after["Line2(0).BorderColor"] = before.at("Line2(0).BorderColor");
    expectSameState(before, after);
    // r, the arrow strokes and the marker lines keep their colours.
    EXPECT_EQ(form.Line1(2).BorderColor, QBColor(0));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(form.Line3(i).BorderColor, 0x0000FFU) << i;
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(form.Line4(i).BorderColor, 0xFF0000U) << i;
    }

    // The right button's release after a reset does the same.
    form.pointerPress(kRightButton, 500, 500);
    EXPECT_EQ(form.Line2(0).BorderColor, QBColor(12));
    form.pointerRelease(kRightButton, 500, 500);
    EXPECT_EQ(redLines(form), Names{});
}

TEST_F(Figure, RightPressInTheMiddleOfADrag) {
    grab(form, 400, 125);
    form.pointerMove(430, 125);
    ASSERT_EQ(form.fig.transLX1, 430);
    form.pointerPress(kRightButton, 500, 500);
    EXPECT_EQ(form.fig, initial);
    EXPECT_EQ(form.grabbedHandle, 0);
    EXPECT_EQ(form.lastX, 500.0F);
    EXPECT_EQ(form.lastY, 500.0F);
    // The grabbed line keeps its highlight until a button goes up; the reset
    // gives the copy its red again.
    EXPECT_EQ(redLines(form), (Names{"l", "extL", "copy"}));

    form.pointerMove(520, 510);
    form.pointerMove(600, 520);
    form.pointerMove(380, 125);
    EXPECT_EQ(form.fig, initial);
    EXPECT_EQ(form.Line1(3).X1, 400.0F);
    EXPECT_EQ(redLines(form), (Names{"l", "extL", "copy"}));

    letGo(form, 380, 125);
    EXPECT_EQ(redLines(form), Names{});
    form.pointerRelease(kRightButton, 380, 125);
    EXPECT_EQ(form.heldButtons(), 0);
    EXPECT_EQ(form.fig, initial);
}

// ---------------------------------------------------------------- routing

TEST_F(Figure, PressOnAPointLabelDoesNotReachTheCanvas) {
    drag(form, 400, 125, 430, 125);
    const FigureState turned = form.fig;
    form.pointerMove(600, 600);
    const heikosen::LabelControl& a = form.Label2(0);
    const float ax = a.Left + 5;
    const float ay = a.Top + 5;
    ASSERT_EQ(form.hitTest(ax, ay), (heikosen::CanvasHit{heikosen::CanvasHit::Kind::Label2, 0}));

    form.pointerPress(kRightButton, ax, ay);  // on the canvas this would reset
    EXPECT_EQ(form.fig, turned);
    EXPECT_EQ(form.lastX, 600.0F);
    form.pointerMove(ax + 200, ay + 100);  // captured by the label
    EXPECT_EQ(form.lastX, 600.0F);
    form.pointerRelease(kRightButton, ax + 200, ay + 100);

    form.pointerPress(kMiddleButton, ax, ay);
    EXPECT_EQ(form.lastX, 600.0F);
    form.pointerRelease(kMiddleButton, ax, ay);

    // "Ｂ'" stands inside the copy's zone: a press on it grabs nothing.
    const float bx = form.Label2(4).Left + 5;
    const float by = form.Label2(4).Top + 20;
    form.pointerPress(kLeftButton, bx, by);
    EXPECT_EQ(form.grabbedHandle, 0);
    EXPECT_EQ(form.Line2(0).X1, 1000.0F);
    letGo(form, bx, by);
    form.gamen_MouseDown(kLeftButton, 0, bx, by);
    EXPECT_EQ(form.grabbedHandle, 10);
}

TEST_F(Figure, PressesOnTheBorderAreIgnored) {
    // The drawing area is 802 x 626 pixels; the sunken border lies around it.
    const std::pair<float, float> border[] = {
        {-1.5F, 275}, {-0.01F, 350}, {802, 300}, {803.5F, 125}, {400, -1}, {400, 626}, {-2, -2}};
    for (int command : {0, 3, 5}) {  // figure mode, memo, straight line
        SCOPED_TRACE("mode " + std::to_string(command));
        if (command != 0) {
            form.userClickCommand(command);
        }
        for (const auto& [x, y] : border) {
            SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
            form.pointerMove(x, y);
            const State before = capture(form);
            for (int button : {kLeftButton, kRightButton, kMiddleButton}) {
                form.pointerPress(button, x, y);
                EXPECT_EQ(form.heldButtons(), 0);
                form.pointerMove(x + 30, y + 30);
                form.pointerRelease(button, x + 30, y + 30);
                form.pointerMove(x, y);
            }
            expectSameState(before, capture(form));
        }
        if (command != 0) {
            form.userClickCommand(command);
        }
    }
    // The first row and column are inside; a drag from there goes on over the
    // border and beyond.
    grab(form, 0, 275);
    EXPECT_EQ(form.grabbedHandle, 1);
    form.pointerMove(-1.5F, 290);
    form.pointerMove(-40, 305);
    EXPECT_EQ(form.fig.parallelPY, 305);
    letGo(form, -40, 305);
    EXPECT_EQ(form.grabbedHandle, 0);
    form.userClickCommand(3);
    grab(form, 801.5F, 625.5F);
    form.pointerMove(820, 640);
    letGo(form, 820, 640);
    EXPECT_EQ(form.gamen.segmentsSinceCls(), 1U);
}

TEST_F(Figure, PressOnALineReachesTheCanvas) {
    // On l just below its upper end, clear of the letter picture.
    const float x = static_cast<float>(400 - 300 * 5 / 450.0);
    ASSERT_EQ(form.hitTest(x, 130).kind, heikosen::CanvasHit::Kind::Canvas);
    grab(form, x, 130);
    EXPECT_EQ(form.grabbedHandle, 5);
    letGo(form, x, 130);

    drag(form, 20, 275, 20, 250);
    form.pointerPress(kRightButton, 500, 350);  // on q
    EXPECT_EQ(form.fig, initial);
    EXPECT_EQ(form.lastX, 500.0F);
    form.pointerRelease(kRightButton, 500, 350);
}

TEST_F(Figure, HoverOverALabelDoesNotMoveTheOutline) {
    form.pointerMove(600, 600);
    const float left = form.Shape1.Left;
    const float top = form.Shape1.Top;
    form.pointerMove(form.Label2(0).Left + 3, form.Label2(0).Top + 3);
    form.pointerMove(form.Image1(2).Left + 3, form.Image1(2).Top + 3);
    EXPECT_EQ(form.Shape1.Left, left);
    EXPECT_EQ(form.Shape1.Top, top);
    EXPECT_EQ(form.lastX, 600.0F);
    EXPECT_EQ(form.lastY, 600.0F);
}

TEST_F(Figure, PressAndReleaseOnTheLetterOfLShowsItsExtension) {
    // (410, 150) is also inside the zone of l's upper end; the picture takes it.
    ASSERT_EQ(form.hitTest(410, 150), (heikosen::CanvasHit{heikosen::CanvasHit::Kind::Image1, 0}));
    form.pointerMove(600, 600);
    form.pointerPress(kLeftButton, 410, 150);
    form.pointerMove(415, 155);
    EXPECT_EQ(form.lastX, 600.0F);
    form.pointerRelease(kLeftButton, 415, 155);
    EXPECT_EQ(form.grabbedHandle, 0);
    EXPECT_EQ(redLines(form), Names{});
    EXPECT_TRUE(form.Line2(1).Visible);
    EXPECT_EQ(form.extension1Shown, 1);
    EXPECT_FALSE(form.Line2(2).Visible);

    // Let go elsewhere: no click.
    form.pointerPress(kLeftButton, 410, 150);
    form.pointerRelease(kLeftButton, 500, 400);
    EXPECT_TRUE(form.Line2(1).Visible);
    EXPECT_EQ(form.extension1Shown, 1);

    // Clicked again: hidden again.
    form.pointerPress(kLeftButton, 410, 150);
    form.pointerRelease(kLeftButton, 410, 150);
    EXPECT_FALSE(form.Line2(1).Visible);
    EXPECT_EQ(form.extension1Shown, 0);
    EXPECT_EQ(form.fig, initial);
}

TEST_F(Figure, MovesWhileHeldGoWhereThePressWentAcrossLabels) {
    grab(form, 325, 350);
    ASSERT_EQ(form.grabbedHandle, 10);
    // Over "Ｂ'" the step still reaches the canvas and slides the copy.
    const float overLabel = form.Label2(4).Top + 10;
    ASSERT_EQ(form.hitTest(335, overLabel).kind, heikosen::CanvasHit::Kind::Label2);
    form.pointerMove(335, overLabel);
    EXPECT_EQ(form.fig.copyMGrabX, 335);
    EXPECT_EQ(form.lastY, overLabel);
    // Let go over the label: the canvas gets the release.
    letGo(form, 335, overLabel);
    EXPECT_EQ(form.grabbedHandle, 0);
    EXPECT_EQ(redLines(form), Names{});
    EXPECT_EQ(form.heldButtons(), 0);
}

// ---------------------------------------------------------------- pointers

namespace {

constexpr PointerKind kMouse = PointerKind::Mouse;
constexpr PointerKind kPen = PointerKind::Pen;
constexpr PointerKind kFinger = PointerKind::Touch;
constexpr int L = kLeftButton;

// One event as a front end reports it: press, move, release, cancel, or the
// window losing the pointer.
struct Step {
    char type;
    int id = 0;
    PointerKind kind = kMouse;
    float x = 0;
    float y = 0;
    int buttons = 0;
    double time = 0;
    int pressed = 0;
};

Step down(int id, PointerKind kind, float x, float y, double time = 0, int buttons = L) {
    return {'d', id, kind, x, y, buttons, time};
}
Step moveTo(int id, PointerKind kind, float x, float y, double time = 0, int buttons = L) {
    return {'m', id, kind, x, y, buttons, time};
}
Step up(int id, PointerKind kind, float x, float y, double time = 0) {
    return {'u', id, kind, x, y, 0, time};
}
// As a web page hears it ('D' down, 'M' move, 'U' up), with the page's numbers
// of the button that changed and of those held after it.
Step page(char type, int id, PointerKind kind, float x, float y, int button, int buttons) {
    return {type, id, kind, x, y, buttons, 0, button};
}

struct PointerCase {
    const char* name;
    std::vector<Step> steps;
    double p;
    double q;
    int held;
    float lastY;
};

class Pointers : public ::testing::TestWithParam<PointerCase> {};

}  // namespace

// Parallel p stands at y 275 and q at 350; a press at x 20 on either grabs it.
TEST_P(Pointers, FromTheFrontEndToTheFigure) {
    Form1 form;
    form.Form_Load();
    PointerInput pointer(form);
    for (const Step& step : GetParam().steps) {
        const PointerEvent event{step.id,      step.kind,    step.x,   step.y,
                                 step.buttons, step.pressed, step.time};
        switch (step.type) {
            case 'd':
                pointer.press(event);
                break;
            case 'm':
                pointer.move(event);
                break;
            case 'u':
                pointer.release(event);
                break;
            case 'D':
            case 'M':
            case 'U':
                pointer.pageEvent(step.type == 'D'   ? heikosen::PagePointer::Down
                                  : step.type == 'M' ? heikosen::PagePointer::Move
                                                     : heikosen::PagePointer::Up,
                                  event, step.pressed);
                break;
            case 'c':
                pointer.cancel(step.id);
                break;
            default:
                pointer.letGo();
        }
    }
    EXPECT_EQ(form.fig.parallelPY, GetParam().p);
    EXPECT_EQ(form.fig.parallelQY, GetParam().q);
    EXPECT_EQ(form.heldButtons(), GetParam().held);
    EXPECT_EQ(form.lastY, GetParam().lastY);
}

INSTANTIATE_TEST_SUITE_P(
    Events, Pointers,
    ::testing::Values(
        PointerCase{"MouseDragOfP",
                    {moveTo(1, kMouse, 20, 275, 0, 0), down(1, kMouse, 20, 275),
                     moveTo(1, kMouse, 20, 285), up(1, kMouse, 20, 285)},
                    285,
                    350,
                    0,
                    285},
        // The finger arrives with no move before its press; the drag measures
        // from the press, not from where the mouse last hovered.
        PointerCase{"FingerDragMeasuresFromThePress",
                    {moveTo(1, kMouse, 300, 500, 0, 0), down(2, kFinger, 20, 275),
                     moveTo(2, kFinger, 20, 290), up(2, kFinger, 20, 290)},
                    290,
                    350,
                    0,
                    290},
        // The button went up unseen: it is let go where the pointer was, and the
        // move after it drags nothing.
        PointerCase{"ReleaseThatNeverCame",
                    {down(1, kMouse, 20, 275), moveTo(1, kMouse, 20, 285),
                     moveTo(1, kMouse, 20, 300, 0, 0)},
                    285,
                    350,
                    0,
                    300},
        // Pressed again without its release: the old press ends where it was and
        // the new one grabs.
        PointerCase{"PressAgainWithoutTheRelease",
                    {down(1, kMouse, 20, 275),
                     moveTo(1, kMouse, 20, 285),
                     {'d', 1, kMouse, 20, 350, L, 0, L},
                     moveTo(1, kMouse, 20, 355)},
                    285,
                    355,
                    L,
                    355},
        // However long the first finger has been still, a second finger is not
        // let in.
        PointerCase{"SecondFingerIsIgnored",
                    {down(2, kFinger, 20, 275), moveTo(2, kFinger, 20, 280, 10),
                     down(3, kFinger, 20, 350, 5000), moveTo(3, kFinger, 20, 360, 5010),
                     moveTo(2, kFinger, 20, 282, 5020)},
                    282,
                    350,
                    L,
                    282},
        // The pen's events stopped after its press. A mouse hovering is not let
        // in, but its press ends the pen's drag and grabs q; the pen's late
        // events change nothing.
        PointerCase{"MouseAfterASilentPen",
                    {down(4, kPen, 20, 275, 0), moveTo(1, kMouse, 20, 330, 900, 0),
                     down(1, kMouse, 20, 350, 1000), moveTo(1, kMouse, 20, 360, 1010),
                     up(1, kMouse, 20, 360, 1020), moveTo(4, kPen, 20, 200, 1030),
                     up(4, kPen, 20, 200, 1040)},
                    275,
                    360,
                    0,
                    360},
        // The pen moved a moment ago: it still holds the board.
        PointerCase{"MouseWhileThePenMovesIsIgnored",
                    {down(4, kPen, 20, 275, 0), moveTo(4, kPen, 20, 278, 400),
                     down(1, kMouse, 20, 350, 800), moveTo(4, kPen, 20, 280, 810)},
                    280,
                    350,
                    L,
                    280},
        PointerCase{"PenAfterASilentFinger",
                    {down(2, kFinger, 20, 275, 0), moveTo(2, kFinger, 20, 279, 10),
                     down(4, kPen, 20, 350, 600), moveTo(4, kPen, 20, 345, 610)},
                    279,
                    345,
                    L,
                    345},
        // A cancelled pointer lets go where it was last seen; a finger that
        // holds nothing moves nothing.
        PointerCase{"CancelledFinger",
                    {down(2, kFinger, 20, 275),
                     moveTo(2, kFinger, 20, 285),
                     {'c', 2},
                     moveTo(2, kFinger, 20, 320)},
                    285,
                    350,
                    0,
                    285},
        // The right button pressed and let go while the left drags p: the
        // figure is reset, and the moves after it drag nothing.
        PointerCase{"PageRightButtonDuringADrag",
                    {page('D', 1, kMouse, 20, 275, 0, 1), page('M', 1, kMouse, 20, 285, -1, 1),
                     page('M', 1, kMouse, 20, 290, 2, 3), page('M', 1, kMouse, 20, 300, 2, 1),
                     page('M', 1, kMouse, 20, 310, -1, 1)},
                    275,
                    350,
                    L,
                    310},
        PointerCase{"PagePensEraserEndDrawsAsItsTip",
                    {page('D', 4, kPen, 20, 275, 5, 32), page('M', 4, kPen, 20, 295, -1, 32)},
                    295,
                    350,
                    L,
                    295},
        // A mouse's back button: no press, and the move after it hovers.
        PointerCase{"PageBackButtonIsNotTaken",
                    {page('D', 1, kMouse, 20, 275, 3, 8), page('M', 1, kMouse, 20, 290, -1, 8),
                     page('U', 1, kMouse, 20, 290, 3, 0)},
                    275,
                    350,
                    0,
                    290},
        PointerCase{"WindowLostThePointer",
                    {down(1, kMouse, 20, 350),
                     moveTo(1, kMouse, 20, 340),
                     {'l'},
                     moveTo(1, kMouse, 20, 300, 0, 0)},
                    275,
                    340,
                    0,
                    300}),
    [](const ::testing::TestParamInfo<PointerCase>& info) { return info.param.name; });

// ---------------------------------------------------------------- the keyboard

using heikosen::CanvasKey;

namespace {

struct KeyPick {
    const char* name;
    CanvasKey key;
    float before[4];  // a mouse drag first, on both windows, from (0, 1) to (2, 3)
    float x;          // where the mouse presses to grab the same handle
    float y;
    int code;
    Names red;
};

class KeyboardDrag : public Figure, public ::testing::WithParamInterface<KeyPick> {};

}  // namespace

TEST_P(KeyboardDrag, StepsLeaveTheNumbersOfAMouseDragBySameSteps) {
    const KeyPick& c = GetParam();
    Form1 mouse;
    mouse.Form_Load();
    mouse.pointerPress(kLeftButton, 600, 600);
    mouse.pointerRelease(kLeftButton, 600, 600);
    if (c.before[0] != 0) {
        for (Form1* f : {&form, &mouse}) {
            drag(*f, c.before[0], c.before[1], c.before[2], c.before[3]);
        }
    }

    EXPECT_TRUE(form.canvasKey(c.key, false));
    grab(mouse, c.x, c.y);
    EXPECT_EQ(form.keyboardHandle(), c.code);
    EXPECT_EQ(redLines(form), c.red);
    expectSameState(capture(mouse), capture(form));
    const FigureState picked = form.fig;

    // Steps of 1 and of 10 px in every direction, out and back.
    const std::pair<CanvasKey, bool> steps[] = {
        {CanvasKey::Right, false}, {CanvasKey::Right, true}, {CanvasKey::Up, true},
        {CanvasKey::Up, false},    {CanvasKey::Up, false},   {CanvasKey::Left, true},
        {CanvasKey::Left, true},   {CanvasKey::Down, false}, {CanvasKey::Down, true},
        {CanvasKey::Right, false}, {CanvasKey::Up, true},    {CanvasKey::Down, false},
    };
    float x = c.x;
    float y = c.y;
    for (const auto& [key, shift] : steps) {
        const float step = shift ? 10.0F : 1.0F;
        x += key == CanvasKey::Left ? -step : key == CanvasKey::Right ? step : 0.0F;
        y += key == CanvasKey::Up ? -step : key == CanvasKey::Down ? step : 0.0F;
        EXPECT_TRUE(form.canvasKey(key, shift));
        mouse.pointerMove(x, y);
        expectSameState(capture(mouse), capture(form));
    }
    EXPECT_NE(form.fig, picked);
    EXPECT_EQ(redLines(form), c.red);

    // Escape lets go as the mouse button's release does.
    EXPECT_TRUE(form.canvasKey(CanvasKey::Escape, false));
    letGo(mouse, x, y);
    EXPECT_EQ(form.keyboardHandle(), 0);
    EXPECT_EQ(redLines(form), Names{});
    expectSameState(capture(mouse), capture(form));
    EXPECT_FALSE(form.canvasKey(CanvasKey::Escape, false));
    EXPECT_FALSE(form.canvasKey(CanvasKey::Up, false));  // nothing held, nothing moves
    expectSameState(capture(mouse), capture(form));
}

INSTANTIATE_TEST_SUITE_P(
    Handles, KeyboardDrag,
    ::testing::Values(KeyPick{"P", CanvasKey::P, {}, 20, 275, 1, {"p"}},
                      KeyPick{"Q", CanvasKey::Q, {}, 20, 350, 2, {"q"}},
                      KeyPick{"L", CanvasKey::L, {}, 400, 125, 5, {"l", "extL"}},
                      KeyPick{"M", CanvasKey::M, {}, 250, 125, 6, {"m", "extM"}},
                      KeyPick{"C", CanvasKey::C, {}, 325, 350, 10, {"copy"}},
                      // q 30 px below p: p is pressed above q's zone
                      KeyPick{"PNearQ", CanvasKey::P, {20, 350, 20, 305}, 20, 250, 1, {"p"}},
                      // the upper end of l 10 px right of m's: l is pressed right of m's zone
                      KeyPick{"LNearM",
                              CanvasKey::L,
                              {400, 125, 260, 125},
                              260.0F + 0.98F * 30.0F,
                              125,
                              5,
                              {"l", "extL"}}),
    [](const ::testing::TestParamInfo<KeyPick>& info) { return std::string(info.param.name); });

TEST_F(Figure, KeyboardPickLetsGoOfTheHandleBefore) {
    Form1 mouse;
    mouse.Form_Load();
    mouse.pointerPress(kLeftButton, 600, 600);
    mouse.pointerRelease(kLeftButton, 600, 600);

    form.canvasKey(CanvasKey::P, false);
    form.canvasKey(CanvasKey::Down, true);
    form.canvasKey(CanvasKey::L, false);
    drag(mouse, 20, 275, 20, 285);
    grab(mouse, 400, 125);
    EXPECT_EQ(form.keyboardHandle(), 5);
    EXPECT_EQ(redLines(form), (Names{"l", "extL"}));  // p is black again
    expectSameState(capture(mouse), capture(form));
    EXPECT_EQ(form.fig.parallelPY, 285);

    // Space goes on round the handles: m, the copy, then p again.
    for (int expected : {6, 10, 1}) {
        form.canvasKey(CanvasKey::Space, false);
        EXPECT_EQ(form.keyboardHandle(), expected);
    }
    form.canvasKey(CanvasKey::Space, true);
    EXPECT_EQ(form.keyboardHandle(), 10);

    // Losing the focus lets go; so does the pointer coming back to the canvas.
    form.canvasFocusLost();
    EXPECT_EQ(form.keyboardHandle(), 0);
    EXPECT_EQ(redLines(form), Names{});
    form.canvasKey(CanvasKey::Q, false);
    ASSERT_EQ(form.keyboardHandle(), 2);
    form.pointerMove(20, 100);
    EXPECT_EQ(form.grabbedHandle, 0);
    EXPECT_EQ(form.fig.parallelQY, 350);

    // Shift with L and M does what a click on the letters does, also with a tool on.
    form.userClickCommand(3);
    EXPECT_TRUE(form.canvasKey(CanvasKey::L, true));
    EXPECT_EQ(form.extension1Shown, 1);
    EXPECT_TRUE(form.Line2(1).Visible);
    EXPECT_TRUE(form.canvasKey(CanvasKey::M, true));
    EXPECT_TRUE(form.canvasKey(CanvasKey::M, true, true));  // held down: no second switch
    EXPECT_EQ(form.extension2Shown, 1);
    // With the pens on, the figure keys do nothing.
    const State penOn = capture(form);
    EXPECT_FALSE(form.canvasKey(CanvasKey::P, false));
    EXPECT_FALSE(form.canvasKey(CanvasKey::Up, false));
    expectSameState(penOn, capture(form));
}

TEST_F(Figure, TheFigureInWords) {
    const std::string keys = Form1::canvasKeyHint();
    EXPECT_EQ(form.canvasDescription(),
              "平行線p、q、rと直線ℓ、mの図。つかんでいる点: なし。長さ（方眼のます目）: AB 3.6、"
              "BC 7.2、A'B' 3.2、B'C' 6.3。比: AB：BC ＝ 1：2.00、A'B'：B'C' ＝ 1：2.00。" +
                  keys);
    // p 25 px up, from the keyboard: A and A' move along l and m.
    form.canvasKey(CanvasKey::P, false);
    for (int i = 0; i < 2; ++i) {
        form.canvasKey(CanvasKey::Up, true);
    }
    for (int i = 0; i < 5; ++i) {
        form.canvasKey(CanvasKey::Up, false);
    }
    EXPECT_EQ(form.fig.parallelPY, 250);
    EXPECT_EQ(form.canvasDescription(),
              "平行線p、q、rと直線ℓ、mの図。つかんでいる点: 直線pの左端。長さ（方眼のます目）: AB "
              "4.8、BC 7.2、A'B' 4.2、B'C' 6.3。比: AB：BC ＝ 1：1.50、A'B'：B'C' ＝ 1：1.50。" +
                  keys);
    form.canvasKey(CanvasKey::Escape, false);
    EXPECT_NE(form.canvasDescription().find("つかんでいる点: なし。"), std::string::npos);
    // p on q: AB has no length.
    drag(form, 20, 250, 20, 350);
    EXPECT_NE(
        form.canvasDescription().find("AB 0.0、BC 7.2、A'B' 0.0、B'C' 6.3。比: AB：BC ＝ 0：1、"),
        std::string::npos);
    EXPECT_NE(keys.find("Shift+L"), std::string::npos);
    EXPECT_EQ(form.canvasDescription(), form.canvasWords() + keys);
}
