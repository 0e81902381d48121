#include "ui/qt/scene_painter.h"

#include <png.h>

#include <QFile>
#include <QPen>
#include <QString>
#include <QStringList>
#include <cmath>
#include <cstdint>

#include "ui/qt/fonts.h"

namespace heikosen::qt {

namespace {

// The letter picture shrunk by a whole factor as the core shrinks grey
// pictures; a null image for any other picture or size.
QImage shrinkByWholeFactor(const QImage& picture, QSize size) {
    if (picture.format() != QImage::Format_Grayscale8) {
        return {};
    }
    const std::vector<std::uint32_t> shrunk =
        shrinkGrey(picture.constBits(), picture.bytesPerLine(), picture.width(), picture.height(),
                   size.width(), size.height());
    if (shrunk.empty()) {
        return {};
    }
    return QImage(reinterpret_cast<const uchar*>(shrunk.data()), size.width(), size.height(),
                  QImage::Format_RGB32)
        .copy();
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
    QPen pen(colour, line.width);
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

// Puts a picture made for the device pixels that `box` covers, rounded to
// whole ones as the core rounds them, there pixel for pixel: sharp at every
// scale. `make` gives the picture for that many device pixels, at the
// painter's device transform.
template <typename MakePicture>
void drawOnPixels(QPainter& painter, const QRect& box, const QRect& area, MakePicture make) {
    if (box.isEmpty() || !box.intersects(area)) {
        return;
    }
    const QTransform toDevice = painter.deviceTransform();
    const QRect pixels = toQRect(wholePixels(fromQRectF(toDevice.mapRect(QRectF(box)))));
    const QImage& picture = make(pixels.size(), toDevice);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(toDevice.inverted().mapRect(QRectF(pixels)), picture, QRectF(picture.rect()));
    painter.restore();
}

void drawCircle(QPainter& painter, const CircleItem& circle, const QRect& area) {
    if (circle.radius < 0 || !toQRect(circle.box).intersects(area)) {
        return;
    }
    painter.setPen(QPen(toQColor(circle.color), circle.width));
    painter.setBrush(Qt::NoBrush);
    const QPointF centre =
        QPointF(circle.centreX, circle.centreY) + penShift(painter, circle.shift, circle.shift);
    painter.drawEllipse(centre, circle.radius, circle.radius);
}

}  // namespace

// Read with libpng itself: Qt's reader loads every image plugin installed to ask
// it first, which held the first frame back by about a sixth of what the least
// Qt window with these fonts takes to show.
QImage readGreyPng(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&png, bytes.constData(),
                                         static_cast<std::size_t>(bytes.size())) == 0) {
        return {};
    }
    png.format = PNG_FORMAT_GRAY;
    QImage image(static_cast<int>(png.width), static_cast<int>(png.height),
                 QImage::Format_Grayscale8);
    if (image.isNull() ||
        png_image_finish_read(&png, nullptr, image.bits(),
                              static_cast<png_int_32>(image.bytesPerLine()), nullptr) == 0) {
        png_image_free(&png);
        return {};
    }
    return image;
}

qreal deviceScale(const QPainter& painter) {
    return std::sqrt(std::fabs(painter.deviceTransform().determinant()));
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
        original = readGreyPng(QStringLiteral(":/letters/") + QString::fromLatin1(item.file));
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
                                     QSize deviceSize, QSizeF deviceScale) {
    auto& [made, image] = pictures_[{static_cast<int>(control.control), control.index}];
    // The picture is the same wherever the label stands: a label that moves,
    // as the letters of the points do in a drag, is not drawn again.
    TextItem look = label;
    look.box.left = 0;
    look.box.top = 0;
    look.hitBox = {};
    const Made wanted{look, deviceSize, deviceScale};
    if (!image.isNull() && made == wanted) {
        return image;
    }
    made = wanted;
    image = QImage(deviceSize, QImage::Format_RGB32);
    image.fill(toQColor(label.backColor));
    if (!label.caption.empty()) {
        // Drawn as it would be on the device, with the label's corner at the
        // picture's corner.
        QPainter painter(&image);
        painter.scale(deviceScale.width(), deviceScale.height());
        const QRect rect(QPoint(0, 0), toQRect(label.box).size());
        painter.setClipRect(rect);
        painter.setFont(toQFont(label.font));
        painter.setPen(toQColor(label.foreColor));
        // One line below the other, each as high as the core says.
        const QStringList lines = toQString(label.caption).split(QLatin1Char('\n'));
        for (qsizetype n = 0; n < lines.size(); ++n) {
            const int top = static_cast<int>(n) * label.lineHeight;
            painter.drawText(rect.adjusted(0, top, 0, 0), Qt::AlignLeft | Qt::AlignTop, lines[n]);
        }
    }
    return image;
}

void paintScene(QPainter& painter, const CanvasScene& scene, QSize areaSize, const QRect& painted,
                LetterPictures& pictures, LabelPictures& labels) {
    const QRect area(QPoint(0, 0), areaSize);
    const std::vector<PixelRect> near = deviceReach({fromQRect(painted)}, deviceScale(painter));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const CanvasItem& item : scene) {
        // An item beside the pixels being painted would draw nothing there.
        if (!touchesAny(item, near)) {
            continue;
        }
        if (const auto* line = std::get_if<SegmentItem>(&item.shape)) {
            drawSegment(painter, *line);
        } else if (const auto* label = std::get_if<TextItem>(&item.shape)) {
            // A label is a picture of its caption, made once.
            const QRect box = toQRect(label->box);
            drawOnPixels(painter, box, area,
                         [&](QSize size, const QTransform& toDevice) -> const QImage& {
                             return labels.picture(item.control, *label, size,
                                                   QSizeF(toDevice.m11(), toDevice.m22()));
                         });
        } else if (const auto* picture = std::get_if<PictureItem>(&item.shape)) {
            drawOnPixels(painter, toQRect(picture->box), area,
                         [&](QSize size, const QTransform&) -> const QImage& {
                             return pictures.picture(*picture, size);
                         });
        } else {
            drawCircle(painter, std::get<CircleItem>(item.shape), area);
        }
    }
    painter.restore();
}

}  // namespace heikosen::qt
