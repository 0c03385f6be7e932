// Velumbar.Create: covers a host progress-bar or input object with a bar.
#include <cstring>
#include <new>

#include "actions/actions.h"
#include "actions/find_bar.h"
#include "binding/args.h"
#include "binding/last_error.h"
#include "control/colour_objects.h"
#include "control/previous_procs.h"
#include "control/window_properties.h"
#include "events/main_state.h"
#include "events/window_procs.h"

namespace vb::actions {

using namespace vb::binding;
using namespace vb::platform;
using control::BarControl;

namespace {

// Reads the properties table at index t; values outside what is accepted
// keep their defaults. Calls only lua_gettable on a table, which cannot
// raise for string keys without metatables of ours.
void readProperties(lua_State* L, int t, control::CreateProperties* p) {
    std::int32_t colorType = ReadTableInteger(L, t, "ColorType", 0);
    if (colorType == 1 || colorType == 2) p->colorType = colorType;
    auto readColour = [&](const char* key, std::uint32_t* colour) {
        std::int32_t value = ReadTableInteger(L, t, key, -1);
        if (value != -1) *colour = static_cast<std::uint32_t>(value);
    };
    readColour("SolidColor", &p->solidColor);
    readColour("BackgroundColor", &p->backgroundColor);
    readColour("BackgroundBorderColor", &p->backgroundBorderColor);
    readColour("BorderColor", &p->borderColor);
    std::int32_t borderType = ReadTableInteger(L, t, "BorderType", 4);
    if (borderType == 0 || borderType == 4) p->borderFlags = borderType;
    std::int32_t scaleType = ReadTableInteger(L, t, "ScaleType", 1);
    if (scaleType == 0 || scaleType == 1) p->scaleType = scaleType;
    if (p->colorType == control::kColorGradient)
        p->gradientHandle = ReadTableInteger(L, t, "GradientColors", -1);
    p->noGlossy = ReadTableBoolean(L, t, "NoGlossy");
}

}  // namespace

int Create(lua_State* L) {
    const char* name = OpenBarAction(L, 1);

    control::CreateProperties props;
    if (lua_type(L, 2) == LUA_TTABLE) readProperties(L, 2, &props);
    const control::ColorObject* colours = nullptr;
    if (props.colorType == control::kColorGradient && props.gradientHandle != -1) {
        colours = control::FindColorObject(props.gradientHandle);
        if (!colours || colours->stops.size() < 2) {
            SetHostLastError(L, kInvalidColorObject);
            return PushBoolean(L, false);
        }
    }

    Window host = LiveHostWindow(L, name);
    if (!host) return PushBoolean(L, false);

    // Bars belong to the main state even when a coroutine creates them.
    lua_State* owner = events::MainState(L);
    // From here on no Lua function is called until the result is pushed.
    bool created = false;
    try {
        Rect client;
        clientRect(host, &client);
        Window container =
            createWindow(host, Rect{0, 0, client.width(), client.height()}, WindowKind::Container);
        if (container) {
            render::BarStops stops =
                render::MakeBarStops(colours ? colours->stops : std::vector<render::ColorStop>{});
            BarControl* bar = control::ConstructBarControl(
                container, Rect{0, 0, client.width(), client.height()}, props, stops);
            auto previousContainer = static_cast<Window>(property(host, control::prop::kContainer));
            bool attached = false;
            try {
                attached = bar && events::AttachBar(owner, host, container, bar, name, props.backgroundColor);
            } catch (...) {
                attached = false;  // out of memory before any window changed
            }
            if (attached) {
                // A bar already on this object is replaced by the new one.
                if (previousContainer != container && events::IsContainerOf(previousContainer, host))
                    destroyWindow(previousContainer);
                created = true;
            } else {
                // Nothing is left over the host object when the bar cannot be built.
                destroyWindow(container);
                if (bar && control::IsLiveControl(bar)) bar->Methods->Free(bar);
            }
        }
    } catch (...) {
        created = false;
    }
    if (!created) SetHostLastError(L, kCouldNotCreate);
    return PushBoolean(L, created);
}

}  // namespace vb::actions
