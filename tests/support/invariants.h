#pragma once

// What must hold for a started window after every event, whatever the user did
// before: every number finite, the figure's controls where its variables put
// them, the crossings and labels describing the current lines, and the modes,
// options, buttons and check boxes telling one consistent story.
//
// Header-only so that the gtest sequences and the fuzzer share it.

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "figure/figure_state.h"
#include "ui/form1.h"

namespace heikosen::check {

namespace detail {

// Names a variable or a control property, e.g. "lastX" or "Line4(2).X2"; the
// text is only made when something is reported.
struct Where {
    const char* base = "";
    int index = -1;
    const char* property = nullptr;

    Where(const char* b) : base(b) {}
    Where(const char* b, int i, const char* p) : base(b), index(i), property(p) {}

    std::string text() const {
        // Appended piece by piece: GCC 12 at -O3 takes "(" + std::string for an
        // overlapping copy and warns.
        std::string out = base;
        if (index >= 0) {
            out.append("(").append(std::to_string(index)).append(")");
        }
        if (property != nullptr) {
            out.append(".").append(property);
        }
        return out;
    }
};

class Report {
  public:
    std::vector<std::string> violations;

    template <typename... Parts>
    void add(const Parts&... parts) {
        std::ostringstream out;
        out.precision(9);
        (out << ... << parts);
        violations.push_back(out.str());
    }

    void finite(double value, const Where& what) {
        if (!std::isfinite(value)) {
            add(what.text(), " is not finite (", value, ")");
        }
    }

    // Equal within a millionth of the larger magnitude (at least of 1).
    void near(double actual, double expected, const Where& what) {
        const double scale = std::fmax(1.0, std::fmax(std::fabs(actual), std::fabs(expected)));
        if (!(std::fabs(actual - expected) <= 1e-6 * scale)) {
            add(what.text(), " is ", actual, ", expected ", expected);
        }
    }

    // A control coordinate must be the variable converted to single precision.
    void same(float actual, double expected, const Where& what) {
        near(static_cast<double>(actual), static_cast<double>(static_cast<float>(expected)), what);
    }
};

inline std::string name(const char* array, int index, const char* property) {
    return Where(array, index, property).text();
}

inline bool parked(const LineControl& line) {
    return line.X1 == 1000.0F && line.X2 == 1000.0F;
}

// The crossing of a transversal with the horizontal at height y: for l the
// lower end plus the run from there; m is written with both differences reversed.
inline double crossingL(const FigureState& g, double y) {
    return g.transLX2 + ((g.transLY2 - y) * (g.transLX1 - g.transLX2)) / (g.transLY2 - g.transLY1);
}
inline double crossingM(const FigureState& g, double y) {
    return g.transMX2 + ((g.transMY2 - y) * (g.transMX2 - g.transMX1)) / (g.transMY1 - g.transMY2);
}

// Left edge of a point label: the point, or the line 31 px higher where the
// transversal runs down to the left.
inline double labelLeftL(const FigureState& g, double pointX) {
    const double s = g.transLX1 > g.transLX2 ? -1 : 0;
    return pointX - (s * (g.transLX1 - g.transLX2) * 31) / (g.transLY2 - g.transLY1);
}
inline double labelLeftM(const FigureState& g, double pointX) {
    const double s = g.transMX1 > g.transMX2 ? -1 : 0;
    return pointX - (s * (g.transMX2 - g.transMX1) * 31) / (g.transMY1 - g.transMY2);
}

inline void finiteLine(Report& r, const LineControl& line, const char* array, int index) {
    r.finite(line.X1, {array, index, "X1"});
    r.finite(line.Y1, {array, index, "Y1"});
    r.finite(line.X2, {array, index, "X2"});
    r.finite(line.Y2, {array, index, "Y2"});
}

inline void finiteBox(Report& r, float left, float top, float width, float height,
                      const char* control, int index) {
    r.finite(left, {control, index, "Left"});
    r.finite(top, {control, index, "Top"});
    r.finite(width, {control, index, "Width"});
    r.finite(height, {control, index, "Height"});
}

inline void lineAt(Report& r, const LineControl& line, double x1, double y1, double x2, double y2,
                   const char* array, int index) {
    r.same(line.X1, x1, {array, index, "X1"});
    r.same(line.Y1, y1, {array, index, "Y1"});
    r.same(line.X2, x2, {array, index, "X2"});
    r.same(line.Y2, y2, {array, index, "Y2"});
}

inline bool isHandleCode(int code) {
    return code == kHandleNone || code == kHandleParallelP || code == kHandleParallelQ ||
           code == kHandleUpperL || code == kHandleUpperM || code == kHandleCopyM;
}

inline bool red(const LineControl& line) {
    return line.BorderColor == QBColor(12);
}

// Pen colour and width of Option1(0..7), line colour of Option2(0..3).
inline constexpr int kPenColour[8] = {12, 10, 9, 15, 12, 10, 9, 15};
inline constexpr int kPenWidth[8] = {3, 3, 3, 15, 6, 6, 6, 25};
inline constexpr int kLineColour[4] = {12, 10, 9, 0};

inline void numbers(Report& r, const Form1& form) {
    const FigureState& g = form.fig;
    const std::pair<const char*, double> variables[] = {
        {"parallelPY", g.parallelPY}, {"parallelQY", g.parallelQY},
        {"parallelRY", g.parallelRY}, {"transLX1", g.transLX1},
        {"transLY1", g.transLY1},     {"transLX2", g.transLX2},
        {"transLY2", g.transLY2},     {"transMX1", g.transMX1},
        {"transMY1", g.transMY1},     {"transMX2", g.transMX2},
        {"transMY2", g.transMY2},     {"copyMX1", g.copyMX1},
        {"copyMY1", g.copyMY1},       {"copyMX2", g.copyMX2},
        {"pointAX", g.pointAX},       {"pointAPrimeX", g.pointAPrimeX},
        {"pointBX", g.pointBX},       {"pointBPrimeX", g.pointBPrimeX},
        {"pointCX", g.pointCX},       {"pointCPrimeX", g.pointCPrimeX},
        {"lastX", form.lastX},        {"lastY", form.lastY},
    };
    for (const auto& [label, value] : variables) {
        r.finite(value, label);
    }
    for (int i = 0; i <= 4; ++i) {
        finiteLine(r, form.Line1(i), "Line1", i);
        finiteLine(r, form.Line4(i), "Line4", i);
    }
    for (int i = 0; i <= 2; ++i) {
        finiteLine(r, form.Line2(i), "Line2", i);
    }
    for (int i = 0; i <= 5; ++i) {
        finiteLine(r, form.Line3(i), "Line3", i);
        const LabelControl& label = form.Label2(i);
        finiteBox(r, label.Left, label.Top, label.Width, label.Height, "Label2", i);
    }
    for (int k = 0; k < form.Line5.count(); ++k) {
        finiteLine(r, form.Line5(k), "Line5", k);
    }
    for (int k = 0; k < form.Line6.count(); ++k) {
        finiteLine(r, form.Line6(k), "Line6", k);
    }
    const LabelControl& g3 = form.Label3(1);
    finiteBox(r, g3.Left, g3.Top, g3.Width, g3.Height, "Label3", 1);
    finiteBox(r, form.Label5.Left, form.Label5.Top, form.Label5.Width, form.Label5.Height, "Label5",
              -1);
    for (int i = 0; i <= 4; ++i) {
        const ImageControl& image = form.Image1(i);
        finiteBox(r, image.Left, image.Top, image.Width, image.Height, "Image1", i);
    }
    finiteBox(r, form.Shape1.Left, form.Shape1.Top, form.Shape1.Width, form.Shape1.Height, "Shape1",
              -1);
}

inline void figure(Report& r, const Form1& form) {
    const FigureState& g = form.fig;

    // Only the x values of the transversals move; r never does.
    r.near(g.transLY1, 125, "transLY1");
    r.near(g.transLY2, 575, "transLY2");
    r.near(g.transMY1, 125, "transMY1");
    r.near(g.transMY2, 575, "transMY2");
    r.near(g.copyMY1, 125, "copyMY1");
    if (g.copyMY2 != 575) {
        r.add("copyMY2 is ", g.copyMY2, ", expected 575");
    }
    r.near(g.parallelRY, 500, "parallelRY");

    // The lines stand where the variables say.
    const double parallels[3] = {g.parallelPY, g.parallelQY, g.parallelRY};
    for (int k = 0; k < 3; ++k) {
        lineAt(r, form.Line1(k), 50, parallels[k], 750, parallels[k], "Line1", k);
        static constexpr double kRaise[3] = {36, 34, 30};
        r.same(form.Image1(2 + k).Top, parallels[k] - kRaise[k], Where("Image1", 2 + k, "Top"));
        r.same(form.Image1(2 + k).Left, 50, Where("Image1", 2 + k, "Left"));
        lineAt(r, form.Line3(2 * k), 680, parallels[k], 660, parallels[k] + 10, "Line3", 2 * k);
        lineAt(r, form.Line3(2 * k + 1), 680, parallels[k], 660, parallels[k] - 10, "Line3",
               2 * k + 1);
    }
    lineAt(r, form.Line1(3), g.transLX1, g.transLY1, g.transLX2, g.transLY2, "Line1", 3);
    lineAt(r, form.Line1(4), g.transMX1, g.transMY1, g.transMX2, g.transMY2, "Line1", 4);
    lineAt(r, form.Line2(1), g.transLX1, g.transLY1,
           g.transLX1 + (100 * (g.transLX1 - g.transLX2)) / (g.transLY2 - g.transLY1), 25, "Line2",
           1);
    lineAt(r, form.Line2(2), g.transMX1, g.transMY1,
           g.transMX1 + (100 * (g.transMX2 - g.transMX1)) / (g.transMY1 - g.transMY2), 25, "Line2",
           2);
    // The pictures of l and m keep their height beside the upper ends.
    r.same(form.Image1(0).Top, g.transLY1 + 10, "Image1(0).Top");
    r.same(form.Image1(1).Top, g.transMY1 + 10, "Image1(1).Top");
    // Once placed on the copy, the copy of m keeps the heights of m's ends.
    const LineControl& copy = form.Line2(0);
    if (!parked(copy)) {
        r.same(copy.Y1, g.copyMY1, "Line2(0).Y1");
        r.same(copy.Y2, g.copyMY2, "Line2(0).Y2");
    }

    // The crossings describe the current lines.
    r.near(g.pointAX, crossingL(g, g.parallelPY), "pointAX");
    r.near(g.pointAPrimeX, crossingM(g, g.parallelPY), "pointAPrimeX");
    r.near(g.pointBX, crossingL(g, g.parallelQY), "pointBX");
    r.near(g.pointBPrimeX, crossingM(g, g.parallelQY), "pointBPrimeX");
    r.near(g.pointCX, crossingL(g, g.parallelRY), "pointCX");
    r.near(g.pointCPrimeX, crossingM(g, g.parallelRY), "pointCPrimeX");

    // The five visible labels stand at their points; A' is never shown.
    struct Placed {
        int index;
        bool onL;
        double pointX;
        double y;
    };
    const Placed labels[5] = {
        {0, true, crossingL(g, g.parallelPY), g.parallelPY},
        {1, true, crossingL(g, g.parallelQY), g.parallelQY},
        {2, true, crossingL(g, g.parallelRY), g.parallelRY},
        {4, false, crossingM(g, g.parallelQY), g.parallelQY},
        {5, false, crossingM(g, g.parallelRY), g.parallelRY},
    };
    for (const Placed& p : labels) {
        const LabelControl& label = form.Label2(p.index);
        const double left = p.onL ? labelLeftL(g, p.pointX) : labelLeftM(g, p.pointX);
        r.same(label.Left, left, Where("Label2", p.index, "Left"));
        r.same(label.Top, p.y - 31, Where("Label2", p.index, "Top"));
    }
    r.same(form.Label2(3).Left, 1000, "Label2(3).Left");
    r.same(form.Label3(1).Top, -50, "Label3(1).Top");

    // A held handle is shown in red.
    if (!isHandleCode(form.grabbedHandle)) {
        r.add("grabbedHandle is ", form.grabbedHandle);
    }
    switch (form.grabbedHandle) {
        case kHandleParallelP:
            if (!red(form.Line1(0))) {
                r.add("p is held but Line1(0) is not red");
            }
            break;
        case kHandleParallelQ:
            if (!red(form.Line1(1))) {
                r.add("q is held but Line1(1) is not red");
            }
            break;
        case kHandleUpperL:
            if (!red(form.Line1(3)) || !red(form.Line2(1))) {
                r.add("l is held but Line1(3) or Line2(1) is not red");
            }
            break;
        case kHandleUpperM:
            if (!red(form.Line1(4)) || !red(form.Line2(2))) {
                r.add("m is held but Line1(4) or Line2(2) is not red");
            }
            break;
        case kHandleCopyM:
            if (!red(form.Line2(0))) {
                r.add("the copy of m is held but Line2(0) is not red");
            }
            break;
        default:
            break;
    }
}

inline void tools(Report& r, const Form1& form) {
    const auto flag = [&r](int value, const char* what) {
        if (value != 0 && value != 1) {
            r.add(what, " is ", value);
        }
    };
    flag(form.memoMode, "memoMode");
    flag(form.penDown, "penDown");
    flag(form.lineMode, "lineMode");
    flag(form.lineDrawing, "lineDrawing");
    flag(form.gridShown, "gridShown");
    flag(form.extension1Shown, "extension1Shown");
    flag(form.extension2Shown, "extension2Shown");

    // Modes.
    if (form.memoMode == 1 && form.lineMode == 1) {
        r.add("memo mode and the straight-line tool are both on");
    }
    if (form.penDown == 1 && form.memoMode != 1) {
        r.add("a pen stroke is in progress with memo mode off");
    }
    if (form.lineDrawing == 1 && form.lineMode != 1) {
        r.add("a marker line is being laid with the straight-line tool off");
    }

    // Options: one selected of the twelve; each row enabled with its tool only.
    int selected = 0;
    int selectedPen = -1;
    int selectedColour = -1;
    for (int i = 0; i <= 7; ++i) {
        const OptionButton& option = form.Option1(i);
        if (option.Value()) {
            ++selected;
            selectedPen = i;
        }
        if (option.Enabled != (form.memoMode == 1)) {
            r.add(name("Option1", i, "Enabled"), " is ", option.Enabled, " with memoMode ",
                  form.memoMode);
        }
    }
    for (int i = 0; i <= 3; ++i) {
        const OptionButton& option = form.Option2(i);
        if (option.Value()) {
            ++selected;
            selectedColour = i;
        }
        if (option.Enabled != (form.lineMode == 1)) {
            r.add(name("Option2", i, "Enabled"), " is ", option.Enabled, " with lineMode ",
                  form.lineMode);
        }
    }
    if (selected != 1 || form.selectedOptionCount() != 1) {
        r.add(selected, " option buttons are selected");
    }
    // The pen and the line colour in force are those of the selected option.
    if (form.memoMode == 1) {
        if (selectedPen < 0) {
            r.add("memo mode is on but no pen option is selected");
        } else {
            if (form.penColor != kPenColour[selectedPen]) {
                r.add("penColor ", form.penColor, " with Option1(", selectedPen, ") selected");
            }
            if (form.gamen.DrawWidth != kPenWidth[selectedPen]) {
                r.add("DrawWidth ", form.gamen.DrawWidth, " with Option1(", selectedPen,
                      ") selected");
            }
        }
    }
    if (form.lineMode == 1) {
        if (selectedColour < 0) {
            r.add("the straight-line tool is on but no line colour is selected");
        } else if (form.lineColor != kLineColour[selectedColour]) {
            r.add("lineColor ", form.lineColor, " with Option2(", selectedColour, ") selected");
        }
    }
    // The eraser circle shows only while an eraser is the pen in memo mode.
    if (form.Shape1.Visible) {
        if (form.memoMode != 1 || (selectedPen != 3 && selectedPen != 7)) {
            r.add("Shape1 is visible without an eraser in memo mode");
        } else if (form.Shape1.Width != static_cast<float>(kPenWidth[selectedPen])) {
            r.add("Shape1.Width ", form.Shape1.Width, " for Option1(", selectedPen, ")");
        }
    }
    if (form.Shape1.Height != 57.0F) {
        r.add("Shape1.Height is ", form.Shape1.Height);
    }

    // Buttons show their tool's state.
    if (form.Command3.FontBold != (form.memoMode == 1)) {
        r.add("Command3.FontBold ", form.Command3.FontBold, " with memoMode ", form.memoMode);
    }
    if (form.Command5.FontBold != (form.lineMode == 1)) {
        r.add("Command5.FontBold ", form.Command5.FontBold, " with lineMode ", form.lineMode);
    }
    if (form.Command4.FontBold != (form.gridShown == 1)) {
        r.add("Command4.FontBold ", form.Command4.FontBold, " with gridShown ", form.gridShown);
    }

    // The grid: all 59 lines, shown or hidden together with the flag.
    if (form.Line5.count() != 26 || form.Line6.count() != 33) {
        r.add("the grid has ", form.Line5.count(), " + ", form.Line6.count(), " lines");
    }
    for (int k = 0; k < form.Line5.count(); ++k) {
        if (form.Line5(k).Visible != (form.gridShown == 1)) {
            r.add(name("Line5", k, "Visible"), " disagrees with gridShown ", form.gridShown);
        }
    }
    for (int k = 0; k < form.Line6.count(); ++k) {
        if (form.Line6(k).Visible != (form.gridShown == 1)) {
            r.add(name("Line6", k, "Visible"), " disagrees with gridShown ", form.gridShown);
        }
    }

    // Extensions.
    if (form.Line2(1).Visible != (form.extension1Shown == 1)) {
        r.add("Line2(1).Visible disagrees with extension1Shown ", form.extension1Shown);
    }
    if (form.Line2(2).Visible != (form.extension2Shown == 1)) {
        r.add("Line2(2).Visible disagrees with extension2Shown ", form.extension2Shown);
    }

    // The name label is empty until a print and then shows a name.
    const std::string& caption = form.Label5.Caption();
    if (!caption.empty() && caption.rfind("名前：", 0) != 0) {
        r.add("Label5 shows \"", caption, "\"");
    }

    // Marker lines. The slot named next always holds no line, although its box
    // may have been checked by hand since the slot was chosen; every line in view
    // is either the one being laid or has its box checked.
    const int laying = form.lineDrawing == 1 ? form.lineSlot - 1 : -1;
    if (form.lineMode == 1) {
        if (form.lineSlot < 1 || form.lineSlot > 5) {
            r.add("lineSlot is ", form.lineSlot, " while the straight-line tool is on");
        } else if (form.lineDrawing == 0 && !parked(form.Line4(form.lineSlot - 1))) {
            r.add("the next slot ", form.lineSlot, " already holds a line");
        }
    }
    for (int i = 0; i <= 4; ++i) {
        const int box = form.Check1(i).Value();
        if (box != 0 && box != 1) {
            r.add(name("Check1", i, "Value"), " is ", box);
        }
        if (!parked(form.Line4(i)) && i != laying && box != 1) {
            r.add("Line4(", i, ") is in view but Check1(", i, ") is clear");
        }
    }
}

}  // namespace detail

// Every violation found in the window as it stands; empty when all is well.
inline std::vector<std::string> checkInvariants(const Form1& form) {
    detail::Report report;
    detail::numbers(report, form);
    detail::figure(report, form);
    detail::tools(report, form);
    return std::move(report.violations);
}

}  // namespace heikosen::check
