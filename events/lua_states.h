// Lua states the plug-in was registered into and that are still open. A
// bar outlives the state that created it when the host closes that state;
// its events must then find nobody to call.
#pragma once

#include <lua.hpp>

namespace vb::events {

void MarkStateOpen(lua_State* L);
// A state registered for the first time: whatever a closed state at the
// same address left behind is not its own.
void MarkStateNew(lua_State* L);
// Forgets the state and every callback it registered.
void MarkStateClosed(lua_State* L);
bool IsStateOpen(lua_State* L);

}  // namespace vb::events
