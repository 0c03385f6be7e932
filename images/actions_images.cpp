// Velumbar.LoadImage, FreeImage, CountIconsInFile and SetIcon.
#include "binding/actions.h"
#include "binding/args.h"
#include "binding/last_error.h"
#include "binding/lookup.h"
#include "control/bar_control.h"

namespace vb::actions {

using namespace vb::binding;

// The image library is not built yet: every load fails as a load that
// found nothing would, and no handle is known.
int LoadImage(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 2);
    std::int32_t type = ReadIntegerArg(L, 1);
    CheckStringArg(L, 2);
    SetHostLastError(L, type < 1 || type > 6 ? kUnknownLoadImageType : kCouldNotLoadImage);
    lua_pushnil(L);
    return 1;
}

int FreeImage(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 1);
    SetHostLastError(L, kInvalidImageHandle);
    lua_pushboolean(L, 0);
    return 1;
}

int CountIconsInFile(lua_State* L) {
    ResetHostLastError(L);
    CheckStringArg(L, 1);
    lua_pushnumber(L, 0);
    return 1;
}

int SetIcon(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 3);
    const char* name = CheckStringArg(L, 1);
    std::int32_t handle = ReadIntegerArg(L, 2);
    control::BarControl* bar = BarOnHostObject(L, name);
    if (!bar) {
        lua_pushboolean(L, 0);
        return 1;
    }
    if (handle == 0) {
        bar->Methods->SetIcon(bar, nullptr);
        lua_pushboolean(L, 1);
        return 1;
    }
    SetHostLastError(L, kInvalidImageHandle);
    lua_pushboolean(L, 0);
    return 1;
}

}  // namespace vb::actions
