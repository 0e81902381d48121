#pragma once

// Everything a user can do to the window, as values: pointer presses, moves and
// releases on the canvas with any button, and clicks on the command buttons,
// the option buttons and the check boxes. Sequences of them come from a seeded
// generator (for the tests) or from raw bytes (for the fuzzer); both make their
// choices through the same code, so a byte string and a seed describe sequences
// of the same kind. Points are chosen near what matters in the window as it
// stands when the event is made: the handles of the figure, the zone borders,
// the labels and pictures, the canvas, far outside it and at absurd magnitudes.
//
// Header-only so that the gtest sequences and the fuzzer share it.

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "invariants.h"
#include "ui/form1.h"
#include "ui/form_host.h"

namespace heikosen::events {

struct PointerPress {
    int button = kLeftButton;
    float x = 0;
    float y = 0;
};
struct PointerMove {
    float x = 0;
    float y = 0;
};
struct PointerRelease {
    int button = kLeftButton;
    float x = 0;
    float y = 0;
};
struct ClickCommand {
    int number = 1;  // Command1..Command6
};
struct ClickOption1 {
    int index = 0;
};
struct ClickOption2 {
    int index = 0;
};
struct ClickCheck1 {
    int index = 0;
};

using Event = std::variant<PointerPress, PointerMove, PointerRelease, ClickCommand, ClickOption1,
                           ClickOption2, ClickCheck1>;

// --- The desktop, as a sequence sees it ---

// Ending the program only counts; the name dialog answers from a fixed list of
// names, empty, blank, long and malformed ones among them; the printer takes
// turns at printing, being cancelled and failing.
class ScriptedHost final : public FormHost {
  public:
    int endCalls = 0;
    int inputCalls = 0;
    int printCalls = 0;
    int messages = 0;

    static const std::vector<std::string>& names() {
        static const std::vector<std::string> list = {
            "",
            "山田 花子",
            " ",
            std::string(400, 'W'),
            "\xff\xfe\xc3(",
            "名前：名前：",
            "tab\tand\nnew line",
            "\xf0\x9f\x98\x80 a",
            "\x80 lone continuation",
            "cut short \xe5\x90",
            "x",
        };
        return list;
    }

    void endProgram() override { ++endCalls; }

    std::string inputBox(const std::string& /*prompt*/, const std::string& /*title*/) override {
        const std::vector<std::string>& list = names();
        return list[static_cast<std::size_t>(inputCalls++) % list.size()];
    }

    PrintOutcome printForm(const Form1& /*form*/) override {
        switch (printCalls++ % 3) {
            case 0:
                return {PrintOutcome::Status::Printed, {}};
            case 1:
                return {PrintOutcome::Status::Cancelled, {}};
            default:
                return {PrintOutcome::Status::Failed, "no printer"};
        }
    }

    void showMessage(const std::string& /*title*/, const std::string& /*text*/) override {
        ++messages;
    }
};

// A started window with its host.
struct Session {
    ScriptedHost host;
    Form1 form;

    Session() {
        form.setHost(&host);
        form.Form_Load();
    }
};

inline void perform(Form1& form, const Event& event) {
    std::visit(
        [&form](const auto& e) {
            using T = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<T, PointerPress>) {
                form.pointerPress(e.button, e.x, e.y);
            } else if constexpr (std::is_same_v<T, PointerMove>) {
                form.pointerMove(e.x, e.y);
            } else if constexpr (std::is_same_v<T, PointerRelease>) {
                form.pointerRelease(e.button, e.x, e.y);
            } else if constexpr (std::is_same_v<T, ClickCommand>) {
                form.userClickCommand(e.number);
            } else if constexpr (std::is_same_v<T, ClickOption1>) {
                form.userClickOption1(e.index);
            } else if constexpr (std::is_same_v<T, ClickOption2>) {
                form.userClickOption2(e.index);
            } else {
                form.userClickCheck1(e.index);
            }
        },
        event);
}

// What is wrong with a window; empty when nothing is.
using Check = std::function<std::vector<std::string>(const Form1&)>;

inline std::vector<std::string> allInvariants(const Form1& form) {
    return check::checkInvariants(form);
}

// Performs the event and returns what the check finds wrong afterwards. An
// exception escaping a handler is a violation too.
inline std::vector<std::string> applyAndCheck(Form1& form, const Event& event,
                                              const Check& check = allInvariants) {
    try {
        perform(form, event);
    } catch (const std::exception& e) {
        return {std::string("exception from a handler: ") + e.what()};
    }
    return check(form);
}

// --- Printing sequences as C++ ---

inline std::string floatLiteral(float value) {
    if (std::isnan(value)) {
        return "std::numeric_limits<float>::quiet_NaN()";
    }
    if (std::isinf(value)) {
        return value > 0 ? "std::numeric_limits<float>::infinity()"
                         : "-std::numeric_limits<float>::infinity()";
    }
    char text[48];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    std::string literal = text;
    if (literal.find_first_of(".e") == std::string::npos) {
        literal += ".0";
    }
    return literal + "F";
}

inline std::string toCpp(const Event& event) {
    return std::visit(
        [](const auto& e) -> std::string {
            using T = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<T, PointerPress>) {
                return "form.pointerPress(" + std::to_string(e.button) + ", " + floatLiteral(e.x) +
                       ", " + floatLiteral(e.y) + ");";
            } else if constexpr (std::is_same_v<T, PointerMove>) {
                return "form.pointerMove(" + floatLiteral(e.x) + ", " + floatLiteral(e.y) + ");";
            } else if constexpr (std::is_same_v<T, PointerRelease>) {
                return "form.pointerRelease(" + std::to_string(e.button) + ", " +
                       floatLiteral(e.x) + ", " + floatLiteral(e.y) + ");";
            } else if constexpr (std::is_same_v<T, ClickCommand>) {
                return "form.userClickCommand(" + std::to_string(e.number) + ");";
            } else if constexpr (std::is_same_v<T, ClickOption1>) {
                return "form.userClickOption1(" + std::to_string(e.index) + ");";
            } else if constexpr (std::is_same_v<T, ClickOption2>) {
                return "form.userClickOption2(" + std::to_string(e.index) + ");";
            } else {
                return "form.userClickCheck1(" + std::to_string(e.index) + ");";
            }
        },
        event);
}

inline std::string toCpp(const std::vector<Event>& events) {
    std::string text =
        "heikosen::events::ScriptedHost host;\n"
        "heikosen::Form1 form;\n"
        "form.setHost(&host);\n"
        "form.Form_Load();\n";
    for (const Event& event : events) {
        text += toCpp(event) + "\n";
    }
    return text;
}

// --- Where choices come from ---

// Choices from a seeded generator.
class RandomSource {
  public:
    explicit RandomSource(std::uint64_t seed) : engine_(seed) {}
    // A number in 0..n-1.
    std::uint32_t pick(std::uint32_t n) {
        return n <= 1 ? 0 : static_cast<std::uint32_t>(engine_() % n);
    }
    std::uint32_t bits32() { return static_cast<std::uint32_t>(engine_()); }
    bool exhausted() const { return false; }

  private:
    std::mt19937_64 engine_;
};

// Choices read from bytes; once the bytes run out every choice is 0 and
// exhausted() says so.
class ByteSource {
  public:
    ByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint32_t pick(std::uint32_t n) {
        if (n <= 1) {
            return 0;
        }
        std::uint32_t value = next();
        if (n > 256) {
            value = (value << 8U) | next();
        }
        return value % n;
    }
    std::uint32_t bits32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = (value << 8U) | next();
        }
        return value;
    }
    bool exhausted() const { return pos_ >= size_; }

  private:
    std::uint32_t next() { return pos_ < size_ ? data_[pos_++] : 0U; }
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// --- Making events ---

// Chooses the next events for the window as it stands. A tap (press and release
// at one point) comes out as two events, everything else as one.
class Maker {
  public:
    template <typename Source>
    void next(Source& src, const Form1& form, std::vector<Event>& out) {
        if (continueDrag(src, form, out)) {
            return;
        }
        const std::uint32_t kind = src.pick(100);
        if (kind < 18) {
            const Point p = point(src, form);
            out.emplace_back(PointerPress{button(src, form, false), p.x, p.y});
        } else if (kind < 56) {
            const Point p = src.pick(3) == 0 ? point(src, form) : step(src, form);
            out.emplace_back(PointerMove{p.x, p.y});
        } else if (kind < 70) {
            const Point p = src.pick(2) == 0 ? pointer_ : point(src, form);
            out.emplace_back(PointerRelease{button(src, form, true), p.x, p.y});
        } else if (kind < 77) {
            // A tap, most often on a label, a picture or a handle.
            const Point p = src.pick(2) == 0 ? onControl(src, form) : point(src, form);
            const int b = button(src, form, false);
            out.emplace_back(PointerPress{b, p.x, p.y});
            out.emplace_back(PointerRelease{b, p.x, p.y});
        } else if (kind < 84) {
            out.emplace_back(ClickCommand{static_cast<int>(src.pick(6)) + 1});
        } else if (kind < 88) {
            out.emplace_back(ClickOption1{static_cast<int>(src.pick(8))});
        } else if (kind < 91) {
            out.emplace_back(ClickOption2{static_cast<int>(src.pick(4))});
        } else if (kind < 96) {
            out.emplace_back(ClickCheck1{static_cast<int>(src.pick(5))});
        } else {
            startDrag(src, form, out);
        }
    }

  private:
    struct Point {
        float x = 0;
        float y = 0;
    };

    template <typename Source>
    int button(Source& src, const Form1& form, bool release) {
        const int held = form.heldButtons();
        if (release && held != 0 && src.pick(4) != 0) {
            for (int b : {kLeftButton, kRightButton, kMiddleButton}) {
                if ((held & b) != 0 && src.pick(2) == 0) {
                    return b;
                }
            }
        }
        switch (src.pick(10)) {
            case 7:
                return kRightButton;
            case 8:
                return kMiddleButton;
            case 9: {
                // Not a button the window knows.
                static constexpr int kOdd[4] = {0, 3, 8, -1};
                return kOdd[src.pick(4)];
            }
            default:
                return kLeftButton;
        }
    }

    // An integer offset in lo..hi, now and then with a fraction of eighths.
    template <typename Source>
    static double offset(Source& src, int lo, int hi) {
        double value = lo + static_cast<int>(src.pick(static_cast<std::uint32_t>(hi - lo + 1)));
        if (src.pick(4) == 0) {
            value += static_cast<double>(src.pick(8)) / 8.0;
        }
        return value;
    }

    static float toFloat(double value) {
        // Clamp rather than convert an out-of-range double.
        if (!(value < FLT_MAX)) {
            return std::isnan(value) ? 0.0F : FLT_MAX;
        }
        if (!(value > -FLT_MAX)) {
            return -FLT_MAX;
        }
        return static_cast<float>(value);
    }

    // A point within +-dx, +-dy of (x, y). The two offsets are drawn in this
    // order, x first, on every compiler.
    template <typename Source>
    Point around(Source& src, double x, int dx, double y, int dy) {
        const double ox = offset(src, -dx, dx);
        const double oy = offset(src, -dy, dy);
        return remember(x + ox, y + oy);
    }

    Point remember(double x, double y) {
        pointer_ = Point{toFloat(x), toFloat(y)};
        return pointer_;
    }

    // The y of the parallel that a drag would move, and the x of the upper end.
    static double heldParallelY(const Form1& form) {
        return form.grabbedHandle == kHandleParallelP ? form.fig.parallelPY : form.fig.parallelQY;
    }

    template <typename Source>
    Point step(Source& src, const Form1& form) {
        const double lx = pointer_.x;
        const double ly = pointer_.y;
        switch (src.pick(8)) {
            case 0: {
                // Half-pixel steps sideways: the copy's grab point rounds halves.
                const double k = static_cast<double>(static_cast<int>(src.pick(9)) - 4) * 0.5;
                return remember(lx + k, ly);
            }
            case 1: {
                // Bring the held parallel to the height of the upper or the lower ends.
                const double target = src.pick(2) == 0 ? 125.0 : 575.0;
                return remember(lx, ly + (target - heldParallelY(form)));
            }
            case 2: {
                // Make the held transversal vertical over its crossing with q.
                const FigureState& g = form.fig;
                const bool m = form.grabbedHandle == kHandleUpperM;
                const double upper = m ? g.transMX1 : g.transLX1;
                const double pivot = m ? g.pointBPrimeX : g.pointBX;
                return remember(lx + (pivot - upper), ly);
            }
            default:
                return around(src, lx, 40, ly, 40);
        }
    }

    template <typename Source>
    Point onControl(Source& src, const Form1& form) {
        const std::uint32_t which = src.pick(13);
        float left = 0;
        float top = 0;
        float width = 0;
        float height = 0;
        if (which < 5) {
            const ImageControl& image = form.Image1(static_cast<int>(which));
            left = image.Left;
            top = image.Top;
            width = image.Width;
            height = image.Height;
        } else {
            const LabelControl& label = which < 11    ? form.Label2(static_cast<int>(which - 5))
                                        : which == 11 ? form.Label3(1)
                                                      : form.Label5;
            left = label.Left;
            top = label.Top;
            width = label.Width;
            height = label.Height;
        }
        // Inside, on the edges, or a hair outside.
        const double fx = static_cast<double>(src.pick(11)) / 10.0;
        const double fy = static_cast<double>(src.pick(11)) / 10.0;
        double x = left + fx * width;
        double y = top + fy * height;
        if (src.pick(6) == 0) {
            x = src.pick(2) == 0 ? std::nextafter(static_cast<double>(left), -1e300)
                                 : static_cast<double>(left) + width;
        }
        return remember(x, y);
    }

    template <typename Source>
    Point point(Source& src, const Form1& form) {
        const FigureState& g = form.fig;
        switch (src.pick(14)) {
            case 0:  // left end of p
                return around(src, 30, 30, g.parallelPY, 60);
            case 1:  // left end of q
                return around(src, 30, 30, g.parallelQY, 60);
            case 2:  // upper end of l
                return around(src, g.transLX1, 35, g.transLY1, 55);
            case 3:  // upper end of m
                return around(src, g.transMX1, 35, g.transMY1, 55);
            case 4:  // the copy's grab point on q
                return around(src, g.copyMGrabX, 55, g.parallelQY, 55);
            case 5:
            case 6:
                return onControl(src, form);
            case 7:  // anywhere on the canvas
                return around(src, 401, 401, 313, 313);
            case 8:  // far outside
                return around(src, 0, 20000, 0, 20000);
            case 9: {
                const double x = huge(src);
                const double y = huge(src);
                return remember(x, y);
            }
            case 10:
                return boundary(src, form);
            case 11: {
                // Any bit pattern at all.
                const std::uint32_t xb = src.bits32();
                const std::uint32_t yb = src.bits32();
                float x = 0;
                float y = 0;
                std::memcpy(&x, &xb, sizeof x);
                std::memcpy(&y, &yb, sizeof y);
                pointer_ = Point{x, y};
                return pointer_;
            }
            default:
                return step(src, form);
        }
    }

    template <typename Source>
    static double huge(Source& src) {
        static constexpr double kValues[] = {
            1e30, -1e30, FLT_MAX, -FLT_MAX, 1e6,      -1e6,  1e6 + 1, -1e6 - 1, 999999.5, 3e38,
            0.0,  -0.0,  1e-40,   32767.5,  -32768.5, 65536, 1e7,     -1e7,     16777217, 125,
        };
        return kValues[src.pick(sizeof kValues / sizeof kValues[0])];
    }

    // Exactly on the borders of the grab zones, and just either side.
    template <typename Source>
    Point boundary(Source& src, const Form1& form) {
        const FigureState& g = form.fig;
        const double xs[] = {
            50,
            std::nextafter(50.0, 100.0),
            std::nextafter(50.0, 0.0),
            51,
            g.transLX1 - 30,
            g.transLX1 + 30,
            g.transLX1 + 29.999,
            g.transMX1 - 30,
            g.transMX1 + 30,
            g.transMX1 - 29.999,
            static_cast<double>(g.copyMGrabX) - 50,
            static_cast<double>(g.copyMGrabX) + 50,
            static_cast<double>(g.copyMGrabX) + 49.5,
        };
        const double ys[] = {
            g.parallelPY - 50,     g.parallelPY + 50,
            g.parallelPY + 49.999, g.parallelQY - 50,
            g.parallelQY + 50,     g.parallelQY - 49.999,
            g.transLY1 - 50,       g.transLY1 + 50,
            g.transMY1 + 49.999,   (g.parallelPY + g.parallelQY) / 2,
        };
        const double x = xs[src.pick(sizeof xs / sizeof xs[0])];
        const double y = ys[src.pick(sizeof ys / sizeof ys[0])];
        return remember(x, y);
    }

    // A whole left drag on a handle: the pointer goes to the handle, presses,
    // makes one to four steps and lets go. Each later part is made when its turn
    // comes, against the window as it then stands.
    template <typename Source>
    void startDrag(Source& src, const Form1& form, std::vector<Event>& out) {
        const FigureState& g = form.fig;
        double x = 0;
        double y = 0;
        switch (src.pick(5)) {
            case 0:
                x = 20;
                y = g.parallelPY;
                break;
            case 1:
                x = 20;
                y = g.parallelQY;
                break;
            case 2:
                x = g.transLX1;
                y = g.transLY1;
                break;
            case 3:
                x = g.transMX1;
                y = g.transMY1;
                break;
            default:
                x = g.copyMGrabX;
                y = g.parallelQY;
                break;
        }
        const Point p = around(src, x, 3, y, 3);
        out.emplace_back(PointerMove{p.x, p.y});
        dragPress_ = true;
        dragSteps_ = 1 + static_cast<int>(src.pick(4));
    }

    template <typename Source>
    bool continueDrag(Source& src, const Form1& form, std::vector<Event>& out) {
        if (dragPress_) {
            dragPress_ = false;
            out.emplace_back(PointerPress{kLeftButton, pointer_.x, pointer_.y});
            return true;
        }
        if (dragSteps_ > 0) {
            --dragSteps_;
            const Point p = step(src, form);
            out.emplace_back(PointerMove{p.x, p.y});
            return true;
        }
        if (dragSteps_ == 0) {
            dragSteps_ = -1;
            out.emplace_back(PointerRelease{kLeftButton, pointer_.x, pointer_.y});
            return true;
        }
        return false;
    }

    Point pointer_{400, 300};
    bool dragPress_ = false;
    int dragSteps_ = -1;  // steps left before the release; -1 when no drag is under way
};

// --- Running sequences ---

// Where a sequence first went wrong.
struct Failure {
    std::size_t index = 0;  // of the event after which the window was wrong
    std::vector<std::string> violations;
};

// Replays the events on a fresh started window, checking after every event.
inline bool replayFails(const std::vector<Event>& events, Failure* failure = nullptr,
                        const Check& check = allInvariants) {
    Session session;
    for (std::size_t i = 0; i < events.size(); ++i) {
        std::vector<std::string> violations = applyAndCheck(session.form, events[i], check);
        if (!violations.empty()) {
            if (failure != nullptr) {
                *failure = Failure{i, std::move(violations)};
            }
            return true;
        }
    }
    return false;
}

// The shortest failing sequence that dropping chunks and single events finds.
inline std::vector<Event> shrink(std::vector<Event> events, const Check& check = allInvariants) {
    Failure failure;
    if (!replayFails(events, &failure, check)) {
        return events;
    }
    events.resize(failure.index + 1);
    std::size_t chunk = events.size() / 2;
    while (chunk >= 1) {
        bool dropped = false;
        for (std::size_t start = 0; start < events.size();) {
            std::vector<Event> candidate;
            candidate.reserve(events.size());
            candidate.insert(candidate.end(), events.begin(),
                             events.begin() + static_cast<std::ptrdiff_t>(start));
            const std::size_t end = std::min(events.size(), start + chunk);
            candidate.insert(candidate.end(), events.begin() + static_cast<std::ptrdiff_t>(end),
                             events.end());
            if (!candidate.empty() && replayFails(candidate, &failure, check)) {
                candidate.resize(failure.index + 1);
                events = std::move(candidate);
                dropped = true;
            } else {
                start += chunk;
            }
        }
        if (!dropped) {
            chunk /= 2;
        }
    }
    return events;
}

// Runs the events that the bytes describe on a fresh started window, checking
// after every event; stops at the first violation. Returns the events run.
inline std::vector<Event> runBytes(const std::uint8_t* data, std::size_t size,
                                   Failure* failure = nullptr) {
    Session session;
    ByteSource src(data, size);
    Maker maker;
    std::vector<Event> events;
    std::vector<Event> batch;
    while (!src.exhausted()) {
        batch.clear();
        maker.next(src, session.form, batch);
        for (const Event& event : batch) {
            events.push_back(event);
            std::vector<std::string> violations = applyAndCheck(session.form, event);
            if (!violations.empty()) {
                if (failure != nullptr) {
                    *failure = Failure{events.size() - 1, std::move(violations)};
                }
                return events;
            }
        }
    }
    return events;
}

}  // namespace heikosen::events
