#include "ui/qt/canvas_scene.h"

#include <QPaintEngine>
#include <QPen>
#include <QString>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/form1.h"
#include "ui/qt/fonts.h"
#include "ui/qt/window_geometry.h"

namespace heikosen::qt {

namespace {

// Scaled letter pictures kept at most; a new scale of the window starts afresh.
constexpr std::size_t kMaxScaledPictures = 64;
// Beyond this many changed controls one repaint of the whole canvas is cheaper.
constexpr int kMaxChangedControls = 24;

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

void drawLine(QPainter& painter, const LineControl& line, const QRectF& area) {
    if (!line.Visible) {
        return;
    }
    const int width = std::max(1, line.BorderWidth);
    QPointF p1(line.X1, line.Y1);
    QPointF p2(line.X2, line.Y2);
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
    const QColor colour = toQColor(line.BorderColor);
    QPen pen(colour);
    pen.setWidth(width);
    pen.setStyle(line.Style == BorderStyle::Dot ? Qt::DotLine : Qt::SolidLine);
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

void drawLabel(QPainter& painter, const LabelControl& label, LabelPictures& pictures,
               const QRect& area) {
    if (!label.Visible) {
        return;
    }
    const QRect rect =
        WindowGeometry::canvasPixelRect(label.Left, label.Top, label.Width, label.Height);
    if (rect.isEmpty() || !rect.intersects(area)) {
        return;
    }
    // On screen the label is a picture made once. On paper, or turned, the text
    // is drawn afresh: it stays text in a printed file.
    const QTransform toDevice = painter.deviceTransform();
    if (painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::Raster &&
        toDevice.type() <= QTransform::TxScale) {
        const QRectF exact = toDevice.mapRect(QRectF(rect));
        const QPoint topLeft(qRound(exact.left()), qRound(exact.top()));
        const QPoint bottomRight(qRound(exact.right()), qRound(exact.bottom()));
        const QSize size(std::max(1, bottomRight.x() - topLeft.x()),
                         std::max(1, bottomRight.y() - topLeft.y()));
        const QImage& picture =
            pictures.picture(label, rect, size, QSizeF(toDevice.m11(), toDevice.m22()));
        const QRectF target = toDevice.inverted().mapRect(QRectF(QPointF(topLeft), QSizeF(size)));
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, picture, QRectF(picture.rect()));
        painter.restore();
        return;
    }
    // Labels are opaque: their background hides what lies beneath them.
    painter.fillRect(rect, toQColor(label.BackColor));
    if (label.Caption().empty()) {
        return;
    }
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setFont(toQFont(label.Font));
    painter.setPen(toQColor(label.ForeColor));
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(label.Caption()));
    painter.restore();
}

void drawImage(QPainter& painter, const ImageControl& image, LetterPictures& pictures,
               const QRect& area) {
    if (!image.Visible) {
        return;
    }
    const QRect rect =
        WindowGeometry::canvasPixelRect(image.Left, image.Top, image.Width, image.Height);
    if (rect.isEmpty() || !rect.intersects(area)) {
        return;
    }
    // The picture is made for the device pixels it covers, rounded to whole
    // ones, and put there pixel for pixel: sharp at every scale.
    const QTransform toDevice = painter.deviceTransform();
    const QRectF exact = toDevice.mapRect(QRectF(rect));
    const QPoint topLeft(qRound(exact.left()), qRound(exact.top()));
    const QPoint bottomRight(qRound(exact.right()), qRound(exact.bottom()));
    const QSize size(std::max(1, bottomRight.x() - topLeft.x()),
                     std::max(1, bottomRight.y() - topLeft.y()));
    const QImage& picture = pictures.picture(image.Picture, size);
    const QRectF target = toDevice.inverted().mapRect(QRectF(QPointF(topLeft), QSizeF(size)));
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, picture, QRectF(picture.rect()));
    painter.restore();
}

void drawShape(QPainter& painter, const ShapeControl& shape, const QRect& area) {
    if (!shape.Visible) {
        return;
    }
    const QRect box =
        WindowGeometry::canvasPixelRect(shape.Left, shape.Top, shape.Width, shape.Height);
    const int diameter = std::min(box.width(), box.height());
    if (diameter <= 0 || !box.intersects(area)) {
        return;
    }
    // The largest circle that fits the box, centred in it.
    const int left = box.left() + (box.width() - diameter) / 2;
    const int top = box.top() + (box.height() - diameter) / 2;
    const int width = std::max(1, shape.BorderWidth);
    QPen pen(toQColor(shape.BorderColor));
    pen.setWidth(width);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // An outline of width 1 around this rectangle covers `diameter` pixels.
    const QPointF shift = width == 1 && deviceScale(painter) > 1.0 ? QPointF(0.5, 0.5) : QPointF();
    painter.drawEllipse(QRectF(left, top, diameter - 1, diameter - 1).translated(shift));
}

bool sameLabel(const LabelControl& a, const LabelControl& b) {
    return a == b && a.BackColor == b.BackColor && a.ForeColor == b.ForeColor && a.Font == b.Font;
}

void appendLines(std::vector<LineControl>& lines, const Form1& form) {
    for (const LineControl& line : form.Line5) {
        lines.push_back(line);
    }
    for (const LineControl& line : form.Line6) {
        lines.push_back(line);
    }
    for (const LineControl& line : form.Line3) {
        lines.push_back(line);
    }
    for (const LineControl& line : form.Line1) {
        lines.push_back(line);
    }
    for (const LineControl& line : form.Line2) {
        lines.push_back(line);
    }
    for (const LineControl& line : form.Line4) {
        lines.push_back(line);
    }
}

// Adds what a control covered and covers now, within the drawing area. A hidden
// control covers nothing: the eraser's circle follows every move of the pointer
// but costs no repaint while it is not shown. Returns whether anything was added.
template <typename Control, typename Bounds>
bool addChange(QRegion& region, const Control& before, const Control& after, Bounds bounds,
               const QRect& area) {
    const QRectF visibleArea(area);
    bool added = false;
    for (const Control* control : {&before, &after}) {
        if (!control->Visible) {
            continue;
        }
        const QRectF inside = QRectF(bounds(*control)).intersected(visibleArea);
        if (!inside.isEmpty()) {
            region += inside.toAlignedRect();
            added = true;
        }
    }
    return added;
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

const QImage& LabelPictures::picture(const LabelControl& label, const QRect& canvasRect,
                                     QSize deviceSize, QSizeF deviceScale) {
    Entry& entry = pictures_[&label];
    if (!entry.image.isNull() && entry.caption == label.Caption() && entry.font == label.Font &&
        entry.foreColor == label.ForeColor && entry.backColor == label.BackColor &&
        entry.canvasSize == canvasRect.size() && entry.deviceSize == deviceSize &&
        entry.deviceScale == deviceScale) {
        return entry.image;
    }
    entry.caption = label.Caption();
    entry.font = label.Font;
    entry.foreColor = label.ForeColor;
    entry.backColor = label.BackColor;
    entry.canvasSize = canvasRect.size();
    entry.deviceSize = deviceSize;
    entry.deviceScale = deviceScale;
    entry.image = QImage(deviceSize, QImage::Format_RGB32);
    entry.image.fill(toQColor(label.BackColor));
    if (!label.Caption().empty()) {
        // Drawn as it would be on the device, with the label's corner at the
        // picture's corner.
        QPainter painter(&entry.image);
        painter.scale(deviceScale.width(), deviceScale.height());
        const QRect rect(QPoint(0, 0), canvasRect.size());
        painter.setClipRect(rect);
        painter.setFont(toQFont(label.Font));
        painter.setPen(toQColor(label.ForeColor));
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop,
                         QString::fromStdString(label.Caption()));
    }
    return entry.image;
}

void paintCanvasControls(QPainter& painter, const Form1& form, LetterPictures& pictures,
                         LabelPictures& labels) {
    const QRect area(QPoint(0, 0), WindowGeometry::drawingArea(form.gamen).size());
    const QRectF lineArea(area);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);

    // The grid lies lowest, then the arrow marks, the figure's lines, the
    // extensions and the copy of m, and the marker lines.
    for (const LineControl& line : form.Line5) {
        drawLine(painter, line, lineArea);
    }
    for (const LineControl& line : form.Line6) {
        drawLine(painter, line, lineArea);
    }
    for (const LineControl& line : form.Line3) {
        drawLine(painter, line, lineArea);
    }
    for (const LineControl& line : form.Line1) {
        drawLine(painter, line, lineArea);
    }
    for (const LineControl& line : form.Line2) {
        drawLine(painter, line, lineArea);
    }
    for (const LineControl& line : form.Line4) {
        drawLine(painter, line, lineArea);
    }
    for (const ImageControl& image : form.Image1) {
        drawImage(painter, image, pictures, area);
    }
    for (const LabelControl& label : form.Label2) {
        drawLabel(painter, label, labels, area);
    }
    for (const LabelControl& label : form.Label3) {
        drawLabel(painter, label, labels, area);
    }
    drawLabel(painter, form.Label5, labels, area);
    drawShape(painter, form.Shape1, area);
    painter.restore();
}

QRectF lineBounds(const LineControl& line) {
    const qreal margin = std::max(1, line.BorderWidth) + 2;
    return QRectF(QPointF(line.X1, line.Y1), QPointF(line.X2, line.Y2))
        .normalized()
        .adjusted(-margin, -margin, margin, margin);
}

QRect labelBounds(const LabelControl& label) {
    return WindowGeometry::canvasPixelRect(label.Left, label.Top, label.Width, label.Height)
        .adjusted(-1, -1, 1, 1);
}

QRect imageBounds(const ImageControl& image) {
    return WindowGeometry::canvasPixelRect(image.Left, image.Top, image.Width, image.Height)
        .adjusted(-1, -1, 1, 1);
}

QRect shapeBounds(const ShapeControl& shape) {
    const int margin = std::max(1, shape.BorderWidth) + 2;
    return WindowGeometry::canvasPixelRect(shape.Left, shape.Top, shape.Width, shape.Height)
        .adjusted(-margin, -margin, margin, margin);
}

CanvasSnapshot CanvasSnapshot::of(const Form1& form) {
    CanvasSnapshot snapshot;
    appendLines(snapshot.lines_, form);
    snapshot.labels_.assign(form.Label2.begin(), form.Label2.end());
    snapshot.labels_.insert(snapshot.labels_.end(), form.Label3.begin(), form.Label3.end());
    snapshot.labels_.push_back(form.Label5);
    std::copy(form.Image1.begin(), form.Image1.end(), snapshot.images_.begin());
    snapshot.shape_ = form.Shape1;
    return snapshot;
}

QRegion CanvasSnapshot::changedRegion(const CanvasSnapshot& before, const CanvasSnapshot& after,
                                      const QRect& area) {
    if (before.lines_.size() != after.lines_.size() ||
        before.labels_.size() != after.labels_.size()) {
        return QRegion(area);
    }
    QRegion region;
    int changed = 0;
    for (std::size_t i = 0; i < after.lines_.size(); ++i) {
        if (!(before.lines_[i] == after.lines_[i])) {
            changed +=
                addChange(region, before.lines_[i], after.lines_[i], lineBounds, area) ? 1 : 0;
        }
    }
    for (std::size_t i = 0; i < after.labels_.size(); ++i) {
        if (!sameLabel(before.labels_[i], after.labels_[i])) {
            changed +=
                addChange(region, before.labels_[i], after.labels_[i], labelBounds, area) ? 1 : 0;
        }
    }
    for (std::size_t i = 0; i < after.images_.size(); ++i) {
        if (!(before.images_[i] == after.images_[i])) {
            changed +=
                addChange(region, before.images_[i], after.images_[i], imageBounds, area) ? 1 : 0;
        }
    }
    if (!(before.shape_ == after.shape_)) {
        changed += addChange(region, before.shape_, after.shape_, shapeBounds, area) ? 1 : 0;
    }
    if (changed > kMaxChangedControls) {
        return QRegion(area);
    }
    return region;
}

}  // namespace heikosen::qt
