// Colour objects: lists of gradient stops that scripts allocate once and
// give to any number of bars. They live until the library unloads.
#pragma once

#include <cstdint>
#include <vector>

#include "render/colour_stops.h"

namespace vb::control {

struct ColorObject {
    std::vector<render::ColorStop> stops;  // as the script gave them, at least 2
};

// Registers the object and returns its handle (never 0 or -1). Out of
// memory throws std::bad_alloc, nothing registered.
std::int32_t RegisterColorObject(std::vector<render::ColorStop> stops);
bool IsColorObject(std::int32_t handle);
const ColorObject* FindColorObject(std::int32_t handle);

}  // namespace vb::control
