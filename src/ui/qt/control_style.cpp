#include "ui/qt/control_style.h"

namespace heikosen::qt {

namespace {

constexpr int kIndicatorCaptionGap = 3;

}  // namespace

ControlStyle::ControlStyle() = default;

int ControlStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
    switch (metric) {
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return kIndicatorCaptionGap;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

}  // namespace heikosen::qt
