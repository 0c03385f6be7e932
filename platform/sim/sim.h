// The stand-in window system's own extras, beyond the platform interface and
// the test driver (platform/driver.h) it implements: windows with a given
// procedure, counts and the cursor as a handle. Only its driver and tests
// include this.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/driver.h"
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
VB_PLATFORM_API std::size_t liveWindowCount();

VB_PLATFORM_API platform::Cursor shownCursor(bool* hidden);
VB_PLATFORM_API const char* cursorName(platform::Cursor cursor);
// Reads an accessible object by the answer WM_GETOBJECT gave; none once
// it was disconnected, as a client holding it would find.
VB_PLATFORM_API std::optional<platform::AccessibleDescription> readAccessible(LResult object);
VB_PLATFORM_API int tooltipToolCount(Window tooltip);

}  // namespace vb::sim
