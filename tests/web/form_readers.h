#pragma once

// What the page's tests read of the form, beside what the page itself is handed.

#include <emscripten/val.h>

#include <string>

#include "ui/canvas_scene.h"
#include "ui/form1.h"

namespace heikosen::web {

// The properties of one control by its name and index, or null for a name or an
// index the form has not got.
emscripten::val controlValue(const Form1& form, const std::string& name, int index);

// The form-level variables, the figure's included.
emscripten::val variablesValue(const Form1& form);

// The canvas items, lowest first.
emscripten::val sceneValue(const CanvasScene& scene);

}  // namespace heikosen::web
