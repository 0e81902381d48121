// The window on a screen of higher density (device pixel ratio 2, 1.5 or 1.25):
// the same pixels as on an ordinary screen, multiplied, with nothing blurred,
// and the pointer landing on the same canvas pixels.

#include <QBackingStore>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "qt/window_fixture.h"

namespace heikosen::qt::testing {
namespace {

class HighDensity : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ratio_ = window().devicePixelRatioF();
    }

    qreal ratio() const { return ratio_; }

    // The device pixel in the middle of window pixel (x, y).
    QRgb at(const QImage& image, double x, double y) const {
        return image.pixel(static_cast<int>(std::floor((x + 0.5) * ratio_)),
                           static_cast<int>(std::floor((y + 0.5) * ratio_)));
    }
    QRgb atCanvas(const QImage& image, double x, double y) const {
        return at(image, kCanvasOriginX + x, kCanvasOriginY + y);
    }

    // A fresh rendering of the window, at the screen's density.
    QImage renderedAtDensity() {
        return window().grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // What the window's repaints left in its backing store.
    QImage repaintedAtDensity() {
        settle();
        const auto* store = dynamic_cast<QImage*>(window().backingStore()->paintDevice());
        if (store == nullptr) {
            ADD_FAILURE() << "the backing store is not an image";
            return {};
        }
        return store->convertToFormat(QImage::Format_RGB32);
    }

  private:
    qreal ratio_ = 1;
};

TEST_F(HighDensity, TheScreenIsAsDenseAsAsked) {
    const double asked = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    ASSERT_GT(asked, 1.0);
    EXPECT_DOUBLE_EQ(ratio(), asked);
    // The window keeps its size in the window's own pixels and is not scaled
    // itself: Qt multiplies it for the screen.
    EXPECT_EQ(window().size(), QSize(891, 687));
    EXPECT_EQ(window().clientScale().scale, 1.0);
    const QImage image = renderedAtDensity();
    EXPECT_EQ(image.width(), static_cast<int>(std::lround(891 * ratio())));
    EXPECT_EQ(image.height(), static_cast<int>(std::lround(687 * ratio())));
    // The strokes are drawn at the screen's density.
    EXPECT_EQ(canvas().strokeLayer().scale(), ratio());
}

TEST_F(HighDensity, ParallelsFrameAndCanvasAreTheOrdinaryPixelsMultiplied) {
    const QImage image = renderedAtDensity();
    for (int y : {275, 350, 500}) {
        for (int x : {100, 200, 450, 620, 700}) {
            // Rows y - 2 to y + 1 of the canvas are black, the rows beyond white.
            for (int dy = -2; dy <= 1; ++dy) {
                EXPECT_TRUE(sameColour(atCanvas(image, x, y + dy), kBlack)) << x << "," << y;
            }
            EXPECT_TRUE(sameColour(atCanvas(image, x, y - 3), kWhite)) << x << "," << y;
            EXPECT_TRUE(sameColour(atCanvas(image, x, y + 2), kWhite)) << x << "," << y;
            // Sharp: across the line every device pixel is black or white, and
            // the black ones are 4 window pixels' worth.
            const int column = static_cast<int>(std::floor((kCanvasOriginX + x + 0.5) * ratio()));
            int black = 0;
            for (int row = static_cast<int>((kCanvasOriginY + y - 5) * ratio());
                 row < static_cast<int>((kCanvasOriginY + y + 5) * ratio()); ++row) {
                const QRgb p = image.pixel(column, row);
                EXPECT_TRUE(sameColour(p, kBlack) || sameColour(p, kWhite)) << row;
                black += sameColour(p, kBlack) ? 1 : 0;
            }
            EXPECT_NEAR(black, 4 * ratio(), 1.0) << x << "," << y;
        }
    }
    // The white canvas.
    for (QPoint p :
         {QPoint(700, 50), QPoint(200, 600), QPoint(0, 0), QPoint(801, 625), QPoint(500, 150)}) {
        EXPECT_TRUE(sameColour(atCanvas(image, p.x(), p.y()), kWhite)) << p.x() << "," << p.y();
    }
    // The sunken frame and the light green beside it.
    EXPECT_TRUE(sameColour(at(image, 8, 300), 0x808080));
    EXPECT_TRUE(sameColour(at(image, 9, 300), 0x404040));
    EXPECT_TRUE(sameColour(at(image, 400, 48), 0x808080));
    EXPECT_TRUE(sameColour(at(image, 813, 300), 0xFFFFFF));
    EXPECT_TRUE(sameColour(at(image, 812, 300), 0xC0C0C0));
    EXPECT_TRUE(sameColour(at(image, 7, 300), kLightGreen));
    EXPECT_TRUE(sameColour(at(image, 814, 300), kLightGreen));
}

TEST_F(HighDensity, AStrokeIsDrawnAtTheScreensDensityPixelForPixel) {
    click(window().command(3));  // メモ
    drag({300, 200}, {420, 200}, 6);
    const QImage image = renderedAtDensity();
    EXPECT_TRUE(nearlyRed(atCanvas(image, 320, 200)));
    EXPECT_TRUE(sameColour(atCanvas(image, 350, 200), kBlack));  // l lies above the stroke
    EXPECT_TRUE(sameColour(atCanvas(image, 320, 203), kWhite));

    // Each pixel of the stroke layer is one device pixel on screen: where the
    // canvas starts within a device pixel is the layer's phase.
    const StrokeLayer& layer = canvas().strokeLayer();
    const QImage strokes = layer.image();
    const double originX = (kCanvasOriginX)*ratio();
    const double originY = (kCanvasOriginY)*ratio();
    EXPECT_DOUBLE_EQ(layer.phase().x(), originX - std::floor(originX));
    EXPECT_DOUBLE_EQ(layer.phase().y(), originY - std::floor(originY));
    const int left = static_cast<int>(std::floor(300 * ratio()));
    const int right = static_cast<int>(std::ceil(340 * ratio()));
    const int top = static_cast<int>(std::floor(195 * ratio()));
    const int bottom = static_cast<int>(std::ceil(205 * ratio()));
    int partly = 0;
    for (int j = top; j < bottom; ++j) {
        for (int i = left; i < right; ++i) {
            const QRgb ink = strokes.pixel(i, j);
            // The layer over the white canvas.
            const int alpha = qAlpha(ink);
            const QRgb expected =
                qRgb(qRed(ink) + 255 - alpha, qGreen(ink) + 255 - alpha, qBlue(ink) + 255 - alpha);
            const QRgb shown = image.pixel(static_cast<int>(std::floor(originX)) + i,
                                           static_cast<int>(std::floor(originY)) + j);
            EXPECT_NEAR(qRed(shown), qRed(expected), 1) << i << "," << j;
            EXPECT_NEAR(qGreen(shown), qGreen(expected), 1) << i << "," << j;
            EXPECT_NEAR(qBlue(shown), qBlue(expected), 1) << i << "," << j;
            partly += alpha > 0 && alpha < 255 ? 1 : 0;
        }
    }
    // Only the stroke's antialiased rims are partly covered: about one device
    // pixel on each side of a 3 pixel pen.
    EXPECT_LE(partly, 2 * 2 * (right - left));
}

TEST_F(HighDensity, ThePointerLandsOnTheSameCanvasPixels) {
    hover(123.5, 77.25);
    EXPECT_EQ(form().lastX, 123.5F);
    EXPECT_EQ(form().lastY, 77.25F);
    drag({10, 275}, {10, 305}, 3);
    EXPECT_EQ(form().fig.parallelPY, 305);
    drag({400, 125}, {430, 131}, 6);
    EXPECT_NEAR(form().fig.transLX1, 430.0, 1e-9);
    EXPECT_NEAR(form().fig.pointBX, 250.0, 1e-9);

    // The window made larger as well: twice the size, on this screen.
    window().resize(891 * 2, 687 * 2);
    settle();
    ASSERT_EQ(window().clientScale().scale, 2.0);
    const QPointF start = (QPointF(10, 350) + QPointF(2, 2)) * 2.0;
    for (const auto& [type, at, button, buttons] :
         {std::tuple{QEvent::MouseMove, start, Qt::NoButton, Qt::MouseButtons(Qt::NoButton)},
          std::tuple{QEvent::MouseButtonPress, start, Qt::LeftButton,
                     Qt::MouseButtons(Qt::LeftButton)},
          std::tuple{QEvent::MouseMove, start + QPointF(0, 41), Qt::NoButton,
                     Qt::MouseButtons(Qt::LeftButton)},
          std::tuple{QEvent::MouseButtonRelease, start + QPointF(0, 41), Qt::LeftButton,
                     Qt::MouseButtons(Qt::NoButton)}}) {
        QMouseEvent event(type, at, canvas().mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&canvas(), &event);
    }
    EXPECT_EQ(form().fig.parallelQY, 370.5);
}

TEST_F(HighDensity, RepaintsPieceByPieceMatchAFreshRendering) {
    drag({10, 275}, {10, 240}, 4);
    drag({400, 125}, {455, 125}, 5);
    click(window().command(4));  // 方眼
    click(window().command(3));  // メモ
    drag({100, 560}, {300, 600}, 8);
    click(window().option1(7));  // the wide eraser
    hover(500, 400);
    click(window().command(5));  // 直線
    drag({600, 100}, {700, 200}, 3);
    const QImage repainted = repaintedAtDensity();
    const QImage fresh = renderedAtDensity();
    ASSERT_EQ(repainted.size(), fresh.size());
    EXPECT_EQ(repainted, fresh);
}

TEST_F(HighDensity, TheCanvasKeptAfterStrokesAndAWipeMatchesOnePaintedAfresh) {
    // Each step repainted before the next, as a pupil's hand moves.
    const auto dragSlowly = [this](QPointF from, QPointF to, int steps) {
        hover(from.x(), from.y());
        press(from.x(), from.y());
        for (int i = 1; i <= steps; ++i) {
            const QPointF at = from + (to - from) * (static_cast<double>(i) / steps);
            moveHeld(at.x(), at.y());
            settle();
        }
        release(to.x(), to.y());
        settle();
    };
    // A stroke, the board wiped, a stroke on the wiped board away from l, and
    // l moved: each must reach the picture the canvas keeps of itself.
    click(window().command(3));  // メモ
    dragSlowly({100, 560}, {300, 600}, 6);
    click(window().command(1));  // 初期画面
    click(window().command(3));
    ASSERT_EQ(form().memoMode, 1);
    dragSlowly({560, 420}, {760, 460}, 6);
    click(window().command(3));
    dragSlowly({400, 125}, {455, 125}, 5);

    // Shown, the canvas copies the picture it keeps of itself; hidden, it is
    // painted afresh, control by control over the board. Both where the canvas
    // stands in the window.
    const auto inPlace = [this] {
        QImage image(window().size() * ratio(), QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio());
        image.fill(Qt::black);
        canvas().render(&image, canvas().mapTo(&window(), QPoint(0, 0)));
        return image;
    };
    const QImage kept = inPlace();
    canvas().hide();
    const QImage painted = inPlace();
    canvas().show();
    EXPECT_EQ(kept, painted);
}

}  // namespace
}  // namespace heikosen::qt::testing
