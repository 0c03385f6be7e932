// What the parts of the Windows test driver share (internal to platform/win32).
#pragma once

#include <set>
#include <utility>
#include <vector>

#include "platform/driver.h"
#include "platform/win32/win32.h"

namespace vb::platform::driver::detail {

using win32::handle;
using win32::hwnd;

// Top-level windows sit this far from the screen's corner, so that points a
// little left of or above an object are still on the screen: the system
// keeps the cursor on it.
constexpr int kScreenMargin = 200;

// Once per process: COM, common controls, the page class, the hooks.
void prepare();
// Delivers what is queued; no TranslateMessage: the bench sends characters
// itself, as scripts ask.
void pump();

// What the page shows is composed once and kept until a message could have
// changed it: every message posted or sent to this thread's windows, other
// than those composing sends, moves this count on.
struct Changes {
    unsigned long long count = 1;
    bool composing = false;
};

Changes& changes();

// The window timers that fired since advanceClock began its wait: Windows
// has no call that lists a window's timers.
std::set<std::pair<HWND, UINT_PTR>>& timersSeen();

// Page windows made, oldest first, so the last is on top.
std::vector<HWND>& topLevels();
// Children bottom to top of the z-order.
std::vector<HWND> childrenOf(HWND window);
// The topmost page window at a screen point.
HWND topLevelAt(int x, int y);
// Starts listening for the accessibility events bars raise.
void listenForEvents();

}  // namespace vb::platform::driver::detail
