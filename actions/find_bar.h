// The shape every action on a bar shares: clear the host's last error,
// check the arguments, find the bar on the named host object or fail with
// the right code, push exactly one result.
#pragma once

#include <lua.hpp>

#include "control/bar_control.h"
#include "platform/platform.h"

namespace vb::actions {

// Clears the host's last error, raises unless `argCount` arguments came,
// and returns argument 1, the host object's name.
const char* OpenBarAction(lua_State* L, int argCount);

// The host object's window when it is live; otherwise sets 457881 and
// returns null.
platform::Window LiveHostWindow(lua_State* L, const char* name);

// The bar on a live host object: sets 457881 when the name leads to no live
// window, 457882 when the window carries no control or its canvas is gone.
control::BarControl* FindBar(lua_State* L, const char* name);

// Pushes the action's boolean result; returns the count of results.
int PushBoolean(lua_State* L, bool value);

// An action that reads argument 2 with `read` and hands it to the bar with
// `apply`; it answers whether there was a bar. `read` may raise: it runs
// before anything owning is alive. What `apply` throws (out of memory for
// a copy) makes the action fail.
template <typename Read, typename Apply>
int ApplyToBar(lua_State* L, Read read, Apply apply) {
    const char* name = OpenBarAction(L, 2);
    auto value = read(L, 2);
    control::BarControl* bar = FindBar(L, name);
    bool applied = bar != nullptr;
    if (bar) {
        try {
            apply(bar, value);
        } catch (...) {
            applied = false;
        }
    }
    return PushBoolean(L, applied);
}

// An action that answers from the bar with `push`; without a bar it
// pushes what `pushFailure` pushes.
template <typename Push>
int AnswerFromBar(lua_State* L, Push push, void (*pushFailure)(lua_State*) = lua_pushnil) {
    const char* name = OpenBarAction(L, 1);
    control::BarControl* bar = FindBar(L, name);
    if (bar)
        push(L, bar);
    else
        pushFailure(L);
    return 1;
}

}  // namespace vb::actions
