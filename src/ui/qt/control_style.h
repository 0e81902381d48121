#pragma once

#include <QProxyStyle>

#include "ui/viewport.h"
#include "ui/window_controls.h"

namespace heikosen::qt {

// The application's style with the indicators of option buttons and check
// boxes, and the narrow gap to their captions, that the window's layout is
// drawn for, growing and shrinking with the window's scale.
class ControlStyle final : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override {
        switch (metric) {
            case PM_CheckBoxLabelSpacing:
            case PM_RadioButtonLabelSpacing:
                return scaledPixels(kIndicatorCaptionGap, factor_);
            case PM_IndicatorWidth:
            case PM_IndicatorHeight:
            case PM_ExclusiveIndicatorWidth:
            case PM_ExclusiveIndicatorHeight:
                return scaledPixels(kIndicatorSize, factor_);
            default:
                return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    void setScale(double factor) { factor_ = factor; }

  private:
    double factor_ = 1.0;
};

}  // namespace heikosen::qt
