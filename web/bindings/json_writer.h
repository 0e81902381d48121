#pragma once

// A small writer of JSON text, for handing the form's properties to the page.

#include <string>
#include <string_view>
#include <vector>

namespace heikosen::web {

class JsonWriter {
  public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view name);

    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(bool flag);
    void value(int number);
    void value(unsigned number);
    // Numbers of single precision are written in the fewest digits that read
    // back as the same float, doubles as the same double; NaN and infinity,
    // which JSON lacks, as null.
    void value(float number);
    void value(double number);
    void null();

    template <typename T>
    void field(std::string_view name, const T& v) {
        key(name);
        value(v);
    }

    const std::string& text() const { return out_; }
    void clear();

  private:
    void separate();

    std::string out_;
    std::vector<bool> empty_;  // per open object or array: nothing written yet
    bool afterKey_ = false;
};

}  // namespace heikosen::web
