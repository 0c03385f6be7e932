// The parts of the test driver that the stand-in answers through its own
// extras; the rest lives beside the state it reads (windows, screen, input,
// tooltips, accessibility).
#include "platform/driver.h"
#include "platform/sim/sim.h"

namespace vb::platform::driver {

const char* backendName() { return "stand-in"; }

Window createTopLevel(const Rect& rect, std::uint32_t fill) {
    return sim::createTopLevel(rect, fill, nullptr);
}

Window createObjectWindow(Window parent, const Rect& rect, ObjectClass, std::uint32_t fill, WindowProc logger,
                          WindowProc* previous) {
    *previous = nullptr;  // the logger falls through to the default procedure
    return sim::createChild(parent, rect, fill, logger);
}

const char* cursorName() {
    bool hidden = false;
    platform::Cursor shown = sim::shownCursor(&hidden);
    return hidden ? nullptr : sim::cursorName(shown);
}

// The stand-in has no screen to show anything on.
bool canShow() { return false; }
void showUntilClosed(Window) {}

}  // namespace vb::platform::driver
