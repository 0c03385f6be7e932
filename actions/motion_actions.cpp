// The actions that set a bar moving: a busy band and gliding positions.
#include "actions/actions.h"
#include "actions/find_bar.h"
#include "binding/args.h"
#include "control/motion.h"

namespace vb::actions {

using namespace vb::binding;
using control::BarControl;

namespace {

// Slower than a minute reads as standing still; faster than a tenth of a
// second as flicker.
constexpr std::int32_t kShortestBusyPeriodMs = 100;
constexpr std::int32_t kLongestBusyPeriodMs = 60000;
constexpr std::int32_t kLongestGlideMs = 60000;

}  // namespace

int SetBusy(lua_State* L) {
    const char* name = OpenBarAction(L, 2);
    bool busy = CheckBooleanArg(L, 2);
    std::int32_t period = static_cast<std::int32_t>(control::kDefaultBusyPeriodMs);
    if (!lua_isnoneornil(L, 3)) period = ReadIntegerArg(L, 3);
    if (period < kShortestBusyPeriodMs || period > kLongestBusyPeriodMs)
        RaiseScriptError(L, "The busy period should be from 100 to 60000 milliseconds!");
    BarControl* bar = FindBar(L, name);
    bool set = bar && control::SetBusy(bar, busy, static_cast<std::uint32_t>(period));
    return PushBoolean(L, set);
}

int SetGlide(lua_State* L) {
    const char* name = OpenBarAction(L, 2);
    std::int32_t duration = ReadIntegerArg(L, 2);
    if (duration < 0 || duration > kLongestGlideMs)
        RaiseScriptError(L, "The glide duration should be from 0 to 60000 milliseconds!");
    BarControl* bar = FindBar(L, name);
    bool set = bar && control::SetGlide(bar, static_cast<std::uint32_t>(duration));
    return PushBoolean(L, set);
}

}  // namespace vb::actions
