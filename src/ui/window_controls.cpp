#include "ui/window_controls.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <type_traits>

#include "ui/form1.h"

namespace heikosen {

namespace {

constexpr const char* kControlFamily = "ＭＳ Ｐゴシック";
constexpr float kControlPoints = 9;

// What each command button does, as a screen reader says it; each begins with
// the button's caption, which a pupil sees.
constexpr const char* kCommandPurposes[Form1::kCommandCount] = {
    "初期画面に戻す",          // Command1
    "終了",                    // Command2
    "メモ（ペンで書き込む）",  // Command3
    "方眼の表示",              // Command4
    "直線を引く",              // Command5
    "印刷",                    // Command6
};

constexpr const char* kCanvasName = "平行線の図";
// The letter pictures that switch an extension, Image1(0) and Image1(1).
constexpr const char* kExtensionNames[] = {"直線ℓの延長", "直線mの延長"};
constexpr const char* kLineColourName = "直線の色";

WindowControl withFont(WindowControl control, const FontSpec& font) {
    control.font = font;
    control.fontPixels = pixelSizeForPoints(font.Size);
    return control;
}

WindowControl labelEntry(WindowControlName name, int index, const LabelControl& label) {
    WindowControl c;
    c.name = name;
    c.index = index;
    c.kind = ControlKind::Label;
    c.rect = label;
    c.autoSize = label.AutoSize;
    c.caption = label.Caption();
    c.visible = label.Visible;
    c.backColor = label.BackColor;
    c.foreColor = label.ForeColor;
    c.tabIndex = label.TabIndex;
    c.role = AccessibleRole::Text;
    c.accessibleName = label.Caption();
    return withFont(c, label.Font);
}

// An option button or a check box, on the window's ground. The option
// buttons are one group, whatever array they belong to.
template <typename Box>
WindowControl boxEntry(const Form1& form, WindowControlName name, int index, const Box& box) {
    constexpr bool option = std::is_same_v<Box, OptionButton>;
    WindowControl c;
    c.name = name;
    c.index = index;
    c.kind = option ? ControlKind::Option : ControlKind::Check;
    c.role = option ? AccessibleRole::RadioButton : AccessibleRole::CheckBox;
    c.group = option ? 0 : -1;
    c.rect = box.Rect;
    c.caption = box.Caption;
    c.value = static_cast<int>(box.Value());
    c.enabled = box.Enabled;
    c.visible = box.Visible;
    c.backColor = form.BackColor;
    c.foreColor = kBlack;
    c.tabIndex = box.TabIndex;
    return withFont(c, controlFont());
}

// Of the option group, the Tab key stops at the selected button when it can
// take the focus, else at the first that can; never at the others.
void markTabStops(WindowControls& controls) {
    WindowControl* groupStop = nullptr;
    for (WindowControl& c : controls) {
        c.tabStop = c.focusable && c.group < 0;
        if (c.group >= 0 && c.focusable &&
            (groupStop == nullptr || (c.value == 1 && groupStop->value != 1))) {
            groupStop = &c;
        }
    }
    if (groupStop != nullptr) {
        groupStop->tabStop = true;
    }
}

bool inList(const WindowControls& controls, int at) {
    return at >= 0 && at < static_cast<int>(controls.size());
}

// The next Tab stop after `from` round the window, or before it going back.
int nextTabStop(const WindowControls& controls, int from, bool forward) {
    const int count = static_cast<int>(controls.size());
    int at = from;
    if (!inList(controls, from)) {
        at = forward ? count - 1 : 0;
    }
    for (int k = 1; k <= count; ++k) {
        const int next = ((forward ? at + k : at - k) % count + count) % count;
        if (controls[static_cast<std::size_t>(next)].tabStop) {
            return next;
        }
    }
    return -1;
}

// The next button of the focused one's group that can take the focus, round
// the group in the order of the Tab key, or -1 when there is no other.
int nextInGroup(const WindowControls& controls, int from, int step) {
    const int count = static_cast<int>(controls.size());
    const int group = controls[static_cast<std::size_t>(from)].group;
    for (int k = 1; k < count; ++k) {
        const int next = ((from + step * k) % count + count) % count;
        const WindowControl& c = controls[static_cast<std::size_t>(next)];
        if (c.group == group && c.focusable) {
            return next;
        }
    }
    return -1;
}

}  // namespace

FontSpec controlFont() {
    return FontSpec{kControlFamily, kControlPoints, false};
}

const char* controlName(WindowControlName name) {
    // In the order of WindowControlName.
    static constexpr const char* kNames[] = {
        "Label1",   "Label4",  "Command1", "Command2", "Command3", "Command4", "Command5",
        "Command6", "Option1", "Option2",  "Check1",   "gamen",    "Image1"};
    const auto at = static_cast<std::size_t>(name);
    return at < std::size(kNames) ? kNames[at] : "";
}

std::string elementId(const WindowControl& control) {
    std::string id = controlName(control.name);
    if (control.index >= 0) {
        // Appended piece by piece: GCC 12 at -O3 warns falsely of overlapping
        // copies in a literal added to a temporary string.
        id += '_';
        id += std::to_string(control.index);
    }
    return id;
}

WindowControls windowControls(const Form1& form) {
    WindowControls controls;
    controls.push_back(labelEntry(WindowControlName::Label1, -1, form.Label1));
    for (int i = decltype(form.Label4)::kLow; i <= decltype(form.Label4)::kHigh; ++i) {
        controls.push_back(labelEntry(WindowControlName::Label4, i, form.Label4(i)));
    }

    for (int n = 1; n <= Form1::kCommandCount; ++n) {
        const CommandButton& button = form.command(n);
        WindowControl c;
        c.name =
            static_cast<WindowControlName>(static_cast<int>(WindowControlName::Command1) + n - 1);
        c.kind = ControlKind::Command;
        c.rect = button.Rect;
        c.caption = button.Caption;
        c.enabled = button.Enabled;
        c.visible = button.Visible;
        c.tabIndex = button.TabIndex;
        c.role = AccessibleRole::Button;
        c.accessibleName = kCommandPurposes[n - 1];
        FontSpec font = controlFont();
        font.Bold = button.FontBold;
        controls.push_back(withFont(c, font));
    }

    // The pens stand in two rows, each named by its label: the thick pens
    // Option1(4..7) beside Label4(0), the thin ones Option1(0..3) beside Label4(1).
    for (int i = decltype(form.Option1)::kLow; i <= decltype(form.Option1)::kHigh; ++i) {
        WindowControl c = boxEntry(form, WindowControlName::Option1, i, form.Option1(i));
        const LabelControl& row = form.Label4(i >= 4 ? 0 : 1);
        c.accessibleName = row.Caption() + " " + c.caption;
        controls.push_back(c);
    }
    for (int i = decltype(form.Option2)::kLow; i <= decltype(form.Option2)::kHigh; ++i) {
        WindowControl c = boxEntry(form, WindowControlName::Option2, i, form.Option2(i));
        c.accessibleName = std::string(kLineColourName) + " " + c.caption;
        controls.push_back(c);
    }
    // Each box takes away the marker line of its number: "直線1" to "直線5".
    for (int i = decltype(form.Check1)::kLow; i <= decltype(form.Check1)::kHigh; ++i) {
        WindowControl c = boxEntry(form, WindowControlName::Check1, i, form.markerBox(i));
        c.accessibleName = form.Command5.Caption + c.caption;
        controls.push_back(c);
    }

    WindowControl canvas;
    canvas.name = WindowControlName::gamen;
    canvas.kind = ControlKind::Canvas;
    canvas.rect = form.gamen.Rect;
    canvas.borderWidth = form.gamen.BorderWidth;
    canvas.backColor = form.gamen.BackColor;
    canvas.foreColor = form.gamen.ForeColor;
    canvas.tabIndex = form.gamen.TabIndex;
    canvas.role = AccessibleRole::Image;
    canvas.accessibleName = kCanvasName;
    canvas.accessibleDescription = form.canvasDescription();
    controls.push_back(withFont(canvas, controlFont()));
    // The pictures of ℓ and m follow the canvas they stand on, where they are
    // drawn, in the window's pixels.
    const std::int16_t* shown[] = {&form.extension1Shown, &form.extension2Shown};
    for (int i = 0; i < 2; ++i) {
        const ImageControl& image = form.Image1(i);
        const auto inset = static_cast<float>(form.gamen.BorderWidth);
        WindowControl c;
        c.name = WindowControlName::Image1;
        c.index = i;
        c.kind = ControlKind::Picture;
        c.rect = Bounds{form.gamen.Rect.Left + inset + image.Left,
                        form.gamen.Rect.Top + inset + image.Top, image.Width, image.Height};
        c.value = *shown[i] != 0 ? 1 : 0;
        c.visible = image.Visible;
        c.tabIndex = form.gamen.TabIndex;
        c.role = AccessibleRole::ToggleButton;
        c.accessibleName = kExtensionNames[i];
        controls.push_back(withFont(c, controlFont()));
    }

    for (WindowControl& c : controls) {
        // The pictures take no focus: the canvas's keys are theirs.
        c.focusable = c.kind != ControlKind::Label && c.kind != ControlKind::Picture && c.enabled &&
                      c.visible;
    }
    std::stable_sort(
        controls.begin(), controls.end(),
        [](const WindowControl& a, const WindowControl& b) { return a.tabIndex < b.tabIndex; });
    markTabStops(controls);
    return controls;
}

void activateControl(Form1& form, const WindowControl& control) {
    switch (control.name) {
        case WindowControlName::Command1:
        case WindowControlName::Command2:
        case WindowControlName::Command3:
        case WindowControlName::Command4:
        case WindowControlName::Command5:
        case WindowControlName::Command6:
            form.userClickCommand(1 + static_cast<int>(control.name) -
                                  static_cast<int>(WindowControlName::Command1));
            return;
        case WindowControlName::Option1:
            form.userClickOption1(control.index);
            return;
        case WindowControlName::Option2:
            form.userClickOption2(control.index);
            return;
        case WindowControlName::Check1:
            form.userClickCheck1(control.index);
            return;
        case WindowControlName::Image1:
            // As a click on the picture does, but not while a button holds the board.
            if (form.heldButtons() == 0) {
                form.Image1_Click(control.index);
            }
            return;
        case WindowControlName::Label1:
        case WindowControlName::Label4:
        case WindowControlName::gamen:
            return;
    }
}

KeyStroke keyStroke(ControlKey key, bool shift, bool otherModifiers, bool repeat) {
    if (key == ControlKey::Tab || key == ControlKey::BackTab) {
        return {shift ? ControlKey::BackTab : key, otherModifiers, repeat};
    }
    return {key, shift || otherModifiers, repeat};
}

KeyOutcome controlKey(const WindowControls& controls, int focused, KeyStroke stroke) {
    const WindowControl* at =
        inList(controls, focused) ? &controls[static_cast<std::size_t>(focused)] : nullptr;
    const bool clicks = stroke.key == ControlKey::Enter || stroke.key == ControlKey::Space;
    if (stroke.modified && !clicks) {
        return {};
    }
    switch (stroke.key) {
        case ControlKey::Tab:
        case ControlKey::BackTab:
            return {true, nextTabStop(controls, focused, stroke.key == ControlKey::Tab), -1};
        case ControlKey::Enter:
        case ControlKey::Space: {
            const bool takes =
                at != nullptr &&
                (at->kind == ControlKind::Command ||
                 (stroke.key == ControlKey::Space &&
                  (at->kind == ControlKind::Check || at->kind == ControlKind::Option)));
            if (!takes) {
                return {};
            }
            // One click for each press, not one for each repeat of a key held.
            // With a modifier (Ctrl+Space switches the input method on many
            // machines) the key is taken and clicks nothing, so that the
            // front end's own button does not click either.
            return {true, -1, stroke.repeat || stroke.modified ? -1 : focused};
        }
        case ControlKey::Left:
        case ControlKey::Right:
        case ControlKey::Up:
        case ControlKey::Down: {
            if (at == nullptr || at->kind == ControlKind::Canvas) {
                return {};
            }
            // On a button or a check box the arrows move nothing (as in the
            // browser), neither the focus nor the page.
            if (at->kind != ControlKind::Option) {
                return {true, -1, -1};
            }
            const bool back = stroke.key == ControlKey::Left || stroke.key == ControlKey::Up;
            const int next = nextInGroup(controls, focused, back ? -1 : 1);
            return {true, next, next};
        }
        default:
            return {};
    }
}

KeyOutcome windowKey(Form1& form, const WindowControls& controls, int focused, ControlKey key,
                     bool shift, bool otherModifiers, bool repeat) {
    const KeyOutcome outcome =
        controlKey(controls, focused, keyStroke(key, shift, otherModifiers, repeat));
    // The canvas's keys, in the order of CanvasKey.
    static constexpr ControlKey kCanvasKeys[] = {
        ControlKey::Left,  ControlKey::Up,     ControlKey::Right, ControlKey::Down,
        ControlKey::Space, ControlKey::Escape, ControlKey::P,     ControlKey::Q,
        ControlKey::L,     ControlKey::M,      ControlKey::C};
    const auto* canvasKey = std::find(std::begin(kCanvasKeys), std::end(kCanvasKeys), key);
    if (outcome.handled || otherModifiers || canvasKey == std::end(kCanvasKeys) ||
        !inList(controls, focused) ||
        controls[static_cast<std::size_t>(focused)].kind != ControlKind::Canvas) {
        return outcome;
    }
    const bool taken =
        form.canvasKey(static_cast<CanvasKey>(canvasKey - std::begin(kCanvasKeys)), shift, repeat);
    return {taken, -1, -1, taken};
}

}  // namespace heikosen
