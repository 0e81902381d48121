#include "ui/pointer_input.h"

namespace heikosen {

namespace {

// A web page's number of a button (its `button`), as the core's button.
int fromPageButton(int button) {
    switch (button) {
        case 0:
        case 5:
            return kLeftButton;
        case 1:
            return kMiddleButton;
        case 2:
            return kRightButton;
        default:
            return 0;
    }
}

// The page's mask of the buttons held (its `buttons`), as the core's.
int fromPageButtons(int buttons) {
    constexpr int kEraserEnd = 32;
    return (buttons & kCanvasButtons) | ((buttons & kEraserEnd) != 0 ? kLeftButton : 0);
}

}  // namespace

bool PointerInput::heard(const PointerEvent& event) {
    if (!holding_ || event.id == holder_) {
        if (holding_) {
            holderHeard_ = event.time;
        }
        return true;
    }
    return false;
}

bool PointerInput::releaseAll(int stillDown, float x, float y) {
    const int lost = form_.heldButtons() & ~stillDown;
    for (int button : {kLeftButton, kRightButton, kMiddleButton}) {
        if ((lost & button) != 0) {
            form_.pointerRelease(button, x, y);
        }
    }
    return lost != 0;
}

void PointerInput::moveTo(float x, float y) {
    form_.pointerMove(x, y);
    seen_ = true;
    lastX_ = x;
    lastY_ = y;
}

bool PointerInput::press(const PointerEvent& event) {
    const int buttons = event.buttons & kCanvasButtons;
    bool changed = false;
    if (holding_ && event.id != holder_) {
        // A second finger, or the hand beside the pen, while one holds the board;
        // but a pointer of another kind takes the board from one gone silent.
        if (event.kind == holderKind_ || event.time - holderHeard_ < kSilentAfterMs) {
            return false;
        }
        changed = cancel(holder_);
    }
    if (!holding_ && buttons == 0) {
        return changed;
    }
    if (!holding_) {
        holding_ = true;
        holder_ = event.id;
        holderKind_ = event.kind;
    }
    holderHeard_ = event.time;
    // The buttons held that are up now, and the pressed ones that were up
    // until now, went up where the form could not see it.
    const int pressed =
        event.pressed != 0 ? event.pressed & kCanvasButtons : buttons & ~form_.heldButtons();
    changed = releaseAll(buttons & ~pressed, lastX_, lastY_) || changed;
    if (form_.heldButtons() == 0 && (!seen_ || event.x != lastX_ || event.y != lastY_)) {
        moveTo(event.x, event.y);
    }
    seen_ = true;
    lastX_ = event.x;
    lastY_ = event.y;
    for (int button : {kLeftButton, kRightButton, kMiddleButton}) {
        if ((pressed & button) != 0) {
            form_.pointerPress(button, event.x, event.y);
        }
    }
    return changed || pressed != 0;
}

bool PointerInput::move(const PointerEvent& event) {
    // Only the pointer that holds the board moves on it; while none does, a
    // mouse or a pen with no button down hovers. A finger touches to act, and
    // a pointer whose press never reached the board drags nothing.
    if (!heard(event) || (!holding_ && (event.kind == PointerKind::Touch ||
                                        (event.buttons & kCanvasButtons) != 0))) {
        return false;
    }
    const bool changed = releaseAll(holding_ ? event.buttons : 0, lastX_, lastY_);
    moveTo(event.x, event.y);
    return changed;
}

bool PointerInput::release(const PointerEvent& event) {
    if (!holding_ || !heard(event)) {
        return false;
    }
    seen_ = true;
    lastX_ = event.x;
    lastY_ = event.y;
    const bool changed = releaseAll(event.buttons, event.x, event.y);
    if ((event.buttons & kCanvasButtons) == 0) {
        holding_ = false;
    }
    return changed;
}

int PointerInput::pageEvent(PagePointer what, PointerEvent event, int pageButton) {
    const int button = fromPageButton(pageButton);
    event.buttons = fromPageButtons(event.buttons);
    event.pressed = 0;
    if (what == PagePointer::Up) {
        return release(event) ? 1 : 0;
    }
    if (button == 0 && what == PagePointer::Down) {
        return -1;
    }
    if (button == 0) {
        return move(event) ? 1 : 0;
    }
    if (what == PagePointer::Move && (event.buttons & button) == 0) {
        return release(event) ? 1 : 0;
    }
    event.pressed = button;
    return press(event) ? 1 : 0;
}

bool PointerInput::cancel(int id) {
    if (!holds(id)) {
        return false;
    }
    holding_ = false;
    return releaseAll(0, lastX_, lastY_);
}

bool PointerInput::letGo() {
    holding_ = false;
    return releaseAll(0, lastX_, lastY_);
}

}  // namespace heikosen
