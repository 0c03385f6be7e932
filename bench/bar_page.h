// A page with one host object and a Lua state that sees the stand-in
// host's globals, with the plug-in registered into it.
#pragma once

#include <string>
#include <vector>

#include <lua.hpp>

#include "actions/registration.h"
#include "binding/host_objects.h"
#include "control/bar_control.h"
#include "host/globals.h"
#include "host/page.h"

namespace vb::bench {

// The host objects it added are removed again when it goes, so the bars of
// one workload never sit in the next one's way.
struct BarPage {
    lua_State* L = nullptr;
    std::vector<std::string> names;

    BarPage(const std::string& name, int width, int height) {
        add(name, width, height);
        L = luaL_newstate();
        luaL_openlibs(L);
        host::InstallHostGlobals(L);
        actions::RegisterActions(L);
    }
    ~BarPage() {
        removeAll();
        lua_close(L);
    }
    BarPage(const BarPage&) = delete;
    BarPage& operator=(const BarPage&) = delete;

    // Another progress object; false when the name was used before.
    bool add(const std::string& name, int width, int height, int x = 0, int y = 0) {
        bool added = host::Page::Current().Add(host::ObjectKind::Progress, name, false, x, y, width,
                                               height) != nullptr;
        if (added) names.push_back(name);
        return added;
    }
    // Removes the objects added after the first `keep`, newest first.
    void removeAll(std::size_t keep = 0) {
        while (names.size() > keep) {
            host::Page::Current().Remove(names.back());
            names.pop_back();
        }
    }

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

// The bar of the update workloads: 400 x 30 (unless told), a three-stop
// gradient, white outlined text "50%", range 0..100.
inline std::string UpdateBarSetup(const std::string& name, bool scale, const char* text = "50%") {
    std::string n = "'" + name + "'";
    return "local stops = Velumbar.AllocColor({Index = 0, Color = 255}, {Index = 50, Color = 65280},"
           " {Index = 100, Color = 16711680}) "
           "assert(Velumbar.Create(" +
           n + ", {ColorType = VELUMBAR_GRADIENT, GradientColors = stops," +
           " ScaleType = " + (scale ? "VELUMBAR_SCALE" : "VELUMBAR_NOSCALE") + "})) " + "Velumbar.SetFont(" +
           n + ", 'DejaVu Sans', 9, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0) " +
           (text ? "Velumbar.SetText(" + n + ", '" + text + "') " : std::string()) +
           "Velumbar.SetCurrentPosition(" + n + ", 50)";
}

// Calls Velumbar.<action>(name, value) as a script does, value a number or
// a text; its result as a boolean.
inline void PushArgument(lua_State* L, double number) { lua_pushnumber(L, number); }
inline void PushArgument(lua_State* L, const char* text) { lua_pushstring(L, text); }

template <typename Value>
inline bool CallAction(lua_State* L, const char* action, const char* name, Value value) {
    lua_getglobal(L, "Velumbar");
    lua_getfield(L, -1, action);
    lua_pushstring(L, name);
    PushArgument(L, value);
    lua_call(L, 2, 1);
    bool result = lua_toboolean(L, -1);
    lua_settop(L, 0);
    return result;
}

// Velumbar.SetText(name, text) as a script calls it.
inline bool CallSetText(lua_State* L, const char* name, const char* text) {
    return CallAction(L, "SetText", name, text);
}

// Velumbar.GetCurrentPosition(name); -1 for nil.
inline double CallGetPosition(lua_State* L, const char* name) {
    lua_getglobal(L, "Velumbar");
    lua_getfield(L, -1, "GetCurrentPosition");
    lua_pushstring(L, name);
    lua_call(L, 1, 1);
    double result = lua_isnumber(L, -1) ? lua_tonumber(L, -1) : -1;
    lua_settop(L, 0);
    return result;
}

// The percentage texts of the fresh-text workloads: "1%" .. "100%".
inline const std::vector<std::string>& PercentTexts() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (int i = 1; i <= 100; ++i) t.push_back(std::to_string(i) + "%");
        return t;
    }();
    return texts;
}

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
