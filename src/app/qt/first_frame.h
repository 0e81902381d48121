#pragma once

// For measuring start-up: with HEIKOSEN_REPORT_FIRST_FRAME=1 a program tells on
// stderr when its first frame is on screen, and with
// HEIKOSEN_EXIT_AFTER_FIRST_FRAME=1 it then quits. heikosen and the floor window
// of the benchmarks report alike.

namespace heikosen::app {

// Installs the reporter on the application when the environment asks for it.
void installFirstFrameReporter();

}  // namespace heikosen::app
