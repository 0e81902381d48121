#pragma once

#include <QProxyStyle>

namespace heikosen::qt {

// The application's style with the narrow gap between an option button's or a
// check box's indicator and its caption that the window's layout is drawn for.
// The indicators and the gap grow and shrink with the window's scale.
class ControlStyle final : public QProxyStyle {
  public:
    ControlStyle();
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

    void setScale(double factor) { factor_ = factor; }
    double scale() const { return factor_; }

  private:
    double factor_ = 1.0;
};

}  // namespace heikosen::qt
