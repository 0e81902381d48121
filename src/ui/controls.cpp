#include "ui/controls.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace heikosen {

namespace {

// Decodes one UTF-8 code point starting at `i`; invalid bytes count as one
// half-width character each, so any byte string measures without failing.
char32_t nextCodePoint(const std::string& text, std::size_t& i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t cp = byte;
    if (byte >= 0xF0 && byte < 0xF8) {
        extra = 3;
        cp = byte & 0x07U;
    } else if (byte >= 0xE0) {
        extra = 2;
        cp = byte & 0x0FU;
    } else if (byte >= 0xC0) {
        extra = 1;
        cp = byte & 0x1FU;
    }
    if (byte >= 0x80 && extra == 0) {
        ++i;
        return U'?';
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) {
        ++i;
        return U'?';
    }
    for (int k = 1; k <= extra; ++k) {
        const auto cont = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((cont & 0xC0U) != 0x80U) {
            ++i;
            return U'?';
        }
        cp = (cp << 6U) | (cont & 0x3FU);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

bool isWide(char32_t cp) {
    return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
           (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
           (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
           (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x1F300 && cp <= 0x1FAFF);
}

}  // namespace

int pixelSizeForPoints(float points) {
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(points) * 4.0 / 3.0)));
}

TextFont textFont(const FontSpec& font) {
    return {font.Name, pixelSizeForPoints(font.Size), font.Bold};
}

std::string installedFamily(const std::string& family) {
    if (family == "ＭＳ Ｐゴシック") {
        return "IPAPGothic";
    }
    if (family == "ＭＳ Ｐ明朝") {
        return "IPAPMincho";
    }
    return family;
}

const char* typefaceOf(const std::string& family) {
    return family == "ＭＳ Ｐ明朝" ? "mincho" : "gothic";
}

const char* letterFile(Letter letter) {
    // In the order of Letter.
    static constexpr const char* kFiles[] = {"ell.png", "m.png", "p.png", "q.png", "r.png"};
    const auto at = static_cast<std::size_t>(letter);
    return at < std::size(kFiles) ? kFiles[at] : "p.png";
}

TextMeasurer::Size TextMeasurer::measure(const std::string& text, const FontSpec& font) const {
    const TextFont resolved = textFont(font);
    const auto lines = static_cast<float>(std::count(text.begin(), text.end(), '\n') + 1);
    const float height = static_cast<float>(resolved.pixelSize) * lines;
    if (text.empty()) {
        return {0.0F, height};
    }
    // As wide as its widest line; an empty line is no wide.
    double measured = 0;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end > start) {
            measured = std::max(measured, width(text.substr(start, end - start), resolved));
        }
        start = end + 1;
    }
    const double whole =
        std::ceil((std::isfinite(measured) ? std::max(0.0, measured) : 0.0) - 0.01);
    return {static_cast<float>(whole), height};
}

double EstimatingTextMeasurer::width(const std::string& text, const TextFont& font) const {
    const auto em = static_cast<double>(font.pixelSize);
    double lineWidth = 0;
    for (std::size_t i = 0; i < text.size();) {
        lineWidth += isWide(nextCodePoint(text, i)) ? em : em / 2.0;
    }
    return lineWidth;
}

void LabelControl::setCaption(std::string caption) {
    caption_ = std::move(caption);
    if (AutoSize) {
        autoSize();
    }
}

void LabelControl::setMeasurer(const TextMeasurer* measurer) {
    measurer_ = measurer;
}

void LabelControl::autoSize() {
    if (measurer_ == nullptr) {
        return;
    }
    const TextMeasurer::Size size = measurer_->measure(caption_, Font);
    Width = size.width;
    Height = size.height;
}

void OptionButton::setValue(bool value) {
    if (!value) {
        value_ = false;
        return;
    }
    if (value_) {
        return;  // already selected: nothing changes, no Click
    }
    if (group_ != nullptr) {
        group_->clearOthers(*this);
    }
    value_ = true;
    if (Click) {
        Click();
    }
}

void OptionGroup::add(OptionButton& button) {
    button.group_ = this;
    members_.push_back(&button);
}

void OptionGroup::preset(OptionButton& button) {
    clearOthers(button);
    button.value_ = true;
}

void OptionGroup::clearOthers(const OptionButton& keep) {
    for (OptionButton* member : members_) {
        if (member != &keep) {
            member->value_ = false;
        }
    }
}

int OptionGroup::selectedCount() const {
    return static_cast<int>(std::count_if(members_.begin(), members_.end(),
                                          [](const OptionButton* b) { return b->Value(); }));
}

void CheckBox::setValue(int value) {
    if (value == value_) {
        return;
    }
    value_ = value;
    if (Click) {
        Click();
    }
}

void PictureBox::Line(float x1, float y1, float x2, float y2, Rgb color) {
    ++segments_;
    ++segmentsSinceCls_;
    if (surface_ != nullptr) {
        surface_->drawSegment(StrokeSegment{x1, y1, x2, y2, color, DrawWidth});
    }
}

void PictureBox::Cls() {
    ++clears_;
    segmentsSinceCls_ = 0;
    if (surface_ != nullptr) {
        surface_->clear();
    }
}

void LineArray::Load(int index) {
    if (index != count()) {
        throw std::out_of_range("control arrays grow one element at a time");
    }
    LineControl created = items_.front();
    created.Visible = false;
    items_.push_back(created);
}

}  // namespace heikosen
