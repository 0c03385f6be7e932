// The stand-in window system: what the host bench needs beyond the
// platform interface (creating host windows, reading what the screen shows,
// feeding input and moving the clock). Only host/ and tests include this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vb::sim {

using platform::LParam;
using platform::LResult;
using platform::Rect;
using platform::Window;
using platform::WindowProc;
using platform::WParam;

// A top-level window (the host's page) at screen position (x, y).
VB_PLATFORM_API Window createTopLevel(const Rect& rect, std::uint32_t fill, WindowProc proc);
// A child window with its own procedure and plain fill colour.
VB_PLATFORM_API Window createChild(Window parent, const Rect& rect, std::uint32_t fill,
                                   WindowProc proc, bool doubleClicks = false);
VB_PLATFORM_API std::vector<Window> children(Window window);
VB_PLATFORM_API std::size_t liveWindowCount();
VB_PLATFORM_API std::vector<std::string> propertyNames(Window window);

// What the screen shows at a screen point: the colour of the topmost window
// there, red in the low byte. Returns false when no window covers it.
VB_PLATFORM_API bool pixelAt(int x, int y, std::uint32_t* color);
// Renders a window and everything on it, in screen z-order, as RGB pixels.
VB_PLATFORM_API std::vector<std::uint32_t> renderWindow(Window window, int* width, int* height);
VB_PLATFORM_API Window windowAt(int x, int y);

// Input, fed as the system would deliver it.
enum class Button { Left, Right, Middle };
VB_PLATFORM_API void mouseMove(int screenX, int screenY);
VB_PLATFORM_API void mouseButton(Button button, bool down, int screenX, int screenY);
VB_PLATFORM_API void mouseWheel(int delta);
VB_PLATFORM_API void keyDown(int virtualKey);
VB_PLATFORM_API void keyUp(int virtualKey);
VB_PLATFORM_API void character(int code);
VB_PLATFORM_API void advanceClock(int milliseconds);
VB_PLATFORM_API platform::Cursor shownCursor(bool* hidden);
VB_PLATFORM_API const char* cursorName(platform::Cursor cursor);
VB_PLATFORM_API bool tooltipText(Window tool, std::string* text);
VB_PLATFORM_API int tooltipToolCount(Window tooltip);

}  // namespace vb::sim
