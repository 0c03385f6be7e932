// The seam between the host bench and the window system it runs on: what
// the Host table and the page need beyond the platform interface. The
// stand-in answers from its own tables (system_sim.cpp); on Windows real
// windows answer (system_win32.cpp). host_api.cpp and page.cpp are shared.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vb::host::system {

using pixels::Rect;
using platform::Window;
using platform::WindowProc;

// The backend's name, as Host.Backend reports it: "stand-in" or "win32".
const char* backendName();

// A top-level window (the host's page) at screen position (x, y).
Window createTopLevel(const Rect& rect, std::uint32_t fill);

enum class ObjectClass { Progress, Input, Button };
// A host object's window, with `logger` seeing every message it receives
// first; messages the logger passes on go to `*previous` with
// platform::callWindowProc.
Window createObjectWindow(Window parent, const Rect& rect, ObjectClass cls, std::uint32_t fill,
                          WindowProc logger, WindowProc* previous);

std::vector<Window> children(Window window);  // bottom to top
std::vector<std::string> propertyNames(Window window);

// What the screen shows at a screen point, red in the low byte; false when
// no window covers it.
bool pixelAt(int x, int y, std::uint32_t* color);
// A window and everything on it as RGB pixels, as they are shown.
std::vector<std::uint32_t> renderWindow(Window window, int* width, int* height);
Window windowAt(int x, int y);

// Input, delivered as the system would.
enum class Button { Left, Right, Middle };
void mouseMove(int screenX, int screenY);
void mouseButton(Button button, bool down, int screenX, int screenY);
void mouseWheel(int delta);
void keyDown(int virtualKey);
void keyUp(int virtualKey);
void character(int code);
void advanceClock(int milliseconds);
// Name of the pointer now shown ("arrow", ...), or null when hidden.
const char* cursorName();
bool tooltipText(Window tool, std::string* text);

void showWindow(Window window, bool visible);
void enableWindow(Window window, bool enabled);
// What a screen reader finds at `window` (its client object).
bool queryAccessible(Window window, platform::AccessibleDescription* out);
std::vector<platform::AccessEvent> accessEvents(Window window);

// Whether the page can be shown for trying by hand (--show).
bool canShow();
// Gives the page a frame and runs its message loop until it is closed.
void showUntilClosed(Window page);

}  // namespace vb::host::system
