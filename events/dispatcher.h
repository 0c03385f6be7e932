// Hands one event of a canvas window to the Lua callback of its bar.
#pragma once

#include "events/event_codes.h"
#include "platform/platform.h"

namespace vb::events {

struct EventData {
    int code = 0;
    int x = 0;
    int y = 0;
    unsigned buttons = 0;  // ButtonBit values
};

void Dispatch(platform::Window canvas, const EventData& event);

// The bar value under the mouse: a percentage of the width in 32-bit float,
// mapped onto the range, rounded up and clamped to it.
float StateHover(int x, int width, int rangeMin, int rangeMax);

}  // namespace vb::events
