#pragma once

// The page's objects as the bindings build them: members set in turn, by name.

#include <emscripten/val.h>

#include <cstddef>
#include <string>
#include <type_traits>

#include "ui/controls.h"

namespace heikosen::web {

// An object of the page's, with the members set in turn.
class Members {
  public:
    Members() : object_(emscripten::val::object()) {}
    template <typename T>
    Members& operator()(const char* name, const T& value) {
        if constexpr (std::is_enum_v<T>) {
            object_.set(name, static_cast<int>(value));
        } else if constexpr (std::is_same_v<T, Members>) {
            object_.set(name, value.object_);
        } else if constexpr (std::is_same_v<T, emscripten::val> || std::is_same_v<T, std::string>) {
            object_.set(name, value);
        } else if constexpr (std::is_convertible_v<T, const char*>) {
            object_.set(name, std::string(value));
        } else {
            object_.set(name, value);
        }
        return *this;
    }
    Members& bounds(const Bounds& rect) {
        return (*this)("Left", rect.Left)("Top", rect.Top)("Width", rect.Width)("Height",
                                                                                rect.Height);
    }
    emscripten::val value() const { return object_; }
    operator emscripten::val() const { return object_; }

  private:
    emscripten::val object_;
};

// The name at an enum's place in a table of names, or "" past its end.
template <std::size_t N, typename Enum>
const char* nameIn(const char* const (&names)[N], Enum value) {
    const auto at = static_cast<std::size_t>(value);
    return at < N ? names[at] : "";
}

}  // namespace heikosen::web
