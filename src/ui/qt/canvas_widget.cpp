#include "ui/qt/canvas_widget.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "ui/form1.h"
#include "ui/qt/window_geometry.h"

namespace heikosen::qt {

namespace {

// The core's number for a mouse button, or 0 for buttons the canvas ignores.
int formButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return kLeftButton;
        case Qt::RightButton:
            return kRightButton;
        case Qt::MiddleButton:
            return kMiddleButton;
        default:
            return 0;
    }
}

// The classic sunken frame: a dark grey and white outer edge, a near-black and
// light grey inner edge.
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kDarkShadow(0x40, 0x40, 0x40);
const QColor kLight(0xC0, 0xC0, 0xC0);
const QColor kHighlight(0xFF, 0xFF, 0xFF);
// The focus ring, over the whole frame.
const QColor kFocusRing(0x00, 0x50, 0xD0);

// The pixels of an image under a rectangle of canvas pixels, at `scale` image
// pixels per canvas pixel with the canvas's origin at `origin` in the image.
QRect pixelsUnder(const QRect& canvasRect, qreal scale, QPointF origin) {
    return QRectF(canvasRect.x() * scale + origin.x(), canvasRect.y() * scale + origin.y(),
                  canvasRect.width() * scale, canvasRect.height() * scale)
        .toAlignedRect();
}

// The canvas rectangle that those image pixels cover exactly.
QRectF canvasOver(const QRect& pixels, qreal scale, QPointF origin) {
    return {(pixels.x() - origin.x()) / scale, (pixels.y() - origin.y()) / scale,
            pixels.width() / scale, pixels.height() / scale};
}

}  // namespace

CanvasWidget::CanvasWidget(Form1& form, QWidget* parent)
    : QWidget(parent),
      form_(form),
      pointer_(form),
      strokes_(*this, toQColor(form.gamen.BackColor)) {
    // The whole widget is painted on every paint: nothing needs erasing first,
    // and what is already on screen stays valid when the widget grows.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
    // Touch reaches the canvas as mouse events, which Qt makes from touches that
    // no widget takes as touch.
    setAttribute(Qt::WA_AcceptTouchEvents, false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(QString::fromUtf8(Form1::canvasKeyHint()));
    ensureStrokeLayer();
    form_.gamen.setSurface(&strokes_);
    buildCanvasScene(form_, lastDrawn_);
}

CanvasWidget::~CanvasWidget() {
    if (form_.gamen.surface() == &strokes_) {
        form_.gamen.setSurface(nullptr);
    }
}

CanvasMapping CanvasWidget::mapping() const {
    return CanvasMapping(form_.gamen, scale_);
}

void CanvasWidget::setScale(double factor) {
    if (factor == scale_ || !(factor > 0)) {
        return;
    }
    scale_ = factor;
    ensureStrokeLayer();
    // Everything on the canvas changes size: nothing on screen stays valid.
    update();
}

QRect CanvasWidget::drawingArea() const {
    return toQRect(mapping().drawingAreaInBox());
}

QSize CanvasWidget::areaSize() const {
    return toQRect(mapping().drawingArea()).size();
}

void CanvasWidget::ensureStrokeLayer() {
    // The layer's pixels lie on the screen's: as many per canvas pixel as the
    // screen has device pixels, and starting where the canvas's origin falls
    // within a device pixel of the window.
    const qreal ratio = devicePixelRatioF();
    const ClientPoint corner = mapping().boxFromCanvas({0, 0});
    const QPointF origin =
        (QPointF(mapTo(window(), QPoint(0, 0))) + QPointF(corner.x, corner.y)) * ratio;
    const QPointF phase(origin.x() - std::floor(origin.x()), origin.y() - std::floor(origin.y()));
    const QRect area = toQRect(mapping().drawingArea());
    const bool moved = origin != origin_;
    origin_ = origin;
    // The board drawn again at a new resolution, or the canvas moved on the
    // composed picture.
    if (strokes_.setResolution(QSizeF(area.size()), scale_ * ratio, phase) || moved) {
        markStale(QRect(QPoint(0, 0), area.size()));
    }
}

void CanvasWidget::markStale(const QRect& canvasRect) {
    // Without a composed picture there is nothing to bring up to date: the next
    // one is composed whole.
    if (!composed_.isNull()) {
        stale_ += canvasRect;
    }
}

void CanvasWidget::refresh() {
    buildCanvasScene(form_, scene_);
    const QSize size = areaSize();
    const std::vector<PixelRect> changed =
        changedRects(lastDrawn_, scene_, PixelRect{0, 0, size.width(), size.height()});
    std::swap(lastDrawn_, scene_);
    if (changed.empty()) {
        return;
    }
    QRegion region;
    for (const PixelRect& rect : changed) {
        region += toQRect(rect);
    }
    const CanvasMapping map = mapping();
    for (const QRect& rect : region) {
        markStale(rect);
        update(toQRect(map.boxRectFromCanvas(fromQRectF(rect))));
    }
}

void CanvasWidget::updateCanvasRect(const QRectF& canvasRect) {
    const QRectF area(QPointF(0, 0), QSizeF(areaSize()));
    const QRectF inside = canvasRect.intersected(area);
    if (!inside.isEmpty()) {
        markStale(inside.toAlignedRect());
        update(toQRect(mapping().boxRectFromCanvas(fromQRectF(inside))));
    }
}

void CanvasWidget::updateDrawingArea() {
    markStale(QRect(QPoint(0, 0), areaSize()));
    update(drawingArea());
}

void CanvasWidget::paintFrame(QPainter& painter) const {
    const QRect outer = toQRect(mapping().layoutRect());
    const int border = mapping().border();
    if (border <= 0) {
        return;
    }
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    // Outer edge: shadow above and to the left, highlight below and to the right.
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), 1), kShadow);
    painter.fillRect(QRect(outer.left(), outer.top(), 1, outer.height()), kShadow);
    painter.fillRect(QRect(outer.left(), outer.bottom(), outer.width(), 1), kHighlight);
    painter.fillRect(QRect(outer.right(), outer.top() + 1, 1, outer.height() - 1), kHighlight);
    if (border > 1) {
        painter.fillRect(QRect(inner.left(), inner.top(), inner.width(), 1), kDarkShadow);
        painter.fillRect(QRect(inner.left(), inner.top(), 1, inner.height()), kDarkShadow);
        painter.fillRect(QRect(inner.left(), inner.bottom(), inner.width(), 1), kLight);
        painter.fillRect(QRect(inner.right(), inner.top() + 1, 1, inner.height() - 1), kLight);
    }
    if (focusRing_) {
        painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), border), kFocusRing);
        painter.fillRect(QRect(outer.left(), outer.bottom() - border + 1, outer.width(), border),
                         kFocusRing);
        painter.fillRect(QRect(outer.left(), outer.top(), border, outer.height()), kFocusRing);
        painter.fillRect(QRect(outer.right() - border + 1, outer.top(), border, outer.height()),
                         kFocusRing);
    }
}

void CanvasWidget::showFocusRing(bool shown) {
    if (focusRing_ != shown) {
        focusRing_ = shown;
        update();
    }
}

bool CanvasWidget::paintBoard(QPainter& painter, const QRect& dirty) const {
    const QImage& strokes = strokes_.image();
    const qreal scale = strokes_.scale();
    // A blank board is the background alone.
    if (strokes.isNull() || strokes_.blank() || !(scale > 0)) {
        return false;
    }
    const QPointF phase = strokes_.phase();
    // The layer's pixels under the canvas pixels being repainted, and the canvas
    // rectangle they cover exactly.
    const QRect source = pixelsUnder(dirty, scale, phase).intersected(strokes.rect());
    if (source.isEmpty()) {
        return false;
    }
    const QRectF target = canvasOver(source, scale, phase);
    // At the layer's own resolution each of its pixels falls on one device
    // pixel; only drawing at another resolution (printing) needs smoothing.
    const QTransform device = painter.deviceTransform();
    const qreal deviceScale = std::sqrt(std::fabs(device.determinant()));
    const bool smooth = std::fabs(deviceScale - scale) > 1e-6 * scale;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    if (smooth) {
        // Smoothed, the strokes are blended over the background here.
        painter.fillRect(dirty, strokes_.background());
        painter.drawImage(target, strokes, QRectF(source));
    } else {
        // The board's opaque pixels, copied as they are.
        painter.drawImage(target, strokes_.board(), QRectF(source));
    }
    painter.restore();
    return true;
}

bool CanvasWidget::paintComposed(QPainter& painter, const QRect& dirty) {
    // A board without strokes is painted directly: filling the background and
    // drawing the controls costs less than copying the picture would. A picture
    // made before stays, kept up to date, for the strokes to come.
    if (strokes_.blank() || strokes_.board().isNull()) {
        return false;
    }
    // The picture is the screen's: kept while the canvas is shown, holding the
    // scene of the last refresh, drawn as Qt's raster engine draws (labels as
    // pictures, where on paper they stay text).
    if (!isVisible() || painter.paintEngine() == nullptr ||
        painter.paintEngine()->type() != QPaintEngine::Raster || scene_ != lastDrawn_ ||
        origin_.x() < 0 || origin_.y() < 0) {
        return false;
    }
    // Each of its pixels must fall on one device pixel: the painter's scale is
    // the stroke layer's, and its device pixels lie whole pixels from the
    // window's.
    const qreal scale = strokes_.scale();
    const QTransform device = painter.deviceTransform();
    const QPointF shift(device.dx() - origin_.x(), device.dy() - origin_.y());
    const QPointF whole(std::round(shift.x()), std::round(shift.y()));
    constexpr qreal kTolerance = 1e-6;
    if (!(scale > 0) || device.type() > QTransform::TxScale ||
        std::fabs(device.m11() - scale) > kTolerance * scale ||
        std::fabs(device.m22() - scale) > kTolerance * scale ||
        std::fabs(shift.x() - whole.x()) > kTolerance ||
        std::fabs(shift.y() - whole.y()) > kTolerance) {
        return false;
    }
    const QSize size = strokes_.pixelSize() + QSize(static_cast<int>(std::floor(origin_.x())),
                                                    static_cast<int>(std::floor(origin_.y())));
    if (composed_.size() != size) {
        // The old picture goes before the new one is made.
        composed_ = QImage();
        composed_ = QImage(size, QImage::Format_RGB32);
        if (composed_.isNull()) {
            return false;
        }
        stale_ = QRect(QPoint(0, 0), areaSize());
    }
    // Everything out of date is composed at once: what the last changes asked
    // to repaint, or, after the repaints of a blank board left the picture
    // alone, all of it, which piece by piece would leave a region of ever more
    // pieces behind.
    if (!stale_.isEmpty()) {
        // On screen the painter's own transform; elsewhere the same, moved by
        // the whole device pixels between its pixels and the window's.
        compose(stale_, device * QTransform::fromTranslate(-whole.x(), -whole.y()));
        stale_ = QRegion();
    }
    const QRect source = pixelsUnder(dirty, scale, origin_).intersected(composed_.rect());
    if (!source.isEmpty()) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(canvasOver(source, scale, origin_), composed_, QRectF(source));
        painter.restore();
    }
    return true;
}

void CanvasWidget::compose(const QRegion& region, const QTransform& toPicture) {
    const qreal scale = strokes_.scale();
    QRegion pixels;
    for (const QRect& rect : region) {
        pixels += pixelsUnder(rect, scale, origin_).intersected(composed_.rect());
    }
    QPainter painter(&composed_);
    // The board's pixels as they are; it starts at the device pixel the
    // canvas's origin falls in.
    const QPoint corner(static_cast<int>(std::floor(origin_.x())),
                        static_cast<int>(std::floor(origin_.y())));
    for (const QRect& rect : pixels) {
        painter.drawImage(rect.topLeft(), strokes_.board(), rect.translated(-corner));
    }
    // Clipped as on screen to the drawing area, given in canvas pixels: the
    // same edge rounded the same way cuts the lines at the same points.
    const QSize area = areaSize();
    painter.setClipRegion(pixels);
    painter.setTransform(toPicture);
    painter.setClipRect(QRect(QPoint(0, 0), area), Qt::IntersectClip);
    paintScene(painter, lastDrawn_, area, pictures_, labels_);
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    ensureStrokeLayer();
    const CanvasMapping map = mapping();
    QPainter painter(this);
    // The widget is whole pixels; a scaled canvas may end inside its last
    // column or row, which shows the window's ground.
    const QSizeF scaled = QSizeF(toQRect(map.layoutRect()).size()) * map.scale();
    const QRect all = rect();
    if (scaled.width() < all.width() || scaled.height() < all.height()) {
        const QColor ground = parentWidget() != nullptr
                                  ? parentWidget()->palette().color(QPalette::Window)
                                  : palette().color(QPalette::Window);
        const int right = static_cast<int>(std::floor(scaled.width()));
        const int bottom = static_cast<int>(std::floor(scaled.height()));
        painter.fillRect(QRect(right, 0, all.width() - right, all.height()), ground);
        painter.fillRect(QRect(0, bottom, all.width(), all.height() - bottom), ground);
    }
    painter.setTransform(QTransform::fromScale(map.scale(), map.scale()));
    paintFrame(painter);

    painter.translate(map.border(), map.border());
    const QRect canvasArea(QPoint(0, 0), areaSize());
    painter.setClipRect(canvasArea, Qt::IntersectClip);
    const QRect dirty = toQRectF(map.canvasRectFromBox(fromQRectF(QRectF(event->rect()))))
                            .toAlignedRect()
                            .intersected(canvasArea);
    if (dirty.isEmpty()) {
        return;
    }
    // What stands on the canvas, as the form lists it now.
    buildCanvasScene(form_, scene_);
    if (paintComposed(painter, dirty)) {
        return;
    }
    // The strokes of the pens on their background, only where the canvas is
    // being repainted; a board never written on is filled with the background.
    if (!paintBoard(painter, dirty)) {
        painter.fillRect(dirty, toQColor(form_.gamen.BackColor));
    }
    paintScene(painter, scene_, canvasArea.size(), pictures_, labels_);
}

void CanvasWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ensureStrokeLayer();
}

void CanvasWidget::hideEvent(QHideEvent* event) {
    // Only the screen needs the composed picture.
    composed_ = QImage();
    stale_ = QRegion();
    QWidget::hideEvent(event);
}

bool CanvasWidget::event(QEvent* event) {
    // Another window took over: a button held on the canvas will not be let go
    // here.
    if (event->type() == QEvent::WindowDeactivate && pointer_.letGo()) {
        emit formChanged();
    }
    return QWidget::event(event);
}

void CanvasWidget::keyPressEvent(QKeyEvent* event) {
    static const std::pair<int, CanvasKey> kKeys[] = {
        {Qt::Key_Left, CanvasKey::Left},   {Qt::Key_Up, CanvasKey::Up},
        {Qt::Key_Right, CanvasKey::Right}, {Qt::Key_Down, CanvasKey::Down},
        {Qt::Key_Space, CanvasKey::Space}, {Qt::Key_Escape, CanvasKey::Escape},
        {Qt::Key_P, CanvasKey::P},         {Qt::Key_Q, CanvasKey::Q},
        {Qt::Key_L, CanvasKey::L},         {Qt::Key_M, CanvasKey::M},
        {Qt::Key_C, CanvasKey::C}};
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const auto* key = std::find_if(std::begin(kKeys), std::end(kKeys),
                                   [event](const auto& k) { return k.first == event->key(); });
    if (key != std::end(kKeys) && (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier &&
        form_.canvasKey(key->second, modifiers == Qt::ShiftModifier, event->isAutoRepeat())) {
        event->accept();
        showFocusRing(true);
        emit formChanged();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CanvasWidget::focusInEvent(QFocusEvent* event) {
    // Reached with the keyboard, the canvas shows where the keys go; clicked,
    // or given the focus with the window, it looks as ever.
    const Qt::FocusReason reason = event->reason();
    showFocusRing(reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                  reason == Qt::ShortcutFocusReason);
    QWidget::focusInEvent(event);
}

void CanvasWidget::focusOutEvent(QFocusEvent* event) {
    // A popup takes the mouse along with the focus.
    if ((event->reason() == Qt::PopupFocusReason ||
         event->reason() == Qt::ActiveWindowFocusReason) &&
        pointer_.letGo()) {
        emit formChanged();
    }
    // The handle that the keys hold is let go.
    showFocusRing(false);
    if (form_.keyboardHandle() != kHandleNone) {
        form_.canvasFocusLost();
        emit formChanged();
    }
    QWidget::focusOutEvent(event);
}

PointerEvent CanvasWidget::pointerEvent(const QMouseEvent* event) const {
    const ClientPoint at = mapping().canvasFromBox({event->position().x(), event->position().y()});
    int buttons = 0;
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        buttons |= event->buttons().testFlag(button) ? formButton(button) : 0;
    }
    PointerEvent pointer;
    pointer.x = static_cast<float>(at.x);
    pointer.y = static_cast<float>(at.y);
    pointer.buttons = buttons;
    pointer.time = static_cast<double>(event->timestamp());
    return pointer;
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    const int button = formButton(event->button());
    if (button == 0) {
        event->ignore();
        return;
    }
    PointerEvent pointer = pointerEvent(event);
    // The second press of a double click comes here twice, the second time
    // while its button is held.
    pointer.pressed = event->type() == QEvent::MouseButtonPress ? button : 0;
    pointer_.press(pointer);
    event->accept();
    emit formChanged();
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    // A move changes only what stands on the canvas (the figure, a stroke, the
    // rubber band, the eraser circle), never a button or a box: the window's
    // widgets need no update, which keeps the move cheap. Only a release that
    // never came, let go of before the move, may change them.
    if (pointer_.move(pointerEvent(event))) {
        emit formChanged();
    } else {
        refresh();
    }
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (formButton(event->button()) == 0) {
        event->ignore();
        return;
    }
    pointer_.release(pointerEvent(event));
    event->accept();
    emit formChanged();
}

}  // namespace heikosen::qt
