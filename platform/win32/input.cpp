// Input plumbing over USER32: message position, key state, capture,
// mouse-leave tracking, system cursors and focus.
#include "platform/win32/win32.h"
// The headers below need <windows.h> first.
#include <commctrl.h>

namespace vb::platform {

using namespace win32;

Point messagePos() {
    DWORD pos = GetMessagePos();
    return Point{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
}

short keyState(int virtualKey) { return GetKeyState(virtualKey); }

void setCapture(Window window) {
    if (isWindow(window)) SetCapture(hwnd(window));
}

void releaseCapture() { ReleaseCapture(); }

Window captureWindow() { return handle(GetCapture()); }

void trackMouseLeave(Window window) {
    if (!isWindow(window)) return;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(window), 0};
    TrackMouseEvent(&track);
}

Cursor systemCursor(int idcId) {
    if (!idc::isKnown(idcId)) return nullptr;
    return reinterpret_cast<Cursor>(LoadCursor(nullptr, MAKEINTRESOURCE(idcId)));
}

void setCursor(Cursor cursor) { SetCursor(reinterpret_cast<HCURSOR>(cursor)); }

void setFocus(Window window) { SetFocus(isWindow(window) ? hwnd(window) : nullptr); }

Window focusWindow() { return handle(GetFocus()); }

}  // namespace vb::platform
