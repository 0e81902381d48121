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
    // ℓ and m switch their upward extensions; the pictures of p, q and r do nothing.
    const auto toggle = [](LineControl& extension, std::int16_t& shown) {
        shown = shown == 0 ? 1 : 0;
        extension.Visible = shown != 0;
    };
    if (index == 0) {
        toggle(Line2(1), extension1Shown);
    } else if (index == 1) {
        toggle(Line2(2), extension2Shown);
    }
}

}  // namespace heikosen
