#include "events/main_state.h"

#include "events/lua_states.h"

namespace vb::events {

namespace {

// Their addresses are registry keys: no script can name them.
const char kMainStateKey = 0;
const char kClosingSentinelKey = 0;

// Whether this call is the state's own close: lua_close runs finalisers on
// the main thread with no function below them. A script can reach this
// function through the debug library, but only from some function of its
// own, or on another thread.
bool calledByClose(lua_State* L) {
    lua_Debug caller;
    if (lua_getstack(L, 1, &caller)) return false;
    bool mainThread = lua_pushthread(L) == 1;
    lua_pop(L, 1);
    return mainThread;
}

// Collected when the state closes: its bars then find nobody to call. Only
// our marker (a userdata of exactly its size holding this very state) at
// the state's own close counts.
int stateClosing(lua_State* L) {
    if (lua_type(L, 1) != LUA_TUSERDATA || lua_objlen(L, 1) != sizeof(lua_State*)) return 0;
    auto* owner = static_cast<lua_State**>(lua_touserdata(L, 1));
    if (*owner == L && calledByClose(L)) events::MarkStateClosed(L);
    return 0;
}

}  // namespace

void RememberMainState(lua_State* L) {
    lua_pushlightuserdata(L, const_cast<char*>(&kMainStateKey));
    lua_pushlightuserdata(L, L);
    lua_rawset(L, LUA_REGISTRYINDEX);

    lua_pushlightuserdata(L, const_cast<char*>(&kClosingSentinelKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    bool watched = !lua_isnil(L, -1);
    lua_pop(L, 1);
    if (!watched) {
        lua_pushlightuserdata(L, const_cast<char*>(&kClosingSentinelKey));
        auto* owner = static_cast<lua_State**>(lua_newuserdata(L, sizeof(lua_State*)));
        *owner = L;
        lua_createtable(L, 0, 1);
        lua_pushcfunction(L, stateClosing);
        lua_setfield(L, -2, "__gc");
        lua_setmetatable(L, -2);
        lua_rawset(L, LUA_REGISTRYINDEX);
        events::MarkStateNew(L);
    }
    events::MarkStateOpen(L);
}

lua_State* MainState(lua_State* L) {
    lua_pushlightuserdata(L, const_cast<char*>(&kMainStateKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    auto* main = static_cast<lua_State*>(lua_touserdata(L, -1));
    lua_pop(L, 1);
    return main ? main : L;
}

}  // namespace vb::events
