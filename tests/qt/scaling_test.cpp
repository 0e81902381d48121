// The window at other sizes than it is laid out for: the whole client area
// scales uniformly to the largest size that fits and is centred; the pointer
// maps back exactly, so a pupil's gestures do the same at every scale; lines,
// labels, pictures and strokes stay sharp.

#include <QCheckBox>
#include <QLabel>
#include <QPointingDevice>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

#include "window_fixture.h"

namespace heikosen::qt::testing {
namespace {

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(5);
    }
}

void click(QAbstractButton* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                      QPoint(widget->width() / 2, widget->height() / 2));
    settle();
}

// Everything of the form that a pupil's gestures can change, and the strokes
// the canvas received.
struct FormState {
    FigureState fig;
    std::vector<LineControl> lines;
    std::vector<LabelControl> labels;
    std::vector<ImageControl> images;
    ShapeControl shape;
    std::vector<int> checks;
    std::vector<bool> options;
    std::vector<int> variables;
    float lastX = 0;
    float lastY = 0;
    std::vector<StrokeSegment> segments;
};

FormState stateOf(const MainWindow& window) {
    const Form1& form = window.form();
    FormState s;
    s.fig = form.fig;
    for (const LineControl& line : form.Line1) {
        s.lines.push_back(line);
    }
    for (const LineControl& line : form.Line2) {
        s.lines.push_back(line);
    }
    for (const LineControl& line : form.Line3) {
        s.lines.push_back(line);
    }
    for (const LineControl& line : form.Line4) {
        s.lines.push_back(line);
    }
    for (int i = 0; i <= 25; ++i) {
        s.lines.push_back(form.Line5(i));
    }
    for (int i = 0; i <= 32; ++i) {
        s.lines.push_back(form.Line6(i));
    }
    s.labels.assign(form.Label2.begin(), form.Label2.end());
    s.labels.push_back(form.Label3(1));
    s.labels.push_back(form.Label5);
    s.images.assign(form.Image1.begin(), form.Image1.end());
    s.shape = form.Shape1;
    for (const CheckBox& box : form.Check1) {
        s.checks.push_back(box.Value());
    }
    for (const OptionButton& option : form.Option1) {
        s.options.push_back(option.Value());
    }
    for (const OptionButton& option : form.Option2) {
        s.options.push_back(option.Value());
    }
    s.variables = {form.grabbedHandle,   form.memoMode,        form.penDown,
                   form.penColor,        form.lineMode,        form.lineDrawing,
                   form.lineSlot,        form.lineColor,       form.gridShown,
                   form.extension1Shown, form.extension2Shown, form.heldButtons()};
    s.lastX = form.lastX;
    s.lastY = form.lastY;
    s.segments = window.canvas()->strokeLayer().keptSegments();
    return s;
}

void expectSameState(const FormState& a, const FormState& b) {
    EXPECT_EQ(a.fig, b.fig);
    EXPECT_TRUE(a.lines == b.lines);
    EXPECT_TRUE(a.labels == b.labels);
    EXPECT_TRUE(a.images == b.images);
    EXPECT_TRUE(a.shape == b.shape);
    EXPECT_EQ(a.checks, b.checks);
    EXPECT_EQ(a.options, b.options);
    EXPECT_EQ(a.variables, b.variables);
    EXPECT_EQ(a.lastX, b.lastX);
    EXPECT_EQ(a.lastY, b.lastY);
    EXPECT_EQ(a.segments.size(), b.segments.size());
    EXPECT_TRUE(a.segments == b.segments);
}

// A main window of a given size, driven by real events at the positions where
// canvas points appear on screen at its scale.
class ScaledSession {
  public:
    explicit ScaledSession(QSize size) {
        window_.resize(size);
        window_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window_));
        settle();
    }
    ScaledSession(const ScaledSession&) = delete;
    ScaledSession& operator=(const ScaledSession&) = delete;
    ~ScaledSession() {
        if (window_.form().heldButtons() != 0) {
            release(last_.x(), last_.y());
        }
    }

    MainWindow& window() { return window_; }
    Form1& form() { return window_.form(); }
    double factor() const { return window_.clientScale().scale; }

    // Where a canvas point is on the canvas widget: inside the 2 pixel border,
    // everything multiplied by the window's factor.
    QPointF widgetPoint(QPointF canvasPoint) const {
        return (canvasPoint + QPointF(2, 2)) * factor();
    }

    void send(QEvent::Type type, QPointF canvasPoint, Qt::MouseButton button,
              Qt::MouseButtons buttons) {
        CanvasWidget* canvas = window_.canvas();
        const QPointF local = widgetPoint(canvasPoint);
        QMouseEvent event(type, local, canvas->mapToGlobal(local), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
        last_ = canvasPoint;
    }
    void hover(double x, double y) { send(QEvent::MouseMove, {x, y}, Qt::NoButton, Qt::NoButton); }
    void press(double x, double y) {
        send(QEvent::MouseButtonPress, {x, y}, Qt::LeftButton, Qt::LeftButton);
    }
    void moveHeld(double x, double y) {
        send(QEvent::MouseMove, {x, y}, Qt::NoButton, Qt::LeftButton);
    }
    void release(double x, double y) {
        send(QEvent::MouseButtonRelease, {x, y}, Qt::LeftButton, Qt::NoButton);
    }
    void drag(QPointF from, QPointF to, int steps) {
        hover(from.x(), from.y());
        press(from.x(), from.y());
        for (int i = 1; i <= steps; ++i) {
            const QPointF at = from + (to - from) * (static_cast<double>(i) / steps);
            moveHeld(at.x(), at.y());
        }
        release(to.x(), to.y());
    }
    void tap(double x, double y) {
        hover(x, y);
        press(x, y);
        release(x, y);
    }

  private:
    MainWindow window_;
    QPointF last_;
};

// The design's size times a factor, and room to spare across.
QSize scaledWindow(double factor, int spareWidth = 0, int spareHeight = 0) {
    return {static_cast<int>(std::lround(kClientWidth * factor)) + spareWidth,
            static_cast<int>(std::lround(kClientHeight * factor)) + spareHeight};
}

// A lesson's worth of gestures, with the form's state after each.
std::vector<FormState> runLesson(ScaledSession& s) {
    MainWindow& w = s.window();
    std::vector<FormState> states;
    auto record = [&] {
        settle();
        states.push_back(stateOf(w));
    };
    s.drag({10, 275}, {10, 305}, 2);  // p down
    record();
    s.drag({400, 125}, {430, 131}, 6);  // l turned about B
    record();
    s.drag({250, 125}, {231.5, 126.25}, 3);  // m by its upper end, to between pixels
    record();
    s.drag({325, 350}, {380.75, 350}, 4);  // the copy of m slid along q
    record();
    // Just inside the label Ａ's corner a press goes to the label; just outside
    // it, to the canvas.
    const LabelControl& a = w.form().Label2(0);
    s.tap(a.Left + 0.25, a.Top + 0.25);
    record();
    s.tap(a.Left - 0.25, a.Top + 0.25);
    record();
    s.tap(a.Left + a.Width - 0.25, a.Top + a.Height - 0.25);
    record();
    s.tap(a.Left + a.Width + 0.25, a.Top + a.Height - 0.25);
    record();

    click(w.command(3));  // メモ
    s.drag({100, 560}, {300.5, 600.25}, 8);
    click(w.option1(5));  // thick green
    s.drag({150.25, 150}, {170, 400}, 5);
    record();
    click(w.option1(3));  // thin eraser: its circle follows the pointer
    s.hover(500.5, 400.25);
    record();
    s.drag({200, 580}, {260.75, 590}, 3);
    record();

    click(w.command(5));  // 直線
    s.drag({600, 100}, {700.5, 200.25}, 3);
    s.drag({550, 120}, {780, 500}, 3);
    record();
    click(w.check1(0));  // takes the first marker line away
    record();

    const ImageControl& ell = w.form().Image1(0);  // the picture of l shows its extension
    s.tap(ell.Left + ell.Width / 2, ell.Top + ell.Height / 2);
    click(w.command(4));  // 方眼
    record();
    return states;
}

TEST(ScaledWindow, TheSameGesturesGiveTheSameFormAtEveryScale) {
    std::vector<FormState> reference;
    {
        ScaledSession s(QSize(891, 687));
        ASSERT_EQ(s.factor(), 1.0);
        reference = runLesson(s);
        // The lesson did what it is meant to.
        EXPECT_EQ(s.form().fig.parallelPY, 305);
        EXPECT_NEAR(s.form().fig.transLX1, 430.0, 1e-9);
        EXPECT_EQ(s.form().extension1Shown, 1);
        EXPECT_EQ(s.form().gridShown, 1);
        EXPECT_EQ(s.form().Check1(0).Value(), 0);
        EXPECT_EQ(s.form().Check1(1).Value(), 1);
        EXPECT_GT(reference.back().segments.size(), 10U);
    }
    ASSERT_EQ(reference.size(), 14U);
    // Presses just inside the label's edges went to the label, the ones just
    // outside reached the canvas.
    EXPECT_EQ(reference[4].lastX, reference[3].lastX);
    EXPECT_NE(reference[5].lastX, reference[3].lastX);
    EXPECT_EQ(reference[6].lastX, reference[5].lastX);
    EXPECT_NE(reference[7].lastX, reference[5].lastX);

    struct Case {
        const char* name;
        QSize size;
    };
    const Case cases[] = {
        {"2x, with room across", scaledWindow(2, 100)},
        {"1.37x", scaledWindow(1.37, 0, 40)},
        {"half size", QSize(300, 200)},  // held at the smallest size
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScaledSession s(c.size);
        EXPECT_NE(s.factor(), 1.0);
        const std::vector<FormState> states = runLesson(s);
        ASSERT_EQ(states.size(), reference.size());
        for (std::size_t i = 0; i < states.size(); ++i) {
            SCOPED_TRACE(i);
            expectSameState(states[i], reference[i]);
        }
    }
}

TEST(ScaledWindow, EverythingScalesUniformlyAndCentred) {
    // Twice the size and 100 pixels to spare across: 50 on each side.
    ScaledSession s(scaledWindow(2, 100));
    MainWindow& w = s.window();
    EXPECT_EQ(s.factor(), 2.0);
    EXPECT_EQ(w.clientScale().left, 50.0);
    EXPECT_EQ(w.clientScale().top, 0.0);
    const struct {
        QWidget* widget;
        QRect rect;
    } table[] = {
        {w.label1(), {8, 8, 125, 33}},     {w.command(5), {216, 8, 49, 33}},
        {w.option2(3), {400, 8, 33, 17}},  {w.check1(4), {408, 24, 25, 17}},
        {w.label4(1), {528, 27, 24, 12}},  {w.option1(7), {680, 8, 81, 17}},
        {w.command(1), {808, 8, 73, 33}},  {w.canvas(), {8, 48, 806, 630}},
        {w.command(4), {824, 56, 57, 33}}, {w.command(2), {824, 640, 57, 33}},
    };
    for (const auto& row : table) {
        const QRect& r = row.rect;
        EXPECT_EQ(row.widget->geometry(),
                  QRect(50 + 2 * r.x(), 2 * r.y(), 2 * r.width(), 2 * r.height()));
    }
    EXPECT_EQ(w.canvas()->drawingArea(), QRect(4, 4, 1604, 1252));
    // Fonts are pixel sizes, scaled with the rest.
    EXPECT_EQ(w.label1()->font().pixelSize(), 64);
    EXPECT_EQ(w.command(1)->font().pixelSize(), 24);
    EXPECT_EQ(w.option1(0)->font().pixelSize(), 24);
    EXPECT_EQ(w.check1(0)->font().pixelSize(), 24);

    // At 1.37 the controls are where the factor puts them, to the pixel.
    w.resize(scaledWindow(1.37));
    settle();
    const double f = w.clientScale().scale;
    EXPECT_NEAR(f, 1.37, 0.001);
    const QRect canvas = w.canvas()->geometry();
    EXPECT_EQ(canvas.topLeft(),
              QPoint(static_cast<int>(std::lround(8 * f)), static_cast<int>(std::lround(48 * f))));
    EXPECT_EQ(canvas.width(), static_cast<int>(std::ceil(806 * f)));
    EXPECT_EQ(w.command(2)->geometry().right(), static_cast<int>(std::lround((824 + 57) * f)) - 1);
    EXPECT_EQ(w.label1()->font().pixelSize(), static_cast<int>(std::lround(32 * f)));
}

TEST(ScaledWindow, AtTwiceTheSizeTheFigureIsDrawnTwiceAsLargeAndSharp) {
    ScaledSession s(scaledWindow(2, 100));
    click(s.window().command(4));  // 方眼
    const QImage image = s.window().grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(1882, 1374));
    // Canvas pixel (x, y) covers window pixels 50 + 2 (10 + x) and the next,
    // rows 2 (50 + y) and the next.
    auto at = [&](double x, double y) {
        return image.pixel(static_cast<int>(50 + 2 * (10 + x)), static_cast<int>(2 * (50 + y)));
    };
    for (int y : {275, 350, 500}) {
        for (int x : {110, 210, 460, 620, 710}) {  // off the grid's vertical lines
            // At 1x rows y - 2 to y + 1 are black: here the 8 rows from 2 (y - 2).
            for (int dy = -4; dy <= 3; ++dy) {
                EXPECT_TRUE(sameColour(at(x, y + dy / 2.0), kBlack)) << x << "," << y << "," << dy;
            }
            // Sharp: the row above and the row below are white already, no grey
            // band in between.
            EXPECT_TRUE(sameColour(at(x, y - 2.5), kWhite)) << x << "," << y;
            EXPECT_TRUE(sameColour(at(x, y + 2), kWhite)) << x << "," << y;
        }
    }
    // The grid: the solid line at x = 500 is two pixels wide, its neighbours white.
    EXPECT_TRUE(sameColour(at(500, 110), kGrey));
    EXPECT_TRUE(sameColour(at(500.5, 110), kGrey));
    EXPECT_TRUE(sameColour(at(499.5, 110), kWhite));
    EXPECT_TRUE(sameColour(at(501, 110), kWhite));
    // The sunken frame, each of its edges two pixels wide.
    const int left = 50 + 16;
    const int top = 96;
    EXPECT_TRUE(sameColour(image.pixel(left, 300), 0x808080));
    EXPECT_TRUE(sameColour(image.pixel(left + 1, 300), 0x808080));
    EXPECT_TRUE(sameColour(image.pixel(left + 2, 300), 0x404040));
    EXPECT_TRUE(sameColour(image.pixel(left + 3, 300), 0x404040));
    EXPECT_TRUE(sameColour(image.pixel(400, top + 1), 0x808080));
    EXPECT_TRUE(sameColour(image.pixel(400, top + 3), 0x404040));
    EXPECT_TRUE(sameColour(image.pixel(left + 1612 - 1, 600), 0xFFFFFF));
    EXPECT_TRUE(sameColour(image.pixel(left + 1612 - 3, 600), 0xC0C0C0));
    // Light green around the centred client area and beside the canvas.
    for (QPoint p : {QPoint(20, 700), QPoint(1860, 700), QPoint(left - 1, 300), QPoint(900, 95)}) {
        EXPECT_TRUE(sameColour(image.pixel(p), kLightGreen)) << p.x() << "," << p.y();
    }
    // The picture p stands above the left end of p with dark ink, twice as large.
    int ink = 0;
    for (int y = 239; y < 273; ++y) {
        for (int x = 50; x < 74; ++x) {
            ink += qGray(at(x, y)) < 96 ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 20);
}

TEST(ScaledWindow, StrokesAreDrawnAgainSharplyWhenTheScaleChanges) {
    auto strokes = [](ScaledSession& s) {
        click(s.window().command(3));
        s.drag({100, 100}, {300.5, 180.25}, 7);
        click(s.window().option1(6));  // thick blue
        s.drag({120, 300}, {140, 420}, 5);
        settle();
    };
    ScaledSession atTwo(scaledWindow(2));
    strokes(atTwo);
    const QImage drawnAtTwo = atTwo.window().canvas()->strokeLayer().image();
    EXPECT_EQ(drawnAtTwo.size(), QSize(1604, 1252));

    ScaledSession s(QSize(891, 687));
    strokes(s);
    const StrokeLayer& layer = s.window().canvas()->strokeLayer();
    const QImage drawnAtOne = layer.image();
    EXPECT_EQ(drawnAtOne.size(), QSize(802, 626));
    s.window().resize(scaledWindow(2));
    settle();
    EXPECT_EQ(layer.scale(), 2.0);
    EXPECT_FALSE(layer.redrawing());
    // The same strokes, drawn at 1x and then scaled, as if drawn at 2x.
    EXPECT_EQ(layer.image(), drawnAtTwo);
    // And back at 1x as they were.
    s.window().resize(891, 687);
    settle();
    EXPECT_EQ(layer.image(), drawnAtOne);
    // On screen at 2x the stroke is red where it was drawn, twice as far out.
    s.window().resize(scaledWindow(2));
    settle();
    const QImage shown = s.window().grab().toImage();
    EXPECT_TRUE(nearlyRed(shown.pixel(2 * (10 + 200), 2 * (50 + 140))));
}

TEST(ScaledWindow, ManyStrokesAreRescaledAtOnceAndDrawnSharplySoonAfter) {
    auto scribble = [](ScaledSession& s, int segments) {
        Form1& form = s.form();
        form.userClickCommand(3);
        form.pointerMove(400, 300);
        form.pointerPress(kLeftButton, 400, 300);
        for (int i = 1; i <= segments; ++i) {
            const double t = i * 0.01;
            form.pointerMove(static_cast<float>(400 + 350 * std::sin(3 * t)),
                             static_cast<float>(310 + 280 * std::sin(4 * t + 0.5)));
        }
        form.pointerRelease(kLeftButton, 400, 300);
        s.window().syncFromForm();
        settle();
    };
    const int segments = static_cast<int>(StrokeLayer::kRedrawSlice) * 2 + 100;
    ScaledSession atTwo(scaledWindow(2));
    scribble(atTwo, segments);
    const QImage drawnAtTwo = atTwo.window().canvas()->strokeLayer().image();

    ScaledSession s(QSize(891, 687));
    scribble(s, segments);
    const StrokeLayer& layer = s.window().canvas()->strokeLayer();
    ASSERT_EQ(layer.keptSegmentCount(), static_cast<std::size_t>(segments));
    s.window().resize(scaledWindow(2));
    s.window().canvas()->repaint();
    // Too many to draw again at once: the old image stands in, rescaled.
    EXPECT_TRUE(layer.redrawing());
    EXPECT_EQ(layer.image().size(), drawnAtTwo.size());
    EXPECT_NE(layer.image(), drawnAtTwo);
    // A pen segment drawn meanwhile is in the sharp image too.
    s.form().pointerMove(10, 10);
    s.form().pointerPress(kLeftButton, 10, 10);
    s.form().pointerMove(30, 30);
    s.form().pointerRelease(kLeftButton, 30, 30);
    atTwo.form().pointerMove(10, 10);
    atTwo.form().pointerPress(kLeftButton, 10, 10);
    atTwo.form().pointerMove(30, 30);
    atTwo.form().pointerRelease(kLeftButton, 30, 30);
    QTRY_VERIFY_WITH_TIMEOUT(!layer.redrawing(), 10000);
    EXPECT_EQ(layer.image(), atTwo.window().canvas()->strokeLayer().image());
}

TEST(ScaledWindow, BeyondTheKeptSegmentsTheLayerIsRescaledInstead) {
    ScaledSession s(QSize(891, 687));
    StrokeLayer& layer = s.window().canvas()->strokeLayer();
    layer.setKeepLimit(100);
    click(s.window().command(3));
    s.drag({100, 200}, {700, 200}, 150);
    EXPECT_FALSE(layer.keepsEveryStroke());
    EXPECT_EQ(layer.keptSegmentCount(), 0U);
    EXPECT_EQ(s.form().gamen.segmentsSinceCls(), 150U);

    s.window().resize(scaledWindow(2));
    settle();
    EXPECT_FALSE(layer.redrawing());
    EXPECT_EQ(layer.scale(), 2.0);
    // The stroke is still there, twice as far out.
    const QImage shown = s.window().grab().toImage();
    EXPECT_TRUE(nearlyRed(shown.pixel(2 * (10 + 400), 2 * (50 + 200))));
    EXPECT_TRUE(sameColour(shown.pixel(2 * (10 + 400), 2 * (50 + 210)), kWhite));

    // The reset wipes the board, and strokes are kept again.
    click(s.window().command(1));
    EXPECT_TRUE(layer.keepsEveryStroke());
    click(s.window().command(3));
    s.drag({100, 300}, {200, 300}, 10);
    EXPECT_EQ(layer.keptSegmentCount(), 10U);
}

TEST(ScaledWindow, ControlsKeepWorkingWithMouseTouchAndKeyboard) {
    ScaledSession s(scaledWindow(2));
    MainWindow& w = s.window();
    click(w.command(5));  // 直線
    EXPECT_EQ(s.form().lineMode, 1);
    click(w.option2(1));  // 緑
    EXPECT_TRUE(w.option2(1)->isChecked());
    EXPECT_EQ(s.form().lineColor, 10);

    // The keyboard: a check box takes the focus and Space clicks it.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.check1(2)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.check1(2), Qt::Key_Space);
    EXPECT_EQ(s.form().Check1(2).Value(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.check1(3));

    // A touch drag of q by 20 canvas pixels, 40 screen pixels. The window is
    // moved up so that q lies on the (small) screen, where touches land.
    click(w.command(5));  // the tool off again
    w.move(w.x(), w.y() - 400);
    settle();
    QPointingDevice* touchscreen = QTest::createTouchDevice();
    const QPoint start = s.widgetPoint({10, 350}).toPoint();
    QTest::touchEvent(w.canvas(), touchscreen).press(0, start);
    QTest::touchEvent(w.canvas(), touchscreen).move(0, start + QPoint(0, 20));
    QTest::touchEvent(w.canvas(), touchscreen).move(0, start + QPoint(0, 40));
    QTest::touchEvent(w.canvas(), touchscreen).release(0, start + QPoint(0, 40));
    settle();
    EXPECT_EQ(s.form().fig.parallelQY, 370);
    EXPECT_EQ(s.form().heldButtons(), 0);
}

TEST(ScaledWindow, F11TogglesFullScreen) {
    ScaledSession s(QSize(891, 687));
    MainWindow& w = s.window();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.canvas()->setFocus();
    QTest::keyClick(w.canvas(), Qt::Key_F11);
    settle();
    EXPECT_TRUE(w.windowState().testFlag(Qt::WindowFullScreen));
    // The layout follows the window's new size.
    EXPECT_EQ(w.clientScale(), Viewport::fit(w.width(), w.height()));
    EXPECT_EQ(w.canvas()->geometry().topLeft(),
              toQRect(w.clientScale().place(8, 48, 806, 630)).topLeft());

    QTest::keyClick(w.command(1), Qt::Key_F11);  // whichever control has the focus
    settle();
    EXPECT_FALSE(w.windowState().testFlag(Qt::WindowFullScreen));
    // Escape leaves things as they are.
    QTest::keyClick(w.canvas(), Qt::Key_F11);
    QTest::keyClick(w.canvas(), Qt::Key_Escape);
    settle();
    EXPECT_TRUE(w.windowState().testFlag(Qt::WindowFullScreen));
}

}  // namespace
}  // namespace heikosen::qt::testing
