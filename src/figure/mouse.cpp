// Pressing, dragging and releasing on the canvas: in figure mode these grab and
// move the handles of the figure; with a tool on they drive the pen or the
// straight-line tool.

#include <cmath>

#include "figure/placement.h"
#include "ui/form1.h"

namespace heikosen {

using placement::Transversal;

namespace {

bool withinLimit(double value) {
    return std::isfinite(value) && std::fabs(value) <= kFigureLimit;
}

void colourLine(LineControl& line, int paletteNumber) {
    line.BorderColor = QBColor(paletteNumber);
}

// Moves the upper end of a transversal sideways by dx and turns the line about
// its crossing with q. Moves nothing, and returns false, where the step would
// carry an end beyond kFigureLimit or where q stands level with the upper ends.
bool turnTransversal(Form1& form, const placement::TransversalRef& t, double dx) {
    const double upperX = t.x1 + dx;
    double lowerX = 0;
    if (!withinLimit(upperX) || !placement::turnedLowerX(t, form.fig.parallelQY, upperX, lowerX) ||
        !withinLimit(lowerX)) {
        return false;
    }
    t.x1 = upperX;
    // The picture follows the new upper end and the lower end before the turn.
    t.picture.Left = static_cast<float>(placement::transversalPictureLeft(t));
    t.x2 = lowerX;
    t.line.X1 = static_cast<float>(t.x1);
    t.line.X2 = static_cast<float>(t.x2);
    placement::extension(t);
    return true;
}

}  // namespace

void Form1::gamen_MouseDown(int button, int /*shift*/, float x, float y) {
    if (button == kLeftButton) {
        if (memoMode == 0 && lineMode == 0) {
            // A press in figure mode does not record the position: the first step
            // of the drag measures from the last move before the press.
            selectHandle(x, y);
            return;
        }
        if (memoMode == 1) {
            startPenStroke();
        }
        if (lineMode == 1) {
            startStraightLine(x, y);
        }
    }
    if (button == kRightButton) {
        ShowInitialScreen();
    }
    lastX = x;
    lastY = y;
}

bool Form1::inHandleZone(int handle, float x, float y) const {
    const FigureState& g = fig;
    switch (handle) {
        case kHandleParallelP:
            return x <= 50 && g.parallelPY - 50 < y && y < g.parallelPY + 50;
        case kHandleParallelQ:
            return x <= 50 && g.parallelQY - 50 < y && y < g.parallelQY + 50;
        case kHandleUpperL:
            return x > 50 && std::fabs(x - g.transLX1) < 30 && std::fabs(y - g.transLY1) < 50;
        case kHandleUpperM:
            return x > 50 && std::fabs(x - g.transMX1) < 30 && std::fabs(y - g.transMY1) < 50;
        case kHandleCopyM:
            return x > 50 && std::fabs(static_cast<float>(g.copyMGrabX) - x) < 50 &&
                   std::fabs(y - g.parallelQY) < 50;
        default:
            return false;
    }
}

int Form1::handleAt(float x, float y) const {
    int code = kHandleNone;
    for (int handle : kHandlesInPressOrder) {
        if (inHandleZone(handle, x, y)) {
            code = handle;
        }
    }
    return code;
}

void Form1::selectHandle(float x, float y) {
    FigureState& g = fig;
    grabbedHandle = kHandleNone;
    // Every test runs; when zones overlap the last one that holds decides, and
    // each holding test colours its own lines.
    for (int handle : kHandlesInPressOrder) {
        if (!inHandleZone(handle, x, y)) {
            continue;
        }
        grabbedHandle = static_cast<std::int16_t>(handle);
        switch (handle) {
            case kHandleParallelP:
                colourLine(Line1(0), 12);
                break;
            case kHandleParallelQ:
                colourLine(Line1(1), 12);
                break;
            case kHandleUpperL:
            case kHandleUpperM: {
                const placement::TransversalRef t = placement::transversalRef(
                    *this, handle == kHandleUpperL ? Transversal::L : Transversal::M);
                colourLine(t.line, 12);
                colourLine(t.extension, 12);
                *t.points[1] = placement::crossing(t, g.parallelQY);
                break;
            }
            default: {
                LineControl& copy = Line2(0);
                colourLine(copy, 12);
                copy.X1 = static_cast<float>(g.copyMX1);
                copy.Y1 = static_cast<float>(g.copyMY1);
                copy.X2 = static_cast<float>(g.copyMX2);
                copy.Y2 = static_cast<float>(g.copyMY2);
                break;
            }
        }
    }
}

void Form1::gamen_MouseMove(int /*button*/, int /*shift*/, float x, float y) {
    Shape1.Top = static_cast<float>(static_cast<double>(y) - Shape1.Height / 2.0);
    Shape1.Left = static_cast<float>(static_cast<double>(x) - Shape1.Width / 2.0);
    if (memoMode == 0 && lineMode == 0) {
        figureMove(x, y);
    } else {
        if (memoMode == 1 && penDown == 1) {
            penMove(x, y);
        }
        if (lineMode == 1 && lineDrawing == 1) {
            straightLineMove(x, y);
        }
    }
    lastX = x;
    lastY = y;
}

void Form1::figureMove(float x, float y) {
    FigureState& g = fig;
    // The displacement since the last recorded position, in double precision so
    // that even absurd pointer positions give a finite step.
    const double dx = static_cast<double>(x) - static_cast<double>(lastX);
    const double dy = static_cast<double>(y) - static_cast<double>(lastY);

    // A step that would carry a part of the figure beyond kFigureLimit, or a turn
    // while q stands level with the upper ends (where it has no value), leaves the
    // figure as it is for that move.
    switch (grabbedHandle) {
        case kHandleParallelP:
        case kHandleParallelQ: {
            const int k = grabbedHandle == kHandleParallelP ? 0 : 1;
            double& parallelY = k == 0 ? g.parallelPY : g.parallelQY;
            const double moved = parallelY + dy;
            if (!withinLimit(moved)) {
                break;
            }
            parallelY = moved;
            placement::parallel(*this, k);
            placement::parallelPicture(*this, k);
            placement::parallelMarks(*this, k, parallelY);
            break;
        }
        case kHandleUpperL:
            turnTransversal(*this, placement::transversalRef(*this, Transversal::L), dx);
            break;
        case kHandleUpperM: {
            if (!turnTransversal(*this, placement::transversalRef(*this, Transversal::M), dx)) {
                break;
            }
            // Turning m sets its copy back onto it, out of sight.
            g.copyMX1 = g.transMX1;
            g.copyMX2 = g.transMX2;
            g.copyMY1 = g.transMY1;
            g.copyMY2 = toInt16(g.transMY2);
            g.copyMGrabX = toInt16(g.pointBPrimeX);
            placement::parkLine(Line2(0));
            break;
        }
        case kHandleCopyM: {
            LineControl& copy = Line2(0);
            const double x1 = static_cast<double>(copy.X1) + dx;
            const double x2 = static_cast<double>(copy.X2) + dx;
            const double copyX1 = g.copyMX1 + dx;
            const double copyX2 = g.copyMX2 + dx;
            if (!withinLimit(x1) || !withinLimit(x2) || !withinLimit(copyX1) ||
                !withinLimit(copyX2)) {
                break;
            }
            copy.X1 = static_cast<float>(x1);
            copy.X2 = static_cast<float>(x2);
            g.copyMGrabX = toInt16(static_cast<double>(g.copyMGrabX) + dx);
            g.copyMX1 = copyX1;
            g.copyMX2 = copyX2;
            break;
        }
        default:
            break;
    }
    placement::crossings(*this);
    placement::pointLabels(*this, placement::LabelTops::ExceptOnR);
}

// Ends a grab: no handle is held and the figure's lines are black again.
void Form1::letGoOfHandle() {
    grabbedHandle = kHandleNone;
    for (LineControl* line :
         {&Line1(0), &Line1(1), &Line1(3), &Line1(4), &Line2(1), &Line2(2), &Line2(0)}) {
        colourLine(*line, 0);
    }
}

void Form1::gamen_MouseUp(int /*button*/, int /*shift*/, float x, float y) {
    if (memoMode == 0 && lineMode == 0) {
        letGoOfHandle();
        return;
    }
    if (memoMode == 1 && penDown == 1) {
        penDown = 0;
    }
    if (lineMode == 1 && lineDrawing == 1) {
        finishStraightLine(x, y);
    }
}

}  // namespace heikosen
