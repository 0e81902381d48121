#pragma once

// The rules that turn the figure's variables into positions of its lines,
// letter pictures and labels. Each writes only the properties it names, in a
// fixed order, and applying one twice gives the same result as applying it once.

namespace heikosen {

class Form1;
struct LineControl;

namespace placement {

// Which transversal: l (Line1(3)) or m (Line1(4)).
enum class Transversal { L, M };

// Parallel k (0 p, 1 q, 2 r) on Line1(k), from x = 50 to 750 at its height.
void parallel(Form1& form, int k);
// The letter picture of parallel k (Image1(2 + k)) just above the line's left end.
void parallelPicture(Form1& form, int k);
// Line1(3) or Line1(4) from the transversal's four variables.
void transversal(Form1& form, Transversal t);
// Where the transversal crosses the horizontal line at height y.
double crossing(const Form1& form, Transversal t, double y);
// Left of the transversal's letter picture: beside its upper end, right of the line.
double transversalPictureLeft(const Form1& form, Transversal t);
// Left of the label of the point at x = pointX on the transversal, right of the line.
double pointLabelLeft(const Form1& form, Transversal t, double pointX);
// The upward extension, Line2(1) for l or Line2(2) for m, up to y = 25.
void extension(Form1& form, Transversal t);
// The two arrow strokes on parallel k, Line3(2k) and Line3(2k + 1), at height y.
void parallelMarks(Form1& form, int k, double y);
// Moves a line out of sight beyond the canvas's right edge.
void parkLine(LineControl& line);
// The turning rule: the new lower x of a transversal whose upper end moved to
// upperX, turning about its stored crossing pivotX with q. Returns false where q
// stands at the height of the upper ends and the turn has no value.
bool turnedLowerX(const Form1& form, double upperX, double upperY, double lowerY, double pivotX,
                  double& lowerX);

}  // namespace placement
}  // namespace heikosen
