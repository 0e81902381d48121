#pragma once

// The form's window, controls and variables as objects of the page: the
// window's controls to lay out and keep up to date, and the properties that
// the page's tests read.

#include <emscripten/val.h>

#include <string>

#include "ui/canvas_scene.h"
#include "ui/form1.h"

namespace heikosen::web {

// The name of a letter's picture: its file's name without the extension.
std::string letterName(Letter letter);

const char* controlName(CanvasControl control);

// The window: its caption, size and colour, the letter pictures, the canvas in
// words, and every control on it (the canvas included) in the order of the Tab
// key, each with its kind, its element id ("Command1", "Option1_3"), its name
// and role for a screen reader, its box and its state.
emscripten::val windowValue(const Form1& form);

// The properties of one control by its name and index, or null for a name or an
// index the form has not got.
emscripten::val controlValue(const Form1& form, const std::string& name, int index);

// The form-level variables, the figure's included.
emscripten::val variablesValue(const Form1& form);

// The canvas items, lowest first.
emscripten::val sceneValue(const CanvasScene& scene);

}  // namespace heikosen::web
