// A page with one host object and a Lua state that sees the stand-in
// host's globals, with the plug-in registered into it.
#pragma once

#include <string>

#include <lua.hpp>

#include "actions/registration.h"
#include "binding/host_objects.h"
#include "control/bar_control.h"
#include "host/globals.h"
#include "host/page.h"

namespace vb::bench {

struct BarPage {
    lua_State* L = nullptr;

    BarPage(const std::string& name, int width, int height) {
        host::Page::Current().Add(host::ObjectKind::Progress, name, false, 0, 0, width, height);
        L = luaL_newstate();
        luaL_openlibs(L);
        host::InstallHostGlobals(L);
        actions::RegisterActions(L);
    }
    ~BarPage() { lua_close(L); }

    // Runs a chunk; false when it raised.
    bool run(const char* chunk) { return luaL_dostring(L, chunk) == 0; }

    // The bar made on the named object, or null.
    control::BarControl* bar(const char* name) const {
        return control::ControlOnWindow(binding::ResolveHostWindow(L, name));
    }
};

// A 400 x 30 bar with outlined text at position 60: the repaint workload.
constexpr const char* kRepaintWithTextSetup =
    "Velumbar.Create('Repaint')"
    "Velumbar.SetFont('Repaint', 'DejaVu Sans', 9, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0)"
    "Velumbar.SetText('Repaint', 'Twenty characters!!!')"
    "Velumbar.SetCurrentPosition('Repaint', 60)";

// The peer of event dispatch: a closure that builds the table dispatch
// builds for a mouse move at (40, 10) over the bar "Events" and calls its
// upvalue with it in protected mode.
inline int CallWithMouseMoveTable(lua_State* L) {
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_createtable(L, 0, 3);
    lua_pushstring(L, "Events");
    lua_setfield(L, -2, "ObjectName");
    lua_pushnumber(L, 65539);
    lua_setfield(L, -2, "EventCode");
    lua_createtable(L, 0, 6);
    lua_pushnumber(L, 20);
    lua_setfield(L, -2, "StateHover");
    lua_pushnumber(L, 40);
    lua_setfield(L, -2, "x");
    lua_pushnumber(L, 10);
    lua_setfield(L, -2, "y");
    lua_pushboolean(L, 0);
    lua_setfield(L, -2, "LeftButtonDown");
    lua_pushboolean(L, 0);
    lua_setfield(L, -2, "RightButtonDown");
    lua_pushboolean(L, 0);
    lua_setfield(L, -2, "MiddleButtonDown");
    lua_setfield(L, -2, "Mouse");
    if (lua_pcall(L, 1, 0, 0) != 0) lua_pop(L, 1);
    return 0;
}

}  // namespace vb::bench
