#pragma once

// The form's window as an object of the page: the window's controls to lay out
// and keep up to date.

#include <emscripten/val.h>

#include <string>

#include "ui/form1.h"

namespace heikosen::web {

// The name of a letter's picture: its file's name without the extension.
std::string letterName(Letter letter);

// The window: its caption, size and colour, the letter pictures, the canvas in
// words, and every control on it (the canvas included) in the order of the Tab
// key, each with its kind, its element id ("Command1", "Option1_3"), its name
// and role for a screen reader, its box and its state.
emscripten::val windowValue(const Form1& form);

}  // namespace heikosen::web
