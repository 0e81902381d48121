#include "json_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace heikosen::web {

namespace {

// The shortest %g form of `number` that reads back as `number` in type T.
template <typename T>
void writeShortest(std::string& out, T number) {
    constexpr int kMaxDigits = sizeof(T) == sizeof(float) ? 9 : 17;
    char text[40];
    // Whole numbers, as most pixel positions are, as whole numbers.
    if (std::trunc(number) == number && std::fabs(number) < static_cast<T>(1e15)) {
        std::snprintf(text, sizeof text, "%.0f", static_cast<double>(number));
        out += text;
        return;
    }
    for (int digits = 1; digits <= kMaxDigits; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(number));
        const T back = sizeof(T) == sizeof(float) ? static_cast<T>(std::strtof(text, nullptr))
                                                  : static_cast<T>(std::strtod(text, nullptr));
        if (back == number) {
            break;
        }
    }
    out += text;
}

}  // namespace

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!empty_.empty()) {
        if (!empty_.back()) {
            out_ += ',';
        }
        empty_.back() = false;
    }
}

void JsonWriter::beginObject() {
    separate();
    out_ += '{';
    empty_.push_back(true);
}

void JsonWriter::endObject() {
    out_ += '}';
    empty_.pop_back();
}

void JsonWriter::beginArray() {
    separate();
    out_ += '[';
    empty_.push_back(true);
}

void JsonWriter::endArray() {
    out_ += ']';
    empty_.pop_back();
}

void JsonWriter::key(std::string_view name) {
    value(name);
    out_ += ':';
    afterKey_ = true;
}

void JsonWriter::value(std::string_view text) {
    separate();
    out_ += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out_ += "\\\"";
                break;
            case '\\':
                out_ += "\\\\";
                break;
            case '\n':
                out_ += "\\n";
                break;
            case '\r':
                out_ += "\\r";
                break;
            case '\t':
                out_ += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    out_ += escaped;
                } else {
                    out_ += c;
                }
        }
    }
    out_ += '"';
}

void JsonWriter::value(bool flag) {
    separate();
    out_ += flag ? "true" : "false";
}

void JsonWriter::value(int number) {
    separate();
    out_ += std::to_string(number);
}

void JsonWriter::value(unsigned number) {
    separate();
    out_ += std::to_string(number);
}

void JsonWriter::value(float number) {
    separate();
    if (!std::isfinite(number)) {
        out_ += "null";
        return;
    }
    writeShortest(out_, number);
}

void JsonWriter::value(double number) {
    separate();
    if (!std::isfinite(number)) {
        out_ += "null";
        return;
    }
    writeShortest(out_, number);
}

void JsonWriter::null() {
    separate();
    out_ += "null";
}

void JsonWriter::clear() {
    out_.clear();
    empty_.clear();
    afterKey_ = false;
}

}  // namespace heikosen::web
