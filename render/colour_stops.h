// Colour stops as bars keep them.
#pragma once

#include <cstdint>
#include <vector>

namespace vb::render {

struct ColorStop {
    float position = 0.0f;  // 0.0 left edge .. 1.0 right edge
    std::int32_t colour = 0;
};

// A bar stop array: the n stops at 0..n-1 followed by one zeroed element
// that is not a stop, so its upper bound (size - 1) equals n.
using BarStops = std::vector<ColorStop>;

inline int UpperBound(const BarStops& stops) { return static_cast<int>(stops.size()) - 1; }

// Built one element at a time, as bars build theirs.
inline BarStops MakeBarStops(const std::vector<ColorStop>& stops) {
    BarStops array(1);
    for (const ColorStop& stop : stops) {
        array.back() = stop;
        array.emplace_back();
    }
    return array;
}

}  // namespace vb::render
