#pragma once

// Fonts of the window. The form names its fonts as the window was designed;
// on this desktop they are the installed fonts that the core names for them.

#include <QFont>

#include "ui/controls.h"

namespace heikosen::qt {

// The Qt font for a font of the form, its size set in pixels, so that what the
// window shows does not depend on the screen's dots per inch.
QFont toQFont(const TextFont& font);

// Measures captions with the real fonts, so auto-sized labels fit their text.
class QtTextMeasurer final : public TextMeasurer {
  public:
    double width(const std::string& text, const TextFont& font) const override;
};

}  // namespace heikosen::qt
