#include "binding/last_error.h"

namespace vb::binding {

namespace {

// Leaves Application.<name> on the stack, whatever it is.
void pushApplicationField(lua_State* L, const char* name) {
    lua_getfield(L, LUA_GLOBALSINDEX, "Application");
    lua_pushstring(L, name);
    lua_gettable(L, -2);
    lua_remove(L, -2);
}

}  // namespace

void SetHostLastError(lua_State* L, int code) {
    pushApplicationField(L, "SetLastError");
    if (lua_type(L, -1) != LUA_TFUNCTION) {
        lua_settop(L, -2);
        return;
    }
    lua_pushnumber(L, code);
    lua_call(L, 1, 0);
}

void ResetHostLastError(lua_State* L) {
    pushApplicationField(L, "ResetLastError");
    if (lua_type(L, -1) != LUA_TFUNCTION) {
        lua_settop(L, -2);
        return;
    }
    lua_call(L, 0, 0);
}

}  // namespace vb::binding
