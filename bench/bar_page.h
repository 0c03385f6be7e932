// A page with one host object and a Lua state that sees the stand-in
// host's globals, with the plug-in registered into it.
#pragma once

#include <string>

#include <lua.hpp>

#include "actions/registration.h"
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
};

}  // namespace vb::bench
