// The Lua state a registration was made in. Scripts may call the plug-in
// from coroutines, whose threads come and go; bars and callbacks belong to
// the state that owns those threads.
#pragma once

#include <lua.hpp>

namespace vb::events {

// Remembers L as the main state of every thread that shares its registry.
void RememberMainState(lua_State* L);
// The main state of L's registry, or L itself when none was remembered.
lua_State* MainState(lua_State* L);

}  // namespace vb::events
