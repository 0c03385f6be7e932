// The procedure each window had before a bar replaced it. The same value
// also goes into a window property for the host to read, but a property is
// open to anyone: the procedures call only what they find here.
#pragma once

#include "platform/platform.h"

namespace vb::control {

// Replaces the window's procedure with `proc` and keeps the one it had.
// A window already in the record keeps its entry and is not replaced
// again: our procedure is on it, and replacing it twice would make the
// chain lead back to itself. Returns the procedure recorded for the window
// (null when it cannot be replaced). May throw std::bad_alloc before
// anything changed.
platform::WindowProc SubclassWindow(platform::Window window, platform::WindowProc proc);
// The recorded procedure, or null when the window was never subclassed.
platform::WindowProc PreviousProc(platform::Window window);
// Puts the recorded procedure back and forgets it.
void RestorePreviousProc(platform::Window window);

}  // namespace vb::control
