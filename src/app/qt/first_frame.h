#pragma once

// For measuring start-up: with HEIKOSEN_REPORT_FIRST_FRAME=1 a program tells on
// stderr when its first frame is on screen, and with
// HEIKOSEN_EXIT_AFTER_FIRST_FRAME=1 it then quits. heikosen and the floor window
// of the benchmarks report alike.

#include <functional>

class QObject;

namespace heikosen::app {

// Runs `then` on the turn of the event loop after the first frame on screen
// among the paints that `watched` sees: a window's, or with the application
// any window's.
void afterFirstFrame(QObject& watched, std::function<void()> then);

// Installs the reporter on the application when the environment asks for it.
void installFirstFrameReporter();

}  // namespace heikosen::app
