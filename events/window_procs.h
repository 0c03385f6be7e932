// The procedures that keep a bar attached to its host object. With the
// canvas's input (canvas_input.h) these are all the window procedures the
// plug-in installs.
#pragma once

#include <cstdint>

#include <lua.hpp>

#include "control/bar_control.h"
#include "platform/platform.h"

namespace vb::events {

// Attaches a bar built on `container` to its host window: our procedures
// on host and container, the canvas's input, and the window properties the
// host may read ("iObject", "Container", "OldHostResizeProc",
// "OldContainerProc", "ObjectName", "lua_state"). Calls no Lua function;
// what can run out of memory (std::bad_alloc) comes before the first window
// changes. False when a procedure cannot be replaced.
bool AttachBar(lua_State* L, platform::Window host, platform::Window container, control::BarControl* bar,
               const char* name, std::uint32_t backgroundColor);

// Follows the host window's size and detaches on its destruction.
platform::LResult VB_CALLBACK HostWindowProc(platform::Window window, unsigned msg, platform::WParam wParam,
                                             platform::LParam lParam);
// Whether `container` is a container we made, and a child of `host`.
bool IsContainerOf(platform::Window container, platform::Window host);
// Detaches the container's and canvas's properties on destruction.
platform::LResult VB_CALLBACK ContainerWindowProc(platform::Window window, unsigned msg,
                                                  platform::WParam wParam, platform::LParam lParam);

}  // namespace vb::events
