// The calling thread's tooltip window (COMCTL32) and its tools, one per
// canvas, replaced with TTM_DELTOOL then TTM_ADDTOOL.
#include "platform/win32/win32.h"
// The headers below need <windows.h> first.
#include <commctrl.h>

#include <set>

namespace vb::platform::win32 {

namespace {

// Every tooltip window we made, so unload can destroy those still alive.
std::set<HWND>& madeTooltips() {
    static auto* made = new std::set<HWND>;
    return *made;
}

WNDPROC tooltipClassProc = nullptr;

// Raised to the top of the z-order before each paint, so that windows made
// after it do not cover the tip; then the class's own procedure paints.
LRESULT CALLBACK raisingTooltipProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    return CallWindowProcA(tooltipClassProc, window, msg, wParam, lParam);
}

}  // namespace

void destroyTooltipWindows() {
    for (HWND tooltip : madeTooltips())
        if (IsWindow(tooltip)) DestroyWindow(tooltip);
    madeTooltips().clear();
}

}  // namespace vb::platform::win32

namespace vb::platform {

using namespace win32;

namespace {
thread_local HWND threadTooltip = nullptr;
}  // namespace

Window threadTooltipWindow() {
    HWND& tooltip = threadTooltip;
    if (!tooltip || !IsWindow(tooltip)) {
        tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                  WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, moduleInstance(), nullptr);
        if (tooltip) {
            madeTooltips().insert(tooltip);
            WNDPROC previous = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(tooltip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(raisingTooltipProc)));
            if (!tooltipClassProc) tooltipClassProc = previous;
        }
    }
    return handle(tooltip);
}

bool replaceTooltipTool(Window tooltip, Window parent, Window tool, const char* text) {
    if (!isWindow(tooltip) || !isWindow(tool)) return false;
    // The record of the size both versions of the common controls take:
    // version 5 (a host without the version 6 manifest) refuses a tool
    // whose record is larger than it knows, and the fields used here are
    // all within it.
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd(parent);
    info.uId = reinterpret_cast<UINT_PTR>(hwnd(tool));
    info.lpszText = const_cast<char*>(text ? text : "");
    SendMessageA(hwnd(tooltip), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    return SendMessageA(hwnd(tooltip), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

}  // namespace vb::platform

namespace vb::platform {

// The tool is named by the two handles alone, so this works also when the
// windows are already gone.
void deleteTooltipTool(Window parent, Window tool) {
    if (!threadTooltip || !IsWindow(threadTooltip)) return;
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = win32::hwnd(parent);
    info.uId = reinterpret_cast<UINT_PTR>(win32::hwnd(tool));
    SendMessageA(threadTooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace vb::platform
