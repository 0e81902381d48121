#pragma once

// The rules that turn the figure's variables into positions of its lines,
// letter pictures and labels. Each writes only the properties it names, in a
// fixed order, and applying one twice gives the same result as applying it once.

#include <array>

#include "ui/controls.h"

namespace heikosen {

class Form1;

namespace placement {

// Which transversal: l (Line1(3)) or m (Line1(4)).
enum class Transversal { L, M };

// The variables and controls of one transversal, so that every rule is written
// once for l and m. Its upper end is (x1, y1), its lower end (x2, y2).
struct TransversalRef {
    double& x1;
    double& y1;
    double& x2;
    double& y2;
    LineControl& line;       // Line1(3) or Line1(4)
    LineControl& extension;  // Line2(1) or Line2(2)
    ImageControl& picture;   // Image1(0) or Image1(1)
    // The crossings with p, q and r (A, B, C or A', B', C') and their labels
    // (Label2(0..2) or Label2(3..5)).
    std::array<double*, 3> points;
    std::array<LabelControl*, 3> labels;
};

TransversalRef transversalRef(Form1& form, Transversal t);

// Parallel k (0 p, 1 q, 2 r) on Line1(k), from x = 50 to 750 at its height.
void parallel(Form1& form, int k);
// The letter picture of parallel k (Image1(2 + k)) just above the line's left end.
void parallelPicture(Form1& form, int k);
// The transversal's line from its four variables.
void transversal(const TransversalRef& t);
// Where the transversal crosses the horizontal line at height y.
double crossing(const TransversalRef& t, double y);
// Left of the transversal's letter picture: beside its upper end, right of the line.
double transversalPictureLeft(const TransversalRef& t);
// Left of the label of the point at x = pointX on the transversal, right of the line.
double pointLabelLeft(const TransversalRef& t, double pointX);
// The upward extension of the transversal, up to y = 25.
void extension(const TransversalRef& t);
// The six crossings: A and A' on p, B and B' on q, C and C' on r.
void crossings(Form1& form);
// Which label tops the point labels write: all of them, or none of those on r,
// which never moves.
enum class LabelTops { All, ExceptOnR };
// The labels of A, B, C, B' and C', each Left then Top. The label of A' stays
// where it is: A' starts on A, and the label is never shown.
void pointLabels(Form1& form, LabelTops tops);
// The two arrow strokes on parallel k, Line3(2k) and Line3(2k + 1), at height y.
void parallelMarks(Form1& form, int k, double y);
// Moves a line out of sight beyond the canvas's right edge.
void parkLine(LineControl& line);
// The turning rule: the new lower x of a transversal whose upper end moved to
// upperX, turning about its stored crossing with q, which stands at height qY.
// Returns false where q stands at the height of the upper ends and the turn has
// no value.
bool turnedLowerX(const TransversalRef& t, double qY, double upperX, double& lowerX);

}  // namespace placement
}  // namespace heikosen
