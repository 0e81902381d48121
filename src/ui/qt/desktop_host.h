#pragma once

// The desktop's services that the form's handlers ask for: ending the program,
// the name dialog, the printer and a message box, each shown over the window.

#include <string>

#include "ui/form_host.h"

class QPrinter;

namespace heikosen::qt {

class MainWindow;

class DesktopHost final : public FormHost {
  public:
    explicit DesktopHost(MainWindow& window) : window_(window) {}

    // Draws the window, as it stands, onto a printer page in landscape, scaled to
    // fit the printable area and centred.
    PrintOutcome printOn(QPrinter& printer);

    // --- FormHost ---
    void endProgram() override;
    std::string inputBox(const std::string& prompt, const std::string& title) override;
    PrintOutcome printForm(const Form1& form) override;
    void showMessage(const std::string& title, const std::string& text) override;

  private:
    MainWindow& window_;
};

}  // namespace heikosen::qt
