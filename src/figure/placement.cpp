#include "figure/placement.h"

#include <cmath>

#include "ui/form1.h"

namespace heikosen::placement {

namespace {

float f(double value) {
    return static_cast<float>(value);
}

double parallelY(const Form1& form, int k) {
    switch (k) {
        case 0:
            return form.fig.parallelPY;
        case 1:
            return form.fig.parallelQY;
        default:
            return form.fig.parallelRY;
    }
}

}  // namespace

void parallel(Form1& form, int k) {
    const double y = parallelY(form, k);
    LineControl& line = form.Line1(k);
    line.X1 = 50;
    line.Y1 = f(y);
    line.X2 = 750;
    line.Y2 = f(y);
}

void parallelPicture(Form1& form, int k) {
    // Each picture's bottom edge ends 2 or 3 px above its line.
    static constexpr double kRaise[3] = {36, 34, 30};
    ImageControl& image = form.Image1(2 + k);
    image.Top = f(parallelY(form, k) - kRaise[k]);
    image.Left = 50;
}

TransversalRef transversalRef(Form1& form, Transversal t) {
    FigureState& g = form.fig;
    const bool l = t == Transversal::L;
    const int i = l ? 0 : 1;
    return {l ? g.transLX1 : g.transMX1,
            l ? g.transLY1 : g.transMY1,
            l ? g.transLX2 : g.transMX2,
            l ? g.transLY2 : g.transMY2,
            form.Line1(3 + i),
            form.Line2(1 + i),
            form.Image1(i),
            {l ? &g.pointAX : &g.pointAPrimeX, l ? &g.pointBX : &g.pointBPrimeX,
             l ? &g.pointCX : &g.pointCPrimeX},
            {&form.Label2(3 * i), &form.Label2(3 * i + 1), &form.Label2(3 * i + 2)}};
}

void transversal(const TransversalRef& t) {
    t.line.X1 = f(t.x1);
    t.line.Y1 = f(t.y1);
    t.line.X2 = f(t.x2);
    t.line.Y2 = f(t.y2);
}

// The quotients below divide by the transversal's height y2 - y1 (450), which
// nothing changes.

double crossing(const TransversalRef& t, double y) {
    return t.x2 + ((t.y2 - y) * (t.x1 - t.x2)) / (t.y2 - t.y1);
}

double transversalPictureLeft(const TransversalRef& t) {
    const double s = t.x1 < t.x2 ? -1 : 0;
    return t.x1 - (s * (t.x1 - t.x2) * (-35)) / (t.y2 - t.y1);
}

double pointLabelLeft(const TransversalRef& t, double pointX) {
    const double s = t.x1 > t.x2 ? -1 : 0;
    return pointX - (s * (t.x1 - t.x2) * 31) / (t.y2 - t.y1);
}

void extension(const TransversalRef& t) {
    t.extension.X1 = f(t.x1);
    t.extension.Y1 = f(t.y1);
    t.extension.X2 = f(t.x1 + (100 * (t.x1 - t.x2)) / (t.y2 - t.y1));
    t.extension.Y2 = 25;
}

void crossings(Form1& form) {
    const TransversalRef l = transversalRef(form, Transversal::L);
    const TransversalRef m = transversalRef(form, Transversal::M);
    for (int k = 0; k < 3; ++k) {
        const double y = parallelY(form, k);
        *l.points[k] = crossing(l, y);
        *m.points[k] = crossing(m, y);
    }
}

void pointLabels(Form1& form, LabelTops tops) {
    for (Transversal which : {Transversal::L, Transversal::M}) {
        const TransversalRef t = transversalRef(form, which);
        for (int k = 0; k < 3; ++k) {
            if (which == Transversal::M && k == 0) {
                continue;  // A' lies on A
            }
            LabelControl& label = *t.labels[k];
            label.Left = f(pointLabelLeft(t, *t.points[k]));
            if (k < 2 || tops == LabelTops::All) {
                label.Top = f(parallelY(form, k) - 31);
            }
        }
    }
}

void parallelMarks(Form1& form, int k, double y) {
    LineControl& lower = form.Line3(2 * k);
    lower.X1 = 680;
    lower.Y1 = f(y);
    lower.X2 = 660;
    lower.Y2 = f(y + 10);
    LineControl& upper = form.Line3(2 * k + 1);
    upper.X1 = 680;
    upper.Y1 = f(y);
    upper.X2 = 660;
    upper.Y2 = f(y - 10);
}

void parkLine(LineControl& line) {
    line.X1 = 1000;
    line.X2 = 1000;
}

bool turnedLowerX(const TransversalRef& t, double qY, double upperX, double& lowerX) {
    const double pivotX = *t.points[1];
    const double divisor = t.y1 - qY;
    if (divisor == 0) {
        return false;
    }
    const double product = (upperX - pivotX) * (t.y2 - qY);
    const double quotient = product / divisor;
    lowerX = pivotX + quotient;
    return std::isfinite(lowerX);
}

}  // namespace heikosen::placement
