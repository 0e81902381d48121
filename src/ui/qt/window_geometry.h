#pragma once

// The core's viewport in Qt's types: where the window's widgets stand and how
// the canvas widget's pixels map to drawing pixels come from ui/viewport.h.

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <cmath>

#include "ui/viewport.h"

namespace heikosen::qt {

// A rectangle whose edges stand on whole pixels.
inline QRect toQRect(const ClientRect& rect) {
    const auto whole = [](double v) { return static_cast<int>(std::lround(v)); };
    return {whole(rect.left), whole(rect.top), whole(rect.width), whole(rect.height)};
}

inline QRectF toQRectF(const ClientRect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

inline ClientRect fromQRectF(const QRectF& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

inline PixelRect fromQRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

}  // namespace heikosen::qt
