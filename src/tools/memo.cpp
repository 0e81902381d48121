// Memo mode: the canvas as a blackboard, with three pens and an eraser in a thin
// and a thick width. Strokes go onto the canvas's drawing surface, beneath the
// figure, so writing and erasing never touch the figure.

#include "ui/form1.h"

namespace heikosen {

namespace {

struct PenOption {
    std::int16_t color;  // palette number
    int width;
    bool eraser;
};

// Option1(0..3) is the thin row, Option1(4..7) the thick one.
constexpr PenOption kPens[8] = {
    {12, 3, false}, {10, 3, false}, {9, 3, false}, {15, 15, true},
    {12, 6, false}, {10, 6, false}, {9, 6, false}, {15, 25, true},
};

}  // namespace

void Form1::toolOn(bool memo) {
    // The tool's options take clicks and the other tool's no longer do.
    enableAll(Option1, memo);
    enableAll(Option2, !memo);
    // Memo mode always starts with the thin red pen, the straight-line tool
    // with the last of the line colours; selecting it runs its Click.
    (memo ? Option1(0) : Option2(3)).setValue(true);
    (memo ? memoMode : lineMode) = 1;
    // The button of the tool that is on is bold.
    Command3.FontBold = memo;
    Command5.FontBold = !memo;
}

void Form1::Command3_Click() {
    if (memoMode == 0) {
        toolOn(true);
    } else {
        enableAll(Option1, false);
        memoMode = 0;
        penDown = 0;
        // Back in figure mode: a handle that was held when memo mode came on is
        // let go, or it would follow the pointer with no button down.
        if (grabbedHandle != 0) {
            letGoOfHandle();
        }
        Command3.FontBold = false;
        Shape1.Visible = false;
    }
    // Memo mode and the straight-line tool are never on together; a marker line
    // that was being laid when memo mode took over is dropped.
    endLineInProgress();
    lineMode = 0;
}

void Form1::Option1_Click(int index) {
    if (index < 0 || index > 7) {
        return;
    }
    const PenOption& pen = kPens[index];
    Shape1.Visible = false;
    penColor = pen.color;
    gamen.DrawWidth = pen.width;
    if (pen.eraser) {
        // The circle shows what the eraser covers; the box keeps its height and
        // the circle drawn is the largest that fits it.
        Shape1.Visible = true;
        Shape1.Width = static_cast<float>(pen.width);
    }
}

void Form1::startPenStroke() {
    penDown = 1;
}

void Form1::penMove(float x, float y) {
    gamen.Line(lastX, lastY, x, y, QBColor(penColor));
}

}  // namespace heikosen
