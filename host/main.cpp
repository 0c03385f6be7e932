// velumbar-host: loads the plug-in as the host does, runs a project script
// against a page of host objects, and lets the script drive input.
//
//   velumbar-host [--plugin PATH] [--out DIR] [--show] SCRIPT.lua [ARGS...]
//
// --show (Windows host): after the script ends the page stays on screen,
// with its message loop, until it is closed, so a bar can be tried by hand.
//
// Exit status: 0 when the script ran to its end, 1 when it raised an error
// (printed on standard error), 2 for a usage error or a plug-in that cannot
// be loaded.
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include <lua.hpp>

#include "host/globals.h"
#include "host/host_api.h"
#include "host/page.h"
#include "host/plugin_loader.h"
#include "platform/driver.h"

namespace {

constexpr int kExitScriptError = 1;
constexpr int kExitUsage = 2;

void usage() {
    std::fprintf(stderr, "usage: velumbar-host [--plugin PATH] [--out DIR] [--show] SCRIPT.lua [ARGS...]\n");
}

std::string besideExecutable(const char* file) {
    std::string path = vb::host::ExecutablePath();
    if (path.empty()) return file;
    std::size_t slash = path.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + file;
}

int traceback(lua_State* L) {
    const char* message = lua_tostring(L, 1);
    if (!message) message = "(error object is not a string)";
    lua_getglobal(L, "debug");
    lua_getfield(L, -1, "traceback");
    lua_pushstring(L, message);
    lua_pushinteger(L, 2);
    lua_call(L, 2, 1);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string pluginPath = besideExecutable("Velumbar.lmd");
    std::string outFolder = ".";
    bool show = false;
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; i += 2) {
        if (std::strcmp(argv[i], "--show") == 0) {
            show = true;
            --i;  // a flag without a value
            continue;
        }
        if (i + 1 >= argc) {
            usage();
            return kExitUsage;
        }
        if (std::strcmp(argv[i], "--plugin") == 0)
            pluginPath = argv[i + 1];
        else if (std::strcmp(argv[i], "--out") == 0)
            outFolder = argv[i + 1];
        else {
            usage();
            return kExitUsage;
        }
    }
    if (i >= argc) {
        usage();
        return kExitUsage;
    }
    const char* script = argv[i++];
    if (show && !vb::platform::driver::canShow()) {
        std::fprintf(stderr, "velumbar-host: showing needs the Windows host\n");
        return kExitUsage;
    }

    vb::host::LoadedPlugin plugin;
    std::string error;
    if (!vb::host::LoadPlugin(pluginPath, &plugin, &error)) {
        std::fprintf(stderr, "velumbar-host: cannot load plug-in %s: %s\n", pluginPath.c_str(),
                     error.c_str());
        return kExitUsage;
    }

    lua_State* L = luaL_newstate();
    if (!L) return kExitUsage;
    luaL_openlibs(L);
    vb::host::InstallHostGlobals(L);
    vb::host::InstallHostApi(L, outFolder);
    plugin.exports.RegisterActions(L);

    lua_pushcfunction(L, traceback);
    int handler = lua_gettop(L);
    int status = luaL_loadfile(L, script);
    if (status == 0) {
        int args = 0;
        for (; i < argc; ++i, ++args) lua_pushstring(L, argv[i]);
        status = lua_pcall(L, args, 0, handler);
    }
    if (status == LUA_ERRFILE) {
        std::fprintf(stderr, "velumbar-host: %s\n", lua_tostring(L, -1));
        lua_close(L);
        return kExitUsage;
    }
    if (status != 0) {
        const char* message = lua_tostring(L, -1);
        std::fprintf(stderr, "%s\n", message ? message : "(error object is not a string)");
        lua_close(L);
        return kExitScriptError;
    }
    // The state stays open while the page is shown: its bars call back into it.
    if (show) vb::platform::driver::showUntilClosed(vb::host::Page::Current().PageWindow());
    lua_close(L);
    return 0;
}
