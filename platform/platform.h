// The thin layer every other folder calls instead of the window system.
// Two backends implement it: sim/ (a headless stand-in, used on Linux) and
// win32/ (USER32, GDI32, COMCTL32, SHELL32, KERNEL32). Message numbers and
// parameters are the Windows ones, so one window procedure body serves both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pixels/geometry.h"
#include "pixels/picture.h"

#if defined(_WIN32) && !defined(_WIN64)
#define VB_CALLBACK __stdcall
#else
#define VB_CALLBACK
#endif

#if defined(_WIN32)
#define VB_PLATFORM_API
#else
#define VB_PLATFORM_API __attribute__((visibility("default")))
#endif

namespace vb::platform {

// The platform speaks in the pixel floor's geometry.
using pixels::Point;
using pixels::Rect;
using pixels::Size;

// Opaque handles. On Windows these are the system's HWND, HFONT, HICON and
// HCURSOR; in the stand-in they are numbers looked up in tables, so a stale
// or invented value is simply not found.
using Window = struct WindowTag*;
using Font = struct FontTag*;
using Icon = struct IconTag*;
using Cursor = struct CursorTag*;

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using WindowProc = LResult(VB_CALLBACK*)(Window, unsigned, WParam, LParam);

// Window messages, numbered as on Windows.
namespace wm {
constexpr unsigned Destroy = 0x0002;
constexpr unsigned Move = 0x0003;
constexpr unsigned Size = 0x0005;
constexpr unsigned SetFocus = 0x0007;
constexpr unsigned KillFocus = 0x0008;
constexpr unsigned Paint = 0x000F;
constexpr unsigned EraseBkgnd = 0x0014;
constexpr unsigned SetCursor = 0x0020;
constexpr unsigned MouseActivate = 0x0021;
constexpr unsigned GetObject = 0x003D;
constexpr unsigned Notify = 0x004E;
constexpr unsigned NcCreate = 0x0081;
constexpr unsigned NcDestroy = 0x0082;
constexpr unsigned KeyDown = 0x0100;
constexpr unsigned KeyUp = 0x0101;
constexpr unsigned Char = 0x0102;
constexpr unsigned Timer = 0x0113;
constexpr unsigned MouseMove = 0x0200;
constexpr unsigned LButtonDown = 0x0201;
constexpr unsigned LButtonUp = 0x0202;
constexpr unsigned LButtonDblClk = 0x0203;
constexpr unsigned RButtonDown = 0x0204;
constexpr unsigned RButtonUp = 0x0205;
constexpr unsigned RButtonDblClk = 0x0206;
constexpr unsigned MButtonDown = 0x0207;
constexpr unsigned MButtonUp = 0x0208;
constexpr unsigned MButtonDblClk = 0x0209;
constexpr unsigned MouseWheel = 0x020A;
constexpr unsigned MouseLeave = 0x02A3;
}  // namespace wm

// Virtual key codes used for button state.
namespace vk {
constexpr int LButton = 0x01;
constexpr int RButton = 0x02;
constexpr int MButton = 0x04;
}  // namespace vk

// System cursor identifiers (the IDC_* numbers).
namespace idc {
constexpr int Arrow = 32512;
constexpr int IBeam = 32513;
constexpr int Wait = 32514;
constexpr int Cross = 32515;
constexpr int SizeNWSE = 32642;
constexpr int SizeNESW = 32643;
constexpr int SizeWE = 32644;
constexpr int SizeNS = 32645;
constexpr int SizeAll = 32646;
constexpr int No = 32648;
constexpr int Hand = 32649;

// The system cursors bars use; systemCursor gives null for any other id.
constexpr bool isKnown(int id) {
    switch (id) {
        case Arrow:
        case IBeam:
        case Wait:
        case Cross:
        case SizeNWSE:
        case SizeNESW:
        case SizeWE:
        case SizeNS:
        case SizeAll:
        case No:
        case Hand:
            return true;
        default:
            return false;
    }
}
}  // namespace idc

// ---- start-up ----------------------------------------------------------
VB_PLATFORM_API void startup();   // common controls, COM, optional libraries
VB_PLATFORM_API void shutdown();  // releases what the layer created
// Keeps the module that holds `address` loaded for the rest of the
// process: once its window procedures and Lua functions are handed out,
// unloading it would leave them pointing at nothing.
VB_PLATFORM_API void keepModuleLoaded(const void* address);

// ---- windows -------------------------------------------------------------
enum class WindowKind {
    Container,  // plain child window, background erased with a solid brush
    Canvas,     // child window with a 24-bit surface; asks for double clicks
};

// Creates a visible child window; a container uses the default procedure.
VB_PLATFORM_API Window createWindow(Window parent, const Rect& rect, WindowKind kind);
// From now on the canvas forwards every message other than painting to
// `input` (null: to nobody); false for a window that is not our canvas.
VB_PLATFORM_API bool setCanvasInput(Window canvas, WindowProc input);
VB_PLATFORM_API bool destroyWindow(Window window);
// Whether the window is one this layer made, of that kind: a window of
// another component is never taken for ours, whatever its properties say.
VB_PLATFORM_API bool isOurWindow(Window window, WindowKind kind);
VB_PLATFORM_API bool isWindow(Window window);
VB_PLATFORM_API Window parentOf(Window window);
VB_PLATFORM_API bool clientRect(Window window, Rect* out);
VB_PLATFORM_API bool windowRect(Window window, Rect* out);  // screen coordinates
VB_PLATFORM_API bool moveWindow(Window window, int x, int y, int width, int height);
VB_PLATFORM_API Point screenToClient(Window window, Point screen);
VB_PLATFORM_API void setBackgroundColor(Window container, std::uint32_t color);
VB_PLATFORM_API bool isWindowVisible(Window window);  // it and every ancestor are shown
VB_PLATFORM_API bool isWindowEnabled(Window window);
VB_PLATFORM_API void invalidate(Window window);

// Window timers: the window's procedure gets wm::Timer with `id` as wParam
// every `milliseconds` (10 at least) while the thread waits for messages,
// until the timer is killed or the window destroyed. Setting a running id
// again restarts it.
VB_PLATFORM_API bool setTimer(Window window, std::uintptr_t id, unsigned milliseconds);
VB_PLATFORM_API void killTimer(Window window, std::uintptr_t id);
// Milliseconds on the system's clock (it wraps after 49.7 days): the
// stand-in's clock, which only the bench moves, or GetTickCount.
VB_PLATFORM_API std::uint32_t tickCount();

// Named properties, one pointer-sized value each.
VB_PLATFORM_API bool setProperty(Window window, const char* name, void* value);
VB_PLATFORM_API void* property(Window window, const char* name);
VB_PLATFORM_API void* removeProperty(Window window, const char* name);

// Window procedures.
VB_PLATFORM_API WindowProc replaceWindowProc(Window window, WindowProc proc);
VB_PLATFORM_API LResult callWindowProc(WindowProc previous, Window window, unsigned msg, WParam wParam,
                                       LParam lParam);
VB_PLATFORM_API LResult defaultWindowProc(Window window, unsigned msg, WParam wParam, LParam lParam);
VB_PLATFORM_API LResult sendMessage(Window window, unsigned msg, WParam wParam, LParam lParam);

// ---- input plumbing ------------------------------------------------------
VB_PLATFORM_API Point messagePos();  // screen position of the current message
constexpr int kKeyHeld = 0x8000;     // keyState's high bit: the key or button is down
VB_PLATFORM_API short keyState(int virtualKey);
VB_PLATFORM_API void setCapture(Window window);
VB_PLATFORM_API void releaseCapture();
VB_PLATFORM_API Window captureWindow();
VB_PLATFORM_API void trackMouseLeave(Window window);
VB_PLATFORM_API Cursor systemCursor(int idcId);  // shared, never destroyed
VB_PLATFORM_API void setCursor(Cursor cursor);   // null hides the pointer
VB_PLATFORM_API void setFocus(Window window);
VB_PLATFORM_API Window focusWindow();

// ---- tooltips --------------------------------------------------------------
// The calling thread's tooltip window, created on first use and kept.
VB_PLATFORM_API Window threadTooltipWindow();
// Deletes and adds the tool for `tool` (owned by `parent`) with `text`.
VB_PLATFORM_API bool replaceTooltipTool(Window tooltip, Window parent, Window tool, const char* text);
// Deletes the tool for `tool` from the calling thread's tooltip window, if
// it has one; the windows may already be destroyed.
VB_PLATFORM_API void deleteTooltipTool(Window parent, Window tool);

// ---- accessibility -----------------------------------------------------------
// What a screen reader is told about a bar: a progress bar with a name, a
// value and a state, at a place on the screen.
struct AccessibleDescription {
    std::string name;
    std::string value;  // "45%"
    bool unavailable = false;
    bool invisible = false;
    bool busy = false;  // showing work of unknown length; the value is empty then
    Rect location;      // screen coordinates
};

// Describes the bar shown by `canvas`; false once it has none.
using AccessibleSource = bool (*)(Window canvas, AccessibleDescription* out);

enum class AccessEvent { ValueChange, NameChange };

constexpr LParam kClientObjectId = -4;  // OBJID_CLIENT

// Answers WM_GETOBJECT received by `window` on behalf of the bar shown by
// `canvas`: for the client object, an accessible object that asks `source`
// about `canvas` at every query. `*handled` is false for other objects,
// which the window's own procedure answers.
VB_PLATFORM_API LResult answerAccessibleQuery(Window window, Window canvas, WParam wParam, LParam lParam,
                                              AccessibleSource source, bool* handled);
// Cuts every accessible object handed out for `canvas` from it: clients
// still holding one get "not connected" from then on.
VB_PLATFORM_API void disconnectAccessible(Window canvas);
// Tells listening screen readers that the bar's value or name changed.
VB_PLATFORM_API void raiseAccessEvent(Window canvas, AccessEvent event);

// ---- canvas surface --------------------------------------------------------
// Copies the picture into the canvas's 24-bit surface at (0,0) and shows it.
VB_PLATFORM_API bool presentToCanvas(Window canvas, const pixels::PixelView& picture);
// The same for the part of the picture inside `area` only (clipped to the
// picture and the surface): the rest of the surface keeps what it shows.
VB_PLATFORM_API bool presentAreaToCanvas(Window canvas, const pixels::PixelView& picture,
                                         const pixels::Rect& area);

// ---- fonts and text coverage -----------------------------------------------
struct FontRequest {
    std::string face;
    int height = 0;  // negative: character height in pixels, as LOGFONT does
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool proofQuality = false;
};

// Coverage of a string: one byte per channel (red, green, blue) per pixel,
// or with grey smoothing one byte per pixel for all three, placed with its
// top-left at (left, top) relative to the text cell's origin.
struct TextCoverage {
    int left = 0, top = 0, width = 0, height = 0;
    bool grey = false;  // rgb holds one byte a pixel
    std::vector<std::uint8_t> rgb;
};

// Pixel i's coverage in channel 0 (red), 1 (green) or 2 (blue).
inline std::uint8_t CoverageAt(const TextCoverage& c, std::size_t i, int channel) {
    return c.grey ? c.rgb[i] : c.rgb[i * 3 + static_cast<std::size_t>(channel)];
}

VB_PLATFORM_API int logicalPixelsPerInchY();
VB_PLATFORM_API Font createFont(const FontRequest& font);  // null when no font can be made
VB_PLATFORM_API void destroyFont(Font font);
VB_PLATFORM_API bool isFont(Font font);
// A null font means the system's default font.
VB_PLATFORM_API Size textExtent(Font font, const char* text, std::size_t length);
VB_PLATFORM_API bool textCoverage(Font font, const char* text, std::size_t length, TextCoverage* out);

// ---- icons -----------------------------------------------------------------
VB_PLATFORM_API Icon shellFileIcon(const char* path);       // association of an existing file
VB_PLATFORM_API Icon shellTypeIcon(const char* extension);  // ".txt" style, file need not exist
VB_PLATFORM_API Icon shellFolderIcon(const char* path);
VB_PLATFORM_API Icon shellDriveIcon(const char* root);
VB_PLATFORM_API Icon shellFallbackIcon();  // first large icon of the shell library
VB_PLATFORM_API Icon extractIcon(const char* path, int index);
VB_PLATFORM_API int iconCount(const char* path);
// An icon made from one image of an icon file (a DIB with its AND mask, or
// a PNG), as CreateIconFromResourceEx makes it: at width x height, or at
// the image's own size where a side is 0. Null when the bytes make none.
VB_PLATFORM_API Icon createIconFromResourceEx(const std::uint8_t* bits, std::size_t size, int width,
                                              int height);
// The same at the system's large icon size, as CreateIconFromResource does.
VB_PLATFORM_API Icon createIconFromResource(const std::uint8_t* bits, std::size_t size);
VB_PLATFORM_API void destroyIcon(Icon icon);
// The size the icon was made at; false for a dead or invented handle.
VB_PLATFORM_API bool iconSize(Icon icon, Size* size);
// Writes rows top .. top + rows - 1 of the icon scaled to width x height
// into an RGBA buffer of width x rows (packed values): each pixel the icon's
// straight colour with its coverage (alpha or mask) in the alpha byte, 0
// where it covers nothing. Blending is render's, as for text. A band at a
// time keeps a large icon's drawing small.
VB_PLATFORM_API bool drawIconRows(Icon icon, int width, int height, int top, int rows, std::uint32_t* pixels);
inline bool drawIcon(Icon icon, int width, int height, std::uint32_t* pixels) {
    return drawIconRows(icon, width, height, 0, height, pixels);
}

// Owners of what the platform makes: each destroys its font or icon once.
struct FontDestroyer {
    void operator()(Font font) const { destroyFont(font); }
};
struct IconDestroyer {
    void operator()(Icon icon) const { destroyIcon(icon); }
};
using OwnedFont = std::unique_ptr<FontTag, FontDestroyer>;
using OwnedIcon = std::unique_ptr<IconTag, IconDestroyer>;

// ---- files and processes ---------------------------------------------------
VB_PLATFORM_API bool readWholeFile(const char* path, std::vector<std::uint8_t>* out);
VB_PLATFORM_API bool pathExists(const char* path);      // a file or a folder
VB_PLATFORM_API bool isExistingFile(const char* path);  // exists and is not a folder
VB_PLATFORM_API bool startProgram(const char* program, const char* arguments, const char* workingFolder);

}  // namespace vb::platform
