// The procedures that keep a bar attached to its host object.
#pragma once

#include "platform/platform.h"

namespace vb::control {

// Follows the host window's size and detaches on its destruction.
platform::LResult VB_CALLBACK HostWindowProc(platform::Window window, unsigned msg, platform::WParam wParam,
                                             platform::LParam lParam);
// Whether `container` is a container we made, and a child of `host`.
bool IsContainerOf(platform::Window container, platform::Window host);
// Detaches the container's and canvas's properties on destruction.
platform::LResult VB_CALLBACK ContainerWindowProc(platform::Window window, unsigned msg,
                                                  platform::WParam wParam, platform::LParam lParam);

}  // namespace vb::control
