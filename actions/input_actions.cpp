// Velumbar.SetCallback, RemoveCallback, SetCursor and SetTooltip.
#include "actions/actions.h"
#include "actions/find_bar.h"
#include "binding/args.h"
#include "binding/host_objects.h"
#include "binding/last_error.h"
#include "events/callback_registry.h"
#include "events/lua_states.h"
#include "events/main_state.h"

namespace vb::actions {

using namespace vb::binding;

int SetCallback(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 2);
    const char* name = CheckStringArg(L, 1);
    // Callbacks are kept by name; no bar is needed, only a live object.
    // A state that is closing (a finaliser runs) keeps nothing: its
    // references die with it.
    bool ok = platform::isWindow(ResolveHostWindow(L, name)) && lua_type(L, 2) == LUA_TFUNCTION &&
              events::IsStateOpen(events::MainState(L));
    if (ok) {
        lua_pushvalue(L, 2);
        int ref = luaL_ref(L, LUA_REGISTRYINDEX);
        try {
            events::StoreCallback(events::MainState(L), name, ref);
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
            events::RemoveCallbackEntry(events::MainState(L), name);
        } catch (...) {}
    }
    lua_pushboolean(L, ok);
    return 1;
}

int SetCursor(lua_State* L) {
    return ApplyToBar(L, ReadIntegerArg, [](control::BarControl* bar, std::int32_t cursor) {
        bar->Methods->SetCursor(bar, cursor, 0);
    });
}

int SetTooltip(lua_State* L) {
    return ApplyToBar(L, CheckStringArg, [](control::BarControl* bar, const char* text) {
        bar->Methods->SetTooltip(bar, text);
    });
}

}  // namespace vb::actions
