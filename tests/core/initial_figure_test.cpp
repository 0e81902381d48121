// The initial figure ("初期画面"): every position of the reset figure, and the
// reset as a pupil reaches it after working with the figure and the tools.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "support/form_state.h"
#include "ui/form1.h"

using heikosen::Form1;
using heikosen::kLeftButton;
using heikosen::kRightButton;
using heikosen::LineControl;
using heikosen::QBColor;

namespace {

using heikosen::testing::capture;
using heikosen::testing::expectLine;
using heikosen::testing::expectPx;
using heikosen::testing::expectSameState;
using heikosen::testing::State;
using heikosen::testing::without;

// A left drag on the canvas: the pointer comes to (x0, y0), presses, moves to
// (x1, y1) and lets go there.
void drag(Form1& form, float x0, float y0, float x1, float y1) {
    form.pointerMove(x0, y0);
    form.pointerPress(kLeftButton, x0, y0);
    form.pointerMove(x1, y1);
    form.pointerRelease(kLeftButton, x1, y1);
}

void click(Form1& form, float x, float y) {
    form.pointerPress(kLeftButton, x, y);
    form.pointerRelease(kLeftButton, x, y);
}

class InitialFigure : public ::testing::Test {
  protected:
    void SetUp() override { form.Form_Load(); }

    // Works the figure and every tool, so that nearly nothing is as the reset left it.
    void workEverything() {
        drag(form, 20, 275, 20, 295);                                            // p down
        drag(form, 20, 350, 20, 320);                                            // q up
        drag(form, 400, 125, 440, 125);                                          // l turned
        drag(form, 250, 125, 230, 125);                                          // m turned
        drag(form, form.fig.copyMGrabX, 320, form.fig.copyMGrabX + 60.0F, 320);  // copy slid
        click(form, form.Image1(0).Left + 5, form.Image1(0).Top + 5);            // l extended
        click(form, form.Image1(1).Left + 5, form.Image1(1).Top + 5);            // m extended
        form.userClickCommand(4);                                                // grid on
        form.userClickCommand(5);                                                // line tool
        form.userClickOption2(0);
        drag(form, 100, 550, 700, 560);
        drag(form, 100, 580, 700, 600);
        form.userClickCommand(3);  // memo with the thick eraser
        form.userClickOption1(7);
        drag(form, 600, 100, 650, 150);
        form.pointerMove(520, 430);
    }

    Form1 form;
};

}  // namespace

TEST_F(InitialFigure, FigureVariables) {
    const heikosen::FigureState& g = form.fig;
    EXPECT_EQ(g.parallelPY, 275);
    EXPECT_EQ(g.parallelQY, 350);
    EXPECT_EQ(g.parallelRY, 500);
    EXPECT_EQ(g.transLX1, 400);
    EXPECT_EQ(g.transLY1, 125);
    EXPECT_EQ(g.transLX2, 100);
    EXPECT_EQ(g.transLY2, 575);
    EXPECT_EQ(g.transMX1, 250);
    EXPECT_EQ(g.transMY1, 125);
    EXPECT_EQ(g.transMX2, 400);
    EXPECT_EQ(g.transMY2, 575);
    EXPECT_EQ(g.copyMX1, 250);
    EXPECT_EQ(g.copyMY1, 125);
    EXPECT_EQ(g.copyMX2, 400);
    EXPECT_EQ(g.copyMY2, 575);
    EXPECT_DOUBLE_EQ(g.pointAX, 300);
    EXPECT_DOUBLE_EQ(g.pointAPrimeX, 300);
    EXPECT_DOUBLE_EQ(g.pointBX, 250);
    EXPECT_DOUBLE_EQ(g.pointBPrimeX, 325);
    EXPECT_DOUBLE_EQ(g.pointCX, 150);
    EXPECT_DOUBLE_EQ(g.pointCPrimeX, 375);
    EXPECT_EQ(g.copyMGrabX, 325);
    EXPECT_EQ(form.extension1Shown, 0);
    EXPECT_EQ(form.extension2Shown, 0);
}

TEST_F(InitialFigure, ParallelsTheirPicturesAndMarks) {
    expectLine(form.Line1(0), 50, 275, 750, 275);
    expectLine(form.Line1(1), 50, 350, 750, 350);
    expectLine(form.Line1(2), 50, 500, 750, 500);
    const double tops[3] = {239, 316, 470};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(form.Image1(2 + k).Left, 50.0F);
        EXPECT_EQ(form.Image1(2 + k).Top, static_cast<float>(tops[k]));
    }
    expectLine(form.Line3(0), 680, 275, 660, 285);
    expectLine(form.Line3(1), 680, 275, 660, 265);
    expectLine(form.Line3(2), 680, 350, 660, 360);
    expectLine(form.Line3(3), 680, 350, 660, 340);
    expectLine(form.Line3(4), 680, 500, 660, 510);
    expectLine(form.Line3(5), 680, 500, 660, 490);
}

TEST_F(InitialFigure, TransversalsPicturesAndExtensions) {
    expectLine(form.Line1(3), 400, 125, 100, 575);
    expectLine(form.Line1(4), 250, 125, 400, 575);
    expectPx(form.Image1(0).Left, 400);
    expectPx(form.Image1(0).Top, 135);
    // m runs down to the right: its letter sits 35 px down the line, plus 25 px.
    expectPx(form.Image1(1).Left, 250 + 35 * 150 / 450.0 + 25);
    EXPECT_NEAR(form.Image1(1).Left, 286.6667, 1e-4);
    expectPx(form.Image1(1).Top, 135);
    expectLine(form.Line2(1), 400, 125, 400 + 100 * 300 / 450.0, 25);
    expectLine(form.Line2(2), 250, 125, 250 - 100 * 150 / 450.0, 25);
    EXPECT_NEAR(form.Line2(1).X2, 466.6667, 1e-4);
    EXPECT_NEAR(form.Line2(2).X2, 216.6667, 1e-4);
    EXPECT_FALSE(form.Line2(1).Visible);
    EXPECT_FALSE(form.Line2(2).Visible);
}

TEST_F(InitialFigure, PointLabels) {
    // Each label on l stands 31 x 300 / 450 px right of its point; m runs down to
    // the right, so its labels stand on their points.
    const double shift = 31 * 300 / 450.0;
    expectPx(form.Label2(0).Left, 300 + shift);
    expectPx(form.Label2(1).Left, 250 + shift);
    expectPx(form.Label2(2).Left, 150 + shift);
    EXPECT_NEAR(form.Label2(0).Left, 320.6667, 1e-4);
    EXPECT_NEAR(form.Label2(1).Left, 270.6667, 1e-4);
    EXPECT_NEAR(form.Label2(2).Left, 170.6667, 1e-4);
    EXPECT_EQ(form.Label2(0).Top, 244.0F);
    EXPECT_EQ(form.Label2(1).Top, 319.0F);
    EXPECT_EQ(form.Label2(2).Top, 469.0F);
    EXPECT_EQ(form.Label2(3).Left, 1000.0F);
    EXPECT_EQ(form.Label2(4).Left, 325.0F);
    EXPECT_EQ(form.Label2(5).Left, 375.0F);
    EXPECT_EQ(form.Label2(4).Top, 319.0F);
    EXPECT_EQ(form.Label2(5).Top, 469.0F);
    EXPECT_EQ(form.Label3(1).Top, -50.0F);
}

TEST_F(InitialFigure, CopyOfMAndMarkerLinesOutOfSight) {
    EXPECT_EQ(form.Line2(0).X1, 1000.0F);
    EXPECT_EQ(form.Line2(0).X2, 1000.0F);
    EXPECT_EQ(form.Line2(0).BorderColor, QBColor(12));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(form.Line4(i).X1, 1000.0F) << i;
        EXPECT_EQ(form.Line4(i).X2, 1000.0F) << i;
    }
    // Lines of the figure other than the copy keep their black.
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(form.Line1(i).BorderColor, QBColor(0)) << i;
    }
    EXPECT_EQ(form.Line2(1).BorderColor, QBColor(0));
    EXPECT_EQ(form.Line2(2).BorderColor, QBColor(0));
}

TEST_F(InitialFigure, ResettingTwiceEqualsResettingOnce) {
    const State loaded = capture(form);
    form.userClickCommand(1);
    const State once = capture(form);
    form.userClickCommand(1);
    const State twice = capture(form);
    expectSameState(loaded, once);
    expectSameState(once, twice);
}

TEST_F(InitialFigure, ResetAfterWorkRestoresTheInitialScreen) {
    const State initial = capture(form);
    workEverything();
    ASSERT_EQ(form.memoMode, 1);
    ASSERT_EQ(form.gridShown, 1);
    ASSERT_EQ(form.Check1(0).Value(), 1);
    ASSERT_EQ(form.Check1(1).Value(), 1);
    ASSERT_TRUE(form.Line2(1).Visible);
    ASSERT_GT(form.gamen.segmentsSinceCls(), 0U);
    ASSERT_NE(form.fig.parallelPY, 275);
    ASSERT_NE(form.fig.copyMGrabX, form.fig.pointBPrimeX);
    const State beforeReset = capture(form);

    form.userClickCommand(1);
    const State after = capture(form);

    // The reset leaves alone the pointer, the eraser outline's place and width, the
    // colours chosen, the selected options, and the y values and colours of lines
    // that it parks.
    auto leftAlone = [](const std::string& name) {
        const bool parkedLine = name.starts_with("Line4") || name.starts_with("Line2(0)");
        return name == "lastX" || name == "lastY" || name == "penColor" || name == "lineColor" ||
               name == "Shape1.Left" || name == "Shape1.Top" || name == "Shape1.Width" ||
               (name.starts_with("Option") && name.ends_with(".Value")) ||
               (parkedLine && (name.ends_with(".Y1") || name.ends_with(".Y2"))) ||
               (name.starts_with("Line4") && name.ends_with(".BorderColor"));
    };
    expectSameState(without(initial, leftAlone), without(after, leftAlone));
    for (const auto& [name, value] : beforeReset) {
        if (leftAlone(name) && !name.starts_with("Shape1") && !name.starts_with("last")) {
            EXPECT_EQ(after.at(name), value) << name;
        }
    }
    EXPECT_EQ(form.penColor, 15);
    EXPECT_EQ(form.lineColor, 12);
    EXPECT_TRUE(form.Option1(7).Value());
    EXPECT_EQ(form.selectedOptionCount(), 1);
}

TEST_F(InitialFigure, ResetHidesTheGridAndUnboldsTheToolButtons) {
    form.userClickCommand(4);
    ASSERT_TRUE(form.Line5(3).Visible);
    ASSERT_TRUE(form.Command4.FontBold);
    form.userClickCommand(3);
    ASSERT_TRUE(form.Command3.FontBold);

    form.userClickCommand(1);
    for (int k = 0; k < form.Line5.count(); ++k) {
        EXPECT_FALSE(form.Line5(k).Visible) << k;
    }
    for (int k = 0; k < form.Line6.count(); ++k) {
        EXPECT_FALSE(form.Line6(k).Visible) << k;
    }
    EXPECT_EQ(form.gridShown, 0);
    EXPECT_FALSE(form.Command3.FontBold);
    EXPECT_FALSE(form.Command4.FontBold);
    EXPECT_EQ(form.memoMode, 0);

    // The grid comes back with one click, as the flag says it is off.
    form.userClickCommand(4);
    EXPECT_TRUE(form.Line6(7).Visible);

    form.userClickCommand(5);
    ASSERT_TRUE(form.Command5.FontBold);
    form.userClickCommand(1);
    EXPECT_FALSE(form.Command5.FontBold);
    EXPECT_EQ(form.lineMode, 0);
}

TEST_F(InitialFigure, RightPressMidStrokeEndsTheStroke) {
    form.userClickCommand(3);
    form.pointerMove(100, 100);
    form.pointerPress(kLeftButton, 100, 100);
    form.pointerMove(120, 110);
    ASSERT_EQ(form.penDown, 1);
    ASSERT_EQ(form.gamen.segmentsSinceCls(), 1U);

    form.pointerPress(kRightButton, 130, 115);
    EXPECT_EQ(form.penDown, 0);
    EXPECT_EQ(form.memoMode, 0);
    EXPECT_EQ(form.gamen.segmentsSinceCls(), 0U);
    form.pointerRelease(kLeftButton, 130, 115);
    form.pointerRelease(kRightButton, 130, 115);

    // Back in memo mode a mere move draws nothing.
    form.userClickCommand(3);
    form.pointerMove(200, 200);
    EXPECT_EQ(form.gamen.segmentsSinceCls(), 0U);
}

TEST_F(InitialFigure, RightPressMidLineDropsTheLine) {
    form.userClickCommand(5);
    form.pointerMove(100, 100);
    form.pointerPress(kLeftButton, 100, 100);
    form.pointerMove(300, 200);
    ASSERT_EQ(form.lineDrawing, 1);
    ASSERT_EQ(form.Line4(0).X2, 300.0F);

    form.pointerPress(kRightButton, 300, 200);
    EXPECT_EQ(form.lineDrawing, 0);
    EXPECT_EQ(form.lineMode, 0);
    EXPECT_EQ(form.lineSlot, 0);
    EXPECT_EQ(form.Line4(0).X1, 1000.0F);
    EXPECT_EQ(form.Line4(0).X2, 1000.0F);
    form.pointerRelease(kLeftButton, 320, 220);
    form.pointerRelease(kRightButton, 320, 220);
    EXPECT_EQ(form.Line4(0).X1, 1000.0F);
    EXPECT_EQ(form.Check1(0).Value(), 0);
}

TEST_F(InitialFigure, ResetClearsCheckedMarkerBoxes) {
    form.userClickCommand(5);
    drag(form, 100, 100, 200, 100);
    drag(form, 100, 150, 200, 150);
    ASSERT_EQ(form.Check1(0).Value(), 1);
    ASSERT_EQ(form.Check1(1).Value(), 1);

    form.userClickCommand(1);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(form.Check1(i).Value(), 0) << i;
        EXPECT_EQ(form.Line4(i).X1, 1000.0F) << i;
        EXPECT_EQ(form.Line4(i).X2, 1000.0F) << i;
    }
}
