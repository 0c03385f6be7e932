// The stand-in window system: what the host bench needs beyond the
// platform interface (creating host windows, reading what the screen shows,
// feeding input and moving the clock). Only host/ and tests include this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vb::sim {

using pixels::Rect;
using platform::LParam;
using platform::LResult;
using platform::Window;
using platform::WindowProc;
using platform::WParam;

// How many times platform::startup has run in this process.
VB_PLATFORM_API int platformStartups();

// A top-level window (the host's page) at screen position (x, y).
VB_PLATFORM_API Window createTopLevel(const Rect& rect, std::uint32_t fill, WindowProc proc);
// A child window with its own procedure and plain fill colour.
VB_PLATFORM_API Window createChild(Window parent, const Rect& rect, std::uint32_t fill, WindowProc proc,
                                   bool doubleClicks = false);
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
// Shows or hides, enables or disables a window, as ShowWindow and
// EnableWindow do; a hidden window is neither drawn nor hit.
VB_PLATFORM_API void showWindow(Window window, bool visible);
VB_PLATFORM_API void enableWindow(Window window, bool enabled);
// What a screen reader finds at `window`: sends it WM_GETOBJECT for the
// client object and reads the accessible object it answers with.
VB_PLATFORM_API bool queryAccessible(Window window, platform::AccessibleDescription* out);
// Reads an accessible object by the answer WM_GETOBJECT gave; false once
// it was disconnected, as a client holding it would find.
VB_PLATFORM_API bool readAccessible(LResult object, platform::AccessibleDescription* out);
// Accessibility events raised by `window` or any window inside it at the
// time, oldest first; kept after the windows are gone.
VB_PLATFORM_API std::vector<platform::AccessEvent> accessEvents(Window window);
VB_PLATFORM_API int tooltipToolCount(Window tooltip);

}  // namespace vb::sim
