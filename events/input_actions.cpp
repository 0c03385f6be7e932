// Velumbar.SetCallback, RemoveCallback, SetCursor and SetTooltip.
#include "binding/actions.h"
#include "binding/args.h"
#include "binding/host_objects.h"
#include "binding/last_error.h"
#include "binding/lookup.h"
#include "binding/main_state.h"
#include "control/bar_control.h"
#include "events/callback_registry.h"

namespace vb::actions {

using namespace vb::binding;

int SetCallback(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 2);
    const char* name = CheckStringArg(L, 1);
    // Callbacks are kept by name; no bar is needed, only a live object.
    bool ok = platform::isWindow(ResolveHostWindow(L, name)) && lua_type(L, 2) == LUA_TFUNCTION;
    if (ok) {
        lua_pushvalue(L, 2);
        int ref = luaL_ref(L, LUA_REGISTRYINDEX);
        try {
            events::StoreCallback(MainState(L), name, ref);
        } catch (...) {
            luaL_unref(L, LUA_REGISTRYINDEX, ref);
            ok = false;
        }
    }
    lua_pushboolean(L, ok);
    return 1;
}

int RemoveCallback(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 1);
    const char* name = CheckStringArg(L, 1);
    bool ok = platform::isWindow(ResolveHostWindow(L, name));
    if (ok) {
        try {
            events::RemoveCallbackEntry(MainState(L), name);
        } catch (...) {
        }
    }
    lua_pushboolean(L, ok);
    return 1;
}

int SetCursor(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 2);
    const char* name = CheckStringArg(L, 1);
    std::int32_t cursor = ReadIntegerArg(L, 2);
    control::BarControl* bar = BarOnHostObject(L, name);
    if (bar) bar->Methods->SetCursor(bar, cursor, 0);
    lua_pushboolean(L, bar != nullptr);
    return 1;
}

int SetTooltip(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 2);
    const char* name = CheckStringArg(L, 1);
    const char* text = CheckStringArg(L, 2);
    control::BarControl* bar = BarOnHostObject(L, name);
    if (bar) bar->Methods->SetTooltip(bar, text);
    lua_pushboolean(L, bar != nullptr);
    return 1;
}

}  // namespace vb::actions
