#pragma once

// The controls of the window as plain values. Each field is a property that the
// handlers read and write; the Qt window draws whatever these values say.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/palette.h"

namespace heikosen {

enum class BorderStyle : std::uint8_t { Solid = 1, Dot = 3 };

// Position and size of a control, in client pixels (of the canvas for the
// controls on it).
struct Bounds {
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;

    bool operator==(const Bounds&) const = default;
};

// A rectangle by its corner and size: whole canvas pixels (PixelRect), or
// client or drawing pixels (ClientRect).
template <typename T>
struct Rectangle {
    T left = 0;
    T top = 0;
    T width = 0;
    T height = 0;
    T right() const { return left + width; }
    T bottom() const { return top + height; }
    bool empty() const { return width <= 0 || height <= 0; }
    // The part that lies in `other` too; empty when none does.
    Rectangle intersected(const Rectangle& other) const;
    bool operator==(const Rectangle&) const = default;
};
using PixelRect = Rectangle<int>;
using ClientRect = Rectangle<double>;
template <>
PixelRect PixelRect::intersected(const PixelRect& other) const;

// A straight line on the canvas, in canvas pixels.
struct LineControl {
    float X1 = 0;
    float Y1 = 0;
    float X2 = 0;
    float Y2 = 0;
    Rgb BorderColor = kBlack;
    BorderStyle Style = BorderStyle::Solid;
    int BorderWidth = 1;
    bool Visible = true;

    bool operator==(const LineControl&) const = default;
};

struct FontSpec {
    std::string Name;  // the family as the window names it, e.g. "ＭＳ Ｐ明朝"
    float Size = 9;    // points
    bool Bold = false;

    bool operator==(const FontSpec&) const = default;
};

// The size in whole pixels of a font of `points` points on a 96 dpi screen, as
// every screen shows it: what the window shows does not depend on the
// screen's dots per inch.
int pixelSizeForPoints(float points);

// A font as a front end draws it: the family as the window names it, its size
// in whole pixels, bold or not.
struct TextFont {
    std::string family;
    int pixelSize = 12;
    bool bold = false;

    bool operator==(const TextFont&) const = default;
};

TextFont textFont(const FontSpec& font);

// The installed font that shows a family of the form on the desktop: the IPA
// proportional fonts stand for "ＭＳ Ｐゴシック" and "ＭＳ Ｐ明朝", with the same
// metrics; any other family is itself.
std::string installedFamily(const std::string& family);

// The kind of typeface that shows a family of the form, for a front end that
// has fonts of its own for each kind: "mincho" for "ＭＳ Ｐ明朝", "gothic" for
// any other.
const char* typefaceOf(const std::string& family);

// Measures a caption in a font, so that an auto-sized label can take the size of
// its caption. A front end supplies the width of a text in its real font; the
// size of the label follows from it here.
class TextMeasurer {
  public:
    struct Size {
        float width = 0;
        float height = 0;
    };
    virtual ~TextMeasurer() = default;
    // The size of a label that fits `text`: as wide as its widest line, up to a
    // whole pixel; one line per line of the caption, each as high as the font's
    // size in pixels (the cell of the designed fonts). An empty caption is no
    // wide and still takes one line.
    Size measure(const std::string& text, const FontSpec& font) const;
    // The width of one line of text in `font` in pixels. Never asked for an
    // empty line.
    virtual double width(const std::string& text, const TextFont& font) const = 0;
};

// Estimates without a font: full-width characters one em wide, others half.
class EstimatingTextMeasurer final : public TextMeasurer {
  public:
    double width(const std::string& text, const TextFont& font) const override;
};

struct LabelControl : Bounds {
    bool Visible = true;
    bool AutoSize = false;
    Rgb BackColor = kWhite;
    Rgb ForeColor = kBlack;
    FontSpec Font;
    int TabIndex = -1;

    const std::string& Caption() const { return caption_; }
    // Sets the caption; an auto-sized label takes the size of its new caption.
    void setCaption(std::string caption);
    void setMeasurer(const TextMeasurer* measurer);
    // Re-measures an auto-sized label with the current measurer.
    void autoSize();

    // Equal when every property is: two labels that draw alike, whatever
    // measured their captions.
    bool operator==(const LabelControl& other) const {
        return static_cast<const Bounds&>(*this) == other && Visible == other.Visible &&
               AutoSize == other.AutoSize && BackColor == other.BackColor &&
               ForeColor == other.ForeColor && Font == other.Font && TabIndex == other.TabIndex &&
               caption_ == other.caption_;
    }

  private:
    std::string caption_;
    const TextMeasurer* measurer_ = nullptr;
};

enum class Letter : std::uint8_t { Ell, M, P, Q, R };
// Every letter, in the order of Letter.
inline constexpr Letter kLetters[] = {Letter::Ell, Letter::M, Letter::P, Letter::Q, Letter::R};

// The file of a letter's picture among the program's resources ("p.png").
const char* letterFile(Letter letter);

// A letter picture on the canvas; it takes the size of its picture.
struct ImageControl : Bounds {
    bool Visible = true;
    Letter Picture = Letter::P;

    bool operator==(const ImageControl&) const = default;
};

// The eraser outline: a circle, the largest that fits its box.
struct ShapeControl : Bounds {
    int Shape = 3;
    Rgb BorderColor = kBlack;
    int BorderWidth = 1;
    bool Visible = true;

    bool operator==(const ShapeControl&) const = default;
};

// What every clickable control of the window has: its caption, where it stands,
// its place in the tab order, and whether it takes clicks and is shown.
struct ButtonBase {
    std::string Caption;
    Bounds Rect;
    int TabIndex = 0;
    bool Enabled = true;
    bool Visible = true;
};

struct CommandButton : ButtonBase {
    bool FontBold = false;
};

class OptionGroup;

// An option button. Setting Value to true from code clears the other buttons of
// its group and, when it was clear, runs its Click at once, as a user's click does.
class OptionButton : public ButtonBase {
  public:
    std::function<void()> Click;

    bool Value() const { return value_; }
    void setValue(bool value);

  private:
    friend class OptionGroup;
    bool value_ = false;
    OptionGroup* group_ = nullptr;
};

// Option buttons that stand on the same container: selecting one clears the rest.
class OptionGroup {
  public:
    void add(OptionButton& button);
    // Makes `button` the selected one without running any Click (design-time value).
    void preset(OptionButton& button);
    void clearOthers(const OptionButton& keep);
    int selectedCount() const;

  private:
    std::vector<OptionButton*> members_;
};

// A check box. Any change of Value from code runs its Click at once.
class CheckBox : public ButtonBase {
  public:
    std::function<void()> Click;

    int Value() const { return value_; }
    void setValue(int value);

  private:
    int value_ = 0;
};

// One segment drawn on the canvas with its drawing operations, in canvas pixels.
struct StrokeSegment {
    float x1 = 0;
    float y1 = 0;
    float x2 = 0;
    float y2 = 0;
    Rgb color = kBlack;
    std::int32_t width = 1;

    bool operator==(const StrokeSegment&) const = default;
};

// Receives what is drawn on the canvas with its drawing operations: the only
// way a stroke reaches a screen. A front end keeps these strokes beneath the
// canvas's controls.
class DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;
    virtual void drawSegment(const StrokeSegment& segment) = 0;
    virtual void clear() = 0;
};

// The picture box that holds the figure (`gamen`).
class PictureBox {
  public:
    Bounds Rect;
    int TabIndex = 0;
    Rgb BackColor = kWhite;
    int BorderWidth = 2;  // sunken border on each side
    int ScaleMode = 1;
    float FontSize = 9;
    Rgb ForeColor = kBlack;
    int DrawWidth = 1;

    // Draws a segment with the current DrawWidth.
    void Line(float x1, float y1, float x2, float y2, Rgb color);
    // Wipes everything drawn; the controls on the canvas stay.
    void Cls();

    void setSurface(DrawingSurface* surface) { surface_ = surface; }
    DrawingSurface* surface() const { return surface_; }
    std::uint64_t segmentCount() const { return segments_; }
    std::uint64_t clsCount() const { return clears_; }
    // Segments drawn since the last Cls.
    std::uint64_t segmentsSinceCls() const { return segmentsSinceCls_; }

    float innerWidth() const { return Rect.Width - 2.0F * static_cast<float>(BorderWidth); }
    float innerHeight() const { return Rect.Height - 2.0F * static_cast<float>(BorderWidth); }

  private:
    DrawingSurface* surface_ = nullptr;
    std::uint64_t segments_ = 0;
    std::uint64_t segmentsSinceCls_ = 0;
    std::uint64_t clears_ = 0;
};

// A fixed control array addressed by index, `Line1(3)`, with indices Lo..Hi.
template <typename T, int Lo, int Hi>
class ControlArray {
  public:
    static constexpr int kLow = Lo;
    static constexpr int kHigh = Hi;

    T& operator()(int index) { return items_.at(slot(index)); }
    const T& operator()(int index) const { return items_.at(slot(index)); }
    static constexpr int size() { return Hi - Lo + 1; }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    static std::size_t slot(int index) {
        if (index < Lo || index > Hi) {
            throw std::out_of_range("control index");
        }
        return static_cast<std::size_t>(index - Lo);
    }
    std::array<T, static_cast<std::size_t>(Hi - Lo + 1)> items_{};
};

// Enables or disables every control of an array, as a tool's options are together.
template <typename Array>
void enableAll(Array& controls, bool enabled) {
    for (auto& control : controls) {
        control.Enabled = enabled;
    }
}

// A control array that grows at run time: further elements are created as copies
// of element 0 and start hidden.
class LineArray {
  public:
    LineArray() : items_(1) {}
    LineControl& operator()(int index) { return items_.at(static_cast<std::size_t>(check(index))); }
    const LineControl& operator()(int index) const {
        return items_.at(static_cast<std::size_t>(check(index)));
    }
    // Creates element `index`, which must be the next one.
    void Load(int index);
    int count() const { return static_cast<int>(items_.size()); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    static int check(int index) {
        if (index < 0) {
            throw std::out_of_range("control index");
        }
        return index;
    }
    std::vector<LineControl> items_;
};

}  // namespace heikosen
