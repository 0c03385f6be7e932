// Windows, properties and window procedures over USER32: our two classes
// (a plain container and the canvas), SetPropA/GetPropA/RemovePropA, and
// subclassing with SetWindowLongPtrA/CallWindowProcA.
#include "platform/win32/win32.h"

namespace vb::platform::win32 {

bool resizeSurface(HWND canvas, int width, int height);
void freeSurface(HWND canvas);
bool paintSurface(HWND canvas, HDC dc, const RECT* area);

namespace {

constexpr COLORREF kDefaultFill = RGB(255, 255, 255);

// Stored colour plus one, so that zero means "never set".
COLORREF containerColour(HWND window) {
    LONG_PTR stored = GetWindowLongPtrA(window, kRecordSlot);
    return stored ? static_cast<COLORREF>(stored - 1) : kDefaultFill;
}

void fillClient(HWND window, HDC dc) {
    RECT r;
    GetClientRect(window, &r);
    UniqueBrush brush(CreateSolidBrush(containerColour(window)));
    FillRect(dc, &r, brush.get());
}

}  // namespace

LRESULT CALLBACK containerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND:
            fillClient(window, reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_PRINTCLIENT:
            fillClient(window, reinterpret_cast<HDC>(wParam));
            return 0;
        default:
            return DefWindowProcA(window, msg, wParam, lParam);
    }
}

// The canvas shows its surface and hands every other message to the
// procedure the plug-in gave it.
LRESULT CALLBACK canvasProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            if (dc) paintSurface(window, dc, &ps.rcPaint);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            paintSurface(window, reinterpret_cast<HDC>(wParam), nullptr);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the surface covers the whole client area
        case WM_SIZE:
            resizeSurface(window, LOWORD(lParam), HIWORD(lParam));
            break;
        case WM_NCDESTROY: {
            auto input = reinterpret_cast<WindowProc>(GetWindowLongPtrA(window, kInputSlot));
            LRESULT result = input ? input(handle(window), msg, wParam, lParam)
                                   : DefWindowProcA(window, msg, wParam, lParam);
            freeSurface(window);
            return result;
        }
        default:
            break;
    }
    auto input = reinterpret_cast<WindowProc>(GetWindowLongPtrA(window, kInputSlot));
    if (input) return input(handle(window), msg, wParam, lParam);
    return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace vb::platform::win32

namespace vb::platform {

using namespace win32;

Window createWindow(Window parent, const Rect& rect, WindowKind kind) {
    if (!IsWindow(hwnd(parent))) return nullptr;
    const char* cls = kind == WindowKind::Canvas ? kCanvasClass : kContainerClass;
    HWND made = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                rect.left, rect.top, rect.width(), rect.height(), hwnd(parent), nullptr,
                                moduleInstance(), nullptr);
    return handle(made);
}

bool setCanvasInput(Window canvas, WindowProc input) {
    if (!isOurWindow(canvas, WindowKind::Canvas)) return false;
    SetWindowLongPtrA(hwnd(canvas), kInputSlot, reinterpret_cast<LONG_PTR>(input));
    return true;
}

bool destroyWindow(Window window) { return IsWindow(hwnd(window)) && DestroyWindow(hwnd(window)); }

bool isWindow(Window window) { return window && IsWindow(hwnd(window)); }

bool isOurWindow(Window window, WindowKind kind) {
    if (!isWindow(window)) return false;
    auto module = reinterpret_cast<HINSTANCE>(GetClassLongPtrA(hwnd(window), GCLP_HMODULE));
    char name[32] = "";
    GetClassNameA(hwnd(window), name, sizeof name);
    const char* cls = kind == WindowKind::Canvas ? kCanvasClass : kContainerClass;
    return module == moduleInstance() && lstrcmpiA(name, cls) == 0;
}

Window parentOf(Window window) {
    if (!isWindow(window)) return nullptr;
    if (!(GetWindowLongPtrA(hwnd(window), GWL_STYLE) & WS_CHILD)) return nullptr;
    return handle(GetParent(hwnd(window)));
}

bool clientRect(Window window, Rect* out) {
    RECT r;
    if (!out || !isWindow(window) || !GetClientRect(hwnd(window), &r)) return false;
    *out = Rect{r.left, r.top, r.right, r.bottom};
    return true;
}

bool windowRect(Window window, Rect* out) {
    RECT r;
    if (!out || !isWindow(window) || !GetWindowRect(hwnd(window), &r)) return false;
    *out = Rect{r.left, r.top, r.right, r.bottom};
    return true;
}

bool moveWindow(Window window, int x, int y, int width, int height) {
    if (!isWindow(window)) return false;
    return MoveWindow(hwnd(window), x, y, width < 0 ? 0 : width, height < 0 ? 0 : height, TRUE);
}

Point screenToClient(Window window, Point screen) {
    POINT p{screen.x, screen.y};
    if (isWindow(window)) ScreenToClient(hwnd(window), &p);
    return Point{p.x, p.y};
}

void setBackgroundColor(Window container, std::uint32_t color) {
    if (!isWindow(container)) return;
    char name[32] = "";
    GetClassNameA(hwnd(container), name, sizeof name);
    if (lstrcmpiA(name, kContainerClass) != 0) return;
    SetWindowLongPtrA(hwnd(container), kRecordSlot, static_cast<LONG_PTR>((color & 0xFFFFFF) + 1));
    InvalidateRect(hwnd(container), nullptr, TRUE);
}

void invalidate(Window window) {
    if (isWindow(window)) InvalidateRect(hwnd(window), nullptr, FALSE);
}

bool setTimer(Window window, std::uintptr_t id, unsigned milliseconds) {
    return isWindow(window) && SetTimer(hwnd(window), id, milliseconds, nullptr) != 0;
}

void killTimer(Window window, std::uintptr_t id) {
    if (isWindow(window)) KillTimer(hwnd(window), id);
}

std::uint32_t tickCount() { return GetTickCount(); }

bool setProperty(Window window, const char* name, void* value) {
    return name && isWindow(window) && SetPropA(hwnd(window), name, value);
}

void* property(Window window, const char* name) {
    return name && isWindow(window) ? GetPropA(hwnd(window), name) : nullptr;
}

void* removeProperty(Window window, const char* name) {
    return name && isWindow(window) ? RemovePropA(hwnd(window), name) : nullptr;
}

WindowProc replaceWindowProc(Window window, WindowProc proc) {
    if (!proc || !isWindow(window)) return nullptr;
    return reinterpret_cast<WindowProc>(
        SetWindowLongPtrA(hwnd(window), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

LResult callWindowProc(WindowProc previous, Window window, unsigned msg, WParam wParam, LParam lParam) {
    if (!previous) return DefWindowProcA(hwnd(window), msg, wParam, lParam);
    return CallWindowProcA(reinterpret_cast<WNDPROC>(previous), hwnd(window), msg, wParam, lParam);
}

LResult defaultWindowProc(Window window, unsigned msg, WParam wParam, LParam lParam) {
    return DefWindowProcA(hwnd(window), msg, wParam, lParam);
}

LResult sendMessage(Window window, unsigned msg, WParam wParam, LParam lParam) {
    return isWindow(window) ? SendMessageA(hwnd(window), msg, wParam, lParam) : 0;
}

}  // namespace vb::platform
