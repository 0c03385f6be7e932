// The stand-in's accessibility: accessible objects are numbered entries
// that ask their bar's source at every read, and events are kept in a log a
// test can read, as an event hook of a screen reader would see them.
#include <algorithm>
#include <deque>
#include <map>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim.h"
#include "platform/sim/state.h"

namespace vb::sim::detail {
namespace {

struct AccessibleObject {
    std::uintptr_t canvas = 0;
    AccessibleSource source = nullptr;
};

struct LoggedEvent {
    AccessEvent event;
    std::vector<std::uintptr_t> windows;  // the raiser and its ancestors then
};

// The newest events a test can read back; older ones are dropped so a
// long-running script does not grow the log without bound.
constexpr std::size_t kLoggedEvents = 4096;

struct AccessState {
    std::map<LResult, AccessibleObject> objects;
    LResult nextObject = 0x5A000010;
    std::deque<LoggedEvent> log;
};

// Never destroyed: windows may still be queried during exit.
AccessState& access() {
    static auto* state = new AccessState;
    return *state;
}

}  // namespace
}  // namespace vb::sim::detail

namespace vb::platform {

using namespace vb::sim::detail;

bool isWindowVisible(Window window) {
    SimWindow* w = find(window);
    if (!w) return false;
    for (; w; w = w->parent ? find(w->parent) : nullptr)
        if (!w->visible) return false;
    return true;
}

bool isWindowEnabled(Window window) {
    SimWindow* w = find(window);
    return w && w->enabled;
}

LResult answerAccessibleQuery(Window window, Window canvas, WParam, LParam lParam, AccessibleSource source,
                              bool* handled) {
    *handled = false;
    if (lParam != kClientObjectId || !source || !find(window) || !find(canvas)) return 0;
    *handled = true;
    // One object per canvas, as a client asking twice expects the same one.
    for (const auto& [id, object] : access().objects)
        if (object.canvas == toId(canvas) && object.source == source) return id;
    LResult id = access().nextObject;
    access().nextObject += 0x10;
    access().objects[id] = AccessibleObject{toId(canvas), source};
    return id;
}

void disconnectAccessible(Window canvas) {
    auto& objects = access().objects;
    for (auto it = objects.begin(); it != objects.end();)
        it = it->second.canvas == toId(canvas) ? objects.erase(it) : std::next(it);
}

void raiseAccessEvent(Window canvas, AccessEvent event) {
    LoggedEvent logged{event, {}};
    for (SimWindow* w = find(canvas); w; w = w->parent ? find(w->parent) : nullptr)
        logged.windows.push_back(w->id);
    if (logged.windows.empty()) return;
    auto& log = access().log;
    if (log.size() == kLoggedEvents) log.pop_front();
    log.push_back(std::move(logged));
}

}  // namespace vb::platform

namespace vb::sim {

using namespace vb::sim::detail;

std::optional<platform::AccessibleDescription> readAccessible(LResult object) {
    auto it = access().objects.find(object);
    if (it == access().objects.end()) return std::nullopt;
    const AccessibleObject entry = it->second;
    platform::AccessibleDescription d;
    if (!find(entry.canvas) || !entry.source(toHandle(entry.canvas), &d)) return std::nullopt;
    return d;
}

}  // namespace vb::sim

namespace vb::platform::driver {

using namespace vb::sim;
using namespace vb::sim::detail;

void showWindow(Window window, bool visible) {
    if (SimWindow* w = find(window)) w->visible = visible;
}

void enableWindow(Window window, bool enabled) {
    if (SimWindow* w = find(window)) w->enabled = enabled;
}

std::optional<platform::AccessibleDescription> queryAccessible(Window window) {
    if (!find(window)) return std::nullopt;
    LResult object = platform::sendMessage(window, platform::wm::GetObject, 0, platform::kClientObjectId);
    return object != 0 ? readAccessible(object) : std::nullopt;
}

std::vector<platform::AccessEvent> accessEvents(Window window) {
    std::vector<platform::AccessEvent> events;
    for (const LoggedEvent& logged : access().log)
        if (std::find(logged.windows.begin(), logged.windows.end(), toId(window)) != logged.windows.end())
            events.push_back(logged.event);
    return events;
}

}  // namespace vb::platform::driver
