// Velumbar.LoadImage, FreeImage, CountIconsInFile and SetIcon.
#include "actions/actions.h"
#include "actions/find_bar.h"
#include "binding/args.h"
#include "binding/last_error.h"
#include "images/icon_image.h"
#include "images/image_record.h"
#include "render/rounding.h"

namespace vb::actions {

using namespace vb::binding;

namespace {

// Handles are record addresses: read whole, rounded as every number is,
// never squeezed through a 32-bit integer.
images::ImageHandle readHandle(lua_State* L, int i) {
    return images::ImageHandleFromNumber(render::RoundHalfEven(ReadNumberArg(L, i)));
}

}  // namespace

int LoadImage(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 2);
    std::int32_t type = ReadIntegerArg(L, 1);
    const char* source = CheckStringArg(L, 2);
    std::int32_t index = ReadIntegerArg(L, 3);
    if (type < images::kAssociation || type > images::kImageFile) {
        SetHostLastError(L, kUnknownLoadImageType);
        lua_pushnil(L);
        return 1;
    }
    images::ImageHandle handle = 0;
    try {
        handle = images::LoadImageRecord(type, source, index);
    } catch (...) {
        handle = 0;
    }
    if (!handle) {
        SetHostLastError(L, kCouldNotLoadImage);
        lua_pushnil(L);
        return 1;
    }
    lua_pushnumber(L, images::ImageHandleToNumber(handle));
    return 1;
}

int FreeImage(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 1);
    images::ImageHandle handle = readHandle(L, 1);
    bool freed = handle != 0 && images::FreeImageRecord(handle);
    if (!freed) SetHostLastError(L, kInvalidImageHandle);
    return PushBoolean(L, freed);
}

int CountIconsInFile(lua_State* L) {
    ResetHostLastError(L);
    const char* path = CheckStringArg(L, 1);
    int count = 0;
    try {
        count = images::CountIconsInFile(path);
    } catch (...) {
        count = 0;
    }
    lua_pushnumber(L, count);
    return 1;
}

int SetIcon(lua_State* L) {
    const char* name = OpenBarAction(L, 3);
    double rawHandle = render::RoundHalfEven(ReadNumberArg(L, 2));
    std::int32_t size = ReadIntegerArg(L, 3);
    control::BarControl* bar = FindBar(L, name);
    if (!bar) return PushBoolean(L, false);
    if (rawHandle == 0.0) {
        // Removing the icon repaints, and the paint can run out of memory.
        bool removed = true;
        try {
            bar->Methods->SetIcon(bar, nullptr);
        } catch (...) {
            removed = false;
        }
        return PushBoolean(L, removed);
    }
    const images::ImageRecord* record = images::FindImageRecord(images::ImageHandleFromNumber(rawHandle));
    if (!record) {
        SetHostLastError(L, kInvalidImageHandle);
        return PushBoolean(L, false);
    }
    bool shown = false;
    try {
        int side = images::IconSide(size);
        auto picture = images::BuildIconImage(*record, side, side);
        if (picture) shown = bar->Methods->SetIcon(bar, &*picture) == 1;
    } catch (...) {
        shown = false;
    }
    if (!shown) SetHostLastError(L, kCouldNotLoadImage);
    return PushBoolean(L, shown);
}

}  // namespace vb::actions
