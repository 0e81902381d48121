#pragma once

class QCoreApplication;

namespace heikosen::qt {

// Runs the program: creates the application and its window, shows it and runs
// the event loop until the window closes. Returns the exit code.
int runApplication(int argc, char* argv[]);

// Makes Qt's own dialogs and buttons speak Japanese, as the window does.
void installJapaneseTranslations(QCoreApplication& app);

// Makes the letter pictures and the icon available under ":/". The resources
// live in a static library, so they are registered explicitly. Safe to call
// repeatedly: registering them again leaves them registered once.
void initResources();

}  // namespace heikosen::qt
