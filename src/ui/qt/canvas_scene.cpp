#include "ui/qt/canvas_scene.h"

#include <QPaintEngine>
#include <QPen>
#include <QString>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/qt/fonts.h"

namespace heikosen::qt {

namespace {

// Scaled letter pictures kept at most; a new scale of the window starts afresh.
constexpr std::size_t kMaxScaledPictures = 64;

const char* letterResource(Letter letter) {
    switch (letter) {
        case Letter::Ell:
            return ":/letters/ell.png";
        case Letter::M:
            return ":/letters/m.png";
        case Letter::P:
            return ":/letters/p.png";
        case Letter::Q:
            return ":/letters/q.png";
        case Letter::R:
            return ":/letters/r.png";
    }
    return ":/letters/p.png";
}

// A grey picture made at a whole multiple of `size` (the letter pictures are 8
// times their size: 8 times at a ratio of 1, 4 times at 2), shrunk to `size`
// by averaging each block of pixels. For a whole factor that is what smooth
// scaling gives, at a fraction of its cost, which counts at start-up. Returns
// a null image for any other picture or size.
QImage shrinkByWholeFactor(const QImage& picture, QSize size) {
    if (picture.format() != QImage::Format_Grayscale8 || size.isEmpty() ||
        picture.width() % size.width() != 0 || picture.height() % size.height() != 0 ||
        picture.width() / size.width() != picture.height() / size.height()) {
        return {};
    }
    const int factor = picture.width() / size.width();
    const int area = factor * factor;
    QImage shrunk(size, QImage::Format_RGB32);
    std::vector<int> sums(static_cast<std::size_t>(size.width()));
    for (int y = 0; y < size.height(); ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int dy = 0; dy < factor; ++dy) {
            const uchar* row = picture.constScanLine(y * factor + dy);
            for (int x = 0; x < size.width(); ++x) {
                const uchar* block = row + static_cast<std::ptrdiff_t>(x) * factor;
                int sum = 0;
                for (int dx = 0; dx < factor; ++dx) {
                    sum += block[dx];
                }
                sums[static_cast<std::size_t>(x)] += sum;
            }
        }
        auto* out = reinterpret_cast<QRgb*>(shrunk.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int grey = (sums[static_cast<std::size_t>(x)] + area / 2) / area;
            out[x] = qRgb(grey, grey, grey);
        }
    }
    return shrunk;
}

// How many device pixels one canvas pixel covers under this painter: more than
// one in a larger window, on a high-density screen or on paper.
qreal deviceScale(const QPainter& painter) {
    return std::sqrt(std::fabs(painter.deviceTransform().determinant()));
}

// A pen one pixel wide lights the pixel to the right of and below its points.
// Drawn wider than one device pixel it is moved half a canvas pixel across its
// direction, so that it covers that same pixel, scaled.
QPointF hairlineShift(const QPainter& painter, int width, QPointF from, QPointF to) {
    if (width != 1 || deviceScale(painter) <= 1.0) {
        return {};
    }
    const QPointF d = to - from;
    return std::fabs(d.x()) >= std::fabs(d.y()) ? QPointF(0, 0.5) : QPointF(0.5, 0);
}

// Cuts the segment p1-p2 to the rectangle `box` (Liang-Barsky). Returns false
// when nothing of it lies inside.
bool clipSegment(QPointF& p1, QPointF& p2, const QRectF& box) {
    const double dx = p2.x() - p1.x();
    const double dy = p2.y() - p1.y();
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {p1.x() - box.left(), box.right() - p1.x(), p1.y() - box.top(),
                         box.bottom() - p1.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return false;
            }
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, r);
        } else {
            t1 = std::min(t1, r);
        }
        if (t0 > t1) {
            return false;
        }
    }
    const QPointF start = p1;
    p1 = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    p2 = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    return true;
}

void drawLine(QPainter& painter, const LineItem& line, const QRectF& area) {
    const int width = std::max(1, line.width);
    QPointF p1(line.x1, line.y1);
    QPointF p2(line.x2, line.y2);
    if (!std::isfinite(p1.x()) || !std::isfinite(p1.y()) || !std::isfinite(p2.x()) ||
        !std::isfinite(p2.y())) {
        return;
    }
    // Only the part near the drawing area is drawn: a line parked or dragged far
    // away costs nothing, and its ends (beyond the margin) stay out of sight.
    const qreal margin = width + 2;
    if (!clipSegment(p1, p2, area.adjusted(-margin, -margin, margin, margin))) {
        return;
    }
    const QColor colour = toQColor(line.color);
    QPen pen(colour);
    pen.setWidth(width);
    pen.setStyle(line.style == BorderStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    // A wide line ends round, like a stroke of a pen; a hairline ends square on
    // its last pixel. The round ends are discs over a flat-ended line: Qt draws
    // flat-ended lines by a fast path, round-ended ones through its general
    // stroker at about three times the cost, which made the lines the dearest
    // part of a repaint.
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    const QPointF shift = hairlineShift(painter, width, p1, p2);
    p1 += shift;
    p2 += shift;
    if (p1 != p2) {
        painter.drawLine(QLineF(p1, p2));
    } else if (width == 1) {
        painter.drawPoint(p1);
    }
    if (width > 1) {
        const qreal radius = width / 2.0;
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(p1, radius, radius);
        painter.drawEllipse(p2, radius, radius);
        painter.setBrush(Qt::NoBrush);
    }
}

// The whole device pixels a box covers: its corners rounded half up, so that
// it covers the same pixels wherever the device's origin lies (the canvas's
// composed picture and the screen); at least one pixel each way.
QRect devicePixels(const QTransform& toDevice, const QRect& box) {
    const QRectF exact = toDevice.mapRect(QRectF(box));
    const auto round = [](qreal v) { return static_cast<int>(std::floor(v + 0.5)); };
    const QPoint topLeft(round(exact.left()), round(exact.top()));
    const QPoint bottomRight(round(exact.right()), round(exact.bottom()));
    return {topLeft, QSize(std::max(1, bottomRight.x() - topLeft.x()),
                           std::max(1, bottomRight.y() - topLeft.y()))};
}

void drawLabel(QPainter& painter, const CanvasItem& item, const LabelItem& label,
               LabelPictures& pictures, const QRect& area) {
    const QRect rect = toQRect(pixelBox(label.box));
    if (rect.isEmpty() || !rect.intersects(area)) {
        return;
    }
    // On screen the label is a picture made once. On paper, or turned, the text
    // is drawn afresh: it stays text in a printed file.
    const QTransform toDevice = painter.deviceTransform();
    if (painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::Raster &&
        toDevice.type() <= QTransform::TxScale) {
        const QRect pixels = devicePixels(toDevice, rect);
        const QImage& picture = pictures.picture(item.control, label, rect.size(), pixels.size(),
                                                 QSizeF(toDevice.m11(), toDevice.m22()));
        const QRectF target = toDevice.inverted().mapRect(QRectF(pixels));
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, picture, QRectF(picture.rect()));
        painter.restore();
        return;
    }
    // An opaque label's background hides what lies beneath it.
    if (label.opaque) {
        painter.fillRect(rect, toQColor(label.backColor));
    }
    if (label.caption.empty()) {
        return;
    }
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setFont(toQFont(label.font));
    painter.setPen(toQColor(label.foreColor));
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(label.caption));
    painter.restore();
}

void drawPicture(QPainter& painter, const PictureItem& image, LetterPictures& pictures,
                 const QRect& area) {
    const QRect rect = toQRect(pixelBox(image.box));
    if (rect.isEmpty() || !rect.intersects(area)) {
        return;
    }
    // The picture is made for the device pixels it covers, rounded to whole
    // ones, and put there pixel for pixel: sharp at every scale.
    const QTransform toDevice = painter.deviceTransform();
    const QRect pixels = devicePixels(toDevice, rect);
    const QImage& picture = pictures.picture(image.letter, pixels.size());
    const QRectF target = toDevice.inverted().mapRect(QRectF(pixels));
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, picture, QRectF(picture.rect()));
    painter.restore();
}

void drawEllipse(QPainter& painter, const EllipseItem& shape, const QRect& area) {
    const QRect box = toQRect(pixelBox(shape.box));
    const int diameter = std::min(box.width(), box.height());
    if (diameter <= 0 || !box.intersects(area)) {
        return;
    }
    // The largest circle that fits the box, centred in it.
    const int left = box.left() + (box.width() - diameter) / 2;
    const int top = box.top() + (box.height() - diameter) / 2;
    const int width = std::max(1, shape.width);
    QPen pen(toQColor(shape.color));
    pen.setWidth(width);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // An outline of width 1 around this rectangle covers `diameter` pixels.
    const QPointF shift = width == 1 && deviceScale(painter) > 1.0 ? QPointF(0.5, 0.5) : QPointF();
    painter.drawEllipse(QRectF(left, top, diameter - 1, diameter - 1).translated(shift));
}

}  // namespace

QColor toQColor(Rgb rgb) {
    return QColor::fromRgb(static_cast<int>((rgb >> 16U) & 0xFFU),
                           static_cast<int>((rgb >> 8U) & 0xFFU), static_cast<int>(rgb & 0xFFU));
}

const QImage& LetterPictures::picture(Letter letter, QSize deviceSize) {
    const auto key =
        std::make_tuple(static_cast<int>(letter), deviceSize.width(), deviceSize.height());
    auto found = scaled_.find(key);
    if (found != scaled_.end()) {
        return found->second;
    }
    if (scaled_.size() >= kMaxScaledPictures) {
        scaled_.clear();
    }
    QImage& original = originals_[static_cast<int>(letter)];
    if (original.isNull()) {
        original = QImage(QString::fromLatin1(letterResource(letter)));
    }
    QImage image;
    if (original.isNull()) {
        // Without its picture the control still shows its white ground.
        image = QImage(deviceSize, QImage::Format_RGB32);
        image.fill(Qt::white);
    } else {
        image = shrinkByWholeFactor(original, deviceSize);
        if (image.isNull()) {
            image = original.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
    }
    return scaled_.emplace(key, std::move(image)).first->second;
}

const QImage& LabelPictures::picture(const ControlId& control, const LabelItem& label,
                                     QSize canvasSize, QSize deviceSize, QSizeF deviceScale) {
    Entry& entry = pictures_[{static_cast<int>(control.control), control.index}];
    if (!entry.image.isNull() && entry.label == label && entry.canvasSize == canvasSize &&
        entry.deviceSize == deviceSize && entry.deviceScale == deviceScale) {
        return entry.image;
    }
    entry.label = label;
    entry.canvasSize = canvasSize;
    entry.deviceSize = deviceSize;
    entry.deviceScale = deviceScale;
    entry.image = QImage(deviceSize, QImage::Format_RGB32);
    entry.image.fill(toQColor(label.backColor));
    if (!label.caption.empty()) {
        // Drawn as it would be on the device, with the label's corner at the
        // picture's corner.
        QPainter painter(&entry.image);
        painter.scale(deviceScale.width(), deviceScale.height());
        const QRect rect(QPoint(0, 0), canvasSize);
        painter.setClipRect(rect);
        painter.setFont(toQFont(label.font));
        painter.setPen(toQColor(label.foreColor));
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(label.caption));
    }
    return entry.image;
}

void paintCanvasItems(QPainter& painter, const CanvasScene& scene, QSize areaSize,
                      LetterPictures& pictures, LabelPictures& labels) {
    const QRect area(QPoint(0, 0), areaSize);
    const QRectF lineArea(area);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const CanvasItem& item : scene) {
        if (const auto* line = std::get_if<LineItem>(&item.shape)) {
            drawLine(painter, *line, lineArea);
        } else if (const auto* label = std::get_if<LabelItem>(&item.shape)) {
            drawLabel(painter, item, *label, labels, area);
        } else if (const auto* picture = std::get_if<PictureItem>(&item.shape)) {
            drawPicture(painter, *picture, pictures, area);
        } else {
            drawEllipse(painter, std::get<EllipseItem>(item.shape), area);
        }
    }
    painter.restore();
}

QRect toQRect(const PixelRect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

}  // namespace heikosen::qt
