// The canvas window's input handling: messages become numbered events.
#pragma once

#include "events/event_codes.h"
#include "platform/platform.h"

namespace vb::events {

platform::LResult VB_CALLBACK CanvasInputProc(platform::Window canvas, unsigned msg, platform::WParam wParam,
                                              platform::LParam lParam);

}  // namespace vb::events
