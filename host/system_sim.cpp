// The seam over the stand-in window system.
#include "host/system.h"
#include "platform/sim/sim.h"

namespace vb::host::system {

const char* backendName() { return "stand-in"; }

Window createTopLevel(const Rect& rect, std::uint32_t fill) {
    return sim::createTopLevel(rect, fill, nullptr);
}

Window createObjectWindow(Window parent, const Rect& rect, ObjectClass, std::uint32_t fill, WindowProc logger,
                          WindowProc* previous) {
    *previous = nullptr;  // the logger falls through to the default procedure
    return sim::createChild(parent, rect, fill, logger);
}

std::vector<Window> children(Window window) { return sim::children(window); }
std::vector<std::string> propertyNames(Window window) { return sim::propertyNames(window); }
bool pixelAt(int x, int y, std::uint32_t* color) { return sim::pixelAt(x, y, color); }
std::vector<std::uint32_t> renderWindow(Window window, int* width, int* height) {
    return sim::renderWindow(window, width, height);
}
Window windowAt(int x, int y) { return sim::windowAt(x, y); }

void mouseMove(int x, int y) { sim::mouseMove(x, y); }
void mouseButton(Button button, bool down, int x, int y) {
    sim::mouseButton(button == Button::Left    ? sim::Button::Left
                     : button == Button::Right ? sim::Button::Right
                                               : sim::Button::Middle,
                     down, x, y);
}
void mouseWheel(int delta) { sim::mouseWheel(delta); }
void keyDown(int vk) { sim::keyDown(vk); }
void keyUp(int vk) { sim::keyUp(vk); }
void character(int code) { sim::character(code); }
void advanceClock(int ms) { sim::advanceClock(ms); }

const char* cursorName() {
    bool hidden = false;
    platform::Cursor shown = sim::shownCursor(&hidden);
    return hidden ? nullptr : sim::cursorName(shown);
}

bool tooltipText(Window tool, std::string* text) { return sim::tooltipText(tool, text); }
void showWindow(Window window, bool visible) { sim::showWindow(window, visible); }
void enableWindow(Window window, bool enabled) { sim::enableWindow(window, enabled); }
bool queryAccessible(Window window, platform::AccessibleDescription* out) {
    return sim::queryAccessible(window, out);
}
std::vector<platform::AccessEvent> accessEvents(Window window) { return sim::accessEvents(window); }

// The stand-in has no screen to show anything on.
bool canShow() { return false; }
void showUntilClosed(Window) {}

}  // namespace vb::host::system
