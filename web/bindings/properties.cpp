#include "properties.h"

#include <emscripten/em_js.h>

#include <string>
#include <vector>

#include "members.h"
#include "ui/viewport.h"
#include "ui/window_controls.h"

EM_JS(emscripten::EM_VAL, parseJson, (const char* text, int length),
      { return Emval.toHandle(JSON.parse(UTF8ToString(text, length))); });

namespace heikosen::web {

using emscripten::val;

namespace {

// The page's words for the kinds and roles, in the order of their enums.
constexpr const char* kKindNames[] = {"label", "command", "option", "check", "canvas", "picture"};
constexpr const char* kRoleNames[] = {"text", "button", "radio", "checkbox", "img", "button"};

// One entry of the window's list as the page lays it out, keeps it up to date
// and gives it to a screen reader.
Members listedValue(const WindowControl& c) {
    const Members props = Members().bounds(c.rect)("Caption", c.caption)("Visible", c.visible)(
        "Enabled", c.enabled)("AutoSize", c.autoSize)("Value", c.value)("BackColor", c.backColor)(
        "ForeColor", c.foreColor)("Font", Members()("Typeface", typefaceOf(c.font.Name))(
                                              "Bold", c.font.Bold)("px", c.fontPixels));
    return Members()("kind", nameIn(kKindNames, c.kind))("id", elementId(c))(
        "role", nameIn(kRoleNames, c.role))("name", c.accessibleName)(
        "description", c.accessibleDescription)("tabStop", c.tabStop)("group", c.group)("props",
                                                                                        props);
}

}  // namespace

std::string letterName(Letter letter) {
    const std::string file = letterFile(letter);
    return file.substr(0, file.rfind('.'));
}

val windowValue(const Form1& form) {
    std::vector<std::string> letters;
    for (const Letter letter : kLetters) {
        letters.push_back(letterName(letter));
    }
    std::vector<Members> controls;
    for (const WindowControl& c : windowControls(form)) {
        controls.push_back(listedValue(c));
    }
    const CanvasMapping::FrameColors& frame = CanvasMapping::kFrameColors;
    // The figure in words, read out when it changes, and the canvas's keys.
    return Members()("Caption", form.Caption)("Width", kClientWidth)("Height", kClientHeight)(
        "BackColor", form.BackColor)("letters", letters)("groupName", kOptionGroupName)(
        "indicatorGap", kIndicatorCaptionGap)("indicatorSize", kIndicatorSize)(
        "frame", Members()("shadow", frame.shadow)("highlight", frame.highlight)(
                     "darkShadow", frame.darkShadow)("light", frame.light)(
                     "focusRing", frame.focusRing))("canvasWords", form.canvasWords())(
        "canvasKeys", Form1::canvasKeyHint())("controls", controls);
}

}  // namespace heikosen::web
