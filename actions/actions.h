// The 21 functions of the Velumbar table. Each takes the host's Lua state,
// clears the host's last error first and pushes exactly one result.
#pragma once

#include <lua.hpp>

namespace vb::actions {

int Create(lua_State* L);
int AllocColor(lua_State* L);
int SetGradientColors(lua_State* L);
int SetSolidColor(lua_State* L);
int SetCurrentPosition(lua_State* L);
int GetCurrentPosition(lua_State* L);
int SetText(lua_State* L);
int GetText(lua_State* L);
int SetFont(lua_State* L);
int SetRange(lua_State* L);
int GetRange(lua_State* L);
int SetIcon(lua_State* L);
int SetTooltip(lua_State* L);
int SetCursor(lua_State* L);
int SetUseGlossy(lua_State* L);
int GetUseGlossy(lua_State* L);
int SetCallback(lua_State* L);
int RemoveCallback(lua_State* L);
int LoadImage(lua_State* L);
int FreeImage(lua_State* L);
int CountIconsInFile(lua_State* L);

// Beyond the 21: motion.
int SetBusy(lua_State* L);
int SetGlide(lua_State* L);

}  // namespace vb::actions
