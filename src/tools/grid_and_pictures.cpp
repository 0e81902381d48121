// The grid button and the letter pictures that switch the extensions of l and m.

#include "ui/form1.h"

namespace heikosen {

void Form1::Command4_Click() {
    const bool show = gridShown == 0;
    for (int k = 0; k < Line5.count(); ++k) {
        Line5(k).Visible = show;
    }
    for (int k = 0; k < Line6.count(); ++k) {
        Line6(k).Visible = show;
    }
    Command4.FontBold = show;
    gridShown = show ? 1 : 0;
}

void Form1::Image1_Click(int index) {
    if (index == 0) {
        if (extension1Shown == 0) {
            Line2(1).Visible = true;
            extension1Shown = 1;
        } else {
            Line2(1).Visible = false;
            extension1Shown = 0;
        }
    } else if (index == 1) {
        if (extension2Shown == 0) {
            Line2(2).Visible = true;
            extension2Shown = 1;
        } else {
            Line2(2).Visible = false;
            extension2Shown = 0;
        }
    }
    // The pictures of p, q and r do nothing.
}

}  // namespace heikosen
