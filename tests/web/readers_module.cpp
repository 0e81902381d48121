// The module of the page's tests: the site's module, and what the tests read of
// its form. The site itself ships without these.

#include <emscripten/bind.h>

#include <string>

#include "browser_form.h"
#include "form_readers.h"

EMSCRIPTEN_BINDINGS(heikosen_readers) {
    using namespace heikosen::web;
    emscripten::function(
        "control", +[](const std::string& name, int index) {
            return controlValue(runningForm().form(), name, index);
        });
    emscripten::function(
        "variables", +[] { return variablesValue(runningForm().form()); });
    emscripten::function(
        "scene", +[] { return sceneValue(heikosen::canvasScene(runningForm().form())); });
}
