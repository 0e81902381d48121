// Start-up of the window: caption, canvas settings, the hidden grid, the first
// pen and line colours, the one selected option, and the nested clicks that
// setting an option or a check box from the program raises.

#include <gtest/gtest.h>

#include <string>

#include "ui/form1.h"

using heikosen::BorderStyle;
using heikosen::Form1;
using heikosen::kLeftButton;
using heikosen::QBColor;

namespace {

constexpr heikosen::Rgb kGridGrey = 0xC0C0C0;

// Every option button except `keep` (0..7 for Option1, 8..11 for Option2) is clear.
void expectOnlySelected(const Form1& form, int keep) {
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(form.Option1(i).Value(), i == keep) << "Option1(" << i << ")";
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(form.Option2(i).Value(), 8 + i == keep) << "Option2(" << i << ")";
    }
    EXPECT_EQ(form.selectedOptionCount(), 1);
}

// Lays one marker line with the straight-line tool, as a pupil drags it.
void layMarkerLine(Form1& form, float x1, float y1, float x2, float y2) {
    form.pointerMove(x1, y1);
    form.pointerPress(kLeftButton, x1, y1);
    form.pointerMove(x2, y2);
    form.pointerRelease(kLeftButton, x2, y2);
}

class StartUp : public ::testing::Test {
  protected:
    void SetUp() override { form.Form_Load(); }
    Form1 form;
};

}  // namespace

TEST(Palette, NumbersUsedByTheProgram) {
    EXPECT_EQ(QBColor(0), 0x000000U);
    EXPECT_EQ(QBColor(9), 0x0000FFU);
    EXPECT_EQ(QBColor(10), 0x00FF00U);
    EXPECT_EQ(QBColor(12), 0xFF0000U);
    EXPECT_EQ(QBColor(15), 0xFFFFFFU);
    // A stray number never yields garbage.
    EXPECT_EQ(QBColor(-1), 0x000000U);
    EXPECT_EQ(QBColor(16), 0x000000U);
}

TEST(StartUpWindow, BeforeLoadOnlyTheThinRedPenIsSelected) {
    Form1 form;
    expectOnlySelected(form, 0);
    EXPECT_EQ(form.Line5.count(), 1);
    EXPECT_EQ(form.Line6.count(), 1);
}

TEST_F(StartUp, WindowAndCanvasSettings) {
    EXPECT_EQ(form.Caption, "平行線と線分の比 (by Tomiraku)");
    EXPECT_EQ(form.ScaleMode, 3);
    EXPECT_EQ(form.gamen.ScaleMode, 3);
    EXPECT_EQ(form.gamen.FontSize, 20.0F);
    EXPECT_EQ(form.gamen.ForeColor, QBColor(15));
    EXPECT_EQ(form.gamen.DrawWidth, 3);
    EXPECT_FALSE(form.Shape1.Visible);
    EXPECT_FALSE(form.endRequested());
}

TEST_F(StartUp, PenAndLineColours) {
    EXPECT_EQ(form.penColor, 12);
    // "白" selected last overrides the 15 given just before it.
    EXPECT_EQ(form.lineColor, 0);
    EXPECT_NE(form.lineColor, 15);
}

TEST_F(StartUp, OnlyWhiteLineOptionSelectedAndEveryOptionDisabled) {
    expectOnlySelected(form, 8 + 3);
    EXPECT_FALSE(form.Option1(0).Value());
    EXPECT_TRUE(form.Option2(3).Value());
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(form.Option1(i).Enabled) << "Option1(" << i << ")";
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(form.Option2(i).Enabled) << "Option2(" << i << ")";
    }
    // A disabled option ignores the user's click.
    form.userClickOption1(5);
    form.userClickOption2(0);
    expectOnlySelected(form, 8 + 3);
    EXPECT_EQ(form.penColor, 12);
    EXPECT_EQ(form.lineColor, 0);
}

TEST_F(StartUp, ToolsOffAndBoxesClear) {
    EXPECT_EQ(form.memoMode, 0);
    EXPECT_EQ(form.lineMode, 0);
    EXPECT_EQ(form.lineSlot, 0);
    EXPECT_EQ(form.grabbedHandle, 0);
    EXPECT_EQ(form.gridShown, 0);
    EXPECT_EQ(form.penDown, 0);
    EXPECT_EQ(form.lineDrawing, 0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(form.Check1(i).Value(), 0);
    }
    EXPECT_FALSE(form.Command3.FontBold);
    EXPECT_FALSE(form.Command4.FontBold);
    EXPECT_FALSE(form.Command5.FontBold);
    EXPECT_EQ(form.Label5.Caption(), "");
}

TEST_F(StartUp, HorizontalGridLines) {
    ASSERT_EQ(form.Line5.count(), 26);
    for (int k = 0; k <= 25; ++k) {
        SCOPED_TRACE("Line5(" + std::to_string(k) + ")");
        const heikosen::LineControl& line = form.Line5(k);
        EXPECT_EQ(line.X1, 0.0F);
        EXPECT_EQ(line.X2, 800.0F);
        EXPECT_EQ(line.Y1, static_cast<float>(25 * k));
        EXPECT_EQ(line.Y2, static_cast<float>(25 * k));
        EXPECT_EQ(line.Style, k % 2 == 0 ? BorderStyle::Solid : BorderStyle::Dot);
        EXPECT_EQ(line.BorderColor, kGridGrey);
        EXPECT_EQ(line.BorderWidth, 1);
        EXPECT_FALSE(line.Visible);
    }
}

TEST_F(StartUp, VerticalGridLines) {
    ASSERT_EQ(form.Line6.count(), 33);
    for (int k = 0; k <= 32; ++k) {
        SCOPED_TRACE("Line6(" + std::to_string(k) + ")");
        const heikosen::LineControl& line = form.Line6(k);
        EXPECT_EQ(line.X1, static_cast<float>(25 * k));
        EXPECT_EQ(line.X2, static_cast<float>(25 * k));
        EXPECT_EQ(line.Y1, 0.0F);
        EXPECT_EQ(line.Y2, 625.0F);
        EXPECT_EQ(line.Style, k % 2 == 0 ? BorderStyle::Solid : BorderStyle::Dot);
        EXPECT_EQ(line.BorderColor, kGridGrey);
        EXPECT_EQ(line.BorderWidth, 1);
        EXPECT_FALSE(line.Visible);
    }
}

TEST_F(StartUp, LoadingTwiceKeepsOneGrid) {
    form.Form_Load();
    EXPECT_EQ(form.Line5.count(), 26);
    EXPECT_EQ(form.Line6.count(), 33);
    EXPECT_EQ(form.fig.copyMGrabX, 325);
}

TEST_F(StartUp, OptionValueFromCodeRunsClickAndClearsTheOtherEleven) {
    form.Option1(5).setValue(true);  // thick green pen
    EXPECT_EQ(form.penColor, 10);
    EXPECT_EQ(form.gamen.DrawWidth, 6);
    expectOnlySelected(form, 5);

    form.Option2(1).setValue(true);  // green marker line
    EXPECT_EQ(form.lineColor, 10);
    EXPECT_EQ(form.penColor, 10);
    expectOnlySelected(form, 8 + 1);

    form.Option1(7).setValue(true);  // thick eraser shows its outline at once
    EXPECT_EQ(form.penColor, 15);
    EXPECT_EQ(form.gamen.DrawWidth, 25);
    EXPECT_TRUE(form.Shape1.Visible);
    EXPECT_EQ(form.Shape1.Width, 25.0F);
    expectOnlySelected(form, 7);
}

TEST_F(StartUp, SelectingTheSelectedOptionDoesNotRunItsClickAgain) {
    int clicks = 0;
    auto original = form.Option2(3).Click;
    form.Option2(3).Click = [&clicks, original] {
        ++clicks;
        original();
    };
    form.lineColor = 12;
    form.Option2(3).setValue(true);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(form.lineColor, 12);

    form.Option2(0).setValue(true);
    form.Option2(3).setValue(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.lineColor, 0);
    expectOnlySelected(form, 8 + 3);
}

TEST_F(StartUp, CheckBoxValueFromCodeRunsItsClick) {
    form.userClickCommand(5);  // straight-line tool on
    ASSERT_EQ(form.lineMode, 1);
    layMarkerLine(form, 100, 100, 200, 150);
    ASSERT_EQ(form.Check1(0).Value(), 1);
    ASSERT_EQ(form.Line4(0).X1, 100.0F);
    ASSERT_EQ(form.Line4(0).X2, 200.0F);

    form.Check1(0).setValue(0);
    EXPECT_EQ(form.Line4(0).X1, 1000.0F);
    EXPECT_EQ(form.Line4(0).X2, 1000.0F);
    // The y values stay where the line was drawn.
    EXPECT_EQ(form.Line4(0).Y1, 100.0F);
    EXPECT_EQ(form.Line4(0).Y2, 150.0F);
    EXPECT_EQ(form.Check1(0).Value(), 0);

    // Any change of a box's value from code runs its Click; setting the value it
    // already has does not.
    int clicks = 0;
    auto original = form.Check1(2).Click;
    form.Check1(2).Click = [&clicks, original] {
        ++clicks;
        original();
    };
    form.Check1(2).setValue(0);
    EXPECT_EQ(clicks, 0);
    form.Check1(2).setValue(1);
    EXPECT_EQ(clicks, 1);
    form.Check1(2).setValue(0);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(form.Line4(2).X1, 1000.0F);
}
