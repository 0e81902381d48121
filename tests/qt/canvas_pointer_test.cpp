// Pointer input on the canvas: mouse drags of the figure's handles, a touch
// drag, presses that land on a label or on the border, and drags cut short
// when the window loses the mouse; and the same drags from the keyboard.

#include <QAccessible>
#include <QMenu>
#include <QPointingDevice>
#include <QPushButton>

#include "window_fixture.h"

namespace heikosen::qt::testing {
namespace {

using CanvasPointer = WindowTest;

TEST_F(CanvasPointer, DraggingTheLeftEndOfPMovesItThirtyPixels) {
    // The left end of p lies at client (20, 325), canvas (10, 275).
    hover(10, 275);
    press(10, 275);
    EXPECT_EQ(form().grabbedHandle, kHandleParallelP);
    moveHeld(10, 290);
    moveHeld(10, 305);

    // While held, p is drawn red at its new height, and its old place is white.
    QImage held = onScreen();
    for (int x : {100, 450, 550, 700}) {
        EXPECT_TRUE(sameColour(canvasPixel(held, x, 305), kRed)) << x;
        EXPECT_TRUE(sameColour(canvasPixel(held, x, 275), kWhite)) << x;
    }
    EXPECT_TRUE(sameColour(canvasPixel(held, 550, 350), kBlack));  // q stays black

    release(10, 305);
    EXPECT_EQ(form().fig.parallelPY, 305);
    EXPECT_EQ(form().Image1(2).Top, 269);
    EXPECT_EQ(form().grabbedHandle, kHandleNone);
    const QImage after = onScreen();
    for (int x : {100, 450, 550, 700}) {
        EXPECT_TRUE(sameColour(canvasPixel(after, x, 305), kBlack)) << x;
        EXPECT_TRUE(sameColour(canvasPixel(after, x, 275), kWhite)) << x;
    }
    // The arrow mark moved with p.
    EXPECT_TRUE(
        anyCanvasPixelNear(after, 670, 300, 1, [](QRgb p) { return sameColour(p, kBlue); }));
    EXPECT_FALSE(
        anyCanvasPixelNear(after, 670, 270, 1, [](QRgb p) { return sameColour(p, kBlue); }));
    // What the window repainted piece by piece matches a fresh rendering.
    const QRect canvasRect(8, 48, 806, 630);
    EXPECT_EQ(after.copy(canvasRect), rendered().copy(canvasRect));
}

TEST_F(CanvasPointer, TurningLByItsUpperEndKeepsB) {
    hover(400, 125);
    press(400, 125);
    EXPECT_EQ(form().grabbedHandle, kHandleUpperL);
    for (int x = 405; x <= 430; x += 5) {
        moveHeld(x, 125 + (x - 400) / 5.0);  // a little up and down does not matter
    }
    // l is red while held.
    EXPECT_TRUE(sameColour(canvasPixel(onScreen(), 370, 200), kRed));
    release(430, 131);

    EXPECT_NEAR(form().fig.pointBX, 250.0, 1e-9);
    EXPECT_NEAR(form().fig.transLX1, 430.0, 1e-9);
    EXPECT_NEAR(form().fig.transLX2, 70.0, 1e-9);
    EXPECT_NEAR(form().fig.pointAX, 310.0, 1e-9);  // A moved by d / 3
    EXPECT_NEAR(form().fig.pointCX, 130.0, 1e-9);  // C by 2d / 3 the other way
    const QImage image = onScreen();
    // The new l passes (370, 200) and B; the old one at (350, 200) is gone.
    EXPECT_TRUE(sameColour(canvasPixel(image, 370, 200), kBlack));
    EXPECT_TRUE(sameColour(canvasPixel(image, 350, 200), kWhite));
    EXPECT_TRUE(sameColour(canvasPixel(image, 106, 530), kBlack));
    EXPECT_TRUE(sameColour(canvasPixel(image, 130, 530), kWhite));
    const QRect canvasRect(8, 48, 806, 630);
    EXPECT_EQ(image.copy(canvasRect), rendered().copy(canvasRect));
}

TEST_F(CanvasPointer, DragMeasuresFromThePointerNotFromTheHandle) {
    // Pressing 20 px below the line still moves it by the pointer's motion only.
    hover(20, 295);
    press(20, 295);
    moveHeld(20, 305);
    release(20, 305);
    EXPECT_EQ(form().fig.parallelPY, 285);
    // Moves while nothing is held move nothing.
    hover(20, 400);
    EXPECT_EQ(form().fig.parallelPY, 285);
}

TEST_F(CanvasPointer, ATouchDragMovesQ) {
    QPointingDevice* touchscreen = QTest::createTouchDevice();
    const QPoint start(10 + 2, 350 + 2);  // the left end of q, in the canvas widget
    QTest::touchEvent(&canvas(), touchscreen).press(0, start);
    QTest::touchEvent(&canvas(), touchscreen).move(0, start + QPoint(0, 10));
    QTest::touchEvent(&canvas(), touchscreen).move(0, start + QPoint(0, 20));
    settle();
    EXPECT_EQ(form().grabbedHandle, kHandleParallelQ);
    QTest::touchEvent(&canvas(), touchscreen).release(0, start + QPoint(0, 20));
    settle();

    EXPECT_EQ(form().fig.parallelQY, 370);
    EXPECT_EQ(form().heldButtons(), 0);
    EXPECT_EQ(form().grabbedHandle, kHandleNone);
    const QImage image = onScreen();
    EXPECT_TRUE(sameColour(canvasPixel(image, 550, 370), kBlack));
    EXPECT_TRUE(sameColour(canvasPixel(image, 550, 350), kWhite));
}

TEST_F(CanvasPointer, APressOnTheLabelAGrabsNothing) {
    const LabelControl& a = form().Label2(0);
    const double x = a.Left + a.Width / 2;
    const double y = a.Top + a.Height / 2;
    hover(x - 30, y);  // on the canvas, left of the label
    const FigureState figure = form().fig;
    const float lastX = form().lastX;
    const float lastY = form().lastY;

    hover(x, y);
    press(x, y);
    moveHeld(x + 20, y + 40);
    moveHeld(x - 300, y + 60);
    release(x - 300, y + 60);
    EXPECT_EQ(form().fig, figure);
    EXPECT_EQ(form().grabbedHandle, kHandleNone);
    // Neither the hover over the label nor the drag from it reached the canvas.
    EXPECT_EQ(form().lastX, lastX);
    EXPECT_EQ(form().lastY, lastY);

    // With the memo on, a drag that starts on the label writes nothing.
    click(window().command(3));
    hover(x, y);
    press(x, y);
    moveHeld(x + 60, y + 60);
    release(x + 60, y + 60);
    EXPECT_EQ(form().gamen.segmentCount(), 0U);
    EXPECT_FALSE(anyCanvasPixelNear(onScreen(), static_cast<int>(x + 40), static_cast<int>(y + 40),
                                    3, nearlyRed));
}

TEST_F(CanvasPointer, APressOnTheBorderGrabsNothing) {
    // The left border, 1.5 px left of the drawing area, at the height of p.
    hover(-1.5, 275);
    press(-1.5, 275);
    EXPECT_EQ(form().heldButtons(), 0);
    EXPECT_EQ(form().grabbedHandle, kHandleNone);
    moveHeld(-1.5, 300);
    release(-1.5, 300);
    EXPECT_EQ(form().fig.parallelPY, 275);
    // A drag from inside goes on over the border and beyond.
    drag({10, 275}, {-1.5, 300}, 2);
    EXPECT_EQ(form().fig.parallelPY, 300);
    drag({10, 300}, {-20, 320}, 2);
    EXPECT_EQ(form().fig.parallelPY, 320);
}

TEST_F(CanvasPointer, ADragEndsWhenTheWindowLosesTheMouse) {
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));

    // Another window comes to the front while p is held: p is let go where the
    // pointer was last seen, and drawn black again.
    hover(10, 275);
    press(10, 275);
    moveHeld(10, 290);
    {
        QWidget other;
        other.resize(100, 100);
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        EXPECT_EQ(form().heldButtons(), 0);
        EXPECT_EQ(form().grabbedHandle, kHandleNone);
        EXPECT_EQ(form().fig.parallelPY, 290);
        EXPECT_TRUE(sameColour(canvasPixel(onScreen(), 550, 290), kBlack));
    }
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));

    // A popup takes the mouse while q is held.
    hover(10, 350);
    press(10, 350);
    ASSERT_EQ(QApplication::focusWidget(), &canvas());
    moveHeld(10, 360);
    {
        QMenu menu;
        menu.addAction(QStringLiteral("-"));
        menu.popup(canvas().mapToGlobal(QPoint(100, 100)));
        EXPECT_EQ(form().heldButtons(), 0);
        EXPECT_EQ(form().grabbedHandle, kHandleNone);
        menu.close();
    }
    EXPECT_EQ(form().fig.parallelQY, 360);

    // Wherever a release was lost, the next press of that button is not: the
    // release comes first, at the pointer's last position.
    hover(10, 290);
    press(10, 290);
    moveHeld(10, 280);
    ASSERT_EQ(form().grabbedHandle, kHandleParallelP);
    press(10, 360);  // the left button went up unseen and down again on q
    EXPECT_EQ(form().fig.parallelPY, 280);
    EXPECT_EQ(form().grabbedHandle, kHandleParallelQ);
    EXPECT_EQ(form().heldButtons(), kLeftButton);
    release(10, 360);
    EXPECT_EQ(form().heldButtons(), 0);
}

TEST_F(CanvasPointer, OtherButtonsAreIgnored) {
    hover(10, 275);
    send(QEvent::MouseButtonPress, {10, 275}, Qt::BackButton, Qt::BackButton);
    send(QEvent::MouseMove, {10, 300}, Qt::NoButton, Qt::BackButton);
    send(QEvent::MouseButtonRelease, {10, 300}, Qt::BackButton, Qt::NoButton);
    EXPECT_EQ(form().heldButtons(), 0);
    EXPECT_EQ(form().grabbedHandle, kHandleNone);
    EXPECT_EQ(form().fig.parallelPY, 275);
}

TEST_F(CanvasPointer, RightPressDuringADragResets) {
    hover(10, 275);
    press(10, 275);
    moveHeld(10, 300);
    send(QEvent::MouseButtonPress, {10, 300}, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(form().fig.parallelPY, 275);
    moveHeld(10, 330, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(form().fig.parallelPY, 275);  // nothing is held any more
    send(QEvent::MouseButtonRelease, {10, 330}, Qt::RightButton, Qt::LeftButton);
    release(10, 330);
    EXPECT_EQ(form().heldButtons(), 0);
    const QImage image = onScreen();
    EXPECT_TRUE(sameColour(canvasPixel(image, 550, 275), kBlack));
    EXPECT_TRUE(sameColour(canvasPixel(image, 550, 300), kWhite));
}

TEST_F(CanvasPointer, KeysDragPAndTellTheFigureInWords) {
    const QRect frame(8, 48, 806, 630);
    const QRect area = frame.adjusted(2, 2, -2, -2);
    window().command(1)->setFocus(Qt::OtherFocusReason);
    const QImage unfocused = onScreen();
    canvas().setFocus(Qt::TabFocusReason);
    const QImage focused = onScreen();
    // The ring lies on the frame alone.
    for (QPoint at :
         {QPoint(8, 300), QPoint(9, 300), QPoint(400, 48), QPoint(813, 300), QPoint(400, 677)}) {
        EXPECT_TRUE(sameColour(focused.pixel(at), 0x0050D0U)) << at.x() << ", " << at.y();
        EXPECT_FALSE(sameColour(unfocused.pixel(at), 0x0050D0U));
    }
    EXPECT_EQ(focused.copy(area), unfocused.copy(area));

    QAccessibleInterface* canvasInterface = QAccessible::queryAccessibleInterface(&canvas());
    ASSERT_NE(canvasInterface, nullptr);
    const QString before = canvasInterface->text(QAccessible::Description);
    EXPECT_TRUE(before.contains(QStringLiteral("AB 3.6、BC 7.2")));
    EXPECT_TRUE(canvas().toolTip().contains(QStringLiteral("Shift+L")));

    QTest::keyClick(&canvas(), Qt::Key_P);
    for (int i = 0; i < 25; ++i) {
        QTest::keyClick(&canvas(), Qt::Key_Up);
    }
    EXPECT_EQ(form().fig.parallelPY, 250);
    EXPECT_TRUE(sameColour(canvasPixel(onScreen(), 550, 250), kRed));
    const QString after = canvasInterface->text(QAccessible::Description);
    EXPECT_TRUE(after.contains(QStringLiteral("つかんでいる点: 直線pの左端。")));
    EXPECT_TRUE(after.contains(QStringLiteral("AB 4.8、BC 7.2、A'B' 4.2、B'C' 6.3")));
    EXPECT_TRUE(after.contains(QStringLiteral("AB：BC ＝ 1：1.50")));
    EXPECT_NE(after, before);

    // Shift moves by ten; leaving the canvas lets go, and the ring goes.
    QTest::keyClick(&canvas(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(form().fig.parallelPY, 260);
    window().command(1)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(form().grabbedHandle, kHandleNone);
    const QImage left = onScreen();
    EXPECT_TRUE(sameColour(canvasPixel(left, 550, 260), kBlack));
    EXPECT_EQ(left.copy(frame).copy(0, 0, 806, 2), unfocused.copy(frame).copy(0, 0, 806, 2));
    EXPECT_TRUE(canvasInterface->text(QAccessible::Description)
                    .contains(QStringLiteral("つかんでいる点: なし。")));
}

}  // namespace
}  // namespace heikosen::qt::testing
