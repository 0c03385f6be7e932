// A screen reader's view of a bar through the real API: AccessibleObjectFromWindow
// on the bar's canvas gives a progress bar with the bar's name and value; once
// the bar is released, the object a client still holds answers "not
// connected" to every call instead of reading freed memory.
//
//   accessible_probe PLUGIN      exit 0 when every check holds
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// These need <windows.h> first.
#include <oleacc.h>

#include <cstdio>
#include <string>

#include <lua.hpp>

#include "host/globals.h"
#include "host/host_api.h"
#include "host/page.h"
#include "host/plugin_loader.h"
#include "platform/win32/handles.h"
#include "probe_checks.h"
#include "probe_lua.h"

namespace {

using probe::expect;
using probe::failures;
using probe::run;

HWND findCanvas(HWND window) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "VelumbarCanvas") == 0) return child;
        if (HWND below = findCanvas(child)) return below;
    }
    return nullptr;
}

std::string text(const vb::platform::win32::Bstr& value) {
    std::string out;
    for (UINT i = 0; value.get() && i < SysStringLen(value.get()); ++i)
        out += static_cast<char>(value.get()[i]);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    probe::name = "accessible_probe";
    if (argc != 2) {
        std::fprintf(stderr, "usage: accessible_probe PLUGIN\n");
        return 2;
    }
    CoInitialize(nullptr);
    vb::host::LoadedPlugin plugin;
    std::string error;
    if (!vb::host::LoadPlugin(argv[1], &plugin, &error)) {
        std::fprintf(stderr, "accessible_probe: cannot load %s: %s\n", argv[1], error.c_str());
        return 2;
    }
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    vb::host::InstallHostGlobals(L);
    vb::host::InstallHostApi(L, ".");
    plugin.exports.RegisterActions(L);
    if (!run(L,
             "Host.AddObject('progress', 'Bar', {X = 10, Y = 10, Width = 200, Height = 24})\n"
             "assert(Velumbar.Create('Bar'))\n"
             "Velumbar.SetText('Bar', 'Copying')\n"
             "Velumbar.SetCurrentPosition('Bar', 45)"))
        return 1;

    const vb::host::HostObject* bar = vb::host::Page::Current().Find("Bar");
    HWND canvas = bar ? findCanvas(reinterpret_cast<HWND>(bar->window)) : nullptr;
    expect(canvas != nullptr, "the bar has no canvas window");
    vb::platform::win32::ComPtr<IAccessible> object;
    if (canvas)
        expect(SUCCEEDED(AccessibleObjectFromWindow(canvas, static_cast<DWORD>(OBJID_CLIENT),
                                                    __uuidof(IAccessible),
                                                    reinterpret_cast<void**>(object.put()))) &&
                   object,
               "AccessibleObjectFromWindow gave no object");
    if (object) {
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        VARIANT role;
        VariantInit(&role);
        expect(object->get_accRole(self, &role) == S_OK && role.vt == VT_I4 &&
                   role.lVal == ROLE_SYSTEM_PROGRESSBAR,
               "role is not a progress bar");
        vb::platform::win32::Bstr name, value;
        expect(object->get_accName(self, name.put()) == S_OK, "no name");
        expect(text(name) == "Copying", "name is not the bar's text");
        expect(object->get_accValue(self, value.put()) == S_OK, "no value");
        expect(text(value) == "45%", "value is not the shown percentage");

        // The bar goes; the client still holds its object.
        run(L, "Host.RemoveObject('Bar')");
        expect(!IsWindow(canvas), "the canvas outlived its host object");
        long x = 0, y = 0, w = 0, h = 0;
        expect(object->get_accName(self, name.put()) == CO_E_OBJNOTCONNECTED && !name.get(),
               "name after release is not CO_E_OBJNOTCONNECTED");
        expect(object->get_accValue(self, value.put()) == CO_E_OBJNOTCONNECTED && !value.get(),
               "value after release is not CO_E_OBJNOTCONNECTED");
        expect(object->accLocation(&x, &y, &w, &h, self) == CO_E_OBJNOTCONNECTED,
               "location after release is not CO_E_OBJNOTCONNECTED");
        VARIANT state;
        VariantInit(&state);
        expect(object->get_accState(self, &state) == CO_E_OBJNOTCONNECTED,
               "state after release is not CO_E_OBJNOTCONNECTED");
    }
    lua_close(L);
    if (failures == 0) std::printf("accessible_probe: all checks hold\n");
    return failures == 0 ? 0 : 1;
}
