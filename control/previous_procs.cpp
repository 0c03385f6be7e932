#include "control/previous_procs.h"

#include <unordered_map>

namespace vb::control {

using namespace vb::platform;

namespace {

// Never destroyed: windows may still send their last messages at exit.
std::unordered_map<Window, WindowProc>& records() {
    static auto* map = new std::unordered_map<Window, WindowProc>;
    return *map;
}

}  // namespace

WindowProc SubclassWindow(Window window, WindowProc proc) {
    auto& map = records();
    auto it = map.find(window);
    if (it != map.end()) return it->second;
    if (!isWindow(window)) return nullptr;
    // The entry is made first, so running out of memory changes nothing.
    auto slot = map.emplace(window, nullptr).first;
    WindowProc previous = replaceWindowProc(window, proc);
    if (!previous) {
        map.erase(slot);
        return nullptr;
    }
    slot->second = previous;
    return previous;
}

WindowProc PreviousProc(Window window) {
    const auto& map = records();
    auto it = map.find(window);
    return it == map.end() ? nullptr : it->second;
}

void RestorePreviousProc(Window window) {
    auto& map = records();
    auto it = map.find(window);
    if (it == map.end()) return;
    replaceWindowProc(window, it->second);
    map.erase(it);
}

}  // namespace vb::control
