// The shared middle of every action that names a host object.
#pragma once

#include <lua.hpp>

#include "platform/platform.h"

namespace vb::control {
struct BarControl;
}

namespace vb::binding {

// The host object's window when it is live; otherwise sets 457881 and
// returns null.
platform::Window LiveHostWindow(lua_State* L, const char* name);

// The bar on a live host object: sets 457881 when the name leads to no live
// window, 457882 when the window carries no control or its canvas is gone.
control::BarControl* BarOnHostObject(lua_State* L, const char* name);

}  // namespace vb::binding
