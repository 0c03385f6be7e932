#include "actions/find_bar.h"

#include "binding/args.h"
#include "binding/host_objects.h"
#include "binding/last_error.h"

namespace vb::actions {

using namespace vb::binding;

const char* OpenBarAction(lua_State* L, int argCount) {
    ResetHostLastError(L);
    CheckArgCount(L, argCount);
    return CheckStringArg(L, 1);
}

platform::Window LiveHostWindow(lua_State* L, const char* name) {
    platform::Window window = ResolveHostWindow(L, name);
    if (platform::isWindow(window)) return window;
    SetHostLastError(L, kInvalidHostObject);
    return nullptr;
}

control::BarControl* FindBar(lua_State* L, const char* name) {
    platform::Window window = LiveHostWindow(L, name);
    if (!window) return nullptr;
    control::BarControl* bar = control::ControlOnWindow(window);
    if (bar && platform::isWindow(control::GetCanvas(bar))) return bar;
    SetHostLastError(L, kInvalidObject);
    return nullptr;
}

int PushBoolean(lua_State* L, bool value) {
    lua_pushboolean(L, value);
    return 1;
}

}  // namespace vb::actions
