#include "ui/qt/scene_painter.h"

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

// The offset of a pen's centre line from its points, as this painter needs it:
// a pen of one device pixel or less is drawn by Qt on the pixels its points
// fall in, which is where the moved pen lies; a wider one is drawn about its
// centre line.
QPointF penShift(const QPainter& painter, float x, float y) {
    return deviceScale(painter) > 1.0 ? QPointF(x, y) : QPointF();
}

void drawSegment(QPainter& painter, const SegmentItem& line) {
    const QColor colour = toQColor(line.color);
    QPen pen(colour);
    pen.setWidth(line.width);
    if (line.dashOff > 0) {
        // Qt counts a pattern in pen widths.
        pen.setDashPattern({line.dashOn / line.width, line.dashOff / line.width});
    }
    // Round ends are discs over a flat-ended line: Qt draws flat-ended lines by
    // a fast path, round-ended ones through its general stroker at about three
    // times the cost, which made the lines the dearest part of a repaint.
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    const QPointF shift = penShift(painter, line.shiftX, line.shiftY);
    const QPointF p1 = QPointF(line.x1, line.y1) + shift;
    const QPointF p2 = QPointF(line.x2, line.y2) + shift;
    if (p1 != p2) {
        painter.drawLine(QLineF(p1, p2));
    } else if (line.cap == LineCap::Flat) {
        painter.drawPoint(p1);
    }
    if (line.cap == LineCap::Round) {
        const qreal radius = line.width / 2.0;
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

void drawText(QPainter& painter, const CanvasItem& item, const TextItem& label,
              LabelPictures& pictures, const QRect& area) {
    const QRect rect = toQRect(label.box);
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
    const QRect rect = toQRect(image.box);
    if (rect.isEmpty() || !rect.intersects(area)) {
        return;
    }
    // The picture is made for the device pixels it covers, rounded to whole
    // ones, and put there pixel for pixel: sharp at every scale.
    const QTransform toDevice = painter.deviceTransform();
    const QRect pixels = devicePixels(toDevice, rect);
    const QImage& picture = pictures.picture(image, pixels.size());
    const QRectF target = toDevice.inverted().mapRect(QRectF(pixels));
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, picture, QRectF(picture.rect()));
    painter.restore();
}

void drawCircle(QPainter& painter, const CircleItem& circle, const QRect& area) {
    if (circle.radius < 0 || !toQRect(circle.box).intersects(area)) {
        return;
    }
    QPen pen(toQColor(circle.color));
    pen.setWidth(circle.width);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QPointF centre =
        QPointF(circle.centreX, circle.centreY) + penShift(painter, circle.shift, circle.shift);
    painter.drawEllipse(centre, circle.radius, circle.radius);
}

}  // namespace

QColor toQColor(Rgb rgb) {
    return QColor::fromRgb(static_cast<int>((rgb >> 16U) & 0xFFU),
                           static_cast<int>((rgb >> 8U) & 0xFFU), static_cast<int>(rgb & 0xFFU));
}

const QImage& LetterPictures::picture(const PictureItem& item, QSize deviceSize) {
    const int letter = static_cast<int>(item.letter);
    const auto key = std::make_tuple(letter, deviceSize.width(), deviceSize.height());
    auto found = scaled_.find(key);
    if (found != scaled_.end()) {
        return found->second;
    }
    if (scaled_.size() >= kMaxScaledPictures) {
        scaled_.clear();
    }
    QImage& original = originals_[letter];
    if (original.isNull()) {
        original = QImage(QStringLiteral(":/letters/") + QString::fromLatin1(item.file));
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

const QImage& LabelPictures::picture(const ControlId& control, const TextItem& label,
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

void paintScene(QPainter& painter, const CanvasScene& scene, QSize areaSize,
                LetterPictures& pictures, LabelPictures& labels) {
    const QRect area(QPoint(0, 0), areaSize);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const CanvasItem& item : scene) {
        if (const auto* line = std::get_if<SegmentItem>(&item.shape)) {
            drawSegment(painter, *line);
        } else if (const auto* label = std::get_if<TextItem>(&item.shape)) {
            drawText(painter, item, *label, labels, area);
        } else if (const auto* picture = std::get_if<PictureItem>(&item.shape)) {
            drawPicture(painter, *picture, pictures, area);
        } else {
            drawCircle(painter, std::get<CircleItem>(item.shape), area);
        }
    }
    painter.restore();
}

QRect toQRect(const PixelRect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

}  // namespace heikosen::qt
