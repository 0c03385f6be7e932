// The Host table: the bench's own controls over its page, its windows, the
// pointer, the keyboard and the clock.
#include "host/host_api.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "host/page.h"
#include "pixels/picture.h"
#include "platform/driver.h"
#include "render/png_writer.h"

namespace vb::host {

namespace {

std::string outputFolder = ".";

const HostObject& checkObject(lua_State* L, int index) {
    const char* name = luaL_checkstring(L, index);
    const HostObject* object = Page::Current().Find(name);
    if (!object) luaL_error(L, "no host object named '%s'", name);
    return *object;
}

// Screen point of a position given relative to an object's top-left.
pixels::Point objectPoint(lua_State* L, int nameIndex) {
    const HostObject& object = checkObject(L, nameIndex);
    pixels::Point origin = Page::Current().Origin(object);
    int x = static_cast<int>(luaL_checknumber(L, nameIndex + 1));
    int y = static_cast<int>(luaL_checknumber(L, nameIndex + 2));
    return pixels::Point{origin.x + x, origin.y + y};
}

driver::Button checkButton(lua_State* L, int index) {
    static const char* const kNames[] = {"left", "right", "middle", nullptr};
    switch (luaL_checkoption(L, index, nullptr, kNames)) {
        case 0:
            return driver::Button::Left;
        case 1:
            return driver::Button::Right;
        default:
            return driver::Button::Middle;
    }
}

int addObject(lua_State* L) {
    static const char* const kKinds[] = {"progress", "input", "button", nullptr};
    int kindIndex = luaL_checkoption(L, 1, nullptr, kKinds);
    const char* name = luaL_checkstring(L, 2);
    int x = 0, y = 0, width = 200, height = 24;
    bool dialog = false;
    if (lua_type(L, 3) == LUA_TTABLE) {
        auto field = [&](const char* key, int fallback) {
            lua_getfield(L, 3, key);
            int value = lua_isnumber(L, -1) ? static_cast<int>(lua_tonumber(L, -1)) : fallback;
            lua_pop(L, 1);
            return value;
        };
        x = field("X", 0);
        y = field("Y", 0);
        width = field("Width", 200);
        height = field("Height", 24);
        lua_getfield(L, 3, "Dialog");
        dialog = lua_toboolean(L, -1) != 0;
        lua_pop(L, 1);
    }
    if (width < 0 || height < 0 || width > 8192 || height > 8192)
        return luaL_error(L, "object size %d x %d out of range", width, height);
    ObjectKind kind = kindIndex == 0   ? ObjectKind::Progress
                      : kindIndex == 1 ? ObjectKind::Input
                                       : ObjectKind::Button;
    platform::Window window = Page::Current().Add(kind, name, dialog, x, y, width, height);
    if (!window) return luaL_error(L, "an object named '%s' already exists", name);
    lua_pushnumber(L, static_cast<double>(reinterpret_cast<std::uintptr_t>(window)));
    return 1;
}

int removeObject(lua_State* L) {
    const char* name = luaL_checkstring(L, 1);
    lua_pushboolean(L, Page::Current().Remove(name));
    return 1;
}

int resizeObject(lua_State* L) {
    const char* name = luaL_checkstring(L, 1);
    int width = static_cast<int>(luaL_checknumber(L, 2));
    int height = static_cast<int>(luaL_checknumber(L, 3));
    if (width < 0 || height < 0 || width > 8192 || height > 8192)
        return luaL_error(L, "object size %d x %d out of range", width, height);
    lua_pushboolean(L, Page::Current().Resize(name, width, height));
    return 1;
}

int messages(lua_State* L) {
    const char* name = luaL_checkstring(L, 1);
    const std::vector<unsigned>* log = Page::Current().Messages(name);
    lua_createtable(L, log ? static_cast<int>(log->size()) : 0, 0);
    if (log)
        for (std::size_t i = 0; i < log->size(); ++i) {
            lua_pushnumber(L, (*log)[i]);
            lua_rawseti(L, -2, static_cast<int>(i + 1));
        }
    return 1;
}

int properties(lua_State* L) {
    const char* name = luaL_checkstring(L, 1);
    std::vector<std::string> names = Page::Current().Properties(name);
    lua_createtable(L, static_cast<int>(names.size()), 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        lua_pushstring(L, names[i].c_str());
        lua_rawseti(L, -2, static_cast<int>(i + 1));
    }
    return 1;
}

int pixel(lua_State* L) {
    pixels::Point p = objectPoint(L, 1);
    std::optional<std::uint32_t> colour = driver::pixelAt(p.x, p.y);
    if (!colour) {
        lua_pushnil(L);
        return 1;
    }
    lua_pushnumber(L, *colour & 0xFFFFFF);
    return 1;
}

// Where the object's top-left falls in the picture of its page.
pixels::Point originOnPage(const HostObject& object) {
    pixels::Point o = Page::Current().Origin(object);
    pixels::Rect pageRect;
    platform::windowRect(platform::parentOf(object.window), &pageRect);
    return pixels::Point{o.x - pageRect.left, o.y - pageRect.top};
}

// A pixel of a window's picture; nothing outside it.
std::optional<std::uint32_t> shownAt(const driver::WindowPixels& shown, int x, int y) {
    if (x < 0 || y < 0 || x >= shown.width || y >= shown.height) return std::nullopt;
    return shown.pixels[static_cast<std::size_t>(y) * shown.width + x];
}

driver::WindowPixels pagePicture(platform::Window page) {
    return driver::renderWindow(page).value_or(driver::WindowPixels{});
}

// Host.Pixels(name, x, y, count): `count` colours rightward from (x, y) of
// the object, all read from one picture of its page, so a bar that moves
// while they are read is seen in one frame; nil where the page ends.
int pixelRow(lua_State* L) {
    const HostObject& object = checkObject(L, 1);
    int x = static_cast<int>(luaL_checknumber(L, 2)), y = static_cast<int>(luaL_checknumber(L, 3));
    int count = static_cast<int>(luaL_checknumber(L, 4));
    luaL_argcheck(L, count >= 0 && count <= 65536, 4, "count out of range");
    pixels::Point origin = originOnPage(object);
    driver::WindowPixels shown;
    try {
        shown = pagePicture(platform::parentOf(object.window));
    } catch (...) {
        return luaL_error(L, "could not read the page");
    }
    lua_createtable(L, count, 0);
    for (int i = 0; i < count; ++i) {
        if (auto colour = shownAt(shown, origin.x + x + i, origin.y + y)) {
            lua_pushnumber(L, *colour & 0xFFFFFF);
            lua_rawseti(L, -2, i + 1);
        }
    }
    return 1;
}

int snapshot(lua_State* L) {
    const char* target = luaL_checkstring(L, 1);
    const HostObject* object = lua_isnoneornil(L, 2) ? nullptr : &checkObject(L, 2);
    platform::Window page = object ? platform::parentOf(object->window) : Page::Current().PageWindow();
    pixels::Rect area{0, 0, 0, 0};
    if (object) {
        pixels::Point o = originOnPage(*object);
        area = pixels::Rect{o.x, o.y, o.x + object->width, o.y + object->height};
    }
    bool ok = false;
    try {
        driver::WindowPixels screen = pagePicture(page);
        if (!object) area = pixels::Rect{0, 0, screen.width, screen.height};
        auto picture = pixels::makePicture(std::max(area.width(), 1), std::max(area.height(), 1));
        if (picture) {
            for (int y = 0; y < picture->height; ++y)
                for (int x = 0; x < picture->width; ++x)
                    picture->at(x, y) = shownAt(screen, area.left + x, area.top + y).value_or(0);
            std::filesystem::path path = target;
            if (path.is_relative()) path = std::filesystem::path(outputFolder) / path;
            std::error_code ec;
            if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
            ok = render::WritePng(*picture, path.string().c_str());
        }
    } catch (...) {
        ok = false;
    }
    if (!ok) return luaL_error(L, "could not write the snapshot");
    lua_pushboolean(L, 1);
    return 1;
}

int mouseMove(lua_State* L) {
    pixels::Point p = objectPoint(L, 1);
    driver::mouseMove(p.x, p.y);
    return 0;
}

// Host.MouseDown / Host.MouseUp(name, button, x, y).
int mouseButton(lua_State* L, bool down) {
    driver::Button button = checkButton(L, 2);
    const HostObject& object = checkObject(L, 1);
    pixels::Point origin = Page::Current().Origin(object);
    int x = static_cast<int>(luaL_checknumber(L, 3)), y = static_cast<int>(luaL_checknumber(L, 4));
    driver::mouseButton(button, down, origin.x + x, origin.y + y);
    return 0;
}

int mouseDown(lua_State* L) { return mouseButton(L, true); }

int mouseUp(lua_State* L) { return mouseButton(L, false); }

int click(lua_State* L) {
    mouseDown(L);
    mouseUp(L);
    return 0;
}

int doubleClick(lua_State* L) {
    for (int i = 0; i < 2; ++i) {
        mouseDown(L);
        mouseUp(L);
    }
    return 0;
}

int wait(lua_State* L) {
    driver::advanceClock(static_cast<int>(luaL_checknumber(L, 1)));
    return 0;
}

int wheel(lua_State* L) {
    checkObject(L, 1);
    driver::mouseWheel(static_cast<int>(luaL_checknumber(L, 2)));
    return 0;
}

int focus(lua_State* L) {
    if (lua_isnoneornil(L, 1)) {
        platform::setFocus(nullptr);
        return 0;
    }
    const HostObject& object = checkObject(L, 1);
    pixels::Point o = Page::Current().Origin(object);
    platform::setFocus(driver::windowAt(o.x, o.y));
    return 0;
}

int keyDown(lua_State* L) {
    driver::keyDown(static_cast<int>(luaL_checknumber(L, 1)));
    return 0;
}

int keyUp(lua_State* L) {
    driver::keyUp(static_cast<int>(luaL_checknumber(L, 1)));
    return 0;
}

int character(lua_State* L) {
    driver::character(static_cast<int>(luaL_checknumber(L, 1)));
    return 0;
}

int cursor(lua_State* L) {
    const char* name = driver::cursorName();
    if (name)
        lua_pushstring(L, name);
    else
        lua_pushboolean(L, 0);
    return 1;
}

std::optional<std::string> findTooltip(platform::Window window) {
    if (std::optional<std::string> text = driver::tooltipText(window)) return text;
    for (platform::Window child : driver::children(window))
        if (std::optional<std::string> text = findTooltip(child)) return text;
    return std::nullopt;
}

int tooltip(lua_State* L) {
    const HostObject& object = checkObject(L, 1);
    if (std::optional<std::string> text = findTooltip(object.window))
        lua_pushstring(L, text->c_str());
    else
        lua_pushnil(L);
    return 1;
}

int showObject(lua_State* L) {
    const HostObject& object = checkObject(L, 1);
    luaL_checkany(L, 2);
    driver::showWindow(object.window, lua_toboolean(L, 2) != 0);
    return 0;
}

int enableObject(lua_State* L) {
    const HostObject& object = checkObject(L, 1);
    luaL_checkany(L, 2);
    driver::enableWindow(object.window, lua_toboolean(L, 2) != 0);
    return 0;
}

// The window of an object, also a removed one; raises for a name never added.
platform::Window everNamedWindow(lua_State* L, int index) {
    const char* name = luaL_checkstring(L, index);
    platform::Window window = Page::Current().WindowOf(name);
    if (!window) luaL_error(L, "no host object named '%s'", name);
    return window;
}

// The first window inside `window` that answers a screen reader.
std::optional<platform::AccessibleDescription> findAccessible(platform::Window window) {
    for (platform::Window child : driver::children(window)) {
        if (auto found = driver::queryAccessible(child)) return found;
        if (auto found = findAccessible(child)) return found;
    }
    return std::nullopt;
}

// The window timers running on `window` and every window inside it.
int timersWithin(platform::Window window) {
    int count = driver::timerCount(window);
    for (platform::Window child : driver::children(window)) count += timersWithin(child);
    return count;
}

// Host.Timers(name): the window timers running on the object's window and
// those put over it (the bar's canvas); 0 for a removed object.
int timers(lua_State* L) {
    platform::Window window = everNamedWindow(L, 1);
    lua_pushnumber(L, platform::isWindow(window) ? timersWithin(window) : 0);
    return 1;
}

void setStringField(lua_State* L, const char* key, const char* value) {
    lua_pushstring(L, value);
    lua_setfield(L, -2, key);
}

void setNumberField(lua_State* L, const char* key, double value) {
    lua_pushnumber(L, value);
    lua_setfield(L, -2, key);
}

// Host.Accessible(name [, "object"]): what a screen reader is told by the
// bar over the object, or with "object" by the object's own window.
int accessible(lua_State* L) {
    static const char* const kPlaces[] = {"bar", "object", nullptr};
    platform::Window window = everNamedWindow(L, 1);
    bool ownWindow = luaL_checkoption(L, 2, "bar", kPlaces) == 1;
    std::optional<platform::AccessibleDescription> found =
        ownWindow ? driver::queryAccessible(window) : findAccessible(window);
    if (!found) {
        lua_pushnil(L);
        return 1;
    }
    const platform::AccessibleDescription& d = *found;
    pixels::Rect objectRect;
    platform::windowRect(window, &objectRect);
    pixels::Point origin{objectRect.left, objectRect.top};
    lua_createtable(L, 0, 5);
    setStringField(L, "Role", "progress bar");
    setStringField(L, "Name", d.name.c_str());
    setStringField(L, "Value", d.value.c_str());
    lua_createtable(L, 2, 0);
    int n = 0;
    if (d.unavailable) {
        lua_pushstring(L, "unavailable");
        lua_rawseti(L, -2, ++n);
    }
    if (d.invisible) {
        lua_pushstring(L, "invisible");
        lua_rawseti(L, -2, ++n);
    }
    if (d.busy) {
        lua_pushstring(L, "busy");
        lua_rawseti(L, -2, ++n);
    }
    lua_setfield(L, -2, "State");
    lua_createtable(L, 0, 4);
    setNumberField(L, "X", d.location.left - origin.x);
    setNumberField(L, "Y", d.location.top - origin.y);
    setNumberField(L, "Width", d.location.width());
    setNumberField(L, "Height", d.location.height());
    lua_setfield(L, -2, "Location");
    return 1;
}

// Host.AccessEvents(name): "ValueChange" and "NameChange", oldest first.
int accessEvents(lua_State* L) {
    std::vector<platform::AccessEvent> events = driver::accessEvents(everNamedWindow(L, 1));
    lua_createtable(L, static_cast<int>(events.size()), 0);
    int n = 0;
    for (platform::AccessEvent event : events) {
        lua_pushstring(L, event == platform::AccessEvent::ValueChange ? "ValueChange" : "NameChange");
        lua_rawseti(L, -2, ++n);
    }
    return 1;
}

constexpr luaL_Reg kHostFunctions[] = {
    {"AddObject", addObject},
    {"RemoveObject", removeObject},
    {"ResizeObject", resizeObject},
    {"Messages", messages},
    {"Pixel", pixel},
    {"Pixels", pixelRow},
    {"Snapshot", snapshot},
    {"MouseMove", mouseMove},
    {"MouseDown", mouseDown},
    {"MouseUp", mouseUp},
    {"Click", click},
    {"DoubleClick", doubleClick},
    {"Wait", wait},
    {"Wheel", wheel},
    {"Focus", focus},
    {"KeyDown", keyDown},
    {"KeyUp", keyUp},
    {"Char", character},
    {"Cursor", cursor},
    {"Tooltip", tooltip},
    {"Properties", properties},
    {"ShowObject", showObject},
    {"EnableObject", enableObject},
    {"Accessible", accessible},
    {"AccessEvents", accessEvents},
    {"Timers", timers},
    {nullptr, nullptr},
};

}  // namespace

void InstallHostApi(lua_State* L, const std::string& outFolder) {
    outputFolder = outFolder;
    luaL_register(L, "Host", kHostFunctions);
    // Scripts skip the few checks a window system cannot honour by name.
    lua_pushstring(L, driver::backendName());
    lua_setfield(L, -2, "Backend");
    lua_pop(L, 1);
}

}  // namespace vb::host
