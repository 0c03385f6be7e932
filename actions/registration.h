// Entering a Lua state: the Velumbar table, error messages, constants and
// the class script.
#pragma once

#include <lua.hpp>

namespace vb::actions {

void RegisterFunction(lua_State* L, const char* name, lua_CFunction function);
void RegisterConstant(lua_State* L, double value, const char* name);
void RegisterErrorMessage(lua_State* L, int code, const char* message);

// Everything irPlg_Action_RegisterActions does; the stack is left as given.
void RegisterActions(lua_State* L);

}  // namespace vb::actions
