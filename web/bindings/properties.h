#pragma once

// The form's controls and variables as JSON, for the page: the window's
// controls to lay out and keep up to date, and the properties that the page's
// tests read.

#include <string>
#include <string_view>

#include "json_writer.h"
#include "ui/canvas_scene.h"
#include "ui/form1.h"

namespace heikosen::web {

// The name of a letter's picture: its file's name without the extension.
std::string letterName(Letter letter);

const char* controlName(CanvasControl control);

// The window: its caption, size and colour, the letter pictures, and every
// control on it (the canvas included) in the order of the tab key, each with
// its kind, its element id ("Command1", "Option1_3"), its box and its state.
void writeWindow(JsonWriter& out, const Form1& form);

// The properties of one control by its name and index, or null for a name or an
// index the form has not got.
void writeControl(JsonWriter& out, const Form1& form, std::string_view name, int index);

// The form-level variables, the figure's included.
void writeVariables(JsonWriter& out, const Form1& form);

// The canvas items, lowest first.
void writeScene(JsonWriter& out, const CanvasScene& scene);

}  // namespace heikosen::web
