#pragma once

// The canvas `gamen` on screen: a sunken frame, the white drawing area, the
// strokes drawn with the pens, and the figure's controls above them. Mouse,
// pen and touch input on it, which Qt hands the widget as its one mouse, goes
// to the core's pointer input in canvas pixels; its keys, which the window
// hands to the core's rules, move the figure's handles, and reached or used
// with the keyboard, its frame shows a focus ring. It tells assistive
// technology the figure in words.
//
// A repaint copies the strokes' picture (the board's background with the
// strokes on it) under the pixels being painted, or fills the background of a
// blank board, and draws the controls over it.

#include <QWidget>

#include "ui/canvas_scene.h"
#include "ui/pointer_input.h"
#include "ui/qt/scene_painter.h"
#include "ui/qt/stroke_layer.h"
#include "ui/qt/window_geometry.h"

namespace heikosen {
class Form1;
}

namespace heikosen::qt {

class CanvasWidget final : public QWidget {
    Q_OBJECT

  public:
    CanvasWidget(Form1& form, QWidget* parent = nullptr);
    ~CanvasWidget() override;
    CanvasWidget(const CanvasWidget&) = delete;
    CanvasWidget& operator=(const CanvasWidget&) = delete;

    StrokeLayer& strokeLayer() { return strokes_; }
    const StrokeLayer& strokeLayer() const { return strokes_; }
    // Shows the canvas multiplied by the window's scale factor.
    void setScale(double factor);
    // The canvas's drawing pixels against the widget's pixels at this scale.
    CanvasMapping mapping() const;
    // Repaints what changed on the canvas since the last refresh.
    void refresh();
    // Repaints a part of the drawing area, given in canvas pixels.
    void repaintCanvas(const QRegion& canvasRegion);
    void updateDrawingArea();
    // The drawing area in the widget's pixels.
    QRect drawingArea() const;
    // Shows the focus ring, or no longer; the frame is painted again.
    void showFocusRing(bool shown);

  signals:
    // The form handled a pointer event; the window brings itself up to date.
    void formChanged();

  protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // A mouse event as the core's pointer input takes it.
    PointerEvent pointerEvent(const QMouseEvent* event) const;
    // The drawing area, in canvas pixels.
    QRect area() const;
    void ensureStrokeLayer();
    // After a repaint of `painted` (the widget's pixels), readies the
    // window's picture for the next one while the window is idle.
    void settleAfter(const QRect& painted);

    Form1& form_;
    PointerInput pointer_;
    double scale_ = 1.0;
    // The focus ring on the frame: shown while the keyboard uses the canvas.
    bool focusRing_ = false;
    StrokeLayer strokes_;
    LetterPictures pictures_;
    LabelPictures labels_;
    DrawnScene drawn_;
    // The pixels of the last repaint, until the window's picture is readied.
    QRect settling_;
};

}  // namespace heikosen::qt
