// Lua callbacks registered per host object name. A reference belongs to the
// Lua state that made it, so entries are keyed by state and name: a
// callback set in one state is never called with another.
#pragma once

#include <string_view>

#include <lua.hpp>

namespace vb::events {

// The reference under (L, name), 0 when none.
int LookupCallback(lua_State* L, std::string_view name);
// Stores ref, releasing any earlier reference under the same key.
void StoreCallback(lua_State* L, std::string_view name, int ref);
// Releases and removes the entry; false when there was none.
bool RemoveCallbackEntry(lua_State* L, std::string_view name);
// Drops every entry of a state that is closing, without touching it.
void ForgetCallbacksOf(lua_State* L);

}  // namespace vb::events
