// Out of memory at every allocation, one at a time: each allocation made
// while an action runs or a window message is handled fails in turn, and
// nothing may leave the plug-in as a C++ exception (into Lua or into the
// window system). The action still gives exactly one result of its kind
// and the bar keeps working afterwards.
//
// The program replaces the global allocation functions, so it is a program
// of its own. The host's side is plain Lua here (no C++ allocates there)
// and host windows have a procedure that allocates nothing, so every
// injected failure lands in the plug-in or the window system below it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>
#include <lua.hpp>

#include "actions/registration.h"
#include "control/bar_control.h"
#include "platform/sim/sim.h"

namespace {

// Allocations left before the one that fails; negative: none fails.
long countdown = -1;
bool fired = false;

bool failThisOne() {
    if (countdown < 0) return false;
    if (countdown-- > 0) return false;
    fired = true;
    return true;
}

void* allocate(std::size_t size) { return std::malloc(size ? size : 1); }

}  // namespace

void* operator new(std::size_t size) {
    void* p = failThisOne() ? nullptr : allocate(size);
    if (!p) throw std::bad_alloc();
    return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return failThisOne() ? nullptr : allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return failThisOne() ? nullptr : allocate(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

using namespace vb;
using platform::LParam;
using platform::LResult;
using platform::Window;
using platform::WParam;

LResult VB_CALLBACK hostObjectProc(Window w, unsigned msg, WParam wParam, LParam lParam) {
    return platform::defaultWindowProc(w, msg, wParam, lParam);
}

// The host's globals, in Lua: they allocate only through Lua's allocator.
const char* const kHostGlobals =
    "_tblErrorMessages = {} local last = 0 "
    "Application = {SetLastError = function(n) last = n end, ResetLastError = function() last = 0 end,"
    "  GetLastError = function() return last end} "
    "Debug = {GetSyntaxErrorString = function(m) return m end} "
    "objects = {} "
    "Page = {GetObjectType = function(n) return objects[n] and 11 or -1 end} "
    "DialogEx = {GetObjectType = function() return -1 end} "
    "Progress = {GetProperties = function(n) local w = objects[n] "
    "  return w and {WindowHandle = w, X = 0, Y = 0, Width = 200, Height = 24} end} "
    "Input = {GetProperties = function() return nil end} "
    "i = 0 calls = 0 callback = function(e) calls = calls + 1 end ";

struct Bench {
    lua_State* L = luaL_newstate();
    Window page = nullptr;
    Window host = nullptr;

    Bench() {
        luaL_openlibs(L);
        run(kHostGlobals);
        actions::RegisterActions(L);
        page = sim::createTopLevel(platform::Rect{0, 0, 400, 300}, 0xFFFFFF, hostObjectProc);
        host = sim::createChild(page, platform::Rect{10, 10, 210, 34}, 0xFFFFFF, hostObjectProc);
        lua_pushnumber(L, static_cast<double>(reinterpret_cast<std::uintptr_t>(host)));
        lua_setglobal(L, "hostWindow");
        run("objects.P = hostWindow");
    }
    // A state through which an exception went is not used again.
    void abandon() { L = nullptr; }
    ~Bench() {
        if (L) lua_close(L);
        platform::destroyWindow(page);
    }
    void run(const char* chunk) { ASSERT_EQ(luaL_dostring(L, chunk), 0) << lua_tostring(L, -1); }
    void makeBar() {
        run("assert(Velumbar.Create('P', {ColorType = VELUMBAR_GRADIENT, GradientColors = "
            "Velumbar.AllocColor({Index = 0, Color = 255}, {Index = 100, Color = 65280})})) "
            "assert(Velumbar.SetCallback('P', callback)) "
            "Velumbar.SetText('P', 'text') Velumbar.SetFont('P', 'DejaVu Sans', 9, 0, VELUMBAR_TEXT_BORDER, "
            "255) "
            "image = Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXTENSION, '.txt') "
            "Velumbar.SetIcon('P', image, VELUMBAR_16x16) Velumbar.SetTooltip('P', 'tip')");
    }
    control::BarControl* bar() { return control::ControlOnWindow(host); }
};

struct ActionCase {
    const char* chunk;  // returns what the action returned
    const char*
        kinds;  // the result types it may give: "b" boolean, "n" number, "s" string, "t" table, "0" nil
};

// Every function of the table, each call changing something so that no
// operation returns early at an unchanged value.
const ActionCase kActions[] = {
    {"return Velumbar.Create('P')", "b"},
    {"return Velumbar.Create('P', {ColorType = VELUMBAR_GRADIENT, GradientColors = "
     "Velumbar.AllocColor({Index = 0, Color = 1}, {Index = 100, Color = 2})})",
     "b"},
    {"return Velumbar.AllocColor({Index = 0, Color = 255}, {Index = 50, Color = i}, {Index = 100, Color = "
     "7})",
     "n0"},
    {"local h = Velumbar.AllocColor({Index = 0, Color = i}, {Index = 100, Color = 9}) "
     "return Velumbar.SetGradientColors('P', h)",
     "b"},
    {"return Velumbar.SetSolidColor('P', i)", "b"},
    {"return Velumbar.SetCurrentPosition('P', i % 100)", "b"},
    {"return Velumbar.GetCurrentPosition('P')", "n0"},
    {"return Velumbar.SetText('P', 'text ' .. i)", "b"},
    {"return Velumbar.GetText('P')", "s0"},
    {"return Velumbar.SetFont('P', 'DejaVu Sans', 8 + i % 5, 0, VELUMBAR_TEXT_SHADOW, 255)", "b"},
    {"return Velumbar.SetRange('P', 0, 100 + i)", "b"},
    {"return Velumbar.GetRange('P')", "t0"},
    {"return Velumbar.SetIcon('P', image, i % 2 == 0 and VELUMBAR_16x16 or VELUMBAR_32x32)", "b"},
    {"return Velumbar.SetIcon('P', 0, VELUMBAR_16x16)", "b"},
    {"return Velumbar.SetTooltip('P', 'tip ' .. i)", "b"},
    {"return Velumbar.SetCursor('P', i % 12)", "b"},
    {"return Velumbar.SetUseGlossy('P', i % 2 == 0)", "b"},
    {"return Velumbar.GetUseGlossy('P')", "b"},
    {"return Velumbar.SetCallback('P', function() end)", "b"},
    {"return Velumbar.RemoveCallback('P')", "b"},
    {"return Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXTENSION, '.txt')", "n0"},
    {"return Velumbar.FreeImage(Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXTENSION, '.doc') or 0)", "b"},
    {"return Velumbar.CountIconsInFile('/no/such/file.exe')", "n"},
};

char kindOf(lua_State* L, int index) {
    switch (lua_type(L, index)) {
        case LUA_TBOOLEAN:
            return 'b';
        case LUA_TNUMBER:
            return 'n';
        case LUA_TSTRING:
            return 's';
        case LUA_TTABLE:
            return 't';
        case LUA_TNIL:
            return '0';
        default:
            return '?';
    }
}

TEST(AllocationFailure, NoActionLetsAnExceptionOut) {
    for (const ActionCase& action : kActions) {
        Bench bench;
        bench.makeBar();
        for (long n = 0;; ++n) {
            ASSERT_EQ(luaL_loadstring(bench.L, "i = i + 1"), 0);
            lua_call(bench.L, 0, 0);
            ASSERT_EQ(luaL_loadstring(bench.L, action.chunk), 0);
            int top = lua_gettop(bench.L) - 1;
            fired = false;
            countdown = n;
            int status = 0;
            bool escaped = false;
            try {
                status = lua_pcall(bench.L, 0, LUA_MULTRET, 0);
            } catch (...) {
                escaped = true;
            }
            countdown = -1;
            if (escaped) {
                ADD_FAILURE() << action.chunk << ": an exception left the action at allocation " << n;
                bench.abandon();
                break;
            }
            ASSERT_EQ(status, 0) << action.chunk << " at allocation " << n << ": "
                                 << lua_tostring(bench.L, -1);
            EXPECT_EQ(lua_gettop(bench.L) - top, 1) << action.chunk << " at allocation " << n;
            EXPECT_NE(std::string(action.kinds).find(kindOf(bench.L, -1)), std::string::npos)
                << action.chunk << " at allocation " << n << " gave a "
                << lua_typename(bench.L, lua_type(bench.L, -1));
            lua_settop(bench.L, top);
            if (!fired) {  // every allocation of the action has failed once
                std::printf("%-60.60s %ld allocations\n", action.chunk, n);
                break;
            }
            // The process and the bar live on: the next call works.
            bench.run("assert(Velumbar.GetCurrentPosition('P') ~= nil or Velumbar.Create('P'))");
        }
    }
}

struct MessageCase {
    const char* name;
    bool toCanvas;  // else to the host window
    unsigned msg;
    WParam wParam;
    LParam lParam;
};

// What the system sends the host window and the bar's canvas; mouse
// positions come from the stand-in's pointer, which sits over the bar.
const MessageCase kMessages[] = {
    {"host WM_SIZE", false, platform::wm::Size, 0, 24 << 16 | 200},
    {"host WM_GETOBJECT", false, platform::wm::GetObject, 0, platform::kClientObjectId},
    {"host WM_DESTROY", false, platform::wm::Destroy, 0, 0},
    {"canvas WM_SIZE", true, platform::wm::Size, 0, 20 << 16 | 150},
    {"canvas WM_MOUSEMOVE", true, platform::wm::MouseMove, 0, 5 << 16 | 40},
    {"canvas WM_LBUTTONDOWN", true, platform::wm::LButtonDown, 1, 5 << 16 | 40},
    {"canvas WM_LBUTTONUP", true, platform::wm::LButtonUp, 0, 5 << 16 | 40},
    {"canvas WM_LBUTTONDBLCLK", true, platform::wm::LButtonDblClk, 1, 5 << 16 | 40},
    {"canvas WM_RBUTTONUP", true, platform::wm::RButtonUp, 0, 5 << 16 | 40},
    {"canvas WM_MOUSEWHEEL", true, platform::wm::MouseWheel, 120 << 16, 0},
    {"canvas WM_MOUSELEAVE", true, platform::wm::MouseLeave, 0, 0},
    {"canvas WM_SETCURSOR", true, platform::wm::SetCursor, 0, 1},
    {"canvas WM_SETFOCUS", true, platform::wm::SetFocus, 0, 0},
    {"canvas WM_KILLFOCUS", true, platform::wm::KillFocus, 0, 0},
    {"canvas WM_KEYDOWN", true, platform::wm::KeyDown, 65, 0},
    {"canvas WM_CHAR", true, platform::wm::Char, 65, 0},
    {"canvas WM_GETOBJECT", true, platform::wm::GetObject, 0, platform::kClientObjectId},
};

TEST(AllocationFailure, NoWindowMessageLetsAnExceptionOut) {
    for (const MessageCase& message : kMessages) {
        for (long n = 0;; ++n) {
            Bench bench;
            bench.makeBar();
            control::BarControl* bar = bench.bar();
            ASSERT_NE(bar, nullptr);
            Window canvas = bar->Methods->GetCanvas(bar);
            Window container = platform::parentOf(canvas);
            Window target = message.toCanvas ? canvas : bench.host;
            // The container's own destruction comes with the host's.
            fired = false;
            countdown = n;
            bool escaped = false;
            try {
                platform::sendMessage(target, message.msg, message.wParam, message.lParam);
                if (message.msg == platform::wm::Destroy) platform::sendMessage(container, message.msg, 0, 0);
            } catch (...) {
                escaped = true;
            }
            countdown = -1;
            if (escaped) {
                ADD_FAILURE() << message.name << ": an exception left a window procedure at allocation " << n;
                bench.abandon();
                break;
            }
            if (!fired) {
                std::printf("%-60.60s %ld allocations\n", message.name, n);
                break;
            }
            bench.run("Velumbar.SetCurrentPosition('P', 33) Velumbar.GetText('P')");
        }
    }
}

// Little-endian fields of the files below.
void put16(std::vector<std::uint8_t>& b, unsigned v) {
    for (int i = 0; i < 2; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void putInfoHeader(std::vector<std::uint8_t>& b, int width, int height, unsigned bits) {
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(width));
    put32(b, static_cast<std::uint32_t>(height));
    put16(b, 1);
    put16(b, bits);
    for (int i = 0; i < 6; ++i) put32(b, 0);
}

// An icon file of one 16 x 16 32-bit image, and a 40 x 40 24-bit bitmap
// (larger than an icon, so that loading it reduces it), in a folder of this
// process's own.
struct ImageFiles {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("velumbar_allocation_" + std::to_string(getpid()));
    std::string ico = (folder / "one.ico").string();
    std::string bmp = (folder / "large.bmp").string();

    ImageFiles() {
        std::filesystem::create_directories(folder);
        std::vector<std::uint8_t> image;
        putInfoHeader(image, 16, 32, 32);
        for (int i = 0; i < 16 * 16; ++i) put32(image, 0xFF2080C0u);
        image.insert(image.end(), 16 * 4, 0);  // the AND mask: every pixel shown
        std::vector<std::uint8_t> icon;
        put16(icon, 0);
        put16(icon, 1);
        put16(icon, 1);
        icon.insert(icon.end(), {16, 16, 0, 0});
        put16(icon, 1);
        put16(icon, 32);
        put32(icon, static_cast<std::uint32_t>(image.size()));
        put32(icon, 22);
        icon.insert(icon.end(), image.begin(), image.end());
        write(ico, icon);

        std::vector<std::uint8_t> bitmap{'B', 'M'};
        const std::uint32_t rowBytes = 40 * 3, size = 54 + rowBytes * 40;
        put32(bitmap, size);
        put32(bitmap, 0);
        put32(bitmap, 54);
        putInfoHeader(bitmap, 40, 40, 24);
        for (std::uint32_t i = 0; i < rowBytes * 40; ++i) bitmap.push_back(static_cast<std::uint8_t>(i * 7));
        write(bmp, bitmap);
    }
    ~ImageFiles() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    static void write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

struct LoadCase {
    const char* call;  // with `path` naming the file
    bool iconFile;     // else the bitmap
    int failureCode;   // the last error that goes with a nil result
};

// Out of memory anywhere in loading an image (reading the file, a reader, a
// reduced copy, the shell's icon, the record) is the loader failing: nil with
// "Could not load image.", never some other answer or none.
const LoadCase kLoads[] = {
    {"Velumbar.LoadImage(VELUMBAR_LOADIMAGE_IMAGEFILE, path)", true, 459880},
    {"Velumbar.LoadImage(VELUMBAR_LOADIMAGE_IMAGEFILE, path)", false, 459880},
    {"Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXECUTABLE, path, 0)", true, 459880},
    {"Velumbar.LoadImage(VELUMBAR_LOADIMAGE_ASSOCIATION, path)", false, 459880},
    {"Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXTENSION, '.bmp')", false, 459880},
};

TEST(AllocationFailure, ImageLoadsFailAsTheLoaderFails) {
    ImageFiles files;
    Bench bench;
    for (const LoadCase& load : kLoads) {
        lua_pushstring(bench.L, load.iconFile ? files.ico.c_str() : files.bmp.c_str());
        lua_setglobal(bench.L, "path");
        const std::string chunk =
            std::string("local r = ") + load.call + " return r, Application.GetLastError()";
        for (long n = 0;; ++n) {
            ASSERT_EQ(luaL_loadstring(bench.L, chunk.c_str()), 0);
            fired = false;
            countdown = n;
            int status = lua_pcall(bench.L, 0, 2, 0);
            countdown = -1;
            ASSERT_EQ(status, 0) << load.call << " at allocation " << n << ": " << lua_tostring(bench.L, -1);
            const bool loaded = lua_type(bench.L, -2) == LUA_TNUMBER;
            const int code = static_cast<int>(lua_tonumber(bench.L, -1));
            lua_pop(bench.L, 2);
            if (!fired) {
                EXPECT_TRUE(loaded) << load.call << " loads nothing with memory to spare";
                EXPECT_EQ(code, 0) << load.call;
                std::printf("%-60.60s %ld allocations\n", load.call, n);
                break;
            }
            if (loaded)
                EXPECT_EQ(code, 0) << load.call << " at allocation " << n;
            else
                EXPECT_EQ(code, load.failureCode) << load.call << " at allocation " << n;
        }
    }
}

// CountIconsInFile and AllocColor set no error code; out of memory shows as
// their failure value (0, nil) or, when the allocation was not needed for
// the answer, as the answer itself.
TEST(AllocationFailure, CountAndColoursSetNoCode) {
    ImageFiles files;
    Bench bench;
    lua_pushstring(bench.L, files.ico.c_str());
    lua_setglobal(bench.L, "path");
    struct Case {
        const char* chunk;
        double answer;  // with memory to spare; every other answer is nil or 0
    } cases[] = {
        {"local r = Velumbar.CountIconsInFile(path) return r, Application.GetLastError()", 1},
        {"local r = Velumbar.AllocColor({Index = 0, Color = 1}, {Index = 100, Color = 2}) "
         "return r and 1 or r, Application.GetLastError()",
         1},
    };
    for (const Case& c : cases) {
        for (long n = 0;; ++n) {
            ASSERT_EQ(luaL_loadstring(bench.L, c.chunk), 0);
            fired = false;
            countdown = n;
            int status = lua_pcall(bench.L, 0, 2, 0);
            countdown = -1;
            ASSERT_EQ(status, 0) << c.chunk << " at allocation " << n << ": " << lua_tostring(bench.L, -1);
            const bool answered =
                lua_type(bench.L, -2) == LUA_TNUMBER && lua_tonumber(bench.L, -2) == c.answer;
            const bool failed = lua_isnil(bench.L, -2) ||
                                (lua_type(bench.L, -2) == LUA_TNUMBER && lua_tonumber(bench.L, -2) == 0);
            EXPECT_EQ(lua_tonumber(bench.L, -1), 0) << c.chunk << " at allocation " << n;
            lua_pop(bench.L, 2);
            EXPECT_TRUE(answered || (fired && failed)) << c.chunk << " at allocation " << n;
            if (!fired) break;
        }
    }
}

}  // namespace
