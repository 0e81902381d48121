// The blackboard tools on screen: pens and eraser, marker lines with their
// check boxes, the grid and the extensions of the transversals.

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "window_fixture.h"

namespace heikosen::qt::testing {
namespace {

using BlackboardTools = WindowTest;

TEST_F(BlackboardTools, MemoStrokeAndEraserLeaveTheFigure) {
    click(window().command(3));  // メモ
    ASSERT_EQ(form().memoMode, 1);

    // A red stroke across l at y = 200 (l crosses there at x = 350).
    drag({300, 200}, {420, 200}, 6);
    QImage image = onScreen();
    EXPECT_TRUE(nearlyRed(canvasPixel(image, 320, 200)));
    EXPECT_TRUE(nearlyRed(canvasPixel(image, 400, 200)));
    EXPECT_TRUE(sameColour(canvasPixel(image, 350, 200), kBlack));  // l lies above the stroke
    EXPECT_TRUE(sameColour(canvasPixel(image, 320, 206), kWhite));  // 3 px wide

    // The thin eraser (15 px) wipes down across the stroke where l crosses it.
    click(window().option1(3));
    EXPECT_TRUE(window().option1(3)->isChecked());
    EXPECT_TRUE(form().Shape1.Visible);
    hover(500, 400);
    image = onScreen();
    // The eraser's circle follows the pointer: 15 px across, hollow.
    EXPECT_TRUE(
        anyCanvasPixelNear(image, 493, 400, 1, [](QRgb p) { return sameColour(p, kBlack); }));
    EXPECT_TRUE(
        anyCanvasPixelNear(image, 507, 400, 1, [](QRgb p) { return sameColour(p, kBlack); }));
    EXPECT_TRUE(sameColour(canvasPixel(image, 500, 400), kWhite));
    EXPECT_TRUE(sameColour(canvasPixel(image, 485, 400), kWhite));

    drag({350, 170}, {350, 230}, 6);
    image = onScreen();
    EXPECT_TRUE(sameColour(canvasPixel(image, 344, 200), kWhite));  // the stroke is gone here
    EXPECT_TRUE(sameColour(canvasPixel(image, 356, 200), kWhite));
    EXPECT_TRUE(sameColour(canvasPixel(image, 350, 200), kBlack));  // l is not
    EXPECT_TRUE(nearlyRed(canvasPixel(image, 320, 200)));           // the rest stays
    EXPECT_TRUE(nearlyRed(canvasPixel(image, 400, 200)));

    // The circle moved away from where it was drawn before.
    EXPECT_FALSE(
        anyCanvasPixelNear(image, 493, 400, 1, [](QRgb p) { return sameColour(p, kBlack); }));

    // Strokes survive leaving memo mode, and the reset wipes them.
    click(window().command(3));
    EXPECT_TRUE(nearlyRed(canvasPixel(onScreen(), 320, 200)));
    click(window().command(1));
    EXPECT_TRUE(sameColour(canvasPixel(onScreen(), 320, 200), kWhite));
}

TEST_F(BlackboardTools, StrokesRepaintOnlyWhereTheyAreDrawn) {
    click(window().command(3));
    drag({100, 100}, {200, 120}, 5);
    // The strokes are kept in the canvas's own layer: a fresh rendering of the
    // window, as after the window was covered, still shows them.
    const QImage fresh = rendered();
    EXPECT_TRUE(nearlyRed(canvasPixel(fresh, 150, 110)));
    const QRect canvasRect(8, 48, 806, 630);
    EXPECT_EQ(onScreen().copy(canvasRect), fresh.copy(canvasRect));
}

TEST_F(BlackboardTools, MarkerLineAppearsAndItsCheckBoxRemovesIt) {
    EXPECT_TRUE(sameColour(canvasPixel(onScreen(), 200, 150), kWhite));
    click(window().command(5));  // 直線
    ASSERT_EQ(form().lineMode, 1);

    hover(100, 100);
    press(100, 100);
    moveHeld(200, 130);
    // The rubber band follows the pointer.
    EXPECT_TRUE(sameColour(canvasPixel(onScreen(), 150, 115), kBlack));
    moveHeld(300, 200);
    release(300, 200);

    QImage image = onScreen();
    EXPECT_TRUE(sameColour(canvasPixel(image, 200, 150), kBlack));
    EXPECT_TRUE(sameColour(canvasPixel(image, 150, 115), kWhite));  // the band's old place
    EXPECT_TRUE(window().check1(0)->isChecked());
    EXPECT_EQ(form().lineSlot, 2);

    click(window().check1(0));
    EXPECT_FALSE(window().check1(0)->isChecked());
    EXPECT_TRUE(sameColour(canvasPixel(onScreen(), 200, 150), kWhite));
}

TEST_F(BlackboardTools, FiveMarkerLinesSwitchTheToolOff) {
    click(window().command(5));
    click(window().option2(2));  // 青
    for (int i = 0; i < 5; ++i) {
        drag({600.0, 100.0 + 20 * i}, {750.0, 100.0 + 20 * i}, 2);
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(window().check1(i)->isChecked()) << i;
    }
    EXPECT_FALSE(window().command(5)->font().bold());
    EXPECT_FALSE(window().option2(0)->isEnabled());
    const QImage image = onScreen();
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(sameColour(canvasPixel(image, 700, 100 + 20 * i), kBlue)) << i;
    }
}

TEST_F(BlackboardTools, GridShowsSolidAndDottedLines) {
    click(window().command(4));  // 方眼
    EXPECT_TRUE(window().command(4)->font().bold());
    QImage image = onScreen();
    // y = 100, a multiple of 50: solid grey from x = 501 to 524 (between the
    // vertical lines at 500 and 525).
    for (int x = 501; x < 525; ++x) {
        EXPECT_TRUE(sameColour(canvasPixel(image, x, 100), kGrey)) << x;
    }
    // y = 75, an odd multiple of 25: dotted, grey and white in turn.
    int grey = 0;
    int white = 0;
    int longestGreyRun = 0;
    int run = 0;
    for (int x = 501; x < 525; ++x) {
        const QRgb p = canvasPixel(image, x, 75);
        if (sameColour(p, kGrey)) {
            ++grey;
            longestGreyRun = std::max(longestGreyRun, ++run);
        } else {
            EXPECT_TRUE(sameColour(p, kWhite)) << x;
            ++white;
            run = 0;
        }
    }
    EXPECT_GE(grey, 5);
    EXPECT_GE(white, 5);
    EXPECT_LE(longestGreyRun, 2);
    // The vertical lines too: x = 500 solid, x = 525 dotted.
    EXPECT_TRUE(sameColour(canvasPixel(image, 500, 110), kGrey));
    EXPECT_TRUE(sameColour(canvasPixel(image, 500, 111), kGrey));
    EXPECT_NE(sameColour(canvasPixel(image, 525, 110), kGrey) &&
                  sameColour(canvasPixel(image, 525, 111), kGrey) &&
                  sameColour(canvasPixel(image, 525, 112), kGrey),
              true);
    // The figure lies above the grid.
    EXPECT_TRUE(sameColour(canvasPixel(image, 550, 275), kBlack));
    EXPECT_TRUE(sameColour(canvasPixel(image, 600, 350), kBlack));

    click(window().command(4));
    image = onScreen();
    EXPECT_FALSE(window().command(4)->font().bold());
    EXPECT_TRUE(sameColour(canvasPixel(image, 510, 100), kWhite));
    EXPECT_TRUE(sameColour(canvasPixel(image, 500, 110), kWhite));
}

TEST_F(BlackboardTools, ClickingThePictureOfLShowsItsExtension) {
    // The extension of l runs from (400, 125) up to (466.67, 25).
    EXPECT_TRUE(sameColour(canvasPixel(onScreen(), 433, 75), kWhite));
    const ImageControl& ell = form().Image1(0);
    const double x = ell.Left + ell.Width / 2;
    const double y = ell.Top + ell.Height / 2;
    hover(x, y);
    press(x, y);
    release(x, y);
    QImage image = onScreen();
    EXPECT_EQ(form().extension1Shown, 1);
    for (int y2 : {40, 75, 110}) {
        const int x2 = static_cast<int>(std::lround(400 + (125 - y2) * 2.0 / 3.0));
        EXPECT_TRUE(sameColour(canvasPixel(image, x2, y2), kBlack)) << y2;
    }
    EXPECT_TRUE(sameColour(canvasPixel(image, 470, 15), kWhite));  // it ends at y = 25

    // Clicking m's picture shows m's; clicking l's again hides l's.
    const ImageControl& m = form().Image1(1);
    hover(m.Left + m.Width / 2, m.Top + m.Height / 2);
    press(m.Left + m.Width / 2, m.Top + m.Height / 2);
    release(m.Left + m.Width / 2, m.Top + m.Height / 2);
    hover(x, y);
    press(x, y);
    release(x, y);
    image = onScreen();
    EXPECT_TRUE(sameColour(canvasPixel(image, 433, 75), kWhite));
    EXPECT_TRUE(sameColour(canvasPixel(image, 233, 75), kBlack));

    // A press on the picture that is released elsewhere is no click.
    hover(x, y);
    press(x, y);
    moveHeld(x + 100, y + 100);
    release(x + 100, y + 100);
    EXPECT_EQ(form().extension1Shown, 0);
}

}  // namespace
}  // namespace heikosen::qt::testing
