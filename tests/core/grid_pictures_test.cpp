// The grid button and the letter pictures that switch the extensions of l and m.

#include <gtest/gtest.h>

#include <vector>

#include "support/fakes.h"
#include "ui/form1.h"

namespace heikosen {
namespace {

using fakes::leftClick;
using fakes::leftDrag;
using fakes::rightClick;

std::vector<LineControl> gridLines(const Form1& form) {
    std::vector<LineControl> lines(form.Line5.begin(), form.Line5.end());
    lines.insert(lines.end(), form.Line6.begin(), form.Line6.end());
    return lines;
}

int visibleGridLines(const Form1& form) {
    int visible = 0;
    for (const LineControl& line : gridLines(form)) {
        visible += line.Visible ? 1 : 0;
    }
    return visible;
}

class Grid : public ::testing::Test {
  protected:
    fakes::LoadedForm w;
    Form1& form = w.form;
};

TEST_F(Grid, LinesEveryTwentyFivePixelsSolidOnFifties) {
    ASSERT_EQ(form.Line5.count(), 26);
    ASSERT_EQ(form.Line6.count(), 33);
    EXPECT_EQ(visibleGridLines(form), 0);
    for (int k = 0; k < 26; ++k) {
        const LineControl& line = form.Line5(k);
        const auto y = static_cast<float>(25 * k);
        EXPECT_EQ(line, (LineControl{0, y, 800, y, kGrey,
                                     k % 2 == 0 ? BorderStyle::Solid : BorderStyle::Dot, 1, false}))
            << "Line5(" << k << ")";
    }
    for (int k = 0; k < 33; ++k) {
        const LineControl& line = form.Line6(k);
        const auto x = static_cast<float>(25 * k);
        EXPECT_EQ(line, (LineControl{x, 0, x, 625, kGrey,
                                     k % 2 == 0 ? BorderStyle::Solid : BorderStyle::Dot, 1, false}))
            << "Line6(" << k << ")";
    }
}

TEST_F(Grid, TwoClicksReturnToTheStart) {
    const std::vector<LineControl> hidden = gridLines(form);
    form.userClickCommand(4);
    EXPECT_EQ(visibleGridLines(form), 59);
    EXPECT_TRUE(form.Command4.FontBold);
    EXPECT_EQ(form.gridShown, 1);
    // The lines along the top and left edges are solid.
    EXPECT_EQ(form.Line5(0).Style, BorderStyle::Solid);
    EXPECT_EQ(form.Line5(0).Y1, 0);
    EXPECT_EQ(form.Line6(0).Style, BorderStyle::Solid);
    EXPECT_EQ(form.Line6(0).X1, 0);

    form.userClickCommand(4);
    EXPECT_EQ(gridLines(form), hidden);
    EXPECT_FALSE(form.Command4.FontBold);
    EXPECT_EQ(form.gridShown, 0);

    form.userClickCommand(4);
    rightClick(form, 600, 600);
    EXPECT_EQ(gridLines(form), hidden) << "the reset hides the grid with its flag";
    EXPECT_FALSE(form.Command4.FontBold);
    form.userClickCommand(4);
    EXPECT_EQ(visibleGridLines(form), 59);
}

TEST_F(Grid, IndependentOfTheToolsAndTheFigure) {
    const FigureState figure = form.fig;

    // In the middle of a pen stroke.
    form.userClickCommand(3);
    form.pointerPress(kLeftButton, 100, 100);
    form.pointerMove(120, 100);
    form.userClickCommand(4);
    EXPECT_EQ(form.memoMode, 1);
    EXPECT_EQ(form.penDown, 1);
    form.pointerMove(140, 100);
    form.pointerRelease(kLeftButton, 140, 100);
    EXPECT_EQ(w.surface.drawnSinceClear(), 2U);

    // While a marker line is being laid; a press on a grid line reaches the canvas.
    form.userClickCommand(5);
    ASSERT_EQ(form.hitTest(100, 100).kind, CanvasHit::Kind::Canvas);
    form.pointerPress(kLeftButton, 100, 100);
    form.userClickCommand(4);
    EXPECT_EQ(form.lineMode, 1);
    EXPECT_EQ(form.lineDrawing, 1);
    form.pointerRelease(kLeftButton, 200, 150);
    EXPECT_EQ(form.Line4(0).X1, 100);
    EXPECT_EQ(form.Line4(0).X2, 200);
    EXPECT_EQ(form.Check1(0).Value(), 1);

    EXPECT_EQ(form.fig, figure);
    EXPECT_EQ(form.gridShown, 0);
}

TEST_F(Grid, EraserWipesStrokesButNotTheGrid) {
    form.userClickCommand(4);
    form.userClickCommand(3);
    leftDrag(form, {{100, 100}, {300, 100}});
    form.userClickOption1(7);
    leftDrag(form, {{100, 100}, {300, 100}});
    ASSERT_EQ(w.surface.segments().size(), 2U);
    EXPECT_EQ(w.surface.segments().back().color, kWhite);
    EXPECT_EQ(w.surface.segments().back().width, 25);
    EXPECT_EQ(visibleGridLines(form), 59);
}

// --- The letter pictures ---

class Pictures : public ::testing::Test {
  protected:
    fakes::LoadedForm w;
    Form1& form = w.form;

    void clickPicture(int index) {
        const ImageControl& image = form.Image1(index);
        const float x = image.Left + image.Width / 2;
        const float y = image.Top + image.Height / 2;
        ASSERT_EQ(form.hitTest(x, y), (CanvasHit{CanvasHit::Kind::Image1, index}));
        leftClick(form, x, y);
    }
    // Grabs the upper end of l where it stands and drags it sideways by dx.
    void dragUpperEndOfL(float dx) {
        const float x = form.Line1(3).X1;
        const float y = form.Line1(3).Y1;
        form.pointerMove(x, y);
        leftDrag(form, {{x, y}, {x + dx, y}});
    }
};

TEST_F(Pictures, ParallelLettersDoNothing) {
    const FigureState figure = form.fig;
    const LineControl ext1 = form.Line2(1);
    const LineControl ext2 = form.Line2(2);
    for (int index : {2, 3, 4}) {
        clickPicture(index);
    }
    EXPECT_EQ(form.fig, figure);
    EXPECT_EQ(form.Line2(1), ext1);
    EXPECT_EQ(form.Line2(2), ext2);
    EXPECT_EQ(form.extension1Shown, 0);
    EXPECT_EQ(form.extension2Shown, 0);
}

TEST_F(Pictures, EachLetterSwitchesItsOwnExtension) {
    clickPicture(0);
    EXPECT_TRUE(form.Line2(1).Visible);
    EXPECT_EQ(form.extension1Shown, 1);
    EXPECT_FALSE(form.Line2(2).Visible);
    clickPicture(1);
    EXPECT_TRUE(form.Line2(2).Visible);
    EXPECT_EQ(form.extension2Shown, 1);

    clickPicture(0);
    EXPECT_FALSE(form.Line2(1).Visible);
    EXPECT_EQ(form.extension1Shown, 0);
    EXPECT_TRUE(form.Line2(2).Visible);
    clickPicture(1);
    EXPECT_FALSE(form.Line2(2).Visible);
    EXPECT_EQ(form.extension2Shown, 0);
}

TEST_F(Pictures, ClickGoesToThePictureInEveryMode) {
    form.userClickCommand(5);
    clickPicture(0);
    EXPECT_TRUE(form.Line2(1).Visible);
    EXPECT_EQ(form.lineDrawing, 0);
    EXPECT_EQ(form.Check1(0).Value(), 0);
    form.userClickCommand(3);
    clickPicture(1);
    EXPECT_TRUE(form.Line2(2).Visible);
    EXPECT_EQ(w.surface.drawnTotal(), 0U);
}

TEST_F(Pictures, ResetHidesBothAndTheNextClickShows) {
    clickPicture(0);
    clickPicture(1);
    form.userClickCommand(1);
    EXPECT_FALSE(form.Line2(1).Visible);
    EXPECT_FALSE(form.Line2(2).Visible);
    EXPECT_EQ(form.extension1Shown, 0);
    EXPECT_EQ(form.extension2Shown, 0);
    clickPicture(1);
    EXPECT_TRUE(form.Line2(2).Visible);
    clickPicture(0);
    EXPECT_TRUE(form.Line2(1).Visible);
    rightClick(form, 600, 600);
    EXPECT_FALSE(form.Line2(1).Visible);
    EXPECT_FALSE(form.Line2(2).Visible);
    clickPicture(0);
    EXPECT_TRUE(form.Line2(1).Visible);
}

TEST_F(Pictures, ShownExtensionMovesWithItsTransversal) {
    // l leans 300 px over its 450 px height: the extension, 100 px high, leans 66.67 px.
    EXPECT_EQ(form.Line2(1), (LineControl{400, 125, static_cast<float>(400 + 100.0 * 300 / 450), 25,
                                          kBlack, BorderStyle::Solid, 4, false}));
    clickPicture(0);
    dragUpperEndOfL(30);
    // l now runs from (430, 125) through B (250, 350) to (70, 575).
    EXPECT_EQ(form.Line1(3).X1, 430);
    EXPECT_EQ(form.Line1(3).X2, 70);
    const LineControl& ext = form.Line2(1);
    EXPECT_TRUE(ext.Visible);
    EXPECT_EQ(ext.X1, 430);
    EXPECT_EQ(ext.Y1, 125);
    EXPECT_EQ(ext.X2, 510);
    EXPECT_EQ(ext.Y2, 25);
    EXPECT_EQ(ext.BorderColor, kBlack);
}

TEST_F(Pictures, ExtensionShownAfterADragStandsAtTheCurrentPlace) {
    dragUpperEndOfL(30);
    EXPECT_FALSE(form.Line2(1).Visible);
    clickPicture(0);
    const LineControl& ext = form.Line2(1);
    EXPECT_TRUE(ext.Visible);
    EXPECT_EQ(ext.X1, 430);
    EXPECT_EQ(ext.Y1, 125);
    EXPECT_EQ(ext.X2, 510);
    EXPECT_EQ(ext.Y2, 25);
}

}  // namespace
}  // namespace heikosen
