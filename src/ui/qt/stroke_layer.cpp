#include "ui/qt/stroke_layer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/qt/canvas_widget.h"
#include "ui/qt/scene_painter.h"

namespace heikosen::qt {

StrokeLayer::StrokeLayer(CanvasWidget& canvas, const QColor& background)
    : canvas_(canvas), background_(background) {
    redrawTimer_.setSingleShot(true);
    QObject::connect(&redrawTimer_, &QTimer::timeout, [this] { redrawSlice(); });
}

void StrokeLayer::setUpPainter(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(phase_);
    painter.scale(scale_, scale_);
}

void StrokeLayer::paintSegment(QPainter& painter, const StrokeSegment& segment) const {
    const QPointF from(segment.x1, segment.y1);
    const QPointF to(segment.x2, segment.y2);
    QPen pen(toQColor(segment.color), std::max(1, segment.width), Qt::SolidLine, Qt::RoundCap,
             Qt::RoundJoin);
    painter.setPen(pen);
    if (from == to) {
        painter.drawPoint(from);
    } else {
        painter.drawLine(QLineF(from, to));
    }
}

QSize StrokeLayer::pixelSize() const {
    return {static_cast<int>(std::ceil(canvasSize_.width() * scale_ + phase_.x())),
            static_cast<int>(std::ceil(canvasSize_.height() * scale_ + phase_.y()))};
}

QImage StrokeLayer::blankImage() const {
    QImage image(pixelSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void StrokeLayer::composeBoard(QRect pixels) {
    if (image_.isNull()) {
        board_ = QImage();
        return;
    }
    if (board_.size() != image_.size()) {
        board_ = QImage(image_.size(), QImage::Format_RGB32);
        pixels = QRect();
    }
    const QRect area = pixels.isNull() ? board_.rect() : pixels.intersected(board_.rect());
    if (area.isEmpty()) {
        return;
    }
    // The same blending as drawing the strokes over the background on screen.
    QPainter painter(&board_);
    painter.fillRect(area, background_);
    painter.drawImage(area.topLeft(), image_, area);
}

bool StrokeLayer::setResolution(QSizeF canvasSize, qreal scale, QPointF phase) {
    if (canvasSize_ == canvasSize && scale_ == scale && phase_ == phase) {
        return false;
    }
    stopRedraw();
    const QImage before = std::move(image_);
    const qreal scaleBefore = scale_;
    const QPointF phaseBefore = phase_;
    canvasSize_ = canvasSize;
    scale_ = scale;
    phase_ = phase;
    setArea(static_cast<float>(canvasSize.width()), static_cast<float>(canvasSize.height()));
    if (blank()) {
        // A blank board has no image: the first stroke makes one.
        image_ = QImage();
        board_ = QImage();
        return true;
    }
    image_ = blankImage();
    QPainter painter(&image_);
    if (redrawsAtOnce()) {
        // Every stroke on the board is kept: draw them again at the new resolution.
        setUpPainter(painter);
        for (std::size_t i = 0; i < keptSegmentCount(); ++i) {
            paintSegment(painter, kept(i));
        }
        painter.end();
        composeBoard();
        return true;
    }
    if (!before.isNull() && scaleBefore > 0) {
        // The old image, rescaled, stands in until the sharp one is drawn; when
        // the list was dropped, for good.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        const qreal ratio = scale / scaleBefore;
        const QPointF corner = phase - phaseBefore * ratio;
        painter.drawImage(QRectF(corner, QSizeF(before.size()) * ratio), before);
    }
    painter.end();
    composeBoard();
    if (keepsEveryStroke()) {
        startRedraw();
    }
    return true;
}

void StrokeLayer::startRedraw() {
    redraw_ = QImage(image_.size(), QImage::Format_ARGB32_Premultiplied);
    redraw_.fill(Qt::transparent);
    redrawn_ = 0;
    redrawTimer_.start(0);
}

void StrokeLayer::stopRedraw() {
    redrawTimer_.stop();
    redraw_ = QImage();
    redrawn_ = 0;
}

void StrokeLayer::redrawSlice() {
    if (redraw_.isNull()) {
        return;
    }
    {
        QPainter painter(&redraw_);
        setUpPainter(painter);
        const std::size_t end = redrawSliceEnd(redrawn_);
        for (; redrawn_ < end; ++redrawn_) {
            paintSegment(painter, kept(redrawn_));
        }
    }
    // Segments drawn meanwhile were kept too, so the sharp image is complete
    // once it has every kept one.
    if (redrawn_ < keptSegmentCount()) {
        redrawTimer_.start(0);
        return;
    }
    image_ = std::move(redraw_);
    stopRedraw();
    composeBoard();
    canvas_.updateDrawingArea();
}

void StrokeLayer::finishRedraw() {
    while (redrawing()) {
        redrawSlice();
    }
}

void StrokeLayer::segmentKept(const StrokeSegment& segment) {
    if (!keepsEveryStroke()) {
        // The image alone holds the strokes now: a sharp one cannot be drawn.
        stopRedraw();
    }
    markDrawn();
    if (!(scale_ > 0)) {
        return;
    }
    if (image_.isNull()) {
        image_ = blankImage();
    }
    {
        QPainter painter(&image_);
        setUpPainter(painter);
        paintSegment(painter, segment);
    }
    const StrokeReach reach = strokeReach(segment);
    const QRectF touched(QPointF(reach.left, reach.top), QPointF(reach.right, reach.bottom));
    // The image's pixels under the canvas rectangle the segment touched.
    composeBoard(QRectF(touched.x() * scale_ + phase_.x(), touched.y() * scale_ + phase_.y(),
                        touched.width() * scale_, touched.height() * scale_)
                     .toAlignedRect());
    canvas_.updateCanvasRect(touched);
}

void StrokeLayer::wiped() {
    stopRedraw();
    image_.fill(Qt::transparent);
    board_.fill(background_);
    canvas_.updateDrawingArea();
}

}  // namespace heikosen::qt
