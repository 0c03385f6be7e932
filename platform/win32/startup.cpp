// Platform preparation and release: common controls with the tooltip
// class, COM, our window classes. No library is loaded at run time: what
// the layer calls is imported from the system's own DLLs.
// Runs on first need, never inside DllMain: loading libraries and starting
// COM under the loader lock can deadlock the host.
#include "platform/win32/win32.h"
// The headers below need <windows.h> first.
#include <commctrl.h>
#include <objbase.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace vb::platform::win32 {

LRESULT CALLBACK containerProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK canvasProc(HWND, UINT, WPARAM, LPARAM);
void destroyTooltipWindows();

namespace {

struct Prepared {
    bool classes = false;
};

Prepared& prepared() {
    static Prepared p;
    return p;
}

bool registerClass(const char* name, WNDPROC proc, UINT style) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);  // our record and the canvas's input procedure
    wc.hInstance = moduleInstance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HINSTANCE moduleInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

}  // namespace vb::platform::win32

namespace vb::platform {

using namespace win32;

void startup() {
    Prepared& p = prepared();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    CoInitialize(nullptr);
    p.classes = registerClass(kContainerClass, containerProc, 0) &&
                registerClass(kCanvasClass, canvasProc, CS_DBLCLKS);
}

void keepModuleLoaded(const void* address) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       static_cast<const char*>(address), &module);
}

void shutdown() {
    Prepared& p = prepared();
    destroyTooltipWindows();
    if (p.classes) {
        UnregisterClassA(kCanvasClass, moduleInstance());
        UnregisterClassA(kContainerClass, moduleInstance());
        p.classes = false;
    }
}

}  // namespace vb::platform
