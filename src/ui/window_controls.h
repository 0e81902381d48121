#pragma once

// The window's controls as plain values, the sibling of the canvas scene: one
// entry per control that stands on the window (the canvas among them), in the
// order of the Tab key, with everything a front end needs to show it: where it
// stands, what it says and in which font, its state, and what a screen reader
// says of it. A front end creates, places and updates its widgets in one loop
// over this list and hands the user's clicks and keys back through it; the
// keys' rules (the Tab stops, the one group of option buttons) are here too.
// A control added to the window is added here alone.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace heikosen {

class Form1;

// The controls of the window by their own names. A command button is a single
// control; the others with an index are control arrays.
enum class WindowControlName : std::uint8_t {
    Label1,
    Label4,
    Command1,
    Command2,
    Command3,
    Command4,
    Command5,
    Command6,
    Option1,
    Option2,
    Check1,
    gamen,
    Image1,  // the letter pictures ℓ and m on the canvas, which switch their extensions
};

// A Picture is a letter picture on the canvas that a click switches; the
// canvas draws it, and a front end's control for it is seen by screen readers
// alone (the canvas's keys Shift+L and Shift+M switch it from the keyboard).
enum class ControlKind : std::uint8_t { Label, Command, Option, Check, Canvas, Picture };

// What a control is to assistive technology.
enum class AccessibleRole : std::uint8_t {
    Text,
    Button,
    RadioButton,
    CheckBox,
    Image,
    ToggleButton
};

struct WindowControl {
    WindowControlName name = WindowControlName::Label1;
    int index = -1;  // the element of a control array; -1 for a single control
    ControlKind kind = ControlKind::Label;
    Bounds rect;  // client pixels of the laid-out window
    // A label that takes the size of its caption: the box is what the form's
    // measurer gave it.
    bool autoSize = false;
    int borderWidth = 0;  // the canvas's sunken border, on each side
    std::string caption;
    FontSpec font;       // a command button's is bold while its tool is on
    int fontPixels = 1;  // the font's size in whole pixels
    // An option button: 1 while selected; a check box: its Value; a picture: 1
    // while its extension is shown.
    int value = 0;
    bool enabled = true;
    bool visible = true;
    // The ground and the text. Command buttons keep the desktop's button colours.
    Rgb backColor = kWhite;
    Rgb foreColor = kBlack;
    int tabIndex = 0;  // the layout's TabIndex
    // Takes the focus from the keyboard, from the mouse or from a screen reader.
    bool focusable = false;
    // A stop of the Tab key now: every focusable control, but of the group of
    // option buttons only the one that the Tab key enters it at.
    bool tabStop = false;
    int group = -1;  // the option buttons' group (0); -1 for every other control
    AccessibleRole role = AccessibleRole::Text;
    std::string accessibleName;
    // What the control shows, in words, beyond its name (the canvas: the figure).
    std::string accessibleDescription;
};

using WindowControls = std::vector<WindowControl>;

// Every control on the window, in the order of the Tab key (the layout's
// TabIndex, lowest first).
WindowControls windowControls(const Form1& form);

// The control's own name, "Command3", "Option1", "gamen".
const char* controlName(WindowControlName name);
// The control's name with its index, as a front end names its widget:
// "Command3", "Option1_4", "gamen".
std::string elementId(const WindowControl& control);

// The name of the one group of option buttons, for a screen reader.
inline constexpr const char* kOptionGroupName = "ペンと直線の色";

// The gap between an option button's or a check box's indicator and its
// caption that the layout is drawn for, in client pixels: narrow, so that the
// short captions of the pens and of the marker lines fit their rectangles.
inline constexpr int kIndicatorCaptionGap = 3;
// The side of an option button's or a check box's indicator, in client pixels.
inline constexpr int kIndicatorSize = 13;

// The font of controls that have none of their own: buttons, option buttons
// and check boxes.
FontSpec controlFont();

// A click on the control, or its key, as the user gives it: a command button
// runs its Click, an option button is selected, a check box changes, a
// picture of ℓ or m switches its extension. Labels and the canvas take no
// click here; a disabled control ignores it.
void activateControl(Form1& form, const WindowControl& control);

// The keys that the window's controls answer, before any other handling, and
// after them the canvas's own keys.
enum class ControlKey : std::uint8_t {
    Tab,
    BackTab,
    Left,
    Right,
    Up,
    Down,
    Enter,
    Space,
    Escape,
    P,
    Q,
    L,
    M,
    C
};

struct KeyStroke {
    ControlKey key = ControlKey::Tab;
    // Shift (other than with BackTab), Control, Alt or Meta held with it.
    bool modified = false;
    bool repeat = false;  // a repeat of a key held down
};

// A key as a front end reads it, with the modifiers held: Shift+Tab goes
// back, the Shift being part of the key.
KeyStroke keyStroke(ControlKey key, bool shift, bool otherModifiers, bool repeat);

// What a key does: whether the window takes it, the control that takes the
// focus (its position in the list) and the one that is clicked (-1: none).
struct KeyOutcome {
    bool handled = false;
    int focus = -1;
    int activate = -1;
    bool canvas = false;  // the canvas took the key: its figure may have moved
    bool operator==(const KeyOutcome&) const = default;
};

// The key pressed while the control at `focused` (-1: none) has the focus.
// Tab and Shift+Tab go to the next and the previous Tab stop round the window;
// Enter and Space click a command button, Space a check box or an option
// button, once for each press, and with a modifier are taken and click
// nothing; the arrows go round the option group to the next enabled button
// and select it. Every other key is the control's own.
KeyOutcome controlKey(const WindowControls& controls, int focused, KeyStroke stroke);

// A key as a front end reads it, with the modifiers held, while the control at
// `focused` has the focus: the controls' rules first, then on the canvas its
// own keys, alone or with Shift, which pick and move the figure's handles
// (Form1::canvasKey).
KeyOutcome windowKey(Form1& form, const WindowControls& controls, int focused, ControlKey key,
                     bool shift, bool otherModifiers, bool repeat);

}  // namespace heikosen
