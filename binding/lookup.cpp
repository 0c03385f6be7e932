#include "binding/lookup.h"

#include "binding/host_objects.h"
#include "binding/last_error.h"
#include "control/bar_control.h"

namespace vb::binding {

platform::Window LiveHostWindow(lua_State* L, const char* name) {
    platform::Window window = ResolveHostWindow(L, name);
    if (platform::isWindow(window)) return window;
    SetHostLastError(L, kInvalidHostObject);
    return nullptr;
}

control::BarControl* BarOnHostObject(lua_State* L, const char* name) {
    platform::Window window = LiveHostWindow(L, name);
    if (!window) return nullptr;
    control::BarControl* bar = control::ControlOnWindow(window);
    if (bar && platform::isWindow(control::GetCanvas(bar))) return bar;
    SetHostLastError(L, kInvalidObject);
    return nullptr;
}

}  // namespace vb::binding
