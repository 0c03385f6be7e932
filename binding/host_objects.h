// Host object names resolved to windows through the host's Lua functions,
// asked anew on every call.
#pragma once

#include <lua.hpp>

#include "platform/platform.h"

namespace vb::binding {

constexpr int kHostTypeProgress = 11;
constexpr int kHostTypeInput = 7;

int GetHostObjectType(lua_State* L, const char* name);
// kind is "Progress" or "Input"; 0 when the host gives no window handle.
platform::Window GetHostWindowHandle(lua_State* L, const char* kind, const char* name);
platform::Window ResolveHostWindow(lua_State* L, const char* name);

}  // namespace vb::binding
