#pragma once

#include <string>

namespace heikosen {

class Form1;

// What printing the window came to.
struct PrintOutcome {
    enum class Status { Printed, Cancelled, Failed };
    Status status = Status::Failed;
    std::string message;  // why it failed, for the user
};

// The services of the desktop that the window's handlers use: ending the
// program, the input dialog, the printer and a message box. The Qt window
// provides them; tests provide fakes.
class FormHost {
  public:
    virtual ~FormHost() = default;
    virtual void endProgram() = 0;
    // Shows a modal input dialog; returns the text entered, or "" on Cancel.
    virtual std::string inputBox(const std::string& prompt, const std::string& title) = 0;
    // Prints an image of the window's client area, as it stands, on one landscape page.
    virtual PrintOutcome printForm(const Form1& form) = 0;
    virtual void showMessage(const std::string& title, const std::string& text) = 0;
};

}  // namespace heikosen
