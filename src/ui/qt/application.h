#pragma once

class QCoreApplication;

namespace heikosen::qt {

// Runs the program: creates the application and its window, shows it and runs
// the event loop until the window closes. Returns the exit code.
int runApplication(int argc, char* argv[]);

// Makes Qt's own dialogs and buttons speak Japanese, as the window does.
void installJapaneseTranslations(QCoreApplication& app);

}  // namespace heikosen::qt
