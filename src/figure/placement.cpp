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

void transversal(Form1& form, Transversal t) {
    const FigureState& g = form.fig;
    LineControl& line = form.Line1(t == Transversal::L ? 3 : 4);
    if (t == Transversal::L) {
        line.X1 = f(g.transLX1);
        line.Y1 = f(g.transLY1);
        line.X2 = f(g.transLX2);
        line.Y2 = f(g.transLY2);
    } else {
        line.X1 = f(g.transMX1);
        line.Y1 = f(g.transMY1);
        line.X2 = f(g.transMX2);
        line.Y2 = f(g.transMY2);
    }
}

double crossing(const Form1& form, Transversal t, double y) {
    const FigureState& g = form.fig;
    if (t == Transversal::L) {
        return g.transLX2 +
               ((g.transLY2 - y) * (g.transLX1 - g.transLX2)) / (g.transLY2 - g.transLY1);
    }
    return g.transMX2 + ((g.transMY2 - y) * (g.transMX2 - g.transMX1)) / (g.transMY1 - g.transMY2);
}

double transversalPictureLeft(const Form1& form, Transversal t) {
    const FigureState& g = form.fig;
    if (t == Transversal::L) {
        const double s = g.transLX1 < g.transLX2 ? -1 : 0;
        return g.transLX1 - (s * (g.transLX1 - g.transLX2) * (-35)) / (g.transLY2 - g.transLY1);
    }
    const double s = g.transMX1 < g.transMX2 ? -1 : 0;
    return g.transMX1 - (s * (g.transMX2 - g.transMX1) * (-35)) / (g.transMY1 - g.transMY2);
}

double pointLabelLeft(const Form1& form, Transversal t, double pointX) {
    const FigureState& g = form.fig;
    if (t == Transversal::L) {
        const double s = g.transLX1 > g.transLX2 ? -1 : 0;
        return pointX - (s * (g.transLX1 - g.transLX2) * 31) / (g.transLY2 - g.transLY1);
    }
    const double s = g.transMX1 > g.transMX2 ? -1 : 0;
    return pointX - (s * (g.transMX2 - g.transMX1) * 31) / (g.transMY1 - g.transMY2);
}

void extension(Form1& form, Transversal t) {
    const FigureState& g = form.fig;
    if (t == Transversal::L) {
        LineControl& line = form.Line2(1);
        line.X1 = f(g.transLX1);
        line.Y1 = f(g.transLY1);
        line.X2 = f(g.transLX1 + (100 * (g.transLX1 - g.transLX2)) / (g.transLY2 - g.transLY1));
        line.Y2 = 25;
    } else {
        LineControl& line = form.Line2(2);
        line.X1 = f(g.transMX1);
        line.Y1 = f(g.transMY1);
        line.X2 = f(g.transMX1 + (100 * (g.transMX2 - g.transMX1)) / (g.transMY1 - g.transMY2));
        line.Y2 = 25;
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

bool turnedLowerX(const Form1& form, double upperX, double upperY, double lowerY, double pivotX,
                  double& lowerX) {
    const double divisor = upperY - form.fig.parallelQY;
    if (divisor == 0) {
        return false;
    }
    const double product = (upperX - pivotX) * (lowerY - form.fig.parallelQY);
    const double quotient = product / divisor;
    lowerX = pivotX + quotient;
    return std::isfinite(lowerX);
}

}  // namespace heikosen::placement
