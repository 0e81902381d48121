// The initial screen: the figure in which l and m cross at A on p, every tool off.

#include "figure/placement.h"
#include "ui/form1.h"

namespace heikosen {

using placement::Transversal;

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

    enableAll(Option1, false);
    enableAll(Option2, false);
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

    for (Transversal which : {Transversal::L, Transversal::M}) {
        const placement::TransversalRef t = placement::transversalRef(*this, which);
        placement::transversal(t);
        t.picture.Top = static_cast<float>(t.y1 + 10);
        // The picture of m starts 25 px further right than where a drag puts it.
        const double left = placement::transversalPictureLeft(t);
        t.picture.Left = static_cast<float>(which == Transversal::M ? left + 25 : left);
    }

    placement::crossings(*this);
    g.copyMGrabX = toInt16(g.pointBPrimeX);

    Label2(3).Left = 1000;  // A' lies on A: its label is never shown
    placement::pointLabels(*this, placement::LabelTops::All);

    for (Transversal which : {Transversal::L, Transversal::M}) {
        const placement::TransversalRef t = placement::transversalRef(*this, which);
        placement::extension(t);
        t.extension.Visible = false;
    }
    extension1Shown = 0;
    extension2Shown = 0;

    placement::parkLine(Line2(0));
    Line2(0).BorderColor = QBColor(12);

    Label3(1).Top = -50;

    placement::parallelMarks(*this, 0, g.parallelPY);
    placement::parallelMarks(*this, 1, g.parallelQY);
    placement::parallelMarks(*this, 2, g.parallelRY);

    for (int k = 0; k < kMarkerCount; ++k) {
        placement::parkLine(markerLine(k));
    }
}

}  // namespace heikosen
