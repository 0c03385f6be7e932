// Colour ramps built from stops, laid along a horizontal or vertical segment.
#pragma once

#include <cstdint>
#include <vector>

namespace vb::render {

struct RampStop {
    float position = 0.0f;
    std::uint32_t rgba = 0;  // red low byte, alpha top byte
};

struct ColourRamp {
    std::vector<RampStop> stops;        // ascending position
    std::uint32_t start = 0xFF000000u;  // black, alpha 255
    std::uint32_t end = 0xFFFFFFFFu;    // white, alpha 255
};

// Clamps the position to 0..1; an equal position replaces that stop's colour.
void AddStop(ColourRamp& ramp, float position, std::uint32_t rgba);
// Colour at parameter t (0..1), channels mixed in floating point and truncated.
std::uint32_t ColourAt(const ColourRamp& ramp, double t);

enum class RampDirection { Horizontal, Vertical };

// A ramp laid from a to b (b > a) along columns or rows.
struct LaidRamp {
    const ColourRamp* ramp = nullptr;
    RampDirection direction = RampDirection::Horizontal;
    int from = 0;
    int to = 1;
};

double RampParameter(const LaidRamp& laid, int coordinate);

// ColourAt(ramp, RampParameter(laid, i)) for every i in [from, to), into out;
// the same values, walking the stops once instead of searching per pixel.
void RampColours(const LaidRamp& laid, int from, int to, std::uint32_t* out);

}  // namespace vb::render
