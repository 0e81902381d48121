// Start-up and the two window commands that are not tools.

#include "figure/placement.h"
#include "ui/form1.h"

namespace heikosen {

namespace {

// Element 0 of a grid array, hidden at 0, and elements 1..count every 25 px
// across the drawing area (800 x 625), created as hidden copies of it.
void loadGridLines(LineArray& lines, int count, bool horizontal) {
    const auto place = [horizontal](LineControl& line, float at) {
        line.X1 = horizontal ? 0 : at;
        line.Y1 = horizontal ? at : 0;
        line.X2 = horizontal ? 800 : at;
        line.Y2 = horizontal ? at : 625;
    };
    place(lines(0), 0);
    lines(0).Visible = false;
    for (int k = 1; k <= count; ++k) {
        lines.Load(k);
        LineControl& line = lines(k);
        place(line, static_cast<float>(25 * k));
        line.Style = k % 2 == 1 ? BorderStyle::Dot : BorderStyle::Solid;
    }
}

}  // namespace

void Form1::Form_Load() {
    if (Line5.count() > 1) {
        return;  // the window is loaded once
    }
    Caption = "平行線と線分の比 (by Tomiraku)";
    ScaleMode = 3;
    gamen.FontSize = 20;
    gamen.ScaleMode = 3;
    gamen.ForeColor = QBColor(15);
    gamen.DrawWidth = 3;

    // The grid: hidden lines every 25 px, solid on multiples of 50, dotted between.
    loadGridLines(Line5, 25, true);
    loadGridLines(Line6, 32, false);

    penColor = 12;
    lineColor = 15;
    Option1(0).setValue(true);
    Option2(3).setValue(true);
    ShowInitialScreen();
}

void Form1::Command1_Click() {
    ShowInitialScreen();
}

void Form1::Command2_Click() {
    endRequested_ = true;
    if (host_ != nullptr) {
        host_->endProgram();
    }
}

}  // namespace heikosen
