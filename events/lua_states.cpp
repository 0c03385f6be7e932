#include "events/lua_states.h"

#include <set>

#include "events/callback_registry.h"

namespace vb::events {

namespace {
std::set<lua_State*>& openStates() {
    static auto* states = new std::set<lua_State*>;
    return *states;
}
}  // namespace

void MarkStateOpen(lua_State* L) { openStates().insert(L); }

void MarkStateClosed(lua_State* L) {
    openStates().erase(L);
    ForgetCallbacksOf(L);
}

void MarkStateNew(lua_State* L) {
    ForgetCallbacksOf(L);
    MarkStateOpen(L);
}

bool IsStateOpen(lua_State* L) { return openStates().count(L) != 0; }

}  // namespace vb::events
