// Colour ramps: sorted stops between a start and an end colour.
#include "render/colour_ramp.h"

#include <algorithm>
#include <cmath>

#include "pixels/picture.h"

namespace vb::render {

namespace {

inline std::uint8_t mixChannel(unsigned a, unsigned b, double c) {
    double v = c * b + (1.0 - c) * a;
    v = std::clamp(v, 0.0, 255.0);        // c stays in 0..1; this only guards rounding
    return static_cast<std::uint8_t>(v);  // truncates toward zero
}

// Channel by channel in floating point, truncated, alpha included.
inline std::uint32_t mix(std::uint32_t a, std::uint32_t b, double c) {
    std::uint32_t out = 0;
    for (unsigned shift = 0; shift < 32; shift += 8)
        out |= static_cast<std::uint32_t>(mixChannel((a >> shift) & 0xFF, (b >> shift) & 0xFF, c)) << shift;
    return out;
}

}  // namespace

void AddStop(ColourRamp& ramp, float position, std::uint32_t rgba) {
    if (std::isnan(position)) position = 0.0f;
    position = std::clamp(position, 0.0f, 1.0f);
    auto it = std::lower_bound(ramp.stops.begin(), ramp.stops.end(), position,
                               [](const RampStop& s, float p) { return s.position < p; });
    if (it != ramp.stops.end() && it->position == position)
        it->rgba = rgba;  // the later of two stops at one place wins
    else
        ramp.stops.insert(it, RampStop{position, rgba});
}

// Positions stay 32-bit floats, compared and subtracted as such (promoted
// exactly): a stop made from 20 / 100 lies a hair above 0.2.
std::uint32_t ColourAt(const ColourRamp& ramp, double t) {
    if (!(t >= 0.0)) t = 0.0;  // NaN too
    if (t > 1.0) t = 1.0;
    const std::vector<RampStop>& stops = ramp.stops;
    if (stops.empty()) return mix(ramp.start, ramp.end, t);

    auto s =
        std::find_if(stops.begin(), stops.end(), [t](const RampStop& stop) { return stop.position > t; });
    std::uint32_t colour;
    if (s == stops.end()) {
        const RampStop& last = stops.back();
        if (last.position == 1.0f)
            colour = last.rgba;
        else
            colour = mix(last.rgba, ramp.end, (t - last.position) / (1.0 - last.position));
    } else if (s == stops.begin()) {
        colour = mix(ramp.start, s->rgba, t / s->position);
    } else {
        const RampStop& p = *(s - 1);
        double span = static_cast<double>(s->position) - p.position;
        colour = mix(p.rgba, s->rgba, (t - p.position) / span);
    }
    return colour;
}

double RampParameter(const LaidRamp& laid, int coordinate) {
    double t;
    if (coordinate <= laid.from)
        t = 0.0;
    else if (coordinate >= laid.to)
        t = 1.0;
    else
        t = (static_cast<double>(coordinate) - laid.from) / (static_cast<double>(laid.to) - laid.from);
    return t;
}

}  // namespace vb::render

namespace vb::render {

void RampColours(const LaidRamp& laid, int from, int to, std::uint32_t* out) {
    const ColourRamp& ramp = *laid.ramp;
    const std::vector<RampStop>& stops = ramp.stops;
    std::size_t next = 0;  // first stop above t; t never falls along a line
    for (int i = from; i < to; ++i) {
        double t = RampParameter(laid, i);
        if (!(t >= 0.0)) t = 0.0;
        if (t > 1.0) t = 1.0;
        std::uint32_t colour;
        if (stops.empty()) {
            colour = mix(ramp.start, ramp.end, t);
        } else {
            while (next < stops.size() && !(stops[next].position > t)) ++next;
            if (next == stops.size()) {
                const RampStop& last = stops.back();
                if (last.position == 1.0f)
                    colour = last.rgba;
                else
                    colour = mix(last.rgba, ramp.end, (t - last.position) / (1.0 - last.position));
            } else if (next == 0) {
                colour = mix(ramp.start, stops[0].rgba, t / stops[0].position);
            } else {
                const RampStop& p = stops[next - 1];
                const RampStop& s = stops[next];
                double span = static_cast<double>(s.position) - p.position;
                colour = mix(p.rgba, s.rgba, (t - p.position) / span);
            }
        }
        out[i - from] = colour;
    }
}

}  // namespace vb::render
