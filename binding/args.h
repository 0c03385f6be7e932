// Argument checks and script errors shared by every Velumbar function.
//
// Lua 5.1 leaves an error by longjmp, which skips C++ destructors: callers
// finish every check that can raise while only trivially destructible values
// are alive, and build owning objects afterwards.
#pragma once

#include <cstdint>

#include <lua.hpp>

namespace vb::binding {

// Raises "<n> arguments required." when fewer than n arguments were passed.
void CheckArgCount(lua_State* L, int n);
// The text of argument i (a number is converted in place to its string form);
// raises "Argument <i> must be a string." otherwise. The pointer stays valid
// while the argument is on the stack.
const char* CheckStringArg(lua_State* L, int i);
// The boolean of argument i; raises "Argument <i> must be a boolean." otherwise.
bool CheckBooleanArg(lua_State* L, int i);
// lua_tonumber: 0 for anything that is not a number or numeric string.
double ReadNumberArg(lua_State* L, int i);
// Nearest 32-bit integer, halves to the even neighbour; out of range or NaN
// gives -2147483648.
std::int32_t RoundToInt(double value);
// Integer argument i, read with ReadNumberArg and rounded.
std::int32_t ReadIntegerArg(lua_State* L, int i);
// t[key] rounded when it is a number or numeric string, else fallback.
std::int32_t ReadTableInteger(lua_State* L, int t, const char* key, std::int32_t fallback);
// t[key] when it is a boolean, else false.
bool ReadTableBoolean(lua_State* L, int t, const char* key);
// Raises message as a script error formatted by the host; does nothing for "".
void RaiseScriptError(lua_State* L, const char* message);
// Sets the script error text from message through Debug.GetSyntaxErrorString.
void FormatScriptError(lua_State* L, const char* message);
// The text the next script error raises (the last one formatted).
const char* ScriptErrorText();

}  // namespace vb::binding
