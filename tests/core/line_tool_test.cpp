// The straight-line tool and the check boxes of its five marker lines.

#include <gtest/gtest.h>

#include <array>

#include "support/fakes.h"
#include "ui/form1.h"

namespace heikosen {
namespace {

using fakes::leftClick;
using fakes::leftDrag;
using fakes::rightClick;

class LineTool : public ::testing::Test {
  protected:
    fakes::LoadedForm w;
    Form1& form = w.form;

    // Lays a marker line from (x1, y1) to (x2, y2) with one move in between.
    void lay(float x1, float y1, float x2, float y2) {
        leftDrag(form, {{x1, y1}, {(x1 + x2) / 2, (y1 + y2) / 2}, {x2, y2}});
    }
    void expectLine(int k, float x1, float y1, float x2, float y2, Rgb color) {
        const LineControl& line = form.Line4(k);
        EXPECT_EQ(line.X1, x1) << "Line4(" << k << ")";
        EXPECT_EQ(line.Y1, y1) << "Line4(" << k << ")";
        EXPECT_EQ(line.X2, x2) << "Line4(" << k << ")";
        EXPECT_EQ(line.Y2, y2) << "Line4(" << k << ")";
        EXPECT_EQ(line.BorderColor, color) << "Line4(" << k << ")";
        EXPECT_TRUE(line.Visible);
    }
    void expectParked(int k) {
        EXPECT_EQ(form.Line4(k).X1, 1000) << "Line4(" << k << ")";
        EXPECT_EQ(form.Line4(k).X2, 1000) << "Line4(" << k << ")";
    }
    void expectBoxes(std::array<int, 5> values) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(form.Check1(i).Value(), values[static_cast<std::size_t>(i)])
                << "Check1(" << i << ")";
        }
    }
    void expectToolOff() {
        EXPECT_EQ(form.lineMode, 0);
        EXPECT_FALSE(form.Command5.FontBold);
        for (int i = 0; i < 4; ++i) {
            EXPECT_FALSE(form.Option2(i).Enabled) << "Option2(" << i << ")";
        }
    }
    // Lines in slots 1 to 5, each one 20 px lower than the last.
    void layFive() {
        form.userClickCommand(5);
        for (int i = 0; i < 5; ++i) {
            const auto y = static_cast<float>(100 + 20 * i);
            lay(600, y, 700, y);
        }
    }
};

TEST_F(LineTool, FirstDragLaysABlackLineInSlotOne) {
    form.userClickCommand(5);
    EXPECT_EQ(form.lineMode, 1);
    EXPECT_TRUE(form.Command5.FontBold);
    EXPECT_FALSE(form.Command3.FontBold);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(form.Option2(i).Enabled);
    }
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(form.Option1(i).Enabled);
    }
    EXPECT_TRUE(form.Option2(3).Value());
    EXPECT_EQ(form.selectedOptionCount(), 1);
    EXPECT_EQ(form.lineSlot, 1);

    lay(100, 100, 300, 200);
    expectLine(0, 100, 100, 300, 200, kBlack);
    EXPECT_EQ(form.Line4(0).BorderWidth, 4);
    expectBoxes({1, 0, 0, 0, 0});
    EXPECT_EQ(form.lineSlot, 2);
    EXPECT_EQ(form.lineMode, 1);
    for (int k = 1; k < 5; ++k) {
        expectParked(k);
    }

    lay(120, 400, 500, 410);
    expectLine(1, 120, 400, 500, 410, kBlack);
    expectBoxes({1, 1, 0, 0, 0});
}

TEST_F(LineTool, RubberBandFollowsThePointerAndTheReleaseFixesIt) {
    form.userClickCommand(5);
    form.pointerPress(kLeftButton, 100, 100);
    EXPECT_EQ(form.lineDrawing, 1);
    expectLine(0, 100, 100, 100, 100, kBlack);
    form.pointerMove(150, 120);
    expectLine(0, 100, 100, 150, 120, kBlack);
    form.pointerMove(90, 300);
    expectLine(0, 100, 100, 90, 300, kBlack);
    EXPECT_EQ(form.Check1(0).Value(), 0) << "not fixed before the release";
    form.pointerRelease(kLeftButton, 95, 310);
    expectLine(0, 100, 100, 95, 310, kBlack);
    EXPECT_EQ(form.lineDrawing, 0);
    EXPECT_EQ(form.Check1(0).Value(), 1);

    // Moves after the release leave the line alone.
    form.pointerMove(400, 400);
    expectLine(0, 100, 100, 95, 310, kBlack);
}

TEST_F(LineTool, FifthLineSwitchesTheToolOff) {
    form.userClickCommand(5);
    for (int i = 0; i < 5; ++i) {
        const auto y = static_cast<float>(100 + 20 * i);
        lay(600, y, 700, y);
        if (i < 4) {
            EXPECT_EQ(form.lineMode, 1);
            EXPECT_EQ(form.lineSlot, i + 2);
        }
    }
    for (int k = 0; k < 5; ++k) {
        const auto y = static_cast<float>(100 + 20 * k);
        expectLine(k, 600, y, 700, y, kBlack);
    }
    expectBoxes({1, 1, 1, 1, 1});
    EXPECT_EQ(form.lineSlot, 0);
    expectToolOff();

    // With every slot in use the button does nothing, not even end memo mode.
    form.userClickCommand(5);
    expectToolOff();
    form.userClickCommand(3);
    form.userClickCommand(5);
    EXPECT_EQ(form.memoMode, 1);
    EXPECT_TRUE(form.Command3.FontBold);
    EXPECT_TRUE(form.Option1(0).Enabled);
    expectToolOff();
}

TEST_F(LineTool, ClearedBoxIsTheSlotOfTheNextSwitchOn) {
    layFive();
    form.userClickCheck1(1);
    expectBoxes({1, 0, 1, 1, 1});
    expectParked(1);
    EXPECT_EQ(form.Line4(1).Y1, 120) << "parking leaves the heights";
    expectLine(0, 600, 100, 700, 100, kBlack);
    expectLine(2, 600, 140, 700, 140, kBlack);

    form.userClickCommand(5);
    EXPECT_EQ(form.lineMode, 1);
    EXPECT_EQ(form.lineSlot, 2);
    lay(50, 600, 300, 580);
    expectLine(1, 50, 600, 300, 580, kBlack);
    expectBoxes({1, 1, 1, 1, 1});
    expectToolOff();
}

TEST_F(LineTool, ClearingABoxWhileTheToolIsOnKeepsTheNextSlot) {
    form.userClickCommand(5);
    lay(600, 100, 700, 100);
    lay(600, 120, 700, 120);
    lay(600, 140, 700, 140);
    ASSERT_EQ(form.lineSlot, 4);
    form.userClickCheck1(1);
    EXPECT_EQ(form.lineSlot, 4);
    expectParked(1);

    lay(100, 500, 200, 520);
    expectLine(3, 100, 500, 200, 520, kBlack);
    expectParked(1);
    EXPECT_EQ(form.lineSlot, 2);
    lay(110, 530, 210, 540);
    expectLine(1, 110, 530, 210, 540, kBlack);
    EXPECT_EQ(form.lineSlot, 5);
    EXPECT_EQ(form.lineMode, 1);
}

TEST_F(LineTool, ClickWithoutMovingUsesUpItsSlot) {
    form.userClickCommand(5);
    leftClick(form, 222, 333);
    expectLine(0, 222, 333, 222, 333, kBlack);
    expectBoxes({1, 0, 0, 0, 0});
    EXPECT_EQ(form.lineSlot, 2);
}

TEST_F(LineTool, ChosenColourAppliesToNewLinesOnly) {
    form.userClickCommand(5);
    lay(100, 100, 300, 100);
    form.userClickOption2(0);
    EXPECT_EQ(form.lineColor, 12);
    lay(100, 120, 300, 120);
    form.userClickOption2(1);
    lay(100, 140, 300, 140);
    form.userClickOption2(2);
    lay(100, 160, 300, 160);
    form.userClickOption2(3);
    lay(100, 180, 300, 180);

    EXPECT_EQ(form.Line4(0).BorderColor, kBlack);
    EXPECT_EQ(form.Line4(1).BorderColor, QBColor(12));
    EXPECT_EQ(form.Line4(1).BorderColor, 0xFF0000U);
    EXPECT_EQ(form.Line4(2).BorderColor, 0x00FF00U);
    EXPECT_EQ(form.Line4(3).BorderColor, 0x0000FFU);
    EXPECT_EQ(form.Line4(4).BorderColor, kBlack) << "白 draws black on the white canvas";
}

TEST_F(LineTool, SwitchingOffAndOnSelectsWhiteAgain) {
    form.userClickCommand(5);
    form.userClickOption2(0);
    form.userClickCommand(5);
    expectToolOff();
    EXPECT_TRUE(form.Option2(0).Value()) << "the choice stays selected while the tool is off";
    form.userClickCommand(5);
    EXPECT_TRUE(form.Option2(3).Value());
    EXPECT_EQ(form.lineColor, 0);
    lay(100, 100, 200, 200);
    EXPECT_EQ(form.Line4(0).BorderColor, kBlack);
}

TEST_F(LineTool, SwitchingOnEndsMemoModeAndKeepsTheStrokes) {
    form.userClickCommand(3);
    leftDrag(form, {{100, 100}, {150, 150}, {200, 150}});
    form.userClickOption1(3);
    ASSERT_TRUE(form.Shape1.Visible);
    const int clears = w.surface.clears();

    form.userClickCommand(5);
    EXPECT_EQ(form.memoMode, 0);
    EXPECT_EQ(form.lineMode, 1);
    EXPECT_FALSE(form.Command3.FontBold);
    EXPECT_TRUE(form.Command5.FontBold);
    EXPECT_FALSE(form.Shape1.Visible);
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(form.Option1(i).Enabled);
    }
    EXPECT_EQ(w.surface.clears(), clears);
    EXPECT_EQ(w.surface.segments().size(), 2U);

    lay(300, 300, 400, 400);
    expectLine(0, 300, 300, 400, 400, kBlack);
    EXPECT_EQ(w.surface.segments().size(), 2U) << "a marker line is no pen stroke";
}

TEST_F(LineTool, RightPressResetsAndClearsEveryMarkerLine) {
    form.userClickCommand(5);
    form.userClickOption2(2);
    lay(100, 100, 200, 100);
    lay(100, 120, 200, 120);
    lay(100, 140, 200, 140);
    rightClick(form, 600, 600);
    expectToolOff();
    EXPECT_EQ(form.lineSlot, 0);
    expectBoxes({0, 0, 0, 0, 0});
    for (int k = 0; k < 5; ++k) {
        expectParked(k);
    }
    form.userClickCommand(5);
    EXPECT_EQ(form.lineSlot, 1);
    EXPECT_EQ(form.lineColor, 0);
}

TEST_F(LineTool, MemoAndTheLineToolAreNeverOnTogether) {
    for (int button : {3, 5, 3, 5, 5, 3, 3, 5, 3, 1, 5, 3, 5}) {
        form.userClickCommand(button);
        SCOPED_TRACE(button);
        EXPECT_FALSE(form.memoMode == 1 && form.lineMode == 1);
        EXPECT_EQ(form.Command3.FontBold, form.memoMode == 1);
        EXPECT_EQ(form.Command5.FontBold, form.lineMode == 1);
        EXPECT_EQ(form.Option1(0).Enabled, form.memoMode == 1);
        EXPECT_EQ(form.Option2(0).Enabled, form.lineMode == 1);
        EXPECT_EQ(form.selectedOptionCount(), 1);
    }
}

// A marker line that is cut short by the reset or by another tool is dropped,
// and the next switch-on starts cleanly: no line from the parked position.
TEST_F(LineTool, RightPressWhileLayingALineEndsIt) {
    form.userClickCommand(5);
    form.pointerPress(kLeftButton, 100, 100);
    form.pointerMove(200, 200);
    form.pointerPress(kRightButton, 200, 200);
    form.pointerRelease(kRightButton, 200, 200);
    form.pointerRelease(kLeftButton, 200, 200);
    EXPECT_EQ(form.lineDrawing, 0);
    expectParked(0);

    form.userClickCommand(5);
    form.pointerMove(300, 300);
    expectParked(0);
    // A middle click records the position but starts no line; its release must
    // not fix one either.
    form.pointerPress(kMiddleButton, 310, 310);
    form.pointerRelease(kMiddleButton, 310, 310);
    expectParked(0);
    expectBoxes({0, 0, 0, 0, 0});
    EXPECT_EQ(form.lineSlot, 1);
}

TEST_F(LineTool, MemoClickWhileLayingALineDropsIt) {
    form.userClickCommand(5);
    lay(100, 100, 200, 100);
    form.pointerPress(kLeftButton, 100, 300);
    form.pointerMove(200, 350);
    form.userClickCommand(3);
    EXPECT_EQ(form.memoMode, 1);
    EXPECT_EQ(form.lineMode, 0);
    EXPECT_EQ(form.lineDrawing, 0);
    expectParked(1);
    expectBoxes({1, 0, 0, 0, 0});
    expectLine(0, 100, 100, 200, 100, kBlack);

    form.pointerMove(250, 400);
    form.pointerRelease(kLeftButton, 250, 400);
    form.pointerMove(300, 420);
    expectParked(1);
    EXPECT_EQ(w.surface.drawnSinceClear(), 0U);

    form.userClickCommand(5);
    EXPECT_EQ(form.lineSlot, 2);
}

TEST_F(LineTool, SwitchingOffWhileLayingALineDropsIt) {
    form.userClickCommand(5);
    form.pointerPress(kLeftButton, 100, 300);
    form.pointerMove(200, 350);
    form.userClickCommand(5);
    expectToolOff();
    EXPECT_EQ(form.lineDrawing, 0);
    expectParked(0);
    EXPECT_EQ(form.Check1(0).Value(), 0);
    form.pointerRelease(kLeftButton, 200, 350);

    form.userClickCommand(5);
    EXPECT_EQ(form.lineSlot, 1);
    form.pointerMove(250, 250);
    form.pointerPress(kMiddleButton, 260, 260);
    form.pointerRelease(kMiddleButton, 260, 260);
    expectParked(0);
    EXPECT_EQ(form.Check1(0).Value(), 0);
}

TEST_F(LineTool, HandleHeldWhenTheToolComesOnIsLetGoWithIt) {
    form.pointerMove(20, 275);
    form.pointerPress(kLeftButton, 20, 275);
    ASSERT_EQ(form.grabbedHandle, 1);
    form.userClickCommand(5);
    form.pointerRelease(kLeftButton, 20, 300);
    EXPECT_EQ(form.grabbedHandle, 1);
    EXPECT_EQ(form.Check1(0).Value(), 0);

    form.userClickCommand(5);
    EXPECT_EQ(form.grabbedHandle, 0);
    EXPECT_EQ(form.Line1(0).BorderColor, kBlack);
    form.pointerMove(20, 320);
    EXPECT_EQ(form.fig.parallelPY, 275);
    EXPECT_EQ(form.Line1(0).Y1, 275);

    // The same when the fifth line switches the tool off by itself.
    form.pointerMove(20, 275);
    form.pointerPress(kLeftButton, 20, 275);
    form.userClickCommand(5);
    form.pointerRelease(kLeftButton, 20, 275);
    for (int i = 0; i < 5; ++i) {
        const auto y = static_cast<float>(100 + 20 * i);
        lay(600, y, 700, y);
    }
    ASSERT_EQ(form.lineMode, 0);
    EXPECT_EQ(form.grabbedHandle, 0);
    form.pointerMove(20, 320);
    EXPECT_EQ(form.fig.parallelPY, 275);
}

// --- The check boxes "1" to "5" ---

using CheckBoxes = LineTool;

TEST_F(CheckBoxes, ClearingBoxThreeRemovesOnlyLineThree) {
    form.userClickCommand(5);
    lay(100, 100, 300, 100);
    lay(100, 120, 300, 120);
    lay(100, 140, 300, 140);
    form.userClickCheck1(2);
    expectBoxes({1, 1, 0, 0, 0});
    expectParked(2);
    EXPECT_EQ(form.Line4(2).Y1, 140);
    EXPECT_EQ(form.Line4(2).Y2, 140);
    expectLine(0, 100, 100, 300, 100, kBlack);
    expectLine(1, 100, 120, 300, 120, kBlack);
}

TEST_F(CheckBoxes, CheckingAClearBoxByHandDrawsNothingAndUsesTheSlot) {
    const LineControl parked = form.Line4(0);
    form.userClickCheck1(0);
    expectBoxes({1, 0, 0, 0, 0});
    EXPECT_EQ(form.Line4(0), parked);

    form.userClickCommand(5);
    EXPECT_EQ(form.lineSlot, 2);
    lay(100, 100, 300, 200);
    expectLine(1, 100, 100, 300, 200, kBlack);
    EXPECT_EQ(form.Line4(0), parked);
    expectBoxes({1, 1, 0, 0, 0});
}

TEST_F(CheckBoxes, ClearingABoxThatNeverHeldALineChangesNothingVisible) {
    form.userClickCommand(5);
    lay(100, 100, 300, 100);
    lay(100, 120, 300, 120);
    const std::array<LineControl, 5> before = {form.Line4(0), form.Line4(1), form.Line4(2),
                                               form.Line4(3), form.Line4(4)};
    form.userClickCheck1(3);
    form.userClickCheck1(3);
    expectBoxes({1, 1, 0, 0, 0});
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(form.Line4(k), before[static_cast<std::size_t>(k)]) << "Line4(" << k << ")";
    }
    EXPECT_EQ(form.lineSlot, 3);
}

}  // namespace
}  // namespace heikosen
