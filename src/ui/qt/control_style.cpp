#include "ui/qt/control_style.h"

#include <algorithm>
#include <cmath>

namespace heikosen::qt {

namespace {

constexpr int kIndicatorCaptionGap = 3;

}  // namespace

ControlStyle::ControlStyle() = default;

int ControlStyle::scaled(int pixels) const {
    if (factor_ == 1.0) {
        return pixels;
    }
    return std::max(1, static_cast<int>(std::lround(pixels * factor_)));
}

int ControlStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
    switch (metric) {
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return scaled(kIndicatorCaptionGap);
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return scaled(QProxyStyle::pixelMetric(metric, option, widget));
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

}  // namespace heikosen::qt
