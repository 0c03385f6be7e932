// Shared pieces of the Windows backend (internal to platform/win32).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/platform.h"

namespace vb::platform::win32 {

inline HWND hwnd(Window window) { return reinterpret_cast<HWND>(window); }
inline Window handle(HWND window) { return reinterpret_cast<Window>(window); }

// The module our window classes are registered with: the plug-in DLL, or
// the program when the layer is linked into one.
HINSTANCE moduleInstance();

// Class names, registered by prepare() (platform::startup).
constexpr const char* kContainerClass = "VelumbarContainer";
constexpr const char* kCanvasClass = "VelumbarCanvas";

// A memory DC for measuring and drawing text, owned by the calling thread.
HDC scratchDC();

}  // namespace vb::platform::win32
