// What another part of a Windows process can do to the plug-in, through the
// real system: unload it, watch which libraries and device contexts it
// takes, and put look-alike values under the window property names it uses.
//
//   hostile_probe PLUGIN CHECK     exit 0 when every check holds
//
// CHECK is one of:
//   unload-after-create    the host frees the library while a bar exists
//   unload-before-register the host frees it before any registration
//   libraries              every library it loads comes from the system folder
//   properties             foreign values under our property names
//   thread-dc              a thread's scratch device context goes with it
//   tooltip-v5             tooltips with the common controls of version 5
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// These need <windows.h> first.
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include <lua.hpp>

#include "host/globals.h"
#include "host/host_api.h"
#include "iat_hook.h"
#include "probe_checks.h"
#include "probe_lua.h"

namespace {

using probe::expect;
using probe::failures;
using probe::run;

using RegisterFunction = int (*)(lua_State*);

RegisterFunction registerExport(HMODULE module) {
    return reinterpret_cast<RegisterFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "irPlg_Action_RegisterActions")));
}

// A state with the host's globals and the bench's Host table, the plug-in
// registered in it.
lua_State* hostState(HMODULE module) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    vb::host::InstallHostGlobals(L);
    vb::host::InstallHostApi(L, ".");
    registerExport(module)(L);
    return L;
}

HWND globalWindow(lua_State* L, const char* name) {
    lua_getglobal(L, name);
    auto window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(lua_tonumber(L, -1)));
    lua_pop(L, 1);
    return window;
}

HWND childOfClass(HWND parent, const char* cls) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, cls) == 0) return child;
    }
    return nullptr;
}

bool moduleOfAddress(const void* address, HMODULE* module) {
    return GetModuleHandleExA(
               GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
               static_cast<const char*>(address), module) != 0;
}

// ---- what the plug-in calls, seen through its import table ----------------

std::vector<std::string> calls;
bool recording = false;

void record(const std::string& call) {
    if (recording) calls.push_back(call);
}

void* realFreeLibrary = nullptr;
void* realDestroyWindow = nullptr;
void* realUnregisterClassA = nullptr;
void* realCoUninitialize = nullptr;
void* realLoadLibraryA = nullptr;
void* realLoadLibraryW = nullptr;
void* realLoadLibraryExA = nullptr;
void* realLoadLibraryExW = nullptr;
void* realFree = nullptr;
void* realCreateCompatibleDC = nullptr;
void* realDeleteDC = nullptr;

BOOL WINAPI onFreeLibrary(HMODULE m) {
    record("FreeLibrary");
    return reinterpret_cast<decltype(&FreeLibrary)>(realFreeLibrary)(m);
}
BOOL WINAPI onDestroyWindow(HWND w) {
    record("DestroyWindow");
    return reinterpret_cast<decltype(&DestroyWindow)>(realDestroyWindow)(w);
}
BOOL WINAPI onUnregisterClassA(LPCSTR c, HINSTANCE i) {
    record("UnregisterClassA");
    return reinterpret_cast<decltype(&UnregisterClassA)>(realUnregisterClassA)(c, i);
}
void WINAPI onCoUninitialize() {
    record("CoUninitialize");
    reinterpret_cast<void(WINAPI*)()>(realCoUninitialize)();
}

std::string narrow(LPCWSTR text) {
    std::string out;
    for (; text && *text; ++text) out += static_cast<char>(*text);
    return out;
}

// A library load is safe only when the system folder alone is searched.
void recordLoad(const char* function, const std::string& name, DWORD flags) {
    if (!(flags & LOAD_LIBRARY_SEARCH_SYSTEM32)) record(std::string(function) + "(" + name + ")");
}
HMODULE WINAPI onLoadLibraryA(LPCSTR name) {
    recordLoad("LoadLibraryA", name ? name : "", 0);
    return reinterpret_cast<decltype(&LoadLibraryA)>(realLoadLibraryA)(name);
}
HMODULE WINAPI onLoadLibraryW(LPCWSTR name) {
    recordLoad("LoadLibraryW", narrow(name), 0);
    return reinterpret_cast<decltype(&LoadLibraryW)>(realLoadLibraryW)(name);
}
HMODULE WINAPI onLoadLibraryExA(LPCSTR name, HANDLE file, DWORD flags) {
    recordLoad("LoadLibraryExA", name ? name : "", flags);
    return reinterpret_cast<decltype(&LoadLibraryExA)>(realLoadLibraryExA)(name, file, flags);
}
HMODULE WINAPI onLoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags) {
    recordLoad("LoadLibraryExW", narrow(name), flags);
    return reinterpret_cast<decltype(&LoadLibraryExW)>(realLoadLibraryExW)(name, file, flags);
}

std::vector<const void*> freed;
void __cdecl onFree(void* p) {
    freed.push_back(p);
    reinterpret_cast<void(__cdecl*)(void*)>(realFree)(p);
}

struct MadeDC {
    HDC dc;
    DWORD thread;
    bool deleted;
};
std::vector<MadeDC> memoryDCs;
CRITICAL_SECTION dcLock;

HDC WINAPI onCreateCompatibleDC(HDC like) {
    HDC dc = reinterpret_cast<decltype(&CreateCompatibleDC)>(realCreateCompatibleDC)(like);
    if (dc && !like) {
        EnterCriticalSection(&dcLock);
        memoryDCs.push_back(MadeDC{dc, GetCurrentThreadId(), false});
        LeaveCriticalSection(&dcLock);
    }
    return dc;
}
BOOL WINAPI onDeleteDC(HDC dc) {
    EnterCriticalSection(&dcLock);
    for (MadeDC& made : memoryDCs)
        if (made.dc == dc) made.deleted = true;
    LeaveCriticalSection(&dcLock);
    return reinterpret_cast<decltype(&DeleteDC)>(realDeleteDC)(dc);
}

void hook(HMODULE module, const char* dll, const char* function, void* replacement, void** original) {
    probe::hookImport(module, dll, function, replacement, original);
}

std::string joined(const std::vector<std::string>& list) {
    std::string out;
    for (const std::string& s : list) out += (out.empty() ? "" : ", ") + s;
    return out;
}

// ---- the checks -----------------------------------------------------------

// Once registered, the library stays: the host windows keep our procedure
// and the state keeps our functions, whatever the host does with its handle.
void unloadAfterCreate(const char* path) {
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        expect(false, "cannot load the plug-in");
        return;
    }
    void* entry = reinterpret_cast<void*>(registerExport(module));
    lua_State* L = hostState(module);
    run(L,
        "Host.AddObject('progress', 'Bar', {X = 10, Y = 10, Width = 200, Height = 24})\n"
        "assert(Velumbar.Create('Bar'))\n"
        "assert(Velumbar.SetCallback('Bar', function() end))");
    FreeLibrary(module);
    HMODULE still = nullptr;
    bool pinned = moduleOfAddress(entry, &still) && still == module;
    expect(pinned, "FreeLibrary unloaded the plug-in while a bar exists");
    // Running on would fault in the unloaded image: the host procedure and
    // the state's close marker both live there.
    if (!pinned) ExitProcess(1);
    run(L, "Host.ResizeObject('Bar', 260, 30) Host.RemoveObject('Bar')");
    lua_close(L);
    HMODULE again = LoadLibraryA(path);
    expect(again == module, "loading again gave another image");
}

// Before any registration an unload really unloads, and the library's
// detach makes no call that is unsafe under the loader lock.
void unloadBeforeRegister(const char* path) {
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        expect(false, "cannot load the plug-in");
        return;
    }
    hook(module, "kernel32.dll", "FreeLibrary", reinterpret_cast<void*>(onFreeLibrary), &realFreeLibrary);
    hook(module, "user32.dll", "DestroyWindow", reinterpret_cast<void*>(onDestroyWindow), &realDestroyWindow);
    hook(module, "user32.dll", "UnregisterClassA", reinterpret_cast<void*>(onUnregisterClassA),
         &realUnregisterClassA);
    hook(module, "ole32.dll", "CoUninitialize", reinterpret_cast<void*>(onCoUninitialize),
         &realCoUninitialize);
    auto name = reinterpret_cast<int (*)(char*, int*)>(
        reinterpret_cast<void*>(GetProcAddress(module, "irPlg_GetPluginName")));
    auto help = reinterpret_cast<int (*)(const char*)>(
        reinterpret_cast<void*>(GetProcAddress(module, "irPlg_ShowHelpForPlugin")));
    auto helpAction = reinterpret_cast<int (*)(const char*, const char*)>(
        reinterpret_cast<void*>(GetProcAddress(module, "irPlg_ShowHelpForAction")));
    int size = 0;
    expect(name && name(nullptr, &size) == -1 && size == 9, "the name export answered wrongly");
    expect(help && help("C:\\velumbar probe\\no such folder") == 0,
           "help for a missing file started something");
    expect(helpAction && helpAction("Velumbar.Create", "C:\\velumbar probe\\no such folder") == 0,
           "action help for a missing file started something");
    void* entry = reinterpret_cast<void*>(name);
    recording = true;
    FreeLibrary(module);
    recording = false;
    HMODULE still = nullptr;
    expect(!moduleOfAddress(entry, &still), "an unregistered plug-in stayed loaded after FreeLibrary");
    expect(calls.empty(), "the unload called: " + joined(calls));
}

void librariesFromTheSystemFolder(const char* path) {
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        expect(false, "cannot load the plug-in");
        return;
    }
    hook(module, "kernel32.dll", "LoadLibraryA", reinterpret_cast<void*>(onLoadLibraryA), &realLoadLibraryA);
    hook(module, "kernel32.dll", "LoadLibraryW", reinterpret_cast<void*>(onLoadLibraryW), &realLoadLibraryW);
    hook(module, "kernel32.dll", "LoadLibraryExA", reinterpret_cast<void*>(onLoadLibraryExA),
         &realLoadLibraryExA);
    hook(module, "kernel32.dll", "LoadLibraryExW", reinterpret_cast<void*>(onLoadLibraryExW),
         &realLoadLibraryExW);
    recording = true;
    lua_State* L = hostState(module);
    run(L,
        "Host.AddObject('progress', 'Bar', {X = 10, Y = 10, Width = 200, Height = 24})\n"
        "assert(Velumbar.Create('Bar'))\n"
        "Velumbar.SetFont('Bar', 'Arial', 9, 0, VELUMBAR_TEXT_BORDER, 255)\n"
        "Velumbar.SetText('Bar', 'Loading')\n"
        "Velumbar.SetTooltip('Bar', 'tip')\n"
        "local icon = Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXTENSION, '.txt')\n"
        "if icon then Velumbar.SetIcon('Bar', icon, VELUMBAR_16x16) Velumbar.FreeImage(icon) end\n"
        "Velumbar.CountIconsInFile('C:\\\\windows\\\\notepad.exe')\n"
        "Host.ResizeObject('Bar', 240, 30)\n"
        "Host.RemoveObject('Bar')");
    auto help = reinterpret_cast<int (*)(const char*)>(
        reinterpret_cast<void*>(GetProcAddress(module, "irPlg_ShowHelpForPlugin")));
    help("C:\\velumbar probe\\no such folder");
    recording = false;
    lua_close(L);
    expect(calls.empty(), "libraries loaded by a search beyond the system folder: " + joined(calls));
}

// Other components may use the same generic property names on the same
// windows; what they put there is never called, destroyed, moved or freed.
void foreignProperties(const char* path) {
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        expect(false, "cannot load the plug-in");
        return;
    }
    hook(module, "msvcrt.dll", "free", reinterpret_cast<void*>(onFree), &realFree);
    lua_State* L = hostState(module);
    run(L,
        "A = Host.AddObject('progress', 'A', {X = 10, Y = 10, Width = 200, Height = 24})\n"
        "B = Host.AddObject('progress', 'B', {X = 10, Y = 50, Width = 200, Height = 24})\n"
        "C = Host.AddObject('progress', 'C', {X = 10, Y = 90, Width = 200, Height = 24})\n"
        "assert(Velumbar.Create('A') and Velumbar.Create('B') and Velumbar.Create('C'))");
    HWND a = globalWindow(L, "A"), b = globalWindow(L, "B"), c = globalWindow(L, "C");
    HWND page = GetParent(a);
    HANDLE junk = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x1234));

    // A previous procedure that is not the one we replaced.
    SetPropA(a, "OldHostResizeProc", junk);
    run(L,
        "local before = 0 for _, m in ipairs(Host.Messages('A')) do if m == 5 then before = before + 1 end "
        "end\n"
        "Host.ResizeObject('A', 150, 20)\n"
        "local after = 0 for _, m in ipairs(Host.Messages('A')) do if m == 5 then after = after + 1 end end\n"
        "assert(after == before + 1, 'the host procedure did not get its WM_SIZE')\n"
        "assert(Velumbar.SetCurrentPosition('A', 50))");
    HWND containerA = childOfClass(a, "VelumbarContainer");
    expect(containerA != nullptr, "bar A has no container");
    SetPropA(containerA, "OldContainerProc", junk);
    SendMessageA(containerA, WM_SIZE, 0, MAKELPARAM(150, 20));
    run(L, "Host.RemoveObject('A')");

    // A "Container" that is some other window: never moved, never destroyed.
    HWND other = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 300, 10, 40, 40, page, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SetPropA(b, "Container", other);
    run(L, "Host.ResizeObject('B', 180, 22)");
    RECT r{};
    GetWindowRect(other, &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    expect(r.left == 300 && r.top == 10 && r.right - r.left == 40, "a foreign 'Container' window was moved");
    run(L, "assert(Velumbar.Create('B'))");
    expect(IsWindow(other) != 0, "Create destroyed a foreign 'Container' window");
    DestroyWindow(other);
    run(L, "Host.RemoveObject('B')");

    // An "ObjectName" that is not our copy is never freed.
    static char foreignName[] = "someone else's name";
    HWND containerC = childOfClass(c, "VelumbarContainer");
    expect(containerC != nullptr, "bar C has no container");
    SetPropA(containerC, "ObjectName", foreignName);
    run(L, "Host.RemoveObject('C')");
    for (const void* p : freed) expect(p != foreignName, "the container freed a foreign 'ObjectName'");
    lua_close(L);
}

DWORD WINAPI textOnAThread(void* parameter) {
    lua_State* L = hostState(static_cast<HMODULE>(parameter));
    run(L,
        "Host.AddObject('progress', 'Worker', {X = 10, Y = 10, Width = 200, Height = 24})\n"
        "assert(Velumbar.Create('Worker'))\n"
        "Velumbar.SetText('Worker', 'measured on this thread')\n"
        "Host.RemoveObject('Worker')");
    lua_close(L);
    return 0;
}

void threadScratchDC(const char* path) {
    InitializeCriticalSection(&dcLock);
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        expect(false, "cannot load the plug-in");
        return;
    }
    hook(module, "gdi32.dll", "CreateCompatibleDC", reinterpret_cast<void*>(onCreateCompatibleDC),
         &realCreateCompatibleDC);
    hook(module, "gdi32.dll", "DeleteDC", reinterpret_cast<void*>(onDeleteDC), &realDeleteDC);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, textOnAThread, module, 0, &id);
    if (!thread) {
        expect(false, "cannot start a thread");
        return;
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    int made = 0;
    for (const MadeDC& dc : memoryDCs) {
        if (dc.thread != id) continue;
        ++made;
        expect(dc.deleted, "a memory device context made on the ended thread was never deleted");
    }
    expect(made > 0, "the thread made no memory device context: the check saw nothing");
}

// Version 5 of the common controls (a host without the version 6
// manifest) refuses a tool whose record is larger than it knows; Wine's
// tooltip control takes any size, so the probe refuses as Windows does.
void* realSendMessageA = nullptr;
LRESULT WINAPI onSendMessageA(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TTM_ADDTOOLA && lParam &&
        reinterpret_cast<const TTTOOLINFOA*>(lParam)->cbSize > TTTOOLINFOA_V2_SIZE)
        return FALSE;
    return reinterpret_cast<decltype(&SendMessageA)>(realSendMessageA)(w, msg, wParam, lParam);
}

void tooltipVersion5(const char* path) {
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        expect(false, "cannot load the plug-in");
        return;
    }
    expect(probe::hookImport(module, "user32.dll", "SendMessageA", reinterpret_cast<void*>(onSendMessageA),
                             &realSendMessageA),
           "the plug-in does not send messages through SendMessageA");
    lua_State* L = hostState(module);
    run(L,
        "Host.AddObject('progress', 'Tip', {X = 10, Y = 10, Width = 200, Height = 24})\n"
        "assert(Velumbar.Create('Tip'))\n"
        "assert(Velumbar.SetTooltip('Tip', 'first'))\n"
        "assert(Host.Tooltip('Tip') == 'first', 'no tool after SetTooltip: ' .. "
        "tostring(Host.Tooltip('Tip')))\n"
        "assert(Velumbar.SetTooltip('Tip', 'second'))\n"
        "assert(Host.Tooltip('Tip') == 'second', 'the tool was not replaced')\n"
        "Host.RemoveObject('Tip')");
    lua_close(L);
}

}  // namespace

// A fault ends the probe with a message instead of starting a debugger.
LONG WINAPI reportFault(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "hostile_probe: fault %08lx at %p\n", info->ExceptionRecord->ExceptionCode,
                 info->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    ExitProcess(3);
}

int main(int argc, char** argv) {
    probe::name = "hostile_probe";
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(reportFault);
    if (argc != 3) {
        std::fprintf(stderr, "usage: hostile_probe PLUGIN CHECK\n");
        return 2;
    }
    CoInitialize(nullptr);
    std::string check = argv[2];
    if (check == "unload-after-create")
        unloadAfterCreate(argv[1]);
    else if (check == "unload-before-register")
        unloadBeforeRegister(argv[1]);
    else if (check == "libraries")
        librariesFromTheSystemFolder(argv[1]);
    else if (check == "properties")
        foreignProperties(argv[1]);
    else if (check == "thread-dc")
        threadScratchDC(argv[1]);
    else if (check == "tooltip-v5")
        tooltipVersion5(argv[1]);
    else {
        std::fprintf(stderr, "hostile_probe: unknown check %s\n", argv[2]);
        return 2;
    }
    if (failures == 0) std::printf("hostile_probe %s: all checks hold\n", argv[2]);
    return failures == 0 ? 0 : 1;
}
