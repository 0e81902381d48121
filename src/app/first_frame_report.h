#pragma once

// The line with which a program tells, for measuring start-up, that its first
// frame is on screen.

namespace heikosen::app {

// Prints to stderr how long after the start of the process the first frame
// came (from the kernel's record of the start, in clock ticks, so to the
// nearest 10 ms or so) and the monotonic time it came at.
void printFirstFrameReport();

}  // namespace heikosen::app
