#include "host/globals.h"

#include <string>

#include "host/page.h"

namespace vb::host {

namespace {

int lastError = 0;

int setLastError(lua_State* L) {
    lastError = static_cast<int>(luaL_checknumber(L, 1));
    return 0;
}

int resetLastError(lua_State*) {
    lastError = 0;
    return 0;
}

int getLastError(lua_State* L) {
    lua_pushnumber(L, lastError);
    return 1;
}

// The message prefixed with the position of the nearest script line on the
// call stack, the line that called the plug-in.
int getSyntaxErrorString(lua_State* L) {
    const char* message = luaL_checkstring(L, 1);
    lua_Debug ar;
    for (int level = 1; lua_getstack(L, level, &ar); ++level) {
        lua_getinfo(L, "Sl", &ar);
        if (ar.currentline > 0) {
            lua_pushfstring(L, "%s:%d: %s", ar.short_src, ar.currentline, message);
            return 1;
        }
    }
    lua_pushstring(L, message);
    return 1;
}

int objectType(lua_State* L, bool dialog) {
    const char* name = luaL_checkstring(L, 1);
    const HostObject* object = Page::Current().FindOn(name, dialog);
    lua_pushnumber(L, object ? ObjectTypeNumber(object->kind) : -1);
    return 1;
}

int pageObjectType(lua_State* L) { return objectType(L, false); }
int dialogObjectType(lua_State* L) { return objectType(L, true); }

int properties(lua_State* L, ObjectKind kind) {
    const char* name = luaL_checkstring(L, 1);
    const Page& page = Page::Current();
    const HostObject* object = nullptr;
    for (bool dialog : {false, true}) {
        const HostObject* candidate = page.FindOn(name, dialog);
        if (candidate && candidate->kind == kind) {
            object = candidate;
            break;
        }
    }
    if (!object) {
        lua_pushnil(L);
        return 1;
    }
    lua_createtable(L, 0, 5);
    lua_pushnumber(L, static_cast<double>(reinterpret_cast<std::uintptr_t>(object->window)));
    lua_setfield(L, -2, "WindowHandle");
    lua_pushnumber(L, object->x);
    lua_setfield(L, -2, "X");
    lua_pushnumber(L, object->y);
    lua_setfield(L, -2, "Y");
    lua_pushnumber(L, object->width);
    lua_setfield(L, -2, "Width");
    lua_pushnumber(L, object->height);
    lua_setfield(L, -2, "Height");
    return 1;
}

int progressProperties(lua_State* L) { return properties(L, ObjectKind::Progress); }
int inputProperties(lua_State* L) { return properties(L, ObjectKind::Input); }

void setTable(lua_State* L, const char* name, std::initializer_list<luaL_Reg> functions) {
    lua_createtable(L, 0, static_cast<int>(functions.size()));
    for (const luaL_Reg& f : functions) {
        lua_pushcfunction(L, f.func);
        lua_setfield(L, -2, f.name);
    }
    lua_setglobal(L, name);
}

}  // namespace

void InstallHostGlobals(lua_State* L) {
    setTable(
        L, "Application",
        {{"SetLastError", setLastError}, {"ResetLastError", resetLastError}, {"GetLastError", getLastError}});
    setTable(L, "Debug", {{"GetSyntaxErrorString", getSyntaxErrorString}});
    setTable(L, "Page", {{"GetObjectType", pageObjectType}});
    setTable(L, "DialogEx", {{"GetObjectType", dialogObjectType}});
    setTable(L, "Progress", {{"GetProperties", progressProperties}});
    setTable(L, "Input", {{"GetProperties", inputProperties}});
    lua_newtable(L);
    lua_setglobal(L, "_tblErrorMessages");
}

}  // namespace vb::host
