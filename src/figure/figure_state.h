#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace heikosen {

// Stores a value in a 16-bit integer variable: the nearest integer, a half going
// to the even neighbour, saturating at the ends of the range instead of
// overflowing. A value that is not a number stores 0.
inline std::int16_t toInt16(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kMin = std::numeric_limits<std::int16_t>::min();
    constexpr double kMax = std::numeric_limits<std::int16_t>::max();
    if (value <= kMin) {
        return std::numeric_limits<std::int16_t>::min();
    }
    if (value >= kMax) {
        return std::numeric_limits<std::int16_t>::max();
    }
    return static_cast<std::int16_t>(std::nearbyint(value));
}

// Handle codes of the figure.
enum : std::int16_t {
    kHandleNone = 0,
    kHandleParallelP = 1,
    kHandleParallelQ = 2,
    kHandleUpperL = 5,
    kHandleUpperM = 6,
    kHandleCopyM = 10,
};

// The order in which a press tests the handles' zones: where zones overlap, the
// last that holds is grabbed.
inline constexpr int kHandlesInPressOrder[] = {kHandleUpperL, kHandleUpperM, kHandleCopyM,
                                               kHandleParallelP, kHandleParallelQ};
// The order in which the keyboard goes through the handles.
inline constexpr int kHandlesInKeyOrder[] = {kHandleParallelP, kHandleParallelQ, kHandleUpperL,
                                             kHandleUpperM, kHandleCopyM};

// How far from the canvas a part of the figure may be dragged. Far beyond any
// screen, it keeps every coordinate finite and exact in single precision.
inline constexpr double kFigureLimit = 1.0e6;

// The geometry of the figure: three parallels p, q, r; transversals l and m; the
// sliding copy of m; and the crossings A, A', B, B', C, C'.
struct FigureState {
    double parallelPY = 0;
    double parallelQY = 0;
    double parallelRY = 0;
    double transLX1 = 0;
    double transLY1 = 0;
    double transLX2 = 0;
    double transLY2 = 0;
    double transMX1 = 0;
    double transMY1 = 0;
    double transMX2 = 0;
    double transMY2 = 0;
    double copyMX1 = 0;
    double copyMY1 = 0;
    double copyMX2 = 0;
    std::int16_t copyMY2 = 0;
    double pointAX = 0;
    double pointAPrimeX = 0;
    double pointBX = 0;
    double pointBPrimeX = 0;
    double pointCX = 0;
    double pointCPrimeX = 0;
    std::int16_t copyMGrabX = 0;

    bool operator==(const FigureState&) const = default;
};

}  // namespace heikosen
