// The straight-line tool: up to five marker lines Line4(0..4), each with its
// check box Check1(0..4) (markerLine(k) and markerBox(k)), laid with a rubber
// band in the chosen colour.

#include "figure/placement.h"
#include "ui/form1.h"

namespace heikosen {

namespace {

// Palette numbers of Option2(0..3): red, green, blue, and "白", which is black on
// the white canvas.
constexpr std::int16_t kLineColours[4] = {12, 10, 9, 0};

bool isMarker(int k) {
    return k >= 0 && k < Form1::kMarkerCount;
}

}  // namespace

int Form1::findFreeLineSlot() const {
    for (int i = 0; i < kMarkerCount; ++i) {
        if (markerBox(i).Value() == 0) {
            return i + 1;
        }
    }
    return 0;
}

void Form1::Command5_Click() {
    if (lineMode == 0) {
        lineSlot = static_cast<std::int16_t>(findFreeLineSlot());
        if (lineSlot == 0) {
            return;  // every marker line is in use: the tool stays off
        }
        toolOn(false);
        Shape1.Visible = false;
        memoMode = 0;
        penDown = 0;
    } else {
        enableAll(Option2, false);
        endLineInProgress();
        lineMode = 0;
        // Back in figure mode: a handle held since before the tool came on is let go.
        if (grabbedHandle != 0) {
            letGoOfHandle();
        }
        Command5.FontBold = false;
    }
}

void Form1::Option2_Click(int index) {
    if (index < 0 || index > 3) {
        return;
    }
    Shape1.Visible = false;
    lineColor = kLineColours[index];
}

void Form1::Check1_Click(int index) {
    if (!isMarker(index)) {
        return;
    }
    if (markerBox(index).Value() == 0) {
        placement::parkLine(markerLine(index));
        markerBox(index).setValue(0);
    }
}

void Form1::endLineInProgress() {
    if (lineDrawing == 0) {
        return;
    }
    lineDrawing = 0;
    const int k = lineSlot - 1;
    if (isMarker(k) && markerBox(k).Value() == 0) {
        placement::parkLine(markerLine(k));
    }
}

void Form1::startStraightLine(float x, float y) {
    const int k = lineSlot - 1;
    if (!isMarker(k)) {
        return;  // no free slot: the tool is off whenever this holds
    }
    lineDrawing = 1;
    LineControl& line = markerLine(k);
    line.BorderColor = QBColor(lineColor);
    line.X1 = x;
    line.Y1 = y;
    line.X2 = x;
    line.Y2 = y;
}

void Form1::straightLineMove(float x, float y) {
    const int k = lineSlot - 1;
    if (!isMarker(k)) {
        return;
    }
    markerLine(k).X2 = x;
    markerLine(k).Y2 = y;
}

void Form1::finishStraightLine(float x, float y) {
    const int k = lineSlot - 1;
    if (!isMarker(k)) {
        lineDrawing = 0;
        return;
    }
    markerLine(k).X2 = x;
    markerLine(k).Y2 = y;
    markerBox(k).setValue(1);
    lineDrawing = 0;
    lineSlot = static_cast<std::int16_t>(findFreeLineSlot());
    if (lineSlot == 0) {
        Command5_Click();  // the last line is laid: the tool switches itself off
    }
}

}  // namespace heikosen
