// Rounding as the drawing arithmetic uses it: nearest, halves to even.
#pragma once

#include <cmath>

namespace vb::render {

inline double RoundHalfEven(double value) {
    double below = std::floor(value);
    double fraction = value - below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) return below + 1.0;
    return below;
}

}  // namespace vb::render
