#pragma once

// The window's controls as the page reads them: one record of 32-bit words per
// control, in the order of the Tab key, after a header for the window. As with
// the canvas's records, the page reads where each word lies from the module
// (recordLayout), so that the two sides cannot drift apart.

#include <emscripten/val.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "ui/form1.h"
#include "ui/window_controls.h"

namespace heikosen::web {

enum ControlWord : std::size_t {
    kControlKind,           // ControlKind
    kGroup,                 // the option buttons' group; -1 for every other control
    kTabStop,               // a stop of the Tab key now
    kBox,                   // left, top, width, height in client pixels, as floats
    kText = kBox + 4,       // the caption's address and length in bytes
    kId = kText + 2,        // the element's id ("Option1_3"): address and length
    kName = kId + 2,        // what a screen reader says of it: address and length
    kTypeface = kName + 2,  // the font's typeface: address and length
    kFontPixels = kTypeface + 2,
    kBold,
    kVisible,
    kEnabled,
    kAutoSize,
    kValue,
    kBackColor,
    kForeColor,
    kControlWords,
};

enum WindowWord : std::size_t {
    kControlCount,
    kControls,                          // address of the controls' records
    kWindowCaption,                     // address and length
    kCanvasWords = kWindowCaption + 2,  // the figure in words: address and length
    kWindowWords = kCanvasWords + 2,
};

// An object of the page's, its members set in turn by name.
struct Fields {
    emscripten::val object = emscripten::val::object();
    template <typename T>
    Fields& operator()(const char* name, const T& value) {
        if constexpr (std::is_enum_v<T>) {
            object.set(name, static_cast<int>(value));
        } else {
            object.set(name, value);
        }
        return *this;
    }
};

// The name of a letter's picture: its file's name without the extension.
std::string letterName(Letter letter);

// What stays of the window while the program runs: its size and colour, the
// letter pictures' names, the option buttons' group, the indicators' size and
// gap, the canvas frame's colours and the canvas's keys in words.
emscripten::val windowFacts(const Form1& form);

// The window's controls as they stand, kept for the page to read.
class WindowRecords {
  public:
    // The header (WindowWord), in the module's memory until the next call.
    const std::int32_t* refresh(const Form1& form);

  private:
    WindowControls controls_;
    std::vector<std::string> ids_;
    std::string canvasWords_;
    std::vector<std::int32_t> records_;
    std::int32_t header_[kWindowWords] = {};
};

}  // namespace heikosen::web
