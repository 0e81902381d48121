#pragma once

// The core's values in Qt's types: texts, colours, and the rectangles of the
// viewport (where the window's widgets stand and how the canvas widget's
// pixels map to drawing pixels come from ui/viewport.h).

#include <QColor>
#include <QRect>
#include <QRectF>
#include <QString>
#include <cmath>
#include <string>

#include "ui/viewport.h"

namespace heikosen::qt {

inline QString toQString(const std::string& text) {
    return QString::fromStdString(text);
}

inline QColor toQColor(Rgb rgb) {
    return QColor::fromRgb(static_cast<int>((rgb >> 16U) & 0xFFU),
                           static_cast<int>((rgb >> 8U) & 0xFFU), static_cast<int>(rgb & 0xFFU));
}

inline QRect toQRect(const PixelRect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

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
