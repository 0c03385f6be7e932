#include "binding/main_state.h"

namespace vb::binding {

namespace {
// Its address is the registry key: no script can name it.
const char kMainStateKey = 0;
}  // namespace

void RememberMainState(lua_State* L) {
    lua_pushlightuserdata(L, const_cast<char*>(&kMainStateKey));
    lua_pushlightuserdata(L, L);
    lua_rawset(L, LUA_REGISTRYINDEX);
}

lua_State* MainState(lua_State* L) {
    lua_pushlightuserdata(L, const_cast<char*>(&kMainStateKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    auto* main = static_cast<lua_State*>(lua_touserdata(L, -1));
    lua_pop(L, 1);
    return main ? main : L;
}

}  // namespace vb::binding
