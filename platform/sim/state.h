// Shared state of the stand-in window system (internal to platform/sim).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace vb::sim::detail {

using namespace vb::platform;

enum class Kind { TopLevel, Plain, Container, Canvas };

// Property names compare without regard to case, as the system's atoms do.
// Transparent, so a lookup by a C string makes no std::string.
struct NoCaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

// A window's few properties. A name is found by its exact bytes first and
// by folding case only when no name has them, so the usual look-up (the
// name as it was set) compares no letters one by one.
struct PropertyList {
    struct Entry {
        std::string name;
        void* value = nullptr;
    };
    std::vector<Entry> entries;  // in the order they were set

    Entry* find(std::string_view name);
    void set(std::string_view name, void* value);  // a name already there keeps its spelling
    void* remove(std::string_view name);           // null when there was none
    std::vector<std::string> names() const;        // in NoCaseLess order
};

struct SimWindow {
    std::uintptr_t id = 0;
    std::uintptr_t parent = 0;
    std::vector<std::uintptr_t> children;  // bottom to top
    Rect rect;                             // in the parent's client coordinates
    Kind kind = Kind::Plain;
    WindowProc proc = nullptr;
    WindowProc canvasInput = nullptr;
    std::uint32_t fill = 0xFFFFFF;
    bool doubleClicks = false;
    bool visible = true;
    bool enabled = true;
    bool destroying = false;
    PropertyList properties;
    // Canvas surface, 24-bit: the top byte is unused.
    int surfaceWidth = 0, surfaceHeight = 0;
    std::vector<std::uint32_t> surface;
    bool resizedSincePresent = false;  // parts may have lost what was shown
    bool trackingLeave = false;
};

struct InputState {
    Point messagePos;
    unsigned buttons = 0;  // vk::LButton | vk::RButton | vk::MButton bits as 1, 2, 4
    std::uintptr_t capture = 0;
    // A capture was released: the system owes a move at the pointer.
    bool moveOwed = false;
    std::uintptr_t focus = 0;
    std::uintptr_t hover = 0;  // window under the pointer at the last move
    Point pointer{-100000, -100000};
    long long clockMs = 0;
    Cursor cursor = reinterpret_cast<Cursor>(static_cast<std::uintptr_t>(idc::Arrow));
    bool cursorHidden = false;
    // Double-click detection.
    std::uintptr_t lastDownWindow = 0;
    unsigned lastDownMsg = 0;
    long long lastDownTime = -1000000;
    Point lastDownPos;
};

SimWindow* find(Window window);
SimWindow* find(std::uintptr_t id);
InputState& input();
std::vector<std::uintptr_t> topLevels();  // oldest first, so the last is on top
Point clientOrigin(const SimWindow& w);   // screen position of the client (0,0)
LResult deliver(SimWindow& w, unsigned msg, WParam wParam, LParam lParam);
void resizeSurface(SimWindow& w, int width, int height);
// Timers (timers.cpp): a destroyed window's go with it; the clock fires
// those due up to `until` and then stands at it.
void dropTimers(std::uintptr_t window);
void runTimersUntil(long long until);
int timerCountOf(std::uintptr_t window);

inline Window toHandle(std::uintptr_t id) { return reinterpret_cast<Window>(id); }
inline std::uintptr_t toId(Window w) { return reinterpret_cast<std::uintptr_t>(w); }

}  // namespace vb::sim::detail
