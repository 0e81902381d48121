#pragma once

namespace heikosen::qt {

// Runs the program: creates the application and its window, shows it and runs
// the event loop until the window closes. Returns the exit code.
int runApplication(int argc, char* argv[]);

}  // namespace heikosen::qt
