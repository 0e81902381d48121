// Start-up and the two window commands that are not tools.

#include "figure/placement.h"
#include "ui/form1.h"

namespace heikosen {

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
    Line5(0).X1 = 0;
    Line5(0).Y1 = 0;
    Line5(0).X2 = 800;
    Line5(0).Y2 = 0;
    Line5(0).Visible = false;
    for (int k = 1; k <= 25; ++k) {
        Line5.Load(k);
        LineControl& line = Line5(k);
        line.X1 = 0;
        line.X2 = 800;
        line.Y1 = static_cast<float>(25 * k);
        line.Y2 = static_cast<float>(25 * k);
        line.Style = k % 2 == 1 ? BorderStyle::Dot : BorderStyle::Solid;
    }
    Line6(0).X1 = 0;
    Line6(0).Y1 = 0;
    Line6(0).X2 = 0;
    Line6(0).Y2 = 625;
    Line6(0).Visible = false;
    for (int k = 1; k <= 32; ++k) {
        Line6.Load(k);
        LineControl& line = Line6(k);
        line.X1 = static_cast<float>(25 * k);
        line.X2 = static_cast<float>(25 * k);
        line.Y1 = 0;
        line.Y2 = 625;
        line.Style = k % 2 == 1 ? BorderStyle::Dot : BorderStyle::Solid;
    }

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
