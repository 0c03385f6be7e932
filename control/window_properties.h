// Names of the properties a bar keeps on windows: on the host object's
// window, on its container and on its canvas. Scripts and tools of the
// host may look for them, so they never change.
#pragma once

namespace vb::control::prop {

inline constexpr const char kControl[] = "iObject";                    // host, container, canvas
inline constexpr const char kContainer[] = "Container";                // host
inline constexpr const char kOldHostProc[] = "OldHostResizeProc";      // host
inline constexpr const char kOldContainerProc[] = "OldContainerProc";  // container
inline constexpr const char kObjectName[] = "ObjectName";              // container, canvas
inline constexpr const char kLuaState[] = "lua_state";                 // container, canvas

}  // namespace vb::control::prop
