// "印刷": asks for the pupil's name, puts it on the canvas and prints the window.

#include "printing/print_command.h"

#include <algorithm>
#include <string>

#include "ui/form1.h"

namespace heikosen {

void Form1::Command6_Click() {
    if (host_ == nullptr) {
        return;
    }
    printWithName(host_->inputBox(printing::kDialogPrompt, printing::kDialogTitle));
}

void Form1::printWithName(const std::string& name) {
    if (host_ == nullptr || name.empty()) {
        return;  // no name, no print, and no message
    }

    // The name goes on the canvas exactly as typed. The strokes are printed as
    // they stand on screen but are not made part of the canvas's background, so
    // "初期画面" still wipes the board after a print.
    const std::string previousCaption = Label5.Caption();
    Label5.setCaption(printing::kNamePrefix + name);

    const PrintOutcome outcome = host_->printForm(*this);
    if (outcome.status == PrintOutcome::Status::Printed) {
        return;
    }
    // Nothing was printed: the window returns to what it was before "印刷".
    Label5.setCaption(previousCaption);
    if (outcome.status == PrintOutcome::Status::Failed) {
        std::string text = printing::kFailureText;
        if (!outcome.message.empty()) {
            text += "\n" + outcome.message;
        }
        host_->showMessage(printing::kFailureTitle, text);
    }
}

ClientRect printing::printedArea(double pageWidth, double pageHeight) {
    const double scale = std::min(pageWidth / kClientWidth, pageHeight / kClientHeight);
    const double width = kClientWidth * scale;
    const double height = kClientHeight * scale;
    return {(pageWidth - width) / 2.0, (pageHeight - height) / 2.0, width, height};
}

}  // namespace heikosen
