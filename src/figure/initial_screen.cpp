// The initial screen: the figure in which l and m cross at A on p, every tool off.

#include "figure/placement.h"
#include "ui/form1.h"

namespace heikosen {

using placement::Transversal;

namespace {

// Places the label of a point on a transversal: Left, then Top when asked.
void placePointLabel(Form1& form, int index, Transversal t, double pointX, double y,
                     bool writeTop) {
    LabelControl& label = form.Label2(index);
    label.Left = static_cast<float>(placement::pointLabelLeft(form, t, pointX));
    if (writeTop) {
        label.Top = static_cast<float>(y - 31);
    }
}

}  // namespace

void Form1::ShowInitialScreen() {
    gamen.DrawWidth = 3;
    gamen.Cls();
    Shape1.Visible = false;

    // No tool stays on after the reset, and no button may claim one: the grid
    // disappears with its flag, and "メモ" and "直線" lose their bold caption.
    Command4.FontBold = false;
    Command3.FontBold = false;
    Command5.FontBold = false;
    for (int k = 0; k < Line5.count(); ++k) {
        Line5(k).Visible = false;
    }
    for (int k = 0; k < Line6.count(); ++k) {
        Line6(k).Visible = false;
    }

    for (OptionButton& option : Option1) {
        option.Enabled = false;
    }
    for (OptionButton& option : Option2) {
        option.Enabled = false;
    }
    for (CheckBox& box : Check1) {
        box.setValue(0);
    }

    memoMode = 0;
    lineMode = 0;
    lineSlot = 0;
    grabbedHandle = 0;
    gridShown = 0;
    // A stroke or a marker line in progress ends with the reset, so that the next
    // time its tool is switched on a mere pointer move draws nothing.
    penDown = 0;
    lineDrawing = 0;

    FigureState& g = fig;
    g.parallelPY = 275;
    g.parallelQY = 350;
    g.parallelRY = 500;
    g.transLX1 = 400;
    g.transLX2 = 100;
    g.transLY1 = 125;
    g.transLY2 = 575;
    g.transMX1 = 250;
    g.transMX2 = 400;
    g.transMY1 = 125;
    g.transMY2 = 575;
    g.copyMX1 = 250;
    g.copyMX2 = 400;
    g.copyMY1 = 125;
    g.copyMY2 = 575;

    for (int k = 0; k < 3; ++k) {
        placement::parallel(*this, k);
        placement::parallelPicture(*this, k);
    }

    placement::transversal(*this, Transversal::L);
    Image1(0).Top = static_cast<float>(g.transLY1 + 10);
    Image1(0).Left = static_cast<float>(placement::transversalPictureLeft(*this, Transversal::L));

    // The picture of m starts 25 px further right than where a drag puts it.
    placement::transversal(*this, Transversal::M);
    Image1(1).Top = static_cast<float>(g.transMY1 + 10);
    Image1(1).Left =
        static_cast<float>(placement::transversalPictureLeft(*this, Transversal::M) + 25);

    g.pointAX = placement::crossing(*this, Transversal::L, g.parallelPY);
    g.pointAPrimeX = placement::crossing(*this, Transversal::M, g.parallelPY);
    g.pointBX = placement::crossing(*this, Transversal::L, g.parallelQY);
    g.pointBPrimeX = placement::crossing(*this, Transversal::M, g.parallelQY);
    g.copyMGrabX = toInt16(g.pointBPrimeX);
    g.pointCX = placement::crossing(*this, Transversal::L, g.parallelRY);
    g.pointCPrimeX = placement::crossing(*this, Transversal::M, g.parallelRY);

    placePointLabel(*this, 0, Transversal::L, g.pointAX, g.parallelPY, true);
    placePointLabel(*this, 1, Transversal::L, g.pointBX, g.parallelQY, true);
    placePointLabel(*this, 2, Transversal::L, g.pointCX, g.parallelRY, true);
    Label2(3).Left = 1000;  // A' lies on A: its label is never shown
    placePointLabel(*this, 4, Transversal::M, g.pointBPrimeX, g.parallelQY, true);
    placePointLabel(*this, 5, Transversal::M, g.pointCPrimeX, g.parallelRY, true);

    placement::extension(*this, Transversal::L);
    placement::extension(*this, Transversal::M);
    Line2(1).Visible = false;
    Line2(2).Visible = false;
    extension1Shown = 0;
    extension2Shown = 0;

    placement::parkLine(Line2(0));
    Line2(0).BorderColor = QBColor(12);

    Label3(1).Top = -50;

    placement::parallelMarks(*this, 0, g.parallelPY);
    placement::parallelMarks(*this, 1, g.parallelQY);
    placement::parallelMarks(*this, 2, g.parallelRY);

    for (int i = 0; i < 5; ++i) {
        placement::parkLine(Line4(i));
    }
}

}  // namespace heikosen
