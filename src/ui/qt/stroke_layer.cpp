#include "ui/qt/stroke_layer.h"

#include <QPainter>
#include <utility>

#include "ui/qt/canvas_widget.h"
#include "ui/qt/scene_painter.h"

namespace heikosen::qt {

StrokeLayer::StrokeLayer(CanvasWidget& canvas, const QColor& background)
    : canvas_(canvas), background_(background) {
    redrawTimer_.setSingleShot(true);
    QObject::connect(&redrawTimer_, &QTimer::timeout, [this] { redrawSlice(); });
}

void StrokeLayer::paintKept(QImage& image, std::size_t first, std::size_t end) const {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(phase());
    painter.scale(scale(), scale());
    for (std::size_t i = first; i < end; ++i) {
        const StrokeSegment& segment = kept(i);
        const QPointF from(segment.x1, segment.y1);
        const QPointF to(segment.x2, segment.y2);
        painter.setPen(QPen(toQColor(segment.color), segment.width, Qt::SolidLine, Qt::RoundCap,
                            Qt::RoundJoin));
        if (from == to) {
            painter.drawPoint(from);
        } else {
            painter.drawLine(QLineF(from, to));
        }
    }
}

QImage StrokeLayer::blankImage() const {
    const QSize size = toQRect(raster_.pixels(canvasSize_.width(), canvasSize_.height())).size();
    QImage image(size, QImage::Format_RGB32);
    image.fill(background_);
    return image;
}

void StrokeLayer::setResolution(QSizeF canvasSize, const StrokeRaster& raster) {
    if (canvasSize_ == canvasSize && raster_ == raster) {
        return;
    }
    stopRedraw();
    const QImage before = std::move(image_);
    const StrokeRaster rasterBefore = raster_;
    canvasSize_ = canvasSize;
    raster_ = raster;
    setArea(static_cast<float>(canvasSize.width()), static_cast<float>(canvasSize.height()));
    if (blank()) {
        // A blank board has no image: the first stroke makes one.
        image_ = QImage();
        return;
    }
    image_ = blankImage();
    if (redrawsAtOnce()) {
        // Every stroke on the board is kept: draw them again at the new resolution.
        paintKept(image_, 0, keptSegmentCount());
        return;
    }
    if (!before.isNull() && rasterBefore.scale > 0) {
        // The old image, rescaled, stands in until the sharp one is drawn; when
        // the list was dropped, for good.
        QPainter painter(&image_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(
            toQRectF(raster.stretchedFrom(rasterBefore, before.width(), before.height())), before);
    }
    if (keepsEveryStroke()) {
        startRedraw();
    }
}

bool StrokeLayer::paint(QPainter& painter, const QRect& dirty) const {
    // A blank board is the background alone.
    if (image_.isNull() || blank() || !(scale() > 0)) {
        return false;
    }
    // The layer's pixels under the canvas pixels being repainted, and the
    // canvas rectangle they cover exactly. At the layer's own resolution each
    // of them falls on one device pixel and is copied; only drawing at another
    // resolution (printing) smooths them, over the background.
    const QRect source =
        toQRect(raster_.pixelsUnder(fromQRectF(QRectF(dirty)))).intersected(image_.rect());
    if (source.isEmpty()) {
        return false;
    }
    const bool smooth = !raster_.atScale(deviceScale(painter));
    if (smooth) {
        painter.fillRect(dirty, background_);
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.drawImage(toQRectF(raster_.canvasOver(fromQRect(source))), image_, QRectF(source));
    painter.restore();
    return true;
}

void StrokeLayer::startRedraw() {
    setRedrawing(true);
    redraw_ = blankImage();
    redrawTimer_.start(0);
}

void StrokeLayer::stopRedraw() {
    setRedrawing(false);
    redrawTimer_.stop();
    redraw_ = QImage();
}

void StrokeLayer::redrawSlice() {
    if (!redrawing()) {
        return;
    }
    const Slice slice = nextRedrawSlice();
    paintKept(redraw_, slice.first, slice.end);
    if (redrawing()) {
        redrawTimer_.start(0);
        return;
    }
    image_ = std::move(redraw_);
    stopRedraw();
    canvas_.updateDrawingArea();
}

void StrokeLayer::segmentKept(const StrokeSegment& segment) {
    if (!keepsEveryStroke()) {
        // The image alone holds the strokes now: a sharp one cannot be drawn.
        stopRedraw();
    }
    if (scale() > 0) {
        if (image_.isNull()) {
            image_ = blankImage();
        }
        // The segment is the last one kept.
        paintKept(image_, keptSegmentCount() - 1, keptSegmentCount());
        canvas_.repaintCanvas(toQRectF(strokeReach(segment).rect()).toAlignedRect());
    }
    markDrawn();
}

void StrokeLayer::wiped() {
    stopRedraw();
    image_.fill(background_);
    canvas_.updateDrawingArea();
}

}  // namespace heikosen::qt
