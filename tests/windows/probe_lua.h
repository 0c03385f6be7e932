// Lua chunks a Windows probe runs on its bench: one that raises is a failed
// check, reported under the probe's name with its message.
#pragma once

#include <cstdio>

#include <lua.hpp>

#include "probe_checks.h"

namespace probe {

inline bool run(lua_State* L, const char* chunk) {
    if (luaL_dostring(L, chunk) == 0) return true;
    std::fprintf(stderr, "%s: %s\n", name, lua_tostring(L, -1));
    lua_pop(L, 1);
    ++failures;
    return false;
}

}  // namespace probe
