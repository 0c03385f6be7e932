// The completely filled bar, pre-rendered at full size.
#pragma once

#include <cstdint>
#include <optional>

#include "pixels/picture.h"
#include "render/colour_stops.h"

namespace vb::render {

constexpr std::int32_t kKindSolid = 1;
constexpr std::int32_t kKindGradient = 2;

// Solid or gradient fill (stops read from 0 to upper bound - 1), then the
// glossy highlight when glossy is not 0. None when no picture can be made.
std::optional<pixels::Picture> BuildBarImage(int width, int height, std::int32_t kind, const BarStops& stops,
                                             std::uint32_t solidColour, int glossy);

}  // namespace vb::render
