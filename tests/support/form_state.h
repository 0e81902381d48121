#pragma once

// Every number a window holds, by name, so that two moments of a lesson can be
// compared control by control, and checks of control coordinates.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "ui/form1.h"

namespace heikosen::testing {

// Every number the window holds, by name, so that two moments can be compared.
using State = std::map<std::string, double>;

inline std::string indexed(const char* name, int index) {
    return std::string(name) + "(" + std::to_string(index) + ")";
}

inline void putLine(State& s, const std::string& n, const LineControl& l) {
    s[n + ".X1"] = l.X1;
    s[n + ".Y1"] = l.Y1;
    s[n + ".X2"] = l.X2;
    s[n + ".Y2"] = l.Y2;
    s[n + ".BorderColor"] = l.BorderColor;
    s[n + ".Style"] = static_cast<double>(l.Style);
    s[n + ".BorderWidth"] = l.BorderWidth;
    s[n + ".Visible"] = l.Visible;
}

template <typename Box>
inline void putBox(State& s, const std::string& n, const Box& b) {
    s[n + ".Left"] = b.Left;
    s[n + ".Top"] = b.Top;
    s[n + ".Width"] = b.Width;
    s[n + ".Height"] = b.Height;
    s[n + ".Visible"] = b.Visible;
}

inline State capture(const Form1& f) {
    State s;
    const FigureState& g = f.fig;
    for (const auto& [name, value] :
         std::map<std::string, double>{{"parallelPY", g.parallelPY},
                                       {"parallelQY", g.parallelQY},
                                       {"parallelRY", g.parallelRY},
                                       {"transLX1", g.transLX1},
                                       {"transLY1", g.transLY1},
                                       {"transLX2", g.transLX2},
                                       {"transLY2", g.transLY2},
                                       {"transMX1", g.transMX1},
                                       {"transMY1", g.transMY1},
                                       {"transMX2", g.transMX2},
                                       {"transMY2", g.transMY2},
                                       {"copyMX1", g.copyMX1},
                                       {"copyMY1", g.copyMY1},
                                       {"copyMX2", g.copyMX2},
                                       {"copyMY2", g.copyMY2},
                                       {"pointAX", g.pointAX},
                                       {"pointAPrimeX", g.pointAPrimeX},
                                       {"pointBX", g.pointBX},
                                       {"pointBPrimeX", g.pointBPrimeX},
                                       {"pointCX", g.pointCX},
                                       {"pointCPrimeX", g.pointCPrimeX},
                                       {"copyMGrabX", g.copyMGrabX},
                                       {"grabbedHandle", f.grabbedHandle},
                                       {"lastX", f.lastX},
                                       {"lastY", f.lastY},
                                       {"memoMode", f.memoMode},
                                       {"penDown", f.penDown},
                                       {"penColor", f.penColor},
                                       {"lineMode", f.lineMode},
                                       {"lineDrawing", f.lineDrawing},
                                       {"lineSlot", f.lineSlot},
                                       {"lineColor", f.lineColor},
                                       {"gridShown", f.gridShown},
                                       {"extension1Shown", f.extension1Shown},
                                       {"extension2Shown", f.extension2Shown}}) {
        s[name] = value;
    }
    for (int i = 0; i <= 4; ++i) {
        putLine(s, indexed("Line1", i), f.Line1(i));
        putLine(s, indexed("Line4", i), f.Line4(i));
        putBox(s, indexed("Image1", i), f.Image1(i));
        s[indexed("Check1", i) + ".Value"] = f.Check1(i).Value();
        s[indexed("Check1", i) + ".Enabled"] = f.Check1(i).Enabled;
    }
    for (int i = 0; i <= 2; ++i) {
        putLine(s, indexed("Line2", i), f.Line2(i));
    }
    for (int i = 0; i <= 5; ++i) {
        putLine(s, indexed("Line3", i), f.Line3(i));
        putBox(s, indexed("Label2", i), f.Label2(i));
    }
    for (int k = 0; k < f.Line5.count(); ++k) {
        putLine(s, indexed("Line5", k), f.Line5(k));
    }
    for (int k = 0; k < f.Line6.count(); ++k) {
        putLine(s, indexed("Line6", k), f.Line6(k));
    }
    putBox(s, "Label3(1)", f.Label3(1));
    putBox(s, "Label5", f.Label5);
    putBox(s, "Shape1", f.Shape1);
    for (int i = 0; i <= 7; ++i) {
        s[indexed("Option1", i) + ".Value"] = f.Option1(i).Value();
        s[indexed("Option1", i) + ".Enabled"] = f.Option1(i).Enabled;
    }
    for (int i = 0; i <= 3; ++i) {
        s[indexed("Option2", i) + ".Value"] = f.Option2(i).Value();
        s[indexed("Option2", i) + ".Enabled"] = f.Option2(i).Enabled;
    }
    const CommandButton* commands[6] = {&f.Command1, &f.Command2, &f.Command3,
                                        &f.Command4, &f.Command5, &f.Command6};
    for (int i = 0; i < 6; ++i) {
        s[indexed("Command", i + 1) + ".FontBold"] = commands[i]->FontBold;
        s[indexed("Command", i + 1) + ".Enabled"] = commands[i]->Enabled;
    }
    s["gamen.DrawWidth"] = f.gamen.DrawWidth;
    s["gamen.ForeColor"] = f.gamen.ForeColor;
    s["gamen.FontSize"] = f.gamen.FontSize;
    s["gamen.segmentsSinceCls"] = static_cast<double>(f.gamen.segmentsSinceCls());
    return s;
}

inline State without(State s, const std::function<bool(const std::string&)>& drop) {
    std::erase_if(s, [&drop](const auto& entry) { return drop(entry.first); });
    return s;
}

inline void expectSameState(const State& expected, const State& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (const auto& [name, value] : expected) {
        const auto it = actual.find(name);
        ASSERT_NE(it, actual.end()) << name;
        EXPECT_EQ(it->second, value) << name;
    }
}

// Compares a control coordinate with the exact value that the figure gives it.
inline void expectPx(float actual, double exact) {
    EXPECT_FLOAT_EQ(actual, static_cast<float>(exact));
}

inline void expectLine(const LineControl& line, double x1, double y1, double x2, double y2) {
    expectPx(line.X1, x1);
    expectPx(line.Y1, y1);
    expectPx(line.X2, x2);
    expectPx(line.Y2, y2);
}

}  // namespace heikosen::testing
