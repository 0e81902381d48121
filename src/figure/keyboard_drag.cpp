// The figure from the keyboard, and the figure in words.
//
// With the canvas focused, a letter picks a handle, the arrow keys move it and
// Escape lets it go. The keys hold the handle as a pointer would: a pick brings
// the pointer to a point of the handle's zone and presses there, every step
// moves it, and letting go releases it, all through the canvas's own press,
// move and release handlers, so that a pupil at the keyboard gets the numbers
// of a mouse drag by the same steps.

#include <cmath>
#include <cstdlib>
#include <iterator>
#include <string>

#include "ui/form1.h"

namespace heikosen {

namespace {

// Where a pick presses, from the handle's own point outwards, as fractions of
// the zone's half width and half height: the first of these that grabs the
// handle, and no other, is taken.
constexpr float kZoneFractions[] = {0.0F, -0.5F, 0.5F, -0.98F, 0.98F, -0.998F, 0.998F};

// The handle's own point, and the half width of its zone (its half height is 50).
struct HandlePoint {
    float x;
    float y;
    float halfWidth;
};

HandlePoint handlePoint(const Form1& form, int handle) {
    const FigureState& g = form.fig;
    switch (handle) {
        case kHandleParallelP:
            return {20, static_cast<float>(g.parallelPY), 0};
        case kHandleParallelQ:
            return {20, static_cast<float>(g.parallelQY), 0};
        case kHandleUpperL:
            return {static_cast<float>(g.transLX1), static_cast<float>(g.transLY1), 30};
        case kHandleUpperM:
            return {static_cast<float>(g.transMX1), static_cast<float>(g.transMY1), 30};
        default:
            return {static_cast<float>(g.copyMGrabX), static_cast<float>(g.parallelQY), 50};
    }
}

const char* handleName(int handle) {
    switch (handle) {
        case kHandleParallelP:
            return "直線pの左端";
        case kHandleParallelQ:
            return "直線qの左端";
        case kHandleUpperL:
            return "直線ℓの上端";
        case kHandleUpperM:
            return "直線mの上端";
        case kHandleCopyM:
            return "mの写し";
        default:
            return "なし";
    }
}

// A non-negative number with `places` decimals, rounded, written with a point
// whatever the locale.
std::string decimal(double value, int places) {
    long long scale = 1;
    for (int i = 0; i < places; ++i) {
        scale *= 10;
    }
    const long long n = std::llround(value * static_cast<double>(scale));
    std::string fraction = std::to_string(n % scale);
    fraction.insert(0, static_cast<std::size_t>(places) - fraction.size(), '0');
    return std::to_string(n / scale) + "." + fraction;
}

// The length of a segment in squares of the grid (25 pixels), to one decimal.
constexpr double kGridSquare = 25;
// Far beyond anything the figure reaches: lengths and ratios stay below it.
constexpr double kLargest = 1.0e12;

double length(double x1, double y1, double x2, double y2) {
    return std::hypot(x2 - x1, y2 - y1) / kGridSquare;
}

// The ratio a : b as 1 : b / a, with two decimals.
std::string ratio(double a, double b) {
    if (a == 0 && b == 0) {
        return "決まらない";
    }
    if (a * kLargest < b) {
        return "0：1";
    }
    return "1：" + decimal(b / a, 2);
}

}  // namespace

bool Form1::keyboardGrabPoint(int handle, float& x, float& y) const {
    const HandlePoint at = handlePoint(*this, handle);
    for (float fy : kZoneFractions) {
        for (float fx : kZoneFractions) {
            const float px = at.x + fx * at.halfWidth;
            const float py = at.y + fy * 50;
            if (std::isfinite(px) && std::isfinite(py) && handleAt(px, py) == handle) {
                x = px;
                y = py;
                return true;
            }
        }
    }
    return false;
}

int Form1::keyboardHandle() const {
    return keyHandle_ != kHandleNone && grabbedHandle == keyHandle_ ? keyHandle_ : kHandleNone;
}

void Form1::letGoOfKeyboardHandle() {
    const int held = keyboardHandle();
    keyHandle_ = kHandleNone;
    if (held == kHandleNone) {
        return;
    }
    if (memoMode == 0 && lineMode == 0) {
        gamen_MouseUp(kLeftButton, 0, keyX_, keyY_);
    } else {
        // A tool came on while the handle was held: the figure lets go all the same.
        letGoOfHandle();
    }
}

void Form1::pickHandle(int handle) {
    if (keyboardHandle() == handle) {
        return;
    }
    letGoOfKeyboardHandle();
    float x = 0;
    float y = 0;
    // A handle whose zone a press cannot reach (beyond the margin, or under
    // another handle that a press there would take) stays where it is.
    if (!keyboardGrabPoint(handle, x, y)) {
        return;
    }
    // The pointer comes to the handle and presses there; the press itself
    // records no position, the move before it does.
    gamen_MouseMove(0, 0, x, y);
    gamen_MouseDown(kLeftButton, 0, x, y);
    keyHandle_ = grabbedHandle == handle ? handle : kHandleNone;
    keyX_ = x;
    keyY_ = y;
}

bool Form1::canvasKey(CanvasKey key, bool shift, bool repeat) {
    // The keys leave a drag of the mouse alone.
    if (heldButtons_ != 0) {
        return false;
    }
    const bool arrow = key == CanvasKey::Left || key == CanvasKey::Right || key == CanvasKey::Up ||
                       key == CanvasKey::Down;
    // A key held down repeats the steps only, not a pick or a switch.
    if (repeat && !arrow) {
        return true;
    }
    // Shift with L or M: what a click on the letter picture does, in every mode.
    if (shift && (key == CanvasKey::L || key == CanvasKey::M)) {
        Image1_Click(key == CanvasKey::L ? 0 : 1);
        return true;
    }
    // While a pen or the straight-line tool is on, the figure stays still.
    if (memoMode != 0 || lineMode != 0) {
        letGoOfKeyboardHandle();
        return false;
    }
    float dx = 0;
    float dy = 0;
    const float step = shift ? 10.0F : 1.0F;
    switch (key) {
        case CanvasKey::P:
        case CanvasKey::Q:
        case CanvasKey::L:
        case CanvasKey::M:
        case CanvasKey::C:
            // The letters come in the keyboard's order of the handles.
            pickHandle(kHandlesInKeyOrder[static_cast<int>(key) - static_cast<int>(CanvasKey::P)]);
            return true;
        case CanvasKey::Space: {
            // The next handle that can be picked, round p, q, l, m and the copy;
            // backwards with Shift.
            constexpr int kCount = static_cast<int>(std::size(kHandlesInKeyOrder));
            int at = -1;
            for (int i = 0; i < kCount; ++i) {
                if (kHandlesInKeyOrder[i] == keyboardHandle()) {
                    at = i;
                }
            }
            if (at < 0 && shift) {
                at = 0;
            }
            for (int k = 1; k <= kCount; ++k) {
                const int next = kHandlesInKeyOrder[(at + (shift ? kCount - k : k)) % kCount];
                float x = 0;
                float y = 0;
                if (keyboardGrabPoint(next, x, y)) {
                    pickHandle(next);
                    break;
                }
            }
            return true;
        }
        case CanvasKey::Escape:
            if (keyboardHandle() == kHandleNone) {
                return false;
            }
            letGoOfKeyboardHandle();
            return true;
        case CanvasKey::Left:
            dx = -step;
            break;
        case CanvasKey::Right:
            dx = step;
            break;
        case CanvasKey::Up:
            dy = -step;
            break;
        case CanvasKey::Down:
            dy = step;
            break;
    }
    if (keyboardHandle() == kHandleNone) {
        return false;
    }
    keyX_ += dx;
    keyY_ += dy;
    gamen_MouseMove(kLeftButton, 0, keyX_, keyY_);
    return true;
}

void Form1::canvasFocusLost() {
    letGoOfKeyboardHandle();
}

const char* Form1::canvasKeyHint() {
    return "キー: P、Q、L、M、Cで点をつかむ。スペースで次の点、Shift+スペースで前の点。"
           "矢印キーで1ピクセル、Shiftと一緒に10ピクセル動かす。Escで離す。"
           "Shift+LとShift+Mでℓとmの延長線を出す・消す。";
}

std::string Form1::canvasWords() const {
    const FigureState& g = fig;
    const double ab = length(g.pointAX, g.parallelPY, g.pointBX, g.parallelQY);
    const double bc = length(g.pointBX, g.parallelQY, g.pointCX, g.parallelRY);
    const double ab2 = length(g.pointAPrimeX, g.parallelPY, g.pointBPrimeX, g.parallelQY);
    const double bc2 = length(g.pointBPrimeX, g.parallelQY, g.pointCPrimeX, g.parallelRY);
    std::string text = "平行線p、q、rと直線ℓ、mの図。つかんでいる点: ";
    text += handleName(grabbedHandle);
    text += "。長さ（方眼のます目）: AB " + decimal(ab, 1) + "、BC " + decimal(bc, 1) + "、A'B' " +
            decimal(ab2, 1) + "、B'C' " + decimal(bc2, 1) + "。比: AB：BC ＝ " + ratio(ab, bc) +
            "、A'B'：B'C' ＝ " + ratio(ab2, bc2) + "。";
    return text;
}

std::string Form1::canvasDescription() const {
    return canvasWords() + canvasKeyHint();
}

}  // namespace heikosen
