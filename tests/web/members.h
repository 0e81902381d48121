#pragma once

// The objects that the page's tests read of the form: members set in turn, by
// name, written out as JSON and handed to the page in one piece (set one at a
// time in the page, each name and value crossing over on its own, a large
// object takes milliseconds).

#include <emscripten/emscripten.h>
#include <emscripten/val.h>

#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "ui/controls.h"

// JSON text of `length` bytes, parsed by the page. Handed over as a
// std::string, the text would be read a byte at a time before it is decoded.
extern "C" emscripten::EM_VAL parseJson(const char* text, int length);

namespace heikosen::web {

// An object of the page's, with the members set in turn.
class Members {
  public:
    template <typename T>
    Members& operator()(const char* name, const T& value) {
        text_ += text_.empty() ? '{' : ',';
        append(std::string_view(name));
        text_ += ':';
        append(value);
        return *this;
    }
    Members& bounds(const Bounds& rect) {
        return (*this)("Left", rect.Left)("Top", rect.Top)("Width", rect.Width)("Height",
                                                                                rect.Height);
    }
    // The object as JSON text.
    std::string json() const { return text_.empty() ? "{}" : text_ + '}'; }
    emscripten::val value() const {
        const std::string text = json();
        return emscripten::val::take_ownership(
            parseJson(text.data(), static_cast<int>(text.size())));
    }
    operator emscripten::val() const { return value(); }

  private:
    template <typename T>
    void append(const std::vector<T>& list) {
        text_ += '[';
        for (std::size_t i = 0; i < list.size(); ++i) {
            text_ += i > 0 ? "," : "";
            append(list[i]);
        }
        text_ += ']';
    }
    template <typename T>
    void append(const T& value) {
        if constexpr (std::is_same_v<T, bool>) {
            text_ += value ? "true" : "false";
        } else if constexpr (std::is_same_v<T, Members>) {
            // Its text closed in place, not copied whole first.
            text_ += value.text_.empty() ? "{" : value.text_;
            text_ += '}';
        } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
            appendText(value);
        } else {
            appendNumber(static_cast<double>(value));
        }
    }

    // A whole number in its digits; another as JavaScript writes it, the
    // digits that read back as the very number; what is no number as null.
    void appendNumber(double value) {
        if (!std::isfinite(value)) {
            text_ += "null";
        } else if (value == std::trunc(value) && std::fabs(value) < 1e15) {
            text_ += std::to_string(static_cast<long long>(value));
        } else {
            char digits[32];
            emscripten_print_double(value, digits, sizeof digits);
            text_ += digits;
        }
    }

    // A string, its quotes, backslashes and control characters escaped.
    void appendText(std::string_view text) {
        text_ += '"';
        for (const char c : text) {
            if (c == '"' || c == '\\') {
                text_ += '\\';
                text_ += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                text_ += "\\u00";
                text_ += "0123456789abcdef"[c >> 4];
                text_ += "0123456789abcdef"[c & 0xf];
            } else {
                text_ += c;
            }
        }
        text_ += '"';
    }

    std::string text_;
};

// The name at an enum's place in a table of names, or "" past its end.
template <std::size_t N, typename Enum>
const char* nameIn(const char* const (&names)[N], Enum value) {
    const auto at = static_cast<std::size_t>(value);
    return at < N ? names[at] : "";
}

}  // namespace heikosen::web
