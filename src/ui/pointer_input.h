#pragma once

// The pointer on the canvas as a front end reports it: mouse, pen and finger
// alike, each event with the pointer's id and kind, its position in canvas
// pixels and the buttons held down after it (kLeftButton, kRightButton,
// kMiddleButton; a pen's tip and its eraser end press the left). From these the
// form gets its presses, moves and releases, and what a device or a browser
// leaves out is made good here, once for every front end:
//
// - A release that never came (the button went up where the canvas could not
//   see it): a button the form holds that the next event no longer has is let
//   go where the pointer was last seen, before that event.
// - The move before a press: a finger or a pen arrives where it touches, with
//   no move first. The form gets one, so that a drag measures from the press
//   and the eraser circle stands under it.
// - One pointer holds the board, from its press until its last button goes up:
//   another pointer's events are ignored meanwhile (a second finger, the hand
//   resting beside the pen). While none holds it, a mouse or a pen with no
//   button down hovers; a finger, or a pointer whose buttons went down
//   elsewhere, moves nothing.
// - A pointer gone silent: when the one holding the board has sent nothing for
//   kSilentAfterMs and a pointer of another kind presses (a mouse after a pen,
//   a pen after a finger), the silent one's drag ends as its release would have
//   ended it and the new press is handled.

#include "ui/form1.h"

namespace heikosen {

enum class PointerKind { Mouse, Pen, Touch };

// What a web page hears of a pointer: down, a move, up.
enum class PagePointer { Down, Move, Up };

struct PointerEvent {
    int id = 0;
    PointerKind kind = PointerKind::Mouse;
    // In the canvas's drawing pixels.
    float x = 0;
    float y = 0;
    // The buttons held down once this event has happened.
    int buttons = 0;
    // For a press: the buttons it put down, which were up until now whatever
    // the form last heard; 0 for those of `buttons` the form does not hold.
    int pressed = 0;
    // When it happened, in milliseconds on any clock that does not go back.
    double time = 0;
};

class PointerInput {
  public:
    // How long the pointer holding the board must have been silent before a
    // press of another kind of pointer takes the board from it.
    static constexpr double kSilentAfterMs = 500;

    explicit PointerInput(Form1& form) : form_(form) {}

    // Each answers whether the form got a press or a release, after which the
    // window's controls may show something new; a move alone changes only what
    // stands on the canvas.
    bool press(const PointerEvent& event);
    bool move(const PointerEvent& event);
    // The buttons the form holds that `event.buttons` no longer has go up here.
    bool release(const PointerEvent& event);
    // The pointer is gone (cancelled, or another took its capture): what it held
    // goes up where it was last seen.
    bool cancel(int id);
    // The window lost the pointer (another window took over, a popup opened):
    // every button held goes up where the pointer was last seen.
    bool letGo();

    // An event as a web page gets it, with the page's numbers for the buttons:
    // `pageButton` the one that went down or up with it (-1 none, 0 the main
    // button, 1 the middle, 2 the second, 5 a pen's eraser end) and
    // `event.buttons` those held after it (1, 2 and 4 as the core's, 32 the
    // eraser end). A pen's eraser end draws as its tip does; a button the
    // canvas does not take changes nothing. A move with a button that went
    // down or up while another was held is that button's press or release.
    // -1 for a press that the canvas does not take, else whether the form got
    // a press or a release.
    int pageEvent(PagePointer what, PointerEvent event, int pageButton);

    // Whether this pointer holds the board now.
    bool holds(int id) const { return holding_ && holder_ == id; }

  private:
    // Whether `event` comes from a pointer that may act on the board now.
    bool heard(const PointerEvent& event);
    // Lets go of the buttons the form holds but `stillDown` has not, at (x, y).
    bool releaseAll(int stillDown, float x, float y);
    void moveTo(float x, float y);

    Form1& form_;
    bool holding_ = false;
    int holder_ = 0;
    PointerKind holderKind_ = PointerKind::Mouse;
    double holderHeard_ = 0;
    // Where the form last saw the pointer, once it has seen one.
    bool seen_ = false;
    float lastX_ = 0;
    float lastY_ = 0;
};

}  // namespace heikosen
