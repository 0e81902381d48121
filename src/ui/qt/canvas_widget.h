#pragma once

// The canvas `gamen` on screen: a sunken frame, the white drawing area, the
// strokes drawn with the pens, and the figure's controls above them. Mouse and
// touch input on it goes to the form as pointer events in canvas pixels.

#include <QImage>
#include <QWidget>

#include "ui/qt/canvas_scene.h"

namespace heikosen {
class Form1;
}

namespace heikosen::qt {

class CanvasWidget;

// What the pens draw: an image of the drawing area beneath the controls. Each
// segment is drawn into it once, and only the pixels it touched are repainted.
class StrokeLayer final : public DrawingSurface {
  public:
    explicit StrokeLayer(CanvasWidget& canvas);

    void drawSegment(float x1, float y1, float x2, float y2, Rgb color, int width) override;
    void clear() override;

    const QImage& image() const { return image_; }
    // Gives the image the size of the drawing area at this pixel ratio; strokes
    // already drawn are kept.
    void resize(QSize logicalSize, qreal devicePixelRatio);

  private:
    CanvasWidget& canvas_;
    QImage image_;
};

class CanvasWidget final : public QWidget {
    Q_OBJECT

  public:
    CanvasWidget(Form1& form, QWidget* parent = nullptr);
    ~CanvasWidget() override;
    CanvasWidget(const CanvasWidget&) = delete;
    CanvasWidget& operator=(const CanvasWidget&) = delete;

    StrokeLayer& strokeLayer() { return strokes_; }
    // Repaints what changed on the canvas since the last refresh.
    void refresh();
    // Repaints a rectangle of the drawing area, given in canvas pixels.
    void updateCanvasRect(const QRectF& canvasRect);
    void updateDrawingArea();
    // The drawing area in the widget's pixels.
    QRect drawingArea() const;
    // Where a position on this widget lies in the canvas's drawing pixels.
    QPointF toCanvasPixels(QPointF widgetPosition) const;

  signals:
    // The form handled a pointer event; the window brings itself up to date.
    void formChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void paintFrame(QPainter& painter) const;
    void ensureStrokeLayer();

    Form1& form_;
    StrokeLayer strokes_;
    LetterPictures pictures_;
    CanvasSnapshot lastDrawn_;
};

}  // namespace heikosen::qt
