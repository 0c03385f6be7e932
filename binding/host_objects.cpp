#include "binding/host_objects.h"

#include <cstdint>

#include "binding/args.h"

namespace vb::binding {

namespace {

// Leaves table.field on the stack, whatever it is.
void pushHostFunction(lua_State* L, const char* table, const char* field) {
    lua_getfield(L, LUA_GLOBALSINDEX, table);
    lua_pushstring(L, field);
    lua_gettable(L, -2);
    lua_remove(L, -2);
}

// Asks table.GetObjectType(name); -1 when the function is missing.
int askObjectType(lua_State* L, const char* table, const char* name, bool* asked) {
    pushHostFunction(L, table, "GetObjectType");
    if (lua_type(L, -1) != LUA_TFUNCTION) {
        lua_settop(L, -2);
        *asked = false;
        return -1;
    }
    *asked = true;
    lua_pushstring(L, name);
    lua_call(L, 1, 1);
    double type = lua_tonumber(L, -1);
    lua_settop(L, -2);
    return RoundToInt(type);
}

}  // namespace

int GetHostObjectType(lua_State* L, const char* name) {
    bool asked = false;
    int type = askObjectType(L, "Page", name, &asked);
    // The dialog is asked only when the page answered exactly -1.
    if (!asked || type != -1) return asked ? type : -1;
    return askObjectType(L, "DialogEx", name, &asked);
}

platform::Window GetHostWindowHandle(lua_State* L, const char* kind, const char* name) {
    std::intptr_t handle = 0;
    pushHostFunction(L, kind, "GetProperties");
    if (lua_type(L, -1) != LUA_TFUNCTION) {
        lua_settop(L, -2);
        return nullptr;
    }
    lua_pushstring(L, name);
    lua_call(L, 1, 1);
    if (lua_type(L, -1) == LUA_TTABLE) {
        lua_pushstring(L, "WindowHandle");
        lua_gettable(L, -2);
        lua_remove(L, -2);
        if (lua_isnumber(L, -1)) handle = RoundToInt(lua_tonumber(L, -1));
    }
    lua_settop(L, -2);
    // Window handles are 32-bit values, sign-extended in a 64-bit process.
    return reinterpret_cast<platform::Window>(handle);
}

platform::Window ResolveHostWindow(lua_State* L, const char* name) {
    int type = GetHostObjectType(L, name);
    if (type == kHostTypeProgress) return GetHostWindowHandle(L, "Progress", name);
    if (type == kHostTypeInput) return GetHostWindowHandle(L, "Input", name);
    return nullptr;
}

}  // namespace vb::binding
