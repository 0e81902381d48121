#include "ui/qt/control_style.h"

#include "ui/viewport.h"
#include "ui/window_controls.h"

namespace heikosen::qt {

ControlStyle::ControlStyle() = default;

int ControlStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
    switch (metric) {
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return scaledPixels(kIndicatorCaptionGap, factor_);
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return scaledPixels(QProxyStyle::pixelMetric(metric, option, widget), factor_);
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

}  // namespace heikosen::qt
