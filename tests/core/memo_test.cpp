// Memo mode: the pens, the eraser and its circle, and strokes on the board.

#include <gtest/gtest.h>

#include <array>

#include "support/fakes.h"
#include "ui/form1.h"

namespace heikosen {
namespace {

using fakes::leftClick;
using fakes::leftDrag;
using fakes::rightClick;
using fakes::Segment;

class Memo : public ::testing::Test {
  protected:
    fakes::LoadedForm w;
    Form1& form = w.form;
    fakes::RecordingSurface& surface = w.surface;

    void expectPenOptionsEnabled(bool enabled) {
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(form.Option1(i).Enabled, enabled) << "Option1(" << i << ")";
        }
    }
    void expectThinRedPen() {
        EXPECT_TRUE(form.Option1(0).Value());
        EXPECT_EQ(form.selectedOptionCount(), 1);
        EXPECT_EQ(form.penColor, 12);
        EXPECT_EQ(form.gamen.DrawWidth, 3);
        EXPECT_FALSE(form.Shape1.Visible);
    }
};

TEST_F(Memo, PenOptionsWorkOnlyInMemoMode) {
    expectPenOptionsEnabled(false);
    form.userClickOption1(5);
    EXPECT_FALSE(form.Option1(5).Value());
    EXPECT_EQ(form.penColor, 12);

    form.userClickCommand(3);
    EXPECT_EQ(form.memoMode, 1);
    EXPECT_TRUE(form.Command3.FontBold);
    EXPECT_FALSE(form.Command5.FontBold);
    expectPenOptionsEnabled(true);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(form.Option2(i).Enabled);
    }
    expectThinRedPen();

    form.userClickCommand(3);
    EXPECT_EQ(form.memoMode, 0);
    EXPECT_FALSE(form.Command3.FontBold);
    expectPenOptionsEnabled(false);
}

TEST_F(Memo, SwitchingOnAlwaysStartsWithTheThinRedPen) {
    form.userClickCommand(3);
    form.userClickOption1(5);
    EXPECT_EQ(form.penColor, 10);
    EXPECT_EQ(form.gamen.DrawWidth, 6);
    form.userClickCommand(3);
    EXPECT_TRUE(form.Option1(5).Value()) << "the chosen pen stays selected while memo is off";
    form.userClickCommand(3);
    expectThinRedPen();

    // From the thick eraser, with its circle showing.
    form.userClickOption1(7);
    ASSERT_TRUE(form.Shape1.Visible);
    form.userClickCommand(3);
    EXPECT_FALSE(form.Shape1.Visible);
    form.userClickCommand(3);
    expectThinRedPen();

    // From a line colour of the straight-line tool, and after a reset.
    form.userClickOption1(6);
    form.userClickCommand(5);
    form.userClickOption2(1);
    form.userClickCommand(3);
    expectThinRedPen();
    EXPECT_FALSE(form.Option2(1).Value());
    form.userClickOption1(7);
    rightClick(form, 600, 600);
    form.userClickCommand(3);
    expectThinRedPen();
}

TEST_F(Memo, EachPenHasItsColourAndWidth) {
    struct Pen {
        int option;
        std::int16_t palette;
        Rgb rgb;
        int width;
        bool eraser;
    };
    const std::array<Pen, 8> pens = {{
        {1, 10, 0x00FF00, 3, false},
        {2, 9, 0x0000FF, 3, false},
        {3, 15, 0xFFFFFF, 15, true},
        {4, 12, 0xFF0000, 6, false},
        {5, 10, 0x00FF00, 6, false},
        {6, 9, 0x0000FF, 6, false},
        {7, 15, 0xFFFFFF, 25, true},
        {0, 12, 0xFF0000, 3, false},
    }};
    form.userClickCommand(3);
    float y = 20;
    for (const Pen& pen : pens) {
        SCOPED_TRACE(pen.option);
        form.userClickOption1(pen.option);
        EXPECT_TRUE(form.Option1(pen.option).Value());
        EXPECT_EQ(form.selectedOptionCount(), 1);
        EXPECT_EQ(form.penColor, pen.palette);
        EXPECT_EQ(form.gamen.DrawWidth, pen.width);
        EXPECT_EQ(form.Shape1.Visible, pen.eraser);
        if (pen.eraser) {
            EXPECT_EQ(form.Shape1.Width, static_cast<float>(pen.width));
            EXPECT_EQ(form.Shape1.Height, 57);
        }
        y += 40;
        leftDrag(form, {{600, y}, {700, y}});
        ASSERT_FALSE(surface.segments().empty());
        EXPECT_EQ(surface.segments().back(), (Segment{600, y, 700, y, pen.rgb, pen.width}));
    }
}

TEST_F(Memo, EraserCircleIsCentredOnThePointer) {
    form.userClickCommand(3);
    form.userClickOption1(3);
    ASSERT_TRUE(form.Shape1.Visible);
    EXPECT_EQ(form.Shape1.Width, 15);
    EXPECT_EQ(form.Shape1.Height, 57);
    form.pointerMove(300, 200);
    EXPECT_FLOAT_EQ(form.Shape1.Left, 292.5F);
    EXPECT_FLOAT_EQ(form.Shape1.Top, 171.5F);

    form.userClickOption1(7);
    EXPECT_TRUE(form.Shape1.Visible);
    EXPECT_EQ(form.Shape1.Width, 25);
    EXPECT_EQ(form.Shape1.Height, 57);
    form.pointerPress(kLeftButton, 100.5F, 40);
    form.pointerMove(110.5F, 60);
    EXPECT_FLOAT_EQ(form.Shape1.Left, 98.0F);
    EXPECT_FLOAT_EQ(form.Shape1.Top, 31.5F);
    form.pointerRelease(kLeftButton, 110.5F, 60);
    EXPECT_EQ(surface.segments().back(), (Segment{100.5F, 40, 110.5F, 60, kWhite, 25}));

    // A coloured pen after the eraser hides the circle.
    form.userClickOption1(1);
    EXPECT_FALSE(form.Shape1.Visible);
    form.userClickOption1(3);
    EXPECT_TRUE(form.Shape1.Visible);
    form.userClickOption1(4);
    EXPECT_FALSE(form.Shape1.Visible);
}

TEST_F(Memo, StrokeIsTheChainOfSuccessivePointerPositions) {
    form.userClickCommand(3);
    form.pointerMove(50, 50);  // pen up: nothing drawn
    form.pointerPress(kLeftButton, 100, 100);
    EXPECT_EQ(form.penDown, 1);
    EXPECT_EQ(surface.drawnSinceClear(), 0U) << "the press itself draws nothing";
    form.pointerMove(110, 105);
    form.pointerMove(125, 115);
    form.pointerRelease(kLeftButton, 125, 115);
    EXPECT_EQ(form.penDown, 0);
    form.pointerMove(200, 200);
    form.pointerMove(220, 230);

    const std::vector<Segment> expected = {
        {100, 100, 110, 105, kRed, 3},
        {110, 105, 125, 115, kRed, 3},
    };
    EXPECT_EQ(surface.segments(), expected);

    // The next stroke starts at its own press, not at the last hover position.
    form.userClickOption1(6);
    form.pointerMove(300, 300);
    leftDrag(form, {{400, 400}, {410, 402}});
    ASSERT_EQ(surface.segments().size(), 3U);
    EXPECT_EQ(surface.segments().back(), (Segment{400, 400, 410, 402, kBlue, 6}));
}

TEST_F(Memo, ClickWithoutMovingLeavesNoMark) {
    form.userClickCommand(3);
    leftClick(form, 300, 300);
    leftClick(form, 301, 300);
    EXPECT_EQ(surface.drawnTotal(), 0U);
    EXPECT_EQ(form.penDown, 0);
}

TEST_F(Memo, PressOnAHandleDrawsInsteadOfGrabbing) {
    const FigureState before = form.fig;
    form.userClickCommand(3);
    // The upper end of l, then the left end of p.
    form.pointerMove(390, 125);
    leftDrag(form, {{400, 125}, {430, 125}});
    leftDrag(form, {{20, 275}, {20, 300}});

    EXPECT_EQ(form.grabbedHandle, 0);
    EXPECT_EQ(form.fig, before);
    EXPECT_EQ(form.Line1(3).X1, 400);
    for (int k : {0, 1, 3, 4}) {
        EXPECT_EQ(form.Line1(k).BorderColor, kBlack) << "Line1(" << k << ")";
    }
    EXPECT_EQ(form.Line2(1).BorderColor, kBlack);
    const std::vector<Segment> expected = {
        {400, 125, 430, 125, kRed, 3},
        {20, 275, 20, 300, kRed, 3},
    };
    EXPECT_EQ(surface.segments(), expected);
}

TEST_F(Memo, RightPressWipesTheBoardAndEndsMemoMode) {
    form.userClickCommand(3);
    leftDrag(form, {{100, 100}, {200, 200}, {250, 200}});
    form.userClickOption1(3);
    ASSERT_EQ(surface.segments().size(), 2U);
    const int clearsBefore = surface.clears();

    rightClick(form, 600, 600);
    EXPECT_EQ(surface.clears(), clearsBefore + 1);
    EXPECT_TRUE(surface.segments().empty());
    EXPECT_EQ(form.memoMode, 0);
    EXPECT_FALSE(form.Command3.FontBold);
    EXPECT_FALSE(form.Shape1.Visible);
    EXPECT_EQ(form.gamen.DrawWidth, 3);
    expectPenOptionsEnabled(false);

    // The next left drag moves the figure again.
    form.pointerMove(400, 125);
    leftDrag(form, {{400, 125}, {430, 125}});
    EXPECT_EQ(form.fig.transLX1, 430);
    EXPECT_EQ(surface.drawnSinceClear(), 0U);
}

TEST_F(Memo, SwitchingOffKeepsTheStrokes) {
    form.userClickCommand(3);
    leftDrag(form, {{100, 100}, {150, 120}, {200, 180}});
    const int clearsBefore = surface.clears();
    form.userClickCommand(3);
    EXPECT_EQ(surface.clears(), clearsBefore);
    EXPECT_EQ(surface.segments().size(), 2U);

    form.pointerMove(400, 125);
    leftDrag(form, {{400, 125}, {380, 125}});
    EXPECT_EQ(form.fig.transLX1, 380);
    EXPECT_EQ(surface.segments().size(), 2U);
}

// A stroke that is cut short by the reset or by switching the pen off must not
// carry on by itself once memo mode is on again.
TEST_F(Memo, RightPressInTheMiddleOfAStrokeEndsIt) {
    form.userClickCommand(3);
    form.pointerPress(kLeftButton, 100, 100);
    form.pointerMove(150, 150);
    ASSERT_EQ(surface.drawnSinceClear(), 1U);
    form.pointerPress(kRightButton, 150, 150);
    form.pointerRelease(kRightButton, 150, 150);
    form.pointerRelease(kLeftButton, 150, 150);
    EXPECT_EQ(surface.drawnSinceClear(), 0U);

    form.userClickCommand(3);
    form.pointerMove(200, 200);
    form.pointerMove(250, 260);
    EXPECT_EQ(form.penDown, 0);
    EXPECT_EQ(surface.drawnSinceClear(), 0U);
}

TEST_F(Memo, SwitchingOffWithThePenDownEndsTheStroke) {
    form.userClickCommand(3);
    form.pointerPress(kLeftButton, 100, 100);
    form.pointerMove(150, 150);
    form.userClickCommand(3);
    EXPECT_EQ(form.penDown, 0);
    form.pointerMove(180, 180);
    form.pointerRelease(kLeftButton, 180, 180);

    form.userClickCommand(3);
    form.pointerMove(200, 200);
    form.pointerMove(260, 240);
    EXPECT_EQ(surface.drawnSinceClear(), 1U);
}

TEST_F(Memo, SwitchingTheLineToolOnWithThePenDownEndsTheStroke) {
    form.userClickCommand(3);
    form.pointerPress(kLeftButton, 100, 100);
    form.pointerMove(150, 150);
    form.userClickCommand(5);
    EXPECT_EQ(form.penDown, 0);
    form.pointerMove(180, 180);
    form.pointerRelease(kLeftButton, 180, 180);
    EXPECT_EQ(form.Check1(0).Value(), 0) << "no marker line from a press made with the pen";

    form.userClickCommand(3);
    form.pointerMove(200, 200);
    EXPECT_EQ(surface.drawnSinceClear(), 1U);
}

// A handle held when memo mode comes on stays held while the pen is in use, but
// is let go with memo mode: it must not follow the pointer, with no button down,
// once the canvas is back in figure mode.
TEST_F(Memo, HandleHeldWhenMemoModeComesOnIsLetGoWithIt) {
    form.pointerMove(400, 125);
    form.pointerPress(kLeftButton, 400, 125);
    ASSERT_EQ(form.grabbedHandle, 5);
    form.userClickCommand(3);
    form.pointerMove(420, 125);
    form.pointerRelease(kLeftButton, 420, 125);
    EXPECT_EQ(form.grabbedHandle, 5);
    EXPECT_EQ(form.Line1(3).BorderColor, kRed);
    EXPECT_EQ(form.fig.transLX1, 400);

    form.userClickCommand(3);
    EXPECT_EQ(form.grabbedHandle, 0);
    EXPECT_EQ(form.Line1(3).BorderColor, kBlack);
    EXPECT_EQ(form.Line2(1).BorderColor, kBlack);
    form.pointerMove(450, 125);
    form.pointerMove(480, 140);
    EXPECT_EQ(form.fig.transLX1, 400);
    EXPECT_EQ(form.Line1(3).X1, 400);
    EXPECT_EQ(surface.drawnSinceClear(), 0U);
}

}  // namespace
}  // namespace heikosen
