#pragma once

// A shown main window and the means to drive it like a pupil does: real clicks
// on its widgets, mouse drags on the canvas as explicit mouse events carrying
// their buttons, and the pixels that end up on screen.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <functional>
#include <memory>

#include "ui/qt/main_window.h"

namespace heikosen::qt::testing {

// Where the canvas's drawing area starts in the window's client area.
inline constexpr int kCanvasOriginX = 10;
inline constexpr int kCanvasOriginY = 50;

inline bool sameColour(QRgb pixel, Rgb rgb) {
    return (pixel & 0xFFFFFFU) == (rgb & 0xFFFFFFU);
}

// Strokes are antialiased at their edges: a stroke's middle is close to its colour.
inline bool nearlyRed(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

inline QRgb canvasPixel(const QImage& image, int x, int y) {
    return image.pixel(kCanvasOriginX + x, kCanvasOriginY + y);
}

inline bool anyCanvasPixelNear(const QImage& image, int x, int y, int radius,
                               const std::function<bool(QRgb)>& wanted) {
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            if (wanted(canvasPixel(image, x + dx, y + dy))) {
                return true;
            }
        }
    }
    return false;
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = std::make_unique<MainWindow>();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        settle();
    }

    void TearDown() override {
        // Whatever a test pressed is let go before the window goes.
        for (int button : {kLeftButton, kRightButton, kMiddleButton}) {
            if ((form().heldButtons() & button) != 0) {
                const Qt::MouseButton qtButton = button == kLeftButton    ? Qt::LeftButton
                                                 : button == kRightButton ? Qt::RightButton
                                                                          : Qt::MiddleButton;
                send(QEvent::MouseButtonRelease, lastCanvasPoint_, qtButton, Qt::NoButton);
            }
        }
        window_.reset();
    }

    MainWindow& window() { return *window_; }
    Form1& form() { return window_->form(); }
    CanvasWidget& canvas() { return *window_->canvas(); }

    // Lets pending repaints reach the screen.
    static void settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(5);
        }
    }

    // What the window shows on screen now, client pixel for client pixel. This is
    // what the window's own repaints left there, not a fresh rendering.
    QImage onScreen() {
        settle();
        return window_->screen()
            ->grabWindow(window_->winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // A fresh rendering of the whole window.
    QImage rendered() { return window_->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // --- Mouse on the canvas, positions in canvas drawing pixels ---
    void send(QEvent::Type type, QPointF canvasPoint, Qt::MouseButton button,
              Qt::MouseButtons buttons) {
        const QPointF local = canvasPoint + QPointF(2, 2);
        QMouseEvent event(type, local, canvas().mapToGlobal(local), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&canvas(), &event);
        lastCanvasPoint_ = canvasPoint;
    }
    void hover(double x, double y) { send(QEvent::MouseMove, {x, y}, Qt::NoButton, Qt::NoButton); }
    void press(double x, double y, Qt::MouseButton button = Qt::LeftButton) {
        send(QEvent::MouseButtonPress, {x, y}, button, button);
    }
    void moveHeld(double x, double y, Qt::MouseButtons buttons = Qt::LeftButton) {
        send(QEvent::MouseMove, {x, y}, Qt::NoButton, buttons);
    }
    void release(double x, double y, Qt::MouseButton button = Qt::LeftButton) {
        send(QEvent::MouseButtonRelease, {x, y}, button, Qt::NoButton);
    }
    // Hover to the start, press, move there in steps, release.
    void drag(QPointF from, QPointF to, int steps = 4, Qt::MouseButton button = Qt::LeftButton) {
        hover(from.x(), from.y());
        press(from.x(), from.y(), button);
        for (int i = 1; i <= steps; ++i) {
            const QPointF at = from + (to - from) * (static_cast<double>(i) / steps);
            moveHeld(at.x(), at.y(), button);
        }
        release(to.x(), to.y(), button);
    }

    // A real click on one of the window's buttons, option buttons or check boxes.
    static void click(QAbstractButton* widget) {
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                          QPoint(widget->width() / 2, widget->height() / 2));
        settle();
    }

  private:
    std::unique_ptr<MainWindow> window_;
    QPointF lastCanvasPoint_;
};

}  // namespace heikosen::qt::testing
