#include "binding/registration.h"

#include <cstdio>

#include "binding/actions.h"
#include "binding/last_error.h"
#include "binding/main_state.h"
#include "script/class_script.h"

namespace vb::binding {

namespace {

struct NamedFunction {
    const char* name;
    lua_CFunction function;
};

// Fields 1 to 18, in the order the table holds them.
constexpr NamedFunction kBarFunctions[] = {
    {"Create", actions::Create},
    {"AllocColor", actions::AllocColor},
    {"SetGradientColors", actions::SetGradientColors},
    {"SetSolidColor", actions::SetSolidColor},
    {"SetCurrentPosition", actions::SetCurrentPosition},
    {"GetCurrentPosition", actions::GetCurrentPosition},
    {"SetText", actions::SetText},
    {"GetText", actions::GetText},
    {"SetFont", actions::SetFont},
    {"SetRange", actions::SetRange},
    {"GetRange", actions::GetRange},
    {"SetIcon", actions::SetIcon},
    {"SetTooltip", actions::SetTooltip},
    {"SetCursor", actions::SetCursor},
    {"SetUseGlossy", actions::SetUseGlossy},
    {"GetUseGlossy", actions::GetUseGlossy},
    {"SetCallback", actions::SetCallback},
    {"RemoveCallback", actions::RemoveCallback},
};

constexpr NamedFunction kImageFunctions[] = {
    {"LoadImage", actions::LoadImage},
    {"FreeImage", actions::FreeImage},
    {"CountIconsInFile", actions::CountIconsInFile},
};

struct NamedConstant {
    const char* name;
    double value;
};

constexpr NamedConstant kConstants[] = {
    {"VELUMBAR_GRADIENT", 2},
    {"VELUMBAR_SOLID", 1},
    {"VELUMBAR_NOSCALE", 1},
    {"VELUMBAR_SCALE", 0},
    {"VELUMBAR_TEXT_BORDER", 1},
    {"VELUMBAR_TEXT_SHADOW", 2},
    {"VELUMBAR_BORDER_FLAT", 4},
    {"VELUMBAR_16x16", 1},
    {"VELUMBAR_24x24", 2},
    {"VELUMBAR_32x32", 3},
    {"VELUMBAR_48x48", 4},
    {"VLMBR_MOUSE_ENTER", 65537},
    {"VLMBR_MOUSE_LEAVE", 65538},
    {"VLMBR_MOUSE_MOVE", 65539},
    {"VLMBR_MOUSE_WHEEL", 65546},
    {"VLMBR_MOUSE_LEFT_DOWN", 65540},
    {"VLMBR_MOUSE_LEFT_UP", 65541},
    {"VLMBR_MOUSE_LEFT_CLICK", 0},
    {"VLMBR_MOUSE_LEFT_DOUBLECLICK", 2},
    {"VLMBR_MOUSE_RIGHT_DOWN", 65542},
    {"VLMBR_MOUSE_RIGHT_UP", 65543},
    {"VLMBR_MOUSE_RIGHT_CLICK", 1},
    {"VLMBR_MOUSE_RIGHT_DOUBLECLICK", 3},
    {"VLMBR_MOUSE_MIDDLE_DOWN", 65544},
    {"VLMBR_MOUSE_MIDDLE_UP", 65545},
    {"VLMBR_KEYBOARD_FOCUS", 14000},
    {"VLMBR_KEYBOARD_LOST_FOCUS", 14001},
    {"VLMBR_KEYBOARD_KEY_DOWN", 65547},
    {"VLMBR_KEYBOARD_KEY_UP", 65548},
    {"VLMBR_KEYBOARD_INPUT", 65549},
    {"VLMBR_CURSOR_DEFAULT", 0},
    {"VLMBR_CURSOR_CROSS", 1},
    {"VLMBR_CURSOR_IBEAM", 2},
    {"VLMBR_CURSOR_HAND", 3},
    {"VLMBR_CURSOR_LOADING", 4},
    {"VLMBR_CURSOR_DENIED", 5},
    {"VLMBR_CURSOR_MOVE", 6},
    {"VLMBR_CURSOR_HORIZONTAL_ARROWS", 7},
    {"VLMBR_CURSOR_VERTICAL_ARROWS", 8},
    // The first diagonal registered is 10, the second 9.
    {"VLMBR_CURSOR_DIAGONAL_LEFTDOWNRIGHTUP", 10},
    {"VLMBR_CURSOR_DIAGONAL_LEFTUPRIGHTDOWN", 9},
    {"VLMBR_CURSOR_HIDDEN", 11},
};

constexpr NamedConstant kLoadImageSuffixes[] = {
    {"_LOADIMAGE_ASSOCIATION", 1}, {"_LOADIMAGE_DRIVE", 4},    {"_LOADIMAGE_EXECUTABLE", 5},
    {"_LOADIMAGE_EXTENSION", 2},   {"_LOADIMAGE_IMAGEFILE", 6}, {"_LOADIMAGE_FOLDER", 3},
};

// The image library's constants carry the prefix it is given.
void registerImageConstants(lua_State* L, const char* prefix) {
    RegisterErrorMessage(L, kUnknownLoadImageType, "Unknown LOADIMAGE type.");
    RegisterErrorMessage(L, kInvalidImageHandle, "Invalid Image Handle.");
    RegisterErrorMessage(L, kCouldNotLoadImage, "Could not load image.");
    for (const NamedConstant& suffix : kLoadImageSuffixes) {
        char name[64];
        std::snprintf(name, sizeof name, "%s%s", prefix, suffix.name);
        RegisterConstant(L, suffix.value, name);
    }
}

}  // namespace

void RegisterFunction(lua_State* L, const char* name, lua_CFunction function) {
    lua_pushstring(L, name);
    lua_pushcclosure(L, function, 0);
    lua_settable(L, -3);
}

void RegisterConstant(lua_State* L, double value, const char* name) {
    lua_pushnumber(L, value);
    lua_pushstring(L, name);
    lua_insert(L, -2);
    lua_settable(L, LUA_GLOBALSINDEX);
}

void RegisterErrorMessage(lua_State* L, int code, const char* message) {
    lua_getfield(L, LUA_GLOBALSINDEX, "_tblErrorMessages");
    lua_pushnumber(L, code);
    lua_pushstring(L, message);
    lua_settable(L, -3);
    lua_settop(L, -2);
}

void RegisterActions(lua_State* L) {
    int top = lua_gettop(L);
    RememberMainState(L);
    lua_pushstring(L, "Velumbar");
    lua_createtable(L, 0, 0);
    for (const NamedFunction& f : kBarFunctions) RegisterFunction(L, f.name, f.function);
    for (const NamedFunction& f : kImageFunctions) RegisterFunction(L, f.name, f.function);
    lua_settable(L, LUA_GLOBALSINDEX);

    RegisterErrorMessage(L, kCouldNotCreate, "Could not create Velumbar.");
    RegisterErrorMessage(L, kInvalidHostObject, "Invaid host object.");
    RegisterErrorMessage(L, kInvalidObject, "Invaid object.");
    RegisterErrorMessage(L, kInvalidColorObject, "Invaid color object.");
    RegisterErrorMessage(L, kInvalidFontSize, "Invaid font size.");
    RegisterErrorMessage(L, kSetFontFailed, "SetFont Failed, invalid font name?");
    for (const NamedConstant& c : kConstants) RegisterConstant(L, c.value, c.name);
    registerImageConstants(L, "VELUMBAR");

    script::runClassScript(L);
    lua_settop(L, top);
}

}  // namespace vb::binding
