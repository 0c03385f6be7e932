// The test driver: what the host bench (its page and Host table) needs of
// the window system beyond the platform interface: host windows, what the
// screen shows, input delivered as the system delivers it, the clock.
// Both backends implement it (sim/driver.cpp, win32/driver*.cpp); the
// plug-in never calls it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vb::platform::driver {

using pixels::Rect;

// The backend's name, as Host.Backend reports it: "stand-in" or "win32".
VB_PLATFORM_API const char* backendName();

// A top-level window (the host's page) at screen position (x, y).
VB_PLATFORM_API Window createTopLevel(const Rect& rect, std::uint32_t fill);

enum class ObjectClass { Progress, Input, Button };
// A host object's window, with `logger` seeing every message it receives
// first; messages the logger passes on go to `*previous` with
// platform::callWindowProc.
VB_PLATFORM_API Window createObjectWindow(Window parent, const Rect& rect, ObjectClass cls,
                                          std::uint32_t fill, WindowProc logger, WindowProc* previous);

VB_PLATFORM_API std::vector<Window> children(Window window);  // bottom to top
VB_PLATFORM_API std::vector<std::string> propertyNames(Window window);

// What the screen shows at a screen point, red in the low byte; none when
// no window covers it.
VB_PLATFORM_API std::optional<std::uint32_t> pixelAt(int x, int y);
// A window and everything on it as RGB pixels, as they are shown: width x
// height, rows top to bottom.
struct WindowPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};
// None when `window` is not a window.
VB_PLATFORM_API std::optional<WindowPixels> renderWindow(Window window);
VB_PLATFORM_API Window windowAt(int x, int y);

// Input, delivered as the system would.
enum class Button { Left, Right, Middle };
VB_PLATFORM_API void mouseMove(int screenX, int screenY);
VB_PLATFORM_API void mouseButton(Button button, bool down, int screenX, int screenY);
VB_PLATFORM_API void mouseWheel(int delta);
VB_PLATFORM_API void keyDown(int virtualKey);
VB_PLATFORM_API void keyUp(int virtualKey);
VB_PLATFORM_API void character(int code);
// Moves the clock; the timers due meanwhile fire, each at its time.
VB_PLATFORM_API void advanceClock(int milliseconds);
// The window timers running on `window`. Windows has no call that lists
// them: there it is the number of timers that fired on the window during
// the latest advanceClock.
VB_PLATFORM_API int timerCount(Window window);
// Name of the pointer now shown ("arrow", ...), or null when hidden.
VB_PLATFORM_API const char* cursorName();
// The text of the tooltip tool for `tool`; none when no tooltip has one.
VB_PLATFORM_API std::optional<std::string> tooltipText(Window tool);

VB_PLATFORM_API void showWindow(Window window, bool visible);
VB_PLATFORM_API void enableWindow(Window window, bool enabled);
// What a screen reader finds at `window` (its client object); none when the
// window does not answer for one itself.
VB_PLATFORM_API std::optional<platform::AccessibleDescription> queryAccessible(Window window);
VB_PLATFORM_API std::vector<platform::AccessEvent> accessEvents(Window window);

// Whether the page can be shown for trying by hand (--show).
VB_PLATFORM_API bool canShow();
// Gives the page a frame and runs its message loop until it is closed.
VB_PLATFORM_API void showUntilClosed(Window page);

}  // namespace vb::platform::driver
