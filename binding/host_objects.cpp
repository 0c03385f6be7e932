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

// The unrounded answer of table.GetObjectType(name); false when the
// function is missing.
bool askObjectType(lua_State* L, const char* table, const char* name, double* type) {
    pushHostFunction(L, table, "GetObjectType");
    if (lua_type(L, -1) != LUA_TFUNCTION) {
        lua_settop(L, -2);
        return false;
    }
    lua_pushstring(L, name);
    lua_call(L, 1, 1);
    *type = lua_tonumber(L, -1);
    lua_settop(L, -2);
    return true;
}

}  // namespace

int GetHostObjectType(lua_State* L, const char* name) {
    double type = -1;
    if (!askObjectType(L, "Page", name, &type)) return -1;
    // The dialog is asked only when the page answered exactly -1: an answer
    // of -1.4 is compared before it is rounded, and names no dialog object.
    if (type != -1) return RoundToInt(type);
    if (!askObjectType(L, "DialogEx", name, &type)) return -1;
    return RoundToInt(type);
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
