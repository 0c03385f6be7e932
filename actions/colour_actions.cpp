// Velumbar.AllocColor, SetGradientColors and SetSolidColor.
#include <memory>
#include <vector>

#include "actions/actions.h"
#include "actions/find_bar.h"
#include "binding/args.h"
#include "binding/last_error.h"
#include "control/colour_objects.h"

namespace vb::actions {

using namespace vb::binding;
using control::BarControl;

int AllocColor(lua_State* L) {
    ResetHostLastError(L);
    int count = lua_gettop(L);
    if (count < 1) RaiseScriptError(L, "At least one argument must be specified!");
    // Reading a table may run a script's metamethods, which may raise: the
    // stops collect in memory Lua owns until every table has been read.
    auto* read = static_cast<render::ColorStop*>(
        lua_newuserdata(L, static_cast<std::size_t>(count) * sizeof(render::ColorStop)));
    int n = 0;
    for (int i = 1; i <= count; ++i) {
        if (lua_type(L, i) != LUA_TTABLE) continue;
        std::int32_t index = ReadTableInteger(L, i, "Index", -1);
        std::int32_t colour = ReadTableInteger(L, i, "Color", -1);
        if (index == -1 || index < 0 || index > 100 || colour == -1) continue;
        read[n++] = render::ColorStop{static_cast<float>(index) / 100.0f, colour};
    }
    std::vector<render::ColorStop> stops;
    try {
        stops.assign(read, read + n);
    } catch (...) {
        stops.clear();
    }
    lua_settop(L, count);
    std::int32_t handle = stops.size() >= 2 ? control::RegisterColorObject(std::move(stops)) : 0;
    if (handle)
        lua_pushnumber(L, handle);
    else
        lua_pushnil(L);
    return 1;
}

int SetGradientColors(lua_State* L) {
    const char* name = OpenBarAction(L, 2);
    std::int32_t handle = ReadIntegerArg(L, 2);
    BarControl* bar = FindBar(L, name);
    if (!bar) return PushBoolean(L, false);
    if (handle == -1) return PushBoolean(L, true);
    const control::ColorObject* colours = control::FindColorObject(handle);
    if (!colours || colours->stops.size() < 2) {
        SetHostLastError(L, kInvalidColorObject);
        return PushBoolean(L, false);
    }
    bool ok = true;
    try {
        auto cell = std::make_unique<render::BarStops>(render::MakeBarStops(colours->stops));
        // The bar takes the cell only when it could draw with it.
        if (bar->Methods->SetGradientColors(bar, cell.get(), 1)) cell.release();
    } catch (...) {
        ok = false;  // out of memory for the cell
    }
    return PushBoolean(L, ok);
}

int SetSolidColor(lua_State* L) {
    return ApplyToBar(L, ReadIntegerArg, [](BarControl* bar, std::int32_t colour) {
        bar->Methods->SetSolidColor(bar, static_cast<std::uint32_t>(colour));
    });
}

}  // namespace vb::actions
