// The host's Lua globals that the plug-in relies on.
#pragma once

#include <lua.hpp>

namespace vb::host {

void InstallHostGlobals(lua_State* L);

}  // namespace vb::host
