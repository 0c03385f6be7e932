#include "actions/registration.h"

#include <cstdio>

#include "actions/actions.h"
#include "binding/last_error.h"
#include "control/bar_control.h"
#include "control/canvas_state.h"
#include "events/event_codes.h"
#include "events/main_state.h"
#include "images/icon_image.h"
#include "images/image_record.h"
#include "script/class_script.h"

namespace vb::actions {

using namespace vb::binding;

namespace {

struct NamedFunction {
    const char* name;
    lua_CFunction function;
};

// What an action gives when it fails.
enum class Failure { False, Nil, Zero };

// The boundary between Lua and our C++: no exception leaves an action. One
// that comes up (out of memory) ends the action with its failure value.
// Lua errors pass through untouched: nothing here has a destructor.
template <lua_CFunction action, Failure failure>
int Contained(lua_State* L) {
    int top = lua_gettop(L);
    try {
        return action(L);
    } catch (...) {}
    lua_settop(L, top);
    if (failure == Failure::False)
        lua_pushboolean(L, 0);
    else if (failure == Failure::Zero)
        lua_pushnumber(L, 0);
    else
        lua_pushnil(L);
    return 1;
}

// Fields 1 to 18, in the order the table holds them.
constexpr NamedFunction kBarFunctions[] = {
    {"Create", Contained<actions::Create, Failure::False>},
    {"AllocColor", Contained<actions::AllocColor, Failure::Nil>},
    {"SetGradientColors", Contained<actions::SetGradientColors, Failure::False>},
    {"SetSolidColor", Contained<actions::SetSolidColor, Failure::False>},
    {"SetCurrentPosition", Contained<actions::SetCurrentPosition, Failure::False>},
    {"GetCurrentPosition", Contained<actions::GetCurrentPosition, Failure::Nil>},
    {"SetText", Contained<actions::SetText, Failure::False>},
    {"GetText", Contained<actions::GetText, Failure::Nil>},
    {"SetFont", Contained<actions::SetFont, Failure::False>},
    {"SetRange", Contained<actions::SetRange, Failure::False>},
    {"GetRange", Contained<actions::GetRange, Failure::Nil>},
    {"SetIcon", Contained<actions::SetIcon, Failure::False>},
    {"SetTooltip", Contained<actions::SetTooltip, Failure::False>},
    {"SetCursor", Contained<actions::SetCursor, Failure::False>},
    {"SetUseGlossy", Contained<actions::SetUseGlossy, Failure::False>},
    {"GetUseGlossy", Contained<actions::GetUseGlossy, Failure::False>},
    {"SetCallback", Contained<actions::SetCallback, Failure::False>},
    {"RemoveCallback", Contained<actions::RemoveCallback, Failure::False>},
};

// Beyond the 21 the editor's document lists: bars in motion.
constexpr NamedFunction kMotionFunctions[] = {
    {"SetBusy", Contained<actions::SetBusy, Failure::False>},
    {"SetGlide", Contained<actions::SetGlide, Failure::False>},
};

constexpr NamedFunction kImageFunctions[] = {
    {"LoadImage", Contained<actions::LoadImage, Failure::Nil>},
    {"FreeImage", Contained<actions::FreeImage, Failure::False>},
    {"CountIconsInFile", Contained<actions::CountIconsInFile, Failure::Zero>},
};

struct NamedConstant {
    const char* name;
    double value;
};

constexpr NamedConstant kConstants[] = {
    {"VELUMBAR_GRADIENT", control::kColorGradient},
    {"VELUMBAR_SOLID", control::kColorSolid},
    {"VELUMBAR_NOSCALE", control::kNoScale},
    {"VELUMBAR_SCALE", control::kScale},
    {"VELUMBAR_TEXT_BORDER", control::kTextBorder},
    {"VELUMBAR_TEXT_SHADOW", control::kTextShadow},
    {"VELUMBAR_BORDER_FLAT", control::kBorderFlat},
    {"VELUMBAR_16x16", images::kIcon16},
    {"VELUMBAR_24x24", images::kIcon24},
    {"VELUMBAR_32x32", images::kIcon32},
    {"VELUMBAR_48x48", images::kIcon48},
    {"VLMBR_MOUSE_ENTER", events::kMouseEnter},
    {"VLMBR_MOUSE_LEAVE", events::kMouseLeave},
    {"VLMBR_MOUSE_MOVE", events::kMouseMove},
    {"VLMBR_MOUSE_WHEEL", events::kMouseWheel},
    {"VLMBR_MOUSE_LEFT_DOWN", events::kMouseLeftDown},
    {"VLMBR_MOUSE_LEFT_UP", events::kMouseLeftUp},
    {"VLMBR_MOUSE_LEFT_CLICK", events::kLeftClick},
    {"VLMBR_MOUSE_LEFT_DOUBLECLICK", events::kLeftDoubleClick},
    {"VLMBR_MOUSE_RIGHT_DOWN", events::kMouseRightDown},
    {"VLMBR_MOUSE_RIGHT_UP", events::kMouseRightUp},
    {"VLMBR_MOUSE_RIGHT_CLICK", events::kRightClick},
    {"VLMBR_MOUSE_RIGHT_DOUBLECLICK", events::kRightDoubleClick},
    {"VLMBR_MOUSE_MIDDLE_DOWN", events::kMouseMiddleDown},
    {"VLMBR_MOUSE_MIDDLE_UP", events::kMouseMiddleUp},
    {"VLMBR_KEYBOARD_FOCUS", events::kFocus},
    {"VLMBR_KEYBOARD_LOST_FOCUS", events::kLostFocus},
    {"VLMBR_KEYBOARD_KEY_DOWN", events::kKeyDown},
    {"VLMBR_KEYBOARD_KEY_UP", events::kKeyUp},
    {"VLMBR_KEYBOARD_INPUT", events::kKeyInput},
    {"VLMBR_CURSOR_DEFAULT", control::kCursorDefault},
    {"VLMBR_CURSOR_CROSS", control::kCursorCross},
    {"VLMBR_CURSOR_IBEAM", control::kCursorIBeam},
    {"VLMBR_CURSOR_HAND", control::kCursorHand},
    {"VLMBR_CURSOR_LOADING", control::kCursorLoading},
    {"VLMBR_CURSOR_DENIED", control::kCursorDenied},
    {"VLMBR_CURSOR_MOVE", control::kCursorMove},
    {"VLMBR_CURSOR_HORIZONTAL_ARROWS", control::kCursorHorizontalArrows},
    {"VLMBR_CURSOR_VERTICAL_ARROWS", control::kCursorVerticalArrows},
    // The first diagonal registered is 10, the second 9.
    {"VLMBR_CURSOR_DIAGONAL_LEFTDOWNRIGHTUP", control::kCursorDiagonalLeftDownRightUp},
    {"VLMBR_CURSOR_DIAGONAL_LEFTUPRIGHTDOWN", control::kCursorDiagonalLeftUpRightDown},
    {"VLMBR_CURSOR_HIDDEN", control::kCursorHidden},
};

constexpr NamedConstant kLoadImageSuffixes[] = {
    {"_LOADIMAGE_ASSOCIATION", images::kAssociation}, {"_LOADIMAGE_DRIVE", images::kDrive},
    {"_LOADIMAGE_EXECUTABLE", images::kExecutable},   {"_LOADIMAGE_EXTENSION", images::kExtension},
    {"_LOADIMAGE_IMAGEFILE", images::kImageFile},     {"_LOADIMAGE_FOLDER", images::kFolder},
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
    events::RememberMainState(L);
    lua_pushstring(L, "Velumbar");
    lua_createtable(L, 0, 0);
    for (const NamedFunction& f : kBarFunctions) RegisterFunction(L, f.name, f.function);
    for (const NamedFunction& f : kImageFunctions) RegisterFunction(L, f.name, f.function);
    for (const NamedFunction& f : kMotionFunctions) RegisterFunction(L, f.name, f.function);
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

}  // namespace vb::actions
