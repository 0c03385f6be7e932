// Shared pieces of the Windows backend (internal to platform/win32).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/handles.h"

namespace vb::platform::win32 {

inline HWND hwnd(Window window) { return reinterpret_cast<HWND>(window); }
inline Window handle(HWND window) { return reinterpret_cast<Window>(window); }

// Extra window bytes of our classes.
constexpr int kRecordSlot = 0;                // container colour or canvas surface
constexpr int kInputSlot = sizeof(LONG_PTR);  // the canvas's input procedure

// The module our window classes are registered with: the plug-in DLL, or
// the program when the layer is linked into one.
HINSTANCE moduleInstance();

// Class names, registered by prepare() (platform::startup).
constexpr const char* kContainerClass = "VelumbarContainer";
constexpr const char* kCanvasClass = "VelumbarCanvas";

// A memory DC for measuring and drawing text, owned by the calling thread.
HDC scratchDC();

// A DIB section of `bitCount` bits per pixel, rows top-down when `topDown`;
// null when it cannot be made. Header-only, so the Windows bench shares it.
inline HBITMAP createDibSection(HDC dc, int width, int height, int bitCount, bool topDown, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = topDown ? -height : height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace vb::platform::win32
